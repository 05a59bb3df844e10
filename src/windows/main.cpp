// Wiring only: the command line, COM, the platform services, the windows and the program, and
// the message loop.
#include "core/engine/wallpaper_engine.h"
#include "core/text/texts.h"
#include "windows/ui/program/windows_services.h" // the program and its services

// The window headers include <windows.h>: after the core's headers.
#include "windows/ui/auxiliary/win32_frm_about.h"
#include "windows/ui/auxiliary/win32_frm_help.h"
#include "windows/ui/auxiliary/win32_sys_mod.h"
#include "windows/ui/preview/win32_frm_prev.h"
#include "windows/ui/program/command_line.h"
#include "windows/ui/program/console.h"
#include "windows/ui/program/refresh_request.h"
#include "windows/ui/settings_window/win32_dialogs.h"
#include "windows/ui/settings_window/win32_frm_main.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

namespace {

using lumora::ConsoleStream;
using lumora::writeConsole;

// COM on this, the user-interface thread, apartment-threaded, for as long as the program runs.
class ComApartment {
public:
    ComApartment() : m_started(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (m_started) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_started;
};

// `lumora --refresh` when no Lumora runs: today's wallpaper once, then the end.
int refreshOnce(lumora::Win32Program& program) {
    if (!program.startOnce()) {
        writeConsole(ConsoleStream::Error,
                     "lumora: Lumora is running but cannot be reached; nothing was set\n");
        return 1;
    }
    if (const lumora::DesktopResult& result = program.lastApplyResult(); !result) {
        writeConsole(ConsoleStream::Error,
                     "lumora: today's wallpaper was not set: " + result.reason + "\n");
        return 1;
    }
    return 0;
}

// Whether a message is the Tab key, which moves the focus between a window's controls.
bool isTabKey(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
            message.message == WM_CHAR) &&
           message.wParam == VK_TAB;
}

// The messages of every window until the program ends. The Tab key in an active window of the
// program moves the focus as in a dialog; every other key reaches the window as it is (Enter and
// Escape are not a dialog's there).
int runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND active = GetActiveWindow();
        if (active != nullptr && isTabKey(message) && IsDialogMessageW(active, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The command line first: --help and --version touch nothing else.
    const lumora::CommandLine command = lumora::parseCommandLine(lumora::programArguments());
    switch (command.action) {
    case lumora::CommandLine::Action::Help:
        writeConsole(ConsoleStream::Output, lumora::helpText());
        return 0;
    case lumora::CommandLine::Action::Version:
        writeConsole(ConsoleStream::Output, lumora::versionText() + "\n");
        return 0;
    case lumora::CommandLine::Action::Error:
        writeConsole(ConsoleStream::Error, "lumora: " + command.error + "\n" + lumora::helpText());
        return 2;
    case lumora::CommandLine::Action::Run:
    case lumora::CommandLine::Action::Refresh:
        break;
    }
    const bool refresh = command.action == lumora::CommandLine::Action::Refresh;
    if (refresh) {
        const lumora::RefreshReply reply = lumora::askRunningProgramToRefresh();
        if (reply.status == lumora::RefreshReply::Status::Done) {
            return 0;
        }
        if (reply.status == lumora::RefreshReply::Status::Failed) {
            writeConsole(ConsoleStream::Error,
                         "lumora: today's wallpaper was not set: " + reply.reason + "\n");
            return 1;
        }
    }
    ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    lumora::WindowsServices services;
    lumora::Win32Platform platform = services.platform();
    // The settings window stays on top through the always-on-top routine.
    lumora::Win32FrmMain window(
        services.resources(), [](HWND shown) { lumora::SetTopMost(shown, lumora::kTopMostTrue); });
    lumora::Win32Dialogs dialogs;
    dialogs.setOwner([&window] { return window.isShown() ? window.hwnd() : nullptr; });
    lumora::Win32Program* program = nullptr;
    lumora::Win32FrmAbout about(services.clock(), services.resources(), [&program] {
        if (program != nullptr) {
            program->logic().tray.aboutClosed();
        }
    });
    lumora::Win32FrmHelp help(services.clock());
    lumora::Win32FrmPrev preview(dialogs);
    lumora::Win32Program lumoraProgram(
        platform, lumora::Win32ProgramWindows{window, about, help, preview, dialogs, {}, {}, {}});
    program = &lumoraProgram;
    lumora::connectFrmMain(window, lumoraProgram.logic());
    window.setTrayMenu(&lumoraProgram.trayWindow());
    if (refresh) {
        return refreshOnce(lumoraProgram);
    }
    if (!lumoraProgram.start()) {
        return 0;
    }
    return runMessageLoop();
}
