// The day copy as the program makes it when a picture is chosen, with the real settings file:
//   path_probe SOURCE DAY
// copies SOURCE (any bytes in its name) for weekday DAY (1 Sunday .. 7 Saturday) with the
// engine's Transf, then prints, read back by a fresh store from the settings file, the day's
// value as hexadecimal bytes (empty line when none).
#include "core/engine/wallpaper_engine.h"
#include "core/ports/dialogs.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "platform/desktop/none_backend.h"
#include "platform/linux/posix_file_sync.h"
#include "platform/linux/qt_event_pump.h"
#include "platform/linux/qt_resources.h"
#include "platform/linux/settings_file.h"
#include "platform/linux/xdg_program_info.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct NoDialogs : lumora::Dialogs {
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t>) override { return {}; }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return {};
    }
    void messageBox(const std::string&, const std::string&, lumora::MessageIcon) override {}
};
struct NoMessages : lumora::MessageSink {
    void showMessage(const std::string&) override {}
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: path_probe SOURCE DAY\n");
        return 2;
    }
    const int day = std::atoi(argv[2]);
    lumora::SettingsFile settings(lumora::SettingsFile::defaultPath());
    lumora::Registry registry(settings);
    lumora::Options options(settings);
    lumora::NoneBackend desktop;
    NoMessages messages;
    lumora::QtEventPump events;
    lumora::XdgProgramInfo program;
    lumora::QtResources resources;
    NoDialogs dialogs;
    lumora::PosixFileSync sync;
    lumora::FrmMainState state;
    for (std::size_t i = 0; i < state.DayNames.size(); ++i) {
        state.DayNames[i] = lumora::kDayNames[i]; // as start-up names them
    }
    lumora::WallpaperEngine engine(
        state, {registry, options, desktop, messages, events, program, resources, dialogs});
    engine.setFileSync(&sync);
    engine.Transf(argv[1], day);

    lumora::SettingsFile fresh(lumora::SettingsFile::defaultPath());
    const std::string stored = lumora::Registry(fresh).GetRegValue(
        lumora::HKEY_CURRENT_USER, lumora::kLocalSettingsKey, state.dayName(day));
    for (unsigned char c : stored) {
        std::printf("%02x", c);
    }
    std::printf("\n");
    return 0;
}
