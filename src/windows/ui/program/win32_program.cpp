#include "windows/ui/program/win32_program.h"

#include "windows/ui/program/refresh_request.h"

#include <array>

namespace lumora {

namespace {

// How often the program looks again for open windows once it was told to end.
constexpr UINT kEndCheckMs = 250;

struct ShownWindows {
    HWND except;
    bool found = false;
};

BOOL CALLBACK findShownWindow(HWND window, LPARAM context) {
    auto* shown = reinterpret_cast<ShownWindows*>(context);
    std::array<wchar_t, 32> className{};
    GetClassNameW(window, className.data(), static_cast<int>(className.size()));
    if (window != shown->except && IsWindowVisible(window) &&
        std::wstring_view(className.data()) == L"LumoraWindow") {
        shown->found = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

Win32Program::Win32Program(Win32Platform p, Win32ProgramWindows windows)
    : m_windows(std::move(windows)), m_registry(p.registry), m_options(p.options),
      m_trayWindow(m_menu, p.resources), m_tray(m_trayWindow), m_alerts(m_tray, m_windows.window),
      m_engine(m_state, EngineServices{m_registry, m_options, p.desktop, m_alerts, p.events,
                                       p.program, p.resources, m_windows.dialogs, p.files}),
      m_engineRoutines(m_engine) {
    m_engine.setFileSync(p.fileSync);
    m_logic = std::make_unique<FrmMainLogic>(FrmMainServices{
        m_state, m_options, m_registry, m_engineRoutines, p.desktop, p.instance, m_windows.dialogs,
        p.autostart, p.program, p.clock, m_tray, m_menu, m_alerts, m_windows.window,
        m_windows.about, m_windows.help, m_windows.preview, p.dayWatch});
    m_trayWindow.build();
    connectTray();
}

Win32Program::~Win32Program() {
    m_trayWindow.setEvents({});
    if (!unloaded() && m_tray.data().uID != 0) {
        // The icon never outlives the program.
        m_tray.DeleteTrayIcon();
    }
}

bool Win32Program::start() {
    if (!m_logic->startUp.Form_Load()) {
        return false;
    }
    m_logic->dayWatch.start();
    // Only now can `lumora --refresh` find this program.
    m_trayWindow.announce(m_windows.refreshTitle.empty() ? std::wstring(kRefreshWindowTitle)
                                                         : m_windows.refreshTitle);
    return true;
}

bool Win32Program::startOnce() {
    return m_logic->startUp.Form_Load(StartMode::Once);
}

void Win32Program::connectTray() {
    TrayController& tray = m_logic->tray;
    TrayWindowEvents events;
    events.mouseMessage = [&tray](float message) { tray.trayCallback(message); };
    events.chosen = [this, &tray](MenuId id, int index) {
        tray.menuClicked(id, index);
        if (unloaded()) {
            endWhenNoWindowIsLeft();
        }
    };
    // Logoff or shutdown: the unload goes ahead and the icon is removed; the settings are
    // already stored (each is written when it changes).
    events.sessionEnding = [this, &tray] {
        if (!tray.unloaded() && !tray.Form_QueryUnload(2)) {
            tray.Form_Unload();
        }
        m_windows.quit ? m_windows.quit() : PostQuitMessage(0);
        m_quitAsked = true;
    };
    events.refreshRequested = [this](HWND replyTo) {
        std::string reason;
        const bool done = refresh(reason);
        return answerRefresh(replyTo, done, reason);
    };
    events.endTimer = [this] { endWhenNoWindowIsLeft(); };
    m_trayWindow.setEvents(std::move(events));
}

bool Win32Program::refresh(std::string& reason) {
    if (unloaded()) {
        reason = "Lumora is ending";
        return false;
    }
    m_logic->tray.mnurefresh_Click();
    reason = lastApplyResult().reason;
    return lastApplyResult().ok;
}

void Win32Program::windowClosed() {
    if (unloaded()) {
        endWhenNoWindowIsLeft();
    }
}

bool Win32Program::otherWindowOpen() const {
    if (m_windows.otherWindowOpen) {
        return m_windows.otherWindowOpen();
    }
    ShownWindows shown{m_trayWindow.hwnd()};
    EnumThreadWindows(GetCurrentThreadId(), findShownWindow, reinterpret_cast<LPARAM>(&shown));
    return shown.found;
}

void Win32Program::endWhenNoWindowIsLeft() {
    if (m_quitAsked) {
        return;
    }
    if (otherWindowOpen()) {
        SetTimer(m_trayWindow.hwnd(), Win32TrayWindow::kEndTimer, kEndCheckMs, nullptr);
        return;
    }
    KillTimer(m_trayWindow.hwnd(), Win32TrayWindow::kEndTimer);
    m_quitAsked = true;
    m_windows.quit ? m_windows.quit() : PostQuitMessage(0);
}

} // namespace lumora
