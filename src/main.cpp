// Wiring only: builds the platform services and hands them to the program.
#include "platform/desktop/backend_factory.h"
#include "platform/linux/autostart_entry.h"
#include "platform/linux/display_check.h"
#include "platform/linux/lock_file_instance_guard.h"
#include "platform/linux/posix_file_sync.h"
#include "platform/linux/qt_day_watch.h"
#include "platform/linux/qt_event_pump.h"
#include "platform/linux/qt_resources.h"
#include "platform/linux/settings_file.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/xdg_program_info.h"
#include "ui/program/program.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Without a display Qt would abort with a core dump: one line and status 1 instead.
    if (const std::string problem = lumora::displayProblem(argc, argv); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    // The program lives in the notification area; it decides itself when it ends.
    QApplication::setQuitOnLastWindowClosed(false);

    lumora::SettingsFile settings(lumora::SettingsFile::defaultPath());
    lumora::LockFileInstanceGuard instance;
    lumora::SystemClock clock;
    lumora::XdgProgramInfo program;
    lumora::QtResources resources;
    lumora::QtEventPump events;
    lumora::AutostartEntry autostart;
    lumora::PosixFileSync fileSync;
    lumora::QtDayWatch dayWatch;
    const lumora::BackendChoice choice = lumora::chooseDesktopBackend(lumora::probeEnvironment());
    std::fprintf(stderr, "lumora: %s\n", lumora::describeBackendChoice(choice).c_str());
    std::unique_ptr<lumora::DesktopBackend> desktop = lumora::createDesktopBackend(choice);

    Program lumoraProgram(ProgramPlatform{settings, settings, *desktop, events, program, resources,
                                          instance, autostart, clock, dayWatch, &fileSync});
    if (!lumoraProgram.start()) {
        return 0;
    }
    return QApplication::exec();
}
