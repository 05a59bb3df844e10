#include "core/tray/day_watch.h"

#include "core/text/utf8_path.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lumora {

namespace {

// Only a regular file is opened: a pipe or device named as a day picture never blocks.
bool opensForReading(const std::string& path) {
    if (path.starts_with("Error")) {
        return false;
    }
    try {
        const std::filesystem::path file = pathFromUtf8(path);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) {
            return false;
        }
        std::ifstream in(file, std::ios::binary);
        return in.is_open();
    } catch (const std::exception&) {
        return false; // a text that names no file here
    }
}

} // namespace

void DayWatch::start() {
    m_s.source.setDayCheck([this] { dayCheck(); });
    m_s.source.setFileCheck([this] { ChckinTime(); });
    m_s.source.setEveCheck([this] { prepareNextDay(); });
    // Start-up took the day before it drew today's wallpaper, which lets events run: a midnight
    // that passed meanwhile is this change of day.
    dayCheck();
    // A day file that went while the program was not running is removed now, as one that goes
    // later is when the watch sees it.
    ChckinTime();
}

void DayWatch::stop() {
    m_stopped = true;
    m_s.source.stop();
}

void DayWatch::watchDayFiles() {
    std::vector<std::string> paths;
    for (int w = 1; w <= 7; ++w) {
        try {
            std::string value = m_s.registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey,
                                                         m_s.state.dayName(w));
            if (!value.empty() && !value.starts_with("Error")) {
                paths.push_back(std::move(value));
            }
        } catch (...) {
            // a day that cannot be read is not watched
        }
    }
    m_s.source.watchFiles(paths, m_s.program.pictureFolder());
}

void DayWatch::dayCheck() {
    FrmMainState& st = m_s.state;
    if (m_stopped) {
        return;
    }
    const int today = m_s.clock.now().weekday;
    if (today == st.LastDay) {
        return;
    }
    m_s.editor.AffDays();
    m_s.editor.ModifBold();
    m_s.editor.refresh();
    st.LastDay = static_cast<std::int16_t>(today);
    st.DayChanging = true;
    m_s.engine.ApplyWallpaperForDay(today);
    st.DayChanging = false;
}

void DayWatch::prepareNextDay() {
    FrmMainState& st = m_s.state;
    if (m_stopped || st.DirectWall != 1.0f) {
        return; // the default picture or no picture: nothing worth preparing
    }
    const int next = m_s.clock.now().weekday % 7 + 1;
    std::string picture;
    try {
        picture = m_s.registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, st.dayName(next));
    } catch (...) {
        return;
    }
    if (picture.empty() || picture.starts_with("Error")) {
        return;
    }
    if (const auto style = desktopStyleFor(st.DayStyle.at(static_cast<std::size_t>(next)))) {
        m_s.desktop.prepareWallpaper(picture, *style);
    }
}

void DayWatch::ChckinTime() {
    // Setting a wallpaper lets events run, and our own removals change the watched files: a
    // check asked for meanwhile runs as one more pass afterwards, never inside this one, so
    // every day is handled in one pass and today's wallpaper is applied once after it.
    if (m_stopped) {
        return;
    }
    if (m_checking) {
        m_checkAgain = true;
        return;
    }
    m_checking = true;
    do {
        m_checkAgain = false;
        bool someDayRemoved = false;
        for (int w = 1; w <= 7 && !m_stopped; ++w) {
            std::string value;
            try {
                value = m_s.registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey,
                                                 m_s.state.dayName(w));
            } catch (...) {
                continue;
            }
            if (value.empty() || opensForReading(value)) {
                continue;
            }
            m_s.editor.Label2_Click(w);
            m_s.editor.AffPics();
            m_s.editor.refresh();
            someDayRemoved = true;
        }
        if (someDayRemoved && !m_stopped) {
            m_s.engine.ApplyWallpaperForDay(m_s.clock.now().weekday);
        }
    } while (m_checkAgain && !m_stopped);
    m_checking = false;
    if (!m_stopped) {
        watchDayFiles();
    }
}

} // namespace lumora
