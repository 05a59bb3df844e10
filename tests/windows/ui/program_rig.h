#pragma once
// A Win32Program over recording windows and an in-memory store, with the edition's own
// resources, hidden window and notification icon; and a message pump that waits for a condition.
#include "core/fakes/fakes.h"
#include "windows/platform/mutex_instance_guard.h"
#include "windows/platform/wic_pictures.h"
#include "windows/platform/win32_resources.h"
#include "windows/ui/program/win32_program.h"

#include <functional>
#include <memory>
#include <string>

namespace lumora::testing {

// Runs the thread's messages until `done` holds or `ms` have gone; whether it held.
inline bool pumpUntil(const std::function<bool()>& done, DWORD ms = 10000) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

// Whether the shell has the icon of `owner` (a modify of nothing succeeds only for an icon
// that is there).
inline bool shellHasIcon(HWND owner) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof probe;
    probe.hWnd = owner;
    probe.uID = kTrayIconId;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

// The title --refresh finds this test process's started programs by.
inline const std::wstring& refreshTitle() {
    static const std::wstring title =
        L"Lumora notification icon, test " + std::to_wstring(GetCurrentProcessId());
    return title;
}

// A mutex name no other test or program uses.
inline std::string uniqueInstanceName() {
    static int count = 0;
    return "Local\\Lumora.Test." + std::to_string(GetCurrentProcessId()) + "." +
           std::to_string(++count);
}

// The settings window as the core sees it; the tray menu's check marks follow its menuChanged.
struct RecordingWindow : fakes::FakeWindow {
    using FakeWindow::FakeWindow;
    void menuChanged() override {
        put("window.menuChanged");
        if (onMenuChanged) {
            onMenuChanged();
        }
    }
    void popupMenu() override {
        put("window.popupMenu");
        if (onPopup) {
            onPopup();
        }
    }
    std::function<void()> onMenuChanged;
    std::function<void()> onPopup;
};

struct ProgramRig : fakes::StoreRig {
    // ownWindows: the program looks for its open windows itself (the shown windows of the window
    // layer on this thread) instead of asking the test.
    explicit ProgramRig(std::string name = uniqueInstanceName(), bool ownWindows = false)
        : instanceName(std::move(name)), instance(instanceName) {
        std::function<bool()> open;
        if (!ownWindows) {
            open = [this] { return otherWindowOpen; };
        }
        program = std::make_unique<Win32Program>(
            Win32Platform{store, store, desktop, events, info, resources, instance, autostart,
                          clock, days, files, pictures, nullptr},
            Win32ProgramWindows{window, about, help, preview, dialogs, std::move(open),
                                [this] { ++quits; }, refreshTitle()});
        window.onMenuChanged = [this] { program->trayWindow().menuChanged(); };
    }
    HWND tray() { return program->trayWindow().hwnd(); }
    // The check mark of an item as the menu shows it.
    bool menuChecked(MenuId id) {
        const UINT state = GetMenuState(program->trayWindow().menu().menu(),
                                        program->trayWindow().menu().commandOf(id), MF_BYCOMMAND);
        return (state & MF_CHECKED) != 0;
    }
    void choose(MenuId id, int index = 0) {
        SendMessageW(tray(), WM_COMMAND,
                     MAKEWPARAM(program->trayWindow().menu().commandOf(id, index), 0), 0);
    }

    fakes::RecordingDesktop desktop{log};
    fakes::CountingEventPump events;
    fakes::TempProgramInfo info;
    Win32Resources resources;
    std::string instanceName;
    MutexInstanceGuard instance;
    fakes::FakeAutostart autostart{log};
    fakes::FakeClock clock{log};
    fakes::FakeDaySource days;
    fakes::StdFileAccess files;
    WicPictures pictures;
    RecordingWindow window{log};
    fakes::FakeAbout about{log};
    fakes::FakeHelp help{log};
    fakes::FakePreview preview{log};
    fakes::ScriptedDialogs dialogs{log};
    bool otherWindowOpen = false;
    int quits = 0;
    std::unique_ptr<Win32Program> program;
};

} // namespace lumora::testing
