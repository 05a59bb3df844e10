#pragma once
// Recording fakes for the seams the wallpaper engine and start-up use. Header only, no Qt.
#include "core/engine/wallpaper_engine.h"
#include "core/settings/frm_main_state.h"
#include "platform/seams/desktop_backend.h"
#include "platform/seams/dialogs.h"
#include "platform/seams/event_pump.h"
#include "platform/seams/file_sync.h"
#include "platform/seams/program_info.h"
#include "platform/seams/resources.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumora::fakes {

// One call that reached the desktop, in order.
struct DesktopCall {
    enum class Kind { Wallpaper, Color };
    Kind kind = Kind::Wallpaper;
    std::string path;      // Wallpaper
    int style = 0;         // Wallpaper
    std::uint32_t rgb = 0; // Color

    static DesktopCall wallpaper(std::string p, int s) {
        return DesktopCall{Kind::Wallpaper, std::move(p), s, 0};
    }
    static DesktopCall color(std::uint32_t c) { return DesktopCall{Kind::Color, {}, 0, c}; }
    bool operator==(const DesktopCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const DesktopCall& c) {
    if (c.kind == DesktopCall::Kind::Color) {
        return os << "color(" << c.rgb << ")";
    }
    return os << "wallpaper(\"" << c.path << "\", " << c.style << ")";
}

// Records every call in order; can be told to throw, as a broken desktop interface would.
class RecordingDesktop : public DesktopBackend {
public:
    std::string name() const override { return "recording"; }
    void setWallpaper(const std::string& path, int style) override {
        calls.push_back(DesktopCall::wallpaper(path, style));
        if (failWallpaper) {
            throw std::runtime_error("the desktop refused the wallpaper");
        }
    }
    void setBackgroundColor(std::uint32_t rgb) override {
        calls.push_back(DesktopCall::color(rgb));
        if (failColor) {
            throw std::runtime_error("the desktop refused the colour");
        }
    }

    std::vector<DesktopCall> calls;
    bool failWallpaper = false;
    bool failColor = false;
};

class RecordingMessages : public MessageSink {
public:
    void showMessage(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

// Counts the event rounds; `onEvents` runs inside each, as a timer tick or a click would.
class CountingEventPump : public EventPump {
public:
    void processEvents() override {
        ++count;
        if (onEvents) {
            onEvents(count);
        }
    }
    int count = 0;
    std::function<void(int round)> onEvents;
};

// A scratch folder of its own, removed with everything in it at the end.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        std::mt19937_64 gen(rd());
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = std::filesystem::temp_directory_path() /
                             ("lumora-test-" + std::to_string(gen() % 1000000000ULL));
            if (std::filesystem::create_directory(candidate)) {
                m_path = candidate;
                return;
            }
        }
        throw std::runtime_error("no scratch folder");
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The picture folder is `<scratch>/pictures`, not created in advance (the engine creates it).
class TempProgramInfo : public ProgramInfo {
public:
    std::string executablePath() const override { return (m_dir.path() / "lumora").string(); }
    std::string pictureFolder() const override { return (m_dir.path() / "pictures").string(); }
    const std::filesystem::path& scratch() const { return m_dir.path(); }

private:
    TempDir m_dir;
};

class FixedResources : public Resources {
public:
    std::vector<std::uint8_t> bytes(const std::string& name) const override {
        auto it = items.find(name);
        return it == items.end() ? std::vector<std::uint8_t>{} : it->second;
    }
    std::map<std::string, std::vector<std::uint8_t>> items;
};

// Answers dialogs from scripts and records what they were asked.
class ScriptedDialogs : public Dialogs {
public:
    struct Box {
        std::string text;
        std::string title;
        MessageIcon icon;
    };
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t> initial) override {
        colorRequests.push_back(initial);
        if (colorAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = colorAnswers.front();
        colorAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> openFile(const std::string& title, const std::string& initialPath,
                                        const std::string& filter) override {
        openRequests.push_back({title, initialPath, filter});
        if (openAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
        boxes.push_back({text, title, icon});
    }

    std::deque<std::optional<std::uint32_t>> colorAnswers; // nothing = cancel
    std::deque<std::optional<std::string>> openAnswers;    // nothing = cancel
    std::vector<std::optional<std::uint32_t>> colorRequests;
    std::vector<std::vector<std::string>> openRequests;
    std::vector<Box> boxes;
};

class CountingFileSync : public FileSync {
public:
    bool syncFile(const std::string& path) override {
        synced.push_back(path);
        return result;
    }
    std::vector<std::string> synced;
    bool result = true;
};

// FrmMainState with the name tables and defaults start-up gives it.
inline FrmMainState startedState() {
    FrmMainState s;
    for (std::size_t i = 0; i < kDayNames.size(); ++i) {
        s.DayNames[i] = kDayNames[i];
    }
    s.ModeNames[1] = "Selected Wallpaper";
    s.ModeNames[2] = "Default Wallpaper";
    s.ModeNames[3] = "No Wallpaper";
    for (int d = 1; d <= 7; ++d) {
        s.DayStyle[static_cast<std::size_t>(d)] = 1;
    }
    s.SelectWall = 2;
    s.DirectWall = 1;
    s.EditSelectWall = 2;
    s.EditDirectWall = 1;
    s.DispMess = true;
    s.ShowSplsh = true;
    return s;
}

} // namespace lumora::fakes
