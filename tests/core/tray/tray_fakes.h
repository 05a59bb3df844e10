#pragma once
// Recording fakes for the seams start-up and the tray menu use. Every call lands in one shared
// log, so a test can read which calls ran, in which order, with which arguments.
#include "core/tray/engine_routines.h"
#include "core/tray/tray_icon_data.h"
#include "core/tray/tray_menu.h"
#include "platform/seams/autostart.h"
#include "platform/seams/clock.h"
#include "platform/seams/desktop_backend.h"
#include "platform/seams/dialogs.h"
#include "platform/seams/instance_guard.h"
#include "platform/seams/main_window.h"
#include "platform/seams/program_info.h"
#include "platform/seams/tray_host.h"
#include "platform/seams/windows.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace lumora::trayfakes {

using CallLog = std::vector<std::string>;

inline std::string menuName(MenuId id) {
    TrayMenu menu;
    for (const MenuItem& m : menu.items()) {
        if (m.id == id) {
            return m.name;
        }
    }
    return "?";
}

inline const char* b(bool v) {
    return v ? "true" : "false";
}

class FakeInstance : public InstanceGuard {
public:
    explicit FakeInstance(CallLog& log) : m_log(log) {}
    bool tryAcquire() override {
        m_log.push_back(std::string("instance.tryAcquire -> ") + b(free));
        return free;
    }
    bool free = true;

private:
    CallLog& m_log;
};

class FakeDialogs : public Dialogs {
public:
    explicit FakeDialogs(CallLog& log) : m_log(log) {}
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t>) override {
        m_log.push_back("dialogs.chooseColor");
        return std::nullopt;
    }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        m_log.push_back("dialogs.openFile");
        return std::nullopt;
    }
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
        m_log.push_back("dialogs.messageBox(" + title + ", icon " +
                        std::to_string(static_cast<int>(icon)) + ")");
        lastText = text;
    }
    std::string lastText;

private:
    CallLog& m_log;
};

class FakeAbout : public AboutWindow {
public:
    explicit FakeAbout(CallLog& log) : m_log(log) {}
    void StrtPrg(std::int16_t timShw, bool oldStatus) override {
        m_log.push_back("about.StrtPrg(" + std::to_string(timShw) + ", " + b(oldStatus) + ")");
    }

private:
    CallLog& m_log;
};

class FakeHelp : public HelpWindow {
public:
    explicit FakeHelp(CallLog& log) : m_log(log) {}
    void showHelp() override { m_log.push_back("help.showHelp"); }

private:
    CallLog& m_log;
};

// An autostart entry kept in memory; `failWrites` makes every write fail without changing it.
class FakeAutostart : public Autostart {
public:
    explicit FakeAutostart(CallLog& log) : m_log(log) {}
    bool write(const std::string& programPath, bool enabled) override {
        m_log.push_back("autostart.write(" + programPath + ", " + b(enabled) + ")");
        if (failWrites) {
            return false;
        }
        exists = true;
        path = programPath;
        on = enabled;
        return true;
    }
    bool isEnabled() const override { return exists && on; }
    bool failWrites = false;
    bool exists = false;
    bool on = false;
    std::string path;

private:
    CallLog& m_log;
};

class FakeProgram : public ProgramInfo {
public:
    std::string executablePath() const override { return "/opt/lumora/bin/lumora"; }
    std::string pictureFolder() const override { return "/home/ann/.local/share/lumora"; }
};

// Each now() takes the next weekday from `weekdays` (the last one repeats).
class FakeClock : public Clock {
public:
    explicit FakeClock(CallLog& log) : m_log(log) {}
    DateTime now() const override {
        DateTime t{2027, 2, 3, 9, 5, 7, weekdays.front()};
        if (weekdays.size() > 1) {
            weekdays.pop_front();
        }
        m_log.push_back("clock.now -> " + std::to_string(t.weekday));
        return t;
    }
    std::string monthName(int) const override { return "February"; }
    std::string weekdayName(int) const override { return "Wednesday"; }
    mutable std::deque<int> weekdays{4};

private:
    CallLog& m_log;
};

class FakeDesktop : public DesktopBackend {
public:
    explicit FakeDesktop(CallLog& log) : m_log(log) {}
    std::string name() const override { return "fake"; }
    void setWallpaper(const std::string& path, int style) override {
        m_log.push_back("desktop.setWallpaper(" + path + ", " + std::to_string(style) + ")");
    }
    void setBackgroundColor(std::uint32_t rgb) override {
        m_log.push_back("desktop.setBackgroundColor(" + std::to_string(rgb) + ")");
    }

private:
    CallLog& m_log;
};

class FakeEngine : public EngineRoutines {
public:
    explicit FakeEngine(CallLog& log) : m_log(log) {}
    void CreateDefault() override { m_log.push_back("engine.CreateDefault"); }
    std::string defaultPicturePath() const override {
        return "/home/ann/.local/share/lumora/Default.bmp";
    }
    void ApplyWallpaperForDay(int d) override {
        m_log.push_back("engine.ApplyWallpaperForDay(" + std::to_string(d) + ")");
    }
    void ColorChange() override { m_log.push_back("engine.ColorChange"); }

private:
    CallLog& m_log;
};

// The shell's side of the icon: keeps a copy of every record it was handed.
class FakeTrayHost : public TrayHost {
public:
    explicit FakeTrayHost(CallLog& log) : m_log(log) {}
    bool notifyIcon(std::uint32_t message, const TrayIconData& data) override {
        static const char* const names[] = {"NIM_ADD", "NIM_MODIFY", "NIM_DELETE"};
        std::string entry = std::string("tray.") + (message < 3 ? names[message] : "?") +
                            "(flags " + std::to_string(data.uFlags);
        if (message != NIM_DELETE) {
            entry += ", tip \"" + fieldText(data.szTip) + "\"";
            if (data.uFlags & NIF_INFO) {
                entry += ", title \"" + fieldText(data.szInfoTitle) + "\", icon " +
                         std::to_string(data.dwInfoFlags) + ", " + std::to_string(data.uTimeout) +
                         " ms";
            }
        }
        m_log.push_back(entry + ")");
        records.push_back(data);
        messages.push_back(message);
        return true;
    }
    std::vector<TrayIconData> records;
    std::vector<std::uint32_t> messages;

private:
    CallLog& m_log;
};

class FakeWindow : public MainWindow {
public:
    explicit FakeWindow(CallLog& log) : m_log(log) {}
    std::string caption() const override { return captionText; }
    void setCaption(const std::string& c) override {
        captionText = c;
        m_log.push_back("window.setCaption(" + c + ")");
    }
    bool isShown() const override { return shown; }
    void showWindow() override {
        shown = true;
        m_log.push_back("window.show");
    }
    void hideWindow() override {
        shown = false;
        m_log.push_back("window.hide");
    }
    void setTopMost() override { m_log.push_back("window.setTopMost"); }
    void popupMenu() override { m_log.push_back("window.popupMenu"); }
    void setMenuChecked(MenuId id, bool checked) override {
        m_log.push_back("menu." + menuName(id) + ".checked = " + b(checked));
    }
    void destroyWindow() override {
        shown = false;
        m_log.push_back("window.destroy");
    }
    void AffDays() override { m_log.push_back("window.AffDays"); }
    void setLabel1Caption(int index, const std::string& c) override {
        m_log.push_back("window.Label1(" + std::to_string(index) + ") = " + c);
    }
    void Lab18ToolTip(float mode) override {
        m_log.push_back("window.Lab18ToolTip(" + std::to_string(static_cast<int>(mode)) + ")");
    }
    void AffModif() override { m_log.push_back("window.AffModif"); }
    void setStyleLabel(int w, const std::string& c, const std::string& tip) override {
        m_log.push_back("window.Label3(" + std::to_string(w) + ") = " + c + " / " + tip);
    }
    void AffMessage(bool enabled) override {
        m_log.push_back(std::string("window.AffMessage(") + b(enabled) + ")");
    }
    void AffPics() override { m_log.push_back("window.AffPics"); }
    void ModifBold() override { m_log.push_back("window.ModifBold"); }
    void resetInfoPanel() override { m_log.push_back("window.resetInfoPanel"); }
    void dropThumbnails() override { m_log.push_back("window.dropThumbnails"); }
    void mnuday_Click(int index) override {
        m_log.push_back("window.mnuday_Click(" + std::to_string(index) + ")");
    }
    std::string captionText = "Lumora";
    bool shown = false;

private:
    CallLog& m_log;
};

} // namespace lumora::trayfakes
