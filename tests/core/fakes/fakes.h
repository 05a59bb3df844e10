#pragma once
// Recording fakes for the seams of the engine, start-up and the tray menu, and two rigs wiring
// them to a real in-memory registry and option store. Every fake call lands in one shared log, so
// a test can read which calls ran, in which order, with which arguments. Header only, no Qt.
#include "core/settings/memory_registry.h"
#include "core/text/utf8_path.h"
#include "core/tray/frm_main_logic.h" // the engine, settings, tray and port headers
#include "core/tray/tray_alerts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>

namespace lumora {
// The name of a parameterised row, for INSTANTIATE_TEST_SUITE_P.
inline constexpr auto byName = [](const auto& row) { return std::string(row.param.name); };
} // namespace lumora

namespace lumora::fakes {

namespace fs = std::filesystem;
using CallLog = std::vector<std::string>;

inline std::string b(bool v) {
    return v ? "true" : "false";
}

// The base of every logging fake.
struct Logs {
    explicit Logs(CallLog& l) : log(l) {}
    void put(const std::string& entry) const { log.push_back(entry); }
    CallLog& log;
};

// Records "color(<rgb>)" and "wallpaper(<path>, <style>)" in order, in `calls` and in the log;
// can be told to report failure, as a desktop that refused the change does.
struct RecordingDesktop : DesktopBackend, Logs {
    using Logs::Logs;
    std::string name() const override { return "recording"; }
    DesktopResult setWallpaper(const std::string& path, int style) override {
        return record("wallpaper(" + path + ", " + std::to_string(style) + ")", failWallpaper);
    }
    DesktopResult setBackgroundColor(std::uint32_t rgb) override {
        return record("color(" + std::to_string(rgb) + ")", failColor);
    }
    void prepareWallpaper(const std::string& path, int style) override {
        record("prepare(" + path + ", " + std::to_string(style) + ")", false);
    }
    DesktopResult record(const std::string& call, bool fail) {
        calls.push_back(call);
        put("desktop." + call);
        return fail ? DesktopResult::failure("the desktop refused " + call)
                    : DesktopResult::success();
    }
    std::vector<std::string> calls;
    bool failWallpaper = false;
    bool failColor = false;
};

// Records the engine's alerts; `fail` makes it throw, as a tray that is gone would.
struct RecordingMessages : MessageSink {
    void showMessage(const std::string& text) override {
        texts.push_back(text);
        fail ? throw std::runtime_error("tray gone") : void();
    }
    std::vector<std::string> texts;
    bool fail = false;
};

// Counts the event rounds; `onEvents` runs inside each, as a timer tick or a click would.
struct CountingEventPump : EventPump {
    void processEvents() override { onEvents ? onEvents(++count) : void(++count); }
    int count = 0;
    std::function<void(int round)> onEvents;
};

// A scratch folder of its own, removed at the end; the picture folder is `<scratch>/<name>`
// (UTF-8), not created in advance (the engine creates it).
struct TempProgramInfo : ProgramInfo {
    explicit TempProgramInfo(std::string pictureFolderName = "pictures")
        : folderName(std::move(pictureFolderName)) {
        std::random_device seed;
        std::mt19937_64 gen(seed());
        for (int attempt = 0; attempt < 100 && dir.empty(); ++attempt) {
            fs::path candidate =
                fs::temp_directory_path() / ("lumora-test-" + std::to_string(gen() % 1000000000));
            if (fs::create_directory(candidate)) { // false when it was already there
                dir = candidate;
            }
        }
        if (dir.empty()) {
            throw std::runtime_error("no scratch folder");
        }
    }
    ~TempProgramInfo() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string executablePath() const override { return utf8FromPath(dir / "lumora"); }
    std::string pictureFolder() const override {
        return utf8FromPath(dir / pathFromUtf8(folderName));
    }
    fs::path dir;
    std::string folderName;
};

struct FixedProgram : ProgramInfo {
    std::string executablePath() const override { return "/opt/lumora/bin/lumora"; }
    std::string pictureFolder() const override { return "/home/ann/.local/share/lumora"; }
};

// Holds the default picture only.
struct FixedResources : Resources {
    std::vector<std::uint8_t> bytes(const std::string& name) const override {
        return name == "default_bmp" ? picture : std::vector<std::uint8_t>{};
    }
    std::vector<std::uint8_t> picture;
};

// Answers the colour dialog from a script (nothing = cancel) and records what it was asked.
struct ScriptedDialogs : Dialogs, Logs {
    using Logs::Logs;
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t> initial) override {
        colorRequests.push_back(initial);
        put("dialogs.chooseColor");
        const std::size_t i = colorRequests.size() - 1;
        return i < colorAnswers.size() ? colorAnswers[i] : std::nullopt;
    }
    // Answers with `fileAnswer` (nothing = cancel).
    std::optional<std::string> openFile(const std::string& title, const std::string& initial,
                                        const std::string& filter) override {
        put("dialogs.openFile(" + title + ", '" + initial + "')");
        lastFilter = filter;
        return fileAnswer;
    }
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
        put("dialogs.messageBox(" + title + ", icon " + std::to_string(static_cast<int>(icon)) +
            ")");
        lastText = text;
    }
    std::vector<std::optional<std::uint32_t>> colorAnswers; // one a request
    std::vector<std::optional<std::uint32_t>> colorRequests;
    std::string lastText;
    std::optional<std::string> fileAnswer;
    std::string lastFilter;
};

// A stdio stream on a path of any spelling: the narrow functions take no UTF-16 path.
inline std::FILE* openStream(const fs::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wide(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wide.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// The engine's files through the standard library: a source is opened when its name is a
// regular file (the name is checked before the open, which the platform's own access never
// does), a new file when nothing has its name. `refuseWrites`: the new files take no bytes, as on
// a full disk.
struct StdFileAccess : FileAccess {
    std::FILE* openRegularFile(const fs::path& path, std::uintmax_t& length) override {
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) {
            return nullptr;
        }
        std::FILE* file = openStream(path, "rb");
        if (file != nullptr) {
            length = fs::file_size(path, ec);
        }
        return file;
    }
    std::FILE* createNewFile(const fs::path& path) override {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(path, ec))) {
            return nullptr;
        }
        std::FILE* file = openStream(path, "wb");
        if (file != nullptr && refuseWrites) {
            std::fclose(file);
            file = openStream(path, "rb"); // a stream that takes no writes
        }
        return file;
    }
    bool refuseWrites = false;
};

struct CountingFileSync : FileSync {
    bool syncFile(const std::string& path) override {
        synced.push_back(path);
        return result;
    }
    // What the file held each time its write-out was started.
    void startWriteOut(const std::string& path) override {
        writtenOut.push_back(std::filesystem::file_size(pathFromUtf8(path)));
    }
    std::vector<std::string> synced;
    std::vector<std::uintmax_t> writtenOut;
    bool result = true;
};

struct FakeInstance : InstanceGuard, Logs {
    using Logs::Logs;
    bool tryAcquire() override {
        put("instance.tryAcquire -> " + b(free));
        return free;
    }
    bool free = true;
};

struct FakeAbout : AboutWindow, Logs {
    using Logs::Logs;
    void StrtPrg(std::int16_t timShw, bool oldStatus) override {
        put("about.StrtPrg(" + std::to_string(timShw) + ", " + b(oldStatus) + ")");
    }
};

struct FakeHelp : HelpWindow, Logs {
    using Logs::Logs;
    void showHelp() override { put("help.showHelp"); }
};

// An autostart entry kept in memory; `failWrites` makes every write fail without changing it.
struct FakeAutostart : Autostart, Logs {
    using Logs::Logs;
    bool write(const std::string& programPath, bool enabled) override {
        put("autostart.write(" + programPath + ", " + b(enabled) + ")");
        on = failWrites ? on : enabled;
        return !failWrites;
    }
    bool isEnabled() const override { return on; }
    bool failWrites = false;
    bool on = false;
};

// Each now() takes the next weekday from `weekdays` (the last one repeats); English names.
struct FakeClock : Clock, Logs {
    using Logs::Logs;
    DateTime now() const override {
        DateTime t{2027, 2, 3, 9, 5, 7, weekdays.front()};
        if (weekdays.size() > 1) {
            weekdays.pop_front();
        }
        put("clock.now -> " + std::to_string(t.weekday));
        return t;
    }
    std::string monthName(int m) const override {
        static const std::array<const char*, 12> names = {
            "January", "February", "March",     "April",   "May",      "June",
            "July",    "August",   "September", "October", "November", "December"};
        return m >= 1 && m <= 12 ? names[static_cast<std::size_t>(m - 1)] : "?";
    }
    std::string weekdayName(int w) const override {
        return w >= 1 && w <= 7 ? kDayNames[static_cast<std::size_t>(w - 1)] : "?";
    }
    mutable std::deque<int> weekdays{4};
};

struct FakeEngine : EngineRoutines, Logs {
    using Logs::Logs;
    void CreateDefault() override { put("engine.CreateDefault"); }
    std::string defaultPicturePath() const override {
        return "/home/ann/.local/share/lumora/Default.bmp";
    }
    void ApplyWallpaperForDay(int d) override {
        put("engine.ApplyWallpaperForDay(" + std::to_string(d) + ")");
        if (onApply) {
            onApply(d);
        }
    }
    std::function<void(int)> onApply;
    void ColorChange() override { put("engine.ColorChange"); }
    // Records the choice as the real copy does: the day's value names its copy.
    bool Transf(const std::string& source, int d) override {
        put("engine.Transf(" + source + ", " + std::to_string(d) + ")");
        if (onTransf) {
            onTransf(source, d);
        }
        return true;
    }
    std::function<void(const std::string&, int)> onTransf;
};

// The shell's side of the icon: keeps a copy of every record it was handed.
struct FakeTrayHost : TrayHost, Logs {
    using Logs::Logs;
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
        put(entry + ")");
        records.push_back(data);
        return true;
    }
    std::vector<TrayIconData> records;
};

// The settings window: keeps the last view it was given; loads as thumbnails the pictures named
// in `pictures` (with their sizes) and fails on every other path.
struct FakeWindow : MainWindow, Logs {
    using Logs::Logs;
    void render(const SettingsView& v) override { view = v; }
    std::string caption() const override { return view.caption; }
    bool isShown() const override { return shown; }
    // Showing a hidden window tells `onShow` at once, as the Qt window's show event does.
    void showWindow() override {
        const bool was = shown;
        shown = true, put("window.show");
        if (!was && onShow) {
            onShow();
        }
    }
    void hideWindow() override { shown = false, put("window.hide"); }
    void setTopMost() override { put("window.setTopMost"); }
    void popupMenu() override { put("window.popupMenu"); }
    void menuChanged() override {}
    void destroyWindow() override { shown = false, put("window.destroy"); }
    std::optional<PixelSize> loadThumbnail(int w, const std::string& path) override {
        put("window.loadThumbnail(" + std::to_string(w) + ", " + path + ")");
        auto it = pictures.find(path);
        return it == pictures.end() ? std::nullopt : std::optional<PixelSize>(it->second);
    }
    void dropThumbnails() override { put("window.dropThumbnails"); }
    SettingsView view = buildSettingsView(SettingsWindowModel{});
    std::map<std::string, PixelSize> pictures;
    bool shown = false;
    std::function<void()> onShow;
};

// Keeps the day watch's callbacks so a test can fire them; records what is watched.
struct FakeDaySource : DayWatchSource {
    void setDayCheck(std::function<void()> check) override { dayCheck = std::move(check); }
    void setFileCheck(std::function<void()> check) override { fileCheck = std::move(check); }
    void setEveCheck(std::function<void()> check) override { eveCheck = std::move(check); }
    void watchFiles(const std::vector<std::string>& paths, const std::string&) override {
        watched = paths;
    }
    // The callbacks are kept, so a test can still fire them and see that the core does nothing.
    void stop() override { stopped = true; }
    bool stopped = false;
    std::function<void()> dayCheck;
    std::function<void()> fileCheck;
    std::function<void()> eveCheck;
    std::vector<std::string> watched;
};

struct FakePreview : PreviewWindow, Logs {
    using Logs::Logs;
    void StartProj(const std::string& path) override { put("preview.StartProj(" + path + ")"); }
};

// ---- rigs ----

// The in-memory registry and option store, and the shared call log.
struct StoreRig {
    CallLog log;
    MemoryRegistry store;
    Registry registry{store};
    Options options{store};

    void option(const std::string& key, const std::string& text) {
        store.writeOption(kAppName, kSection, key, text);
    }
    std::optional<std::string> stored(const std::string& key) {
        return store.readOption(kAppName, kSection, key);
    }
    // Day w's picture value (WeekdayNumber), as the registry routines read and write it.
    std::string dayValue(int w) {
        return registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, kDayNames.at(w - 1));
    }
    void setDayValue(int w, const std::string& path) {
        registry.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
        registry.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, kDayNames.at(w - 1), path,
                             REG_SZ);
    }
    // Stores "Key=text;Key=text".
    void setOptions(const std::string& list) {
        std::istringstream in(list);
        for (std::string item; std::getline(in, item, ';');) {
            option(item.substr(0, item.find('=')), item.substr(item.find('=') + 1));
        }
    }
    // The log entries that start with one of the prefixes ("a|b").
    CallLog only(const std::string& prefixes) const {
        CallLog out;
        std::copy_if(log.begin(), log.end(), std::back_inserter(out), [&](const std::string& e) {
            std::istringstream in(prefixes);
            for (std::string prefix; std::getline(in, prefix, '|');) {
                if (e.starts_with(prefix)) {
                    return true;
                }
            }
            return false;
        });
        return out;
    }
};

// FrmMainState with the name tables and defaults start-up gives it.
inline FrmMainState startedState() {
    FrmMainState s;
    for (std::size_t i = 0; i < kDayNames.size(); ++i) {
        s.DayNames[i] = kDayNames[i];
    }
    s.ModeNames = {"", "Selected Wallpaper", "Default Wallpaper", "No Wallpaper"};
    for (std::size_t d = 1; d <= 7; ++d) {
        s.DayStyle[d] = 1;
    }
    s.SelectWall = s.EditSelectWall = 2;
    s.DirectWall = s.EditDirectWall = 1;
    s.DispMess = s.ShowSplsh = true;
    return s;
}

// A wallpaper engine over the recording fakes, with a picture folder in a scratch folder.
// The picture folder is named `pictureFolderName` (UTF-8) in the scratch folder.
struct EngineRig : StoreRig {
    explicit EngineRig(std::string pictureFolderName = "pictures")
        : program(std::move(pictureFolderName)) {
        state.DefaultPath = engine.defaultPicturePath();
    }
    RecordingDesktop desktop{log};
    RecordingMessages messages;
    CountingEventPump events;
    TempProgramInfo program;
    FixedResources resources;
    ScriptedDialogs dialogs{log};
    StdFileAccess files;
    FrmMainState state = startedState();
    WallpaperEngine engine{state, EngineServices{registry, options, desktop, messages, events,
                                                 program, resources, dialogs, files}};

    fs::path folder() const { return pathFromUtf8(program.pictureFolder()); }
    fs::path scratch() const { return program.dir; }
};

// FrmMain's routines over the recording fakes.
struct FrmMainRig : StoreRig {
    FrmMainState state;
    TrayMenu menu;
    FakeTrayHost host{log};
    TrayModule tray{host};
    FakeEngine engine{log};
    RecordingDesktop desktop{log};
    FakeInstance instance{log};
    ScriptedDialogs dialogs{log};
    FakeAutostart autostart{log};
    FixedProgram program;
    FakeClock clock{log};
    FakeWindow window{log};
    TrayAlerts alerts{tray, window};
    FakeAbout about{log};
    FakeHelp help{log};
    FakePreview preview{log};
    FakeDaySource days;
    FrmMainLogic logic{FrmMainServices{state, options, registry, engine, desktop, instance, dialogs,
                                       autostart, program, clock, tray, menu, alerts, window, about,
                                       help, preview, days}};
    SettingsEditor& editor = logic.editor;

    FrmMainRig() {
        window.onShow = [this] { editor.windowShown(); };
        // Transf records the day copy as the real one does.
        engine.onTransf = [this](const std::string& source, int d) {
            setDayValue(d,
                        "/pics/" + std::string(kDayNames.at(static_cast<std::size_t>(d - 1))) +
                            source.substr(source.size() - std::min<std::size_t>(4, source.size())));
        };
    }
    // Started, with the log emptied afterwards.
    void started() {
        ASSERT_TRUE(logic.startUp.Form_Load());
        log.clear();
    }
    // A Label1 caption as the window shows it.
    const std::string& label1(int i) const {
        return window.view.label1.at(static_cast<std::size_t>(i)).caption;
    }
};

inline std::vector<std::uint8_t> patternBytes(std::size_t size, unsigned seed = 7) {
    std::vector<std::uint8_t> out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>((i * 131 + seed * 17 + i / 251) & 0xFF);
    }
    return out;
}

inline void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace lumora::fakes
