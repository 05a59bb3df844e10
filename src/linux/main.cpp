// Wiring only: builds the platform services and hands them to the program.
#include "core/engine/start_wallpaper.h"
#include "core/text/texts.h"
#include "linux/desktop/backend_factory.h"
#include "linux/desktop/x11_root_backend.h"
#include "linux/platform/display_check.h"
#include "linux/platform/memory.h"
#include "linux/platform/qt_main_thread.h"
#include "linux/platform/settings_file.h"
#include "linux/platform/system_clock.h"
#include "linux/ui/program/command_line.h"
#include "linux/ui/program/linux_services.h"
#include "linux/ui/program/program.h"
#include "linux/ui/program/refresh_service.h"
#include "linux/ui/text/translation.h"

#include <QApplication>

#include <cstdio>

namespace {

// `lumora --refresh` when no Lumora runs: today's wallpaper once, then the end.
int refreshOnce(Program& program) {
    if (!program.startOnce()) {
        std::fprintf(stderr, "lumora: Lumora is running but cannot be reached on the session "
                             "bus; nothing was set\n");
        return 1;
    }
    if (const lumora::DesktopResult& result = program.lastApplyResult(); !result) {
        std::fprintf(stderr, "lumora: today's wallpaper was not set: %s\n", result.reason.c_str());
        return 1;
    }
    return 0;
}

// On a root-window desktop, today's picture is drawn while Qt, the fonts and the tray come up;
// start-up's own change shows it when it asks for the same picture (it decides, as always).
void drawTodayAhead() {
    if (lumora::chooseDesktopBackend(lumora::environmentFromVariables()).name != "x11") {
        return;
    }
    lumora::SettingsFile file(lumora::SettingsFile::defaultPath());
    file.setQuiet(true);
    lumora::Registry registry(file);
    lumora::Options options(file);
    const int today = lumora::SystemClock().now().weekday;
    if (const auto expected = lumora::expectedStartWallpaper(registry, options, today)) {
        lumora::X11RootBackend::drawAhead(expected->path, expected->style, expected->color);
    }
}

} // namespace

int main(int argc, char** argv) {
    // The command line first: --help and --version touch nothing else.
    const lumora::CommandLine command = lumora::parseCommandLine(argc, argv);
    switch (command.action) {
    case lumora::CommandLine::Action::Help:
        std::fputs(lumora::helpText().c_str(), stdout);
        return 0;
    case lumora::CommandLine::Action::Version:
        std::printf("%s\n", lumora::versionText().c_str());
        return 0;
    case lumora::CommandLine::Action::Error:
        std::fprintf(stderr, "lumora: %s\n%s", command.error.c_str(), lumora::helpText().c_str());
        return 2;
    case lumora::CommandLine::Action::Run:
    case lumora::CommandLine::Action::Refresh:
        break;
    }
    const bool refresh = command.action == lumora::CommandLine::Action::Refresh;
    // Without a display Qt would abort with a core dump: one line and status 1 instead.
    if (const std::string problem = lumora::displayProblem(argc, argv); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    // Before any thread of the program starts: Qt's main thread is this one.
    lumora::claimQtMainThread();
    lumora::returnLargeBlocksWhenFreed();
    if (!refresh) {
        drawTodayAhead();
    }
    QApplication app(argc, argv);
    // What the desktop calls the program (the tray item's title, the window class).
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setApplicationVersion(QString::fromStdString(lumora::versionNumber()));
    QGuiApplication::setDesktopFileName(QStringLiteral("lumora"));
    // The program lives in the notification area; it decides itself when it ends.
    QApplication::setQuitOnLastWindowClosed(false);
    // The texts in the user's language, where Lumora has a translation for it.
    lumora::loadTranslation();

    LinuxServices services;
    if (refresh) {
        const RefreshReply reply = askRunningProgramToRefresh();
        if (reply.status == RefreshReply::Status::Done) {
            return 0;
        }
        if (reply.status == RefreshReply::Status::Failed) {
            std::fprintf(stderr, "lumora: today's wallpaper was not set: %s\n",
                         qPrintable(reply.reason));
            return 1;
        }
    } else {
        std::fprintf(stderr, "lumora: %s\n",
                     lumora::describeBackendChoice(services.desktopChoice()).c_str());
    }
    Program lumoraProgram(services.platform());
    if (refresh) {
        return refreshOnce(lumoraProgram);
    }
    if (!lumoraProgram.start()) {
        return 0;
    }
    RefreshService refreshService(lumoraProgram);
    refreshService.publish();
    return QApplication::exec();
}
