#pragma once
// `lumora --refresh` on Windows: the running program's hidden tray window (found by its class
// and announced title) is sent the registered message "Lumora.Refresh"; it does what its menu's
// "&Refresh Wallpaper" does and answers with the result, and, when it failed, sends the reason
// back as WM_COPYDATA to a message window of the asking side.
//
// This header includes <windows.h>: include it after the core's headers.
#include <windows.h>

#include <string>

namespace lumora {

// The title the running program's tray window takes once start-up has made it the one instance
// (the window layer's class "LumoraWindow"); `lumora --refresh` finds it by both.
inline constexpr const wchar_t* kRefreshWindowTitle = L"Lumora notification icon";
// The message `lumora --refresh` sends (wParam: the window the reason goes back to).
UINT refreshMessage();

// What the running program answers.
inline constexpr LRESULT kRefreshDone = 1;
inline constexpr LRESULT kRefreshFailed = 2;
// WM_COPYDATA's dwData for the reason of a failure (UTF-8 text).
inline constexpr ULONG_PTR kRefreshReason = 0x4C524631;

struct RefreshReply {
    enum class Status { NotRunning, Done, Failed };
    Status status = Status::NotRunning;
    std::string reason; // for Failed
};

// The running program's tray window, or null when none runs. `title`: the title it took.
HWND runningProgramWindow(const wchar_t* title = kRefreshWindowTitle);
// Asks the running program, if one runs, to set today's wallpaper, and waits for its answer.
RefreshReply askRunningProgramToRefresh(const wchar_t* title = kRefreshWindowTitle);
// The answering side: sends `reason` to `replyTo` when the refresh failed, and returns the answer.
LRESULT answerRefresh(HWND replyTo, bool done, const std::string& reason);

} // namespace lumora
