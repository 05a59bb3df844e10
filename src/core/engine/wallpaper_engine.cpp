#include "core/engine/wallpaper_engine.h"

#include "core/engine/engine_texts.h"
#include "core/engine/picture_files.h"
#include "core/text/utf8_path.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace lumora {

namespace fs = std::filesystem;

namespace {

inline constexpr std::uint32_t kWhite = 0xFFFFFF;

// Leading and trailing spaces removed (spaces only, as the stored path is written).
std::string trimSpaces(const std::string& text) {
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos) {
        return {};
    }
    std::size_t e = text.find_last_not_of(' ');
    return text.substr(b, e - b + 1);
}

} // namespace

template <class Statement> void WallpaperEngine::step(Statement&& statement) {
    try {
        statement();
    } catch (...) {
        m_runFailed = true;
    }
}

DesktopResult WallpaperEngine::setWallpaperChecked(const std::string& path, int style) {
    try {
        return m_services.desktop.setWallpaper(path, style);
    } catch (...) {
        return DesktopResult::failure("the desktop call failed");
    }
}

void WallpaperEngine::noteFailure(const DesktopResult& result) {
    m_runFailed = true;
    if (m_lastRun.ok) {
        m_lastRun = result; // the first failure of the run is the one told
    }
}

void WallpaperEngine::SetDesktopWallpaper(const std::string& path, int style) {
    setWallpaperChecked(path, style);
}

void WallpaperEngine::ApplyWallpaperForDay(int d) {
    if (d < 1 || d > 7) {
        m_lastRun = DesktopResult::failure("no such day");
        return; // no such day: nothing to apply
    }
    m_runFailed = false;
    m_lastRun = DesktopResult::success();
    try {
        const auto slot = static_cast<std::size_t>(d);
        const std::string day = m_state.dayName(d);
        auto& desktop = m_services.desktop;
        // A report says what was used: none follows a wallpaper the desktop did not take (its
        // reason is logged by the desktop).
        bool wallpaperFailed = false;
        auto show = [&](const std::string& text) {
            if (!wallpaperFailed) {
                step([&] { m_services.messages.showMessage(text); });
            }
        };
        auto wallpaper = [&](const std::string& path, int style) {
            if (DesktopResult result = setWallpaperChecked(path, style); !result) {
                noteFailure(result);
                wallpaperFailed = true;
            }
        };
        auto colour = [&](std::uint32_t rgb) {
            step([&] {
                if (DesktopResult result = desktop.setBackgroundColor(rgb); !result) {
                    noteFailure(result);
                }
            });
        };
        // The stored colour, when it is a number; otherwise the colour stays as it is.
        auto storedColour = [&] {
            if (auto rgb = parseColorText(m_state.BackColor)) {
                colour(*rgb);
            }
        };

        step([&] { m_state.AppliedStyle.at(slot) = m_state.DayStyle.at(slot); });
        std::string picture;
        step([&] {
            picture = m_services.registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, day);
        });
        // "Error: <n>" tells a failed read of the store: it is no picture, never reaches the
        // desktop, and nothing claims it was used.
        const bool failedRead = picture.compare(0, 5, "Error") == 0;
        int outcome = 1;

        // No picture: the default picture, centred on white.
        if (picture.empty() && m_state.SelectWall == 2.0f && m_state.DirectWall == 1.0f) {
            colour(kWhite);
            picture = m_state.DefaultPath;
            wallpaper(picture, WPSTYLE_CENTER);
            outcome = 2;
            if (m_state.DispMess) {
                show(noPictureDefaultText(day));
            }
            return;
        }
        // No picture: no wallpaper, on the stored colour.
        if (picture.empty() && m_state.SelectWall == 3.0f && m_state.DirectWall == 1.0f) {
            storedColour();
            outcome = 3;
        }

        if (m_state.DirectWall == 1.0f) {
            // A style outside 1..4 leaves the desktop's wallpaper as it is.
            if (failedRead) {
                noteFailure(DesktopResult::failure("the day's picture cannot be read from the "
                                                   "settings (" +
                                                   picture + ")"));
            } else if (auto style = desktopStyleFor(m_state.AppliedStyle.at(slot))) {
                wallpaper(picture, *style);
            }
        } else if (m_state.DirectWall == 2.0f) {
            colour(kWhite);
            picture = m_state.DefaultPath;
            wallpaper(picture, WPSTYLE_CENTER);
            outcome = 4;
            if (!m_state.DispMess) {
                return;
            }
        } else if (m_state.DirectWall == 3.0f) {
            picture.clear();
            storedColour();
            wallpaper(picture, WPSTYLE_STRETCH);
            outcome = 5;
            if (!m_state.DispMess) {
                return;
            }
        }

        picture = trimSpaces(picture);

        switch (outcome) {
        case 1:
            if (m_state.DispMess && !m_state.DayChanging) {
                if (!failedRead) {
                    show(selectedPictureText(day));
                }
                return;
            }
            break; // on to the day-change report
        case 3:
            if (m_state.DispMess) {
                show(noPictureNoWallpaperText(day));
            }
            return;
        case 4:
            show(defaultModeText());
            return;
        case 5:
            show(noWallpaperModeText());
            return;
        default:
            return;
        }

        // The day-change report: only for a picture that is really there.
        if (!m_state.DispMess || !m_state.DayChanging) {
            return;
        }
        if (picture.compare(0, 5, "Error") == 0) {
            return;
        }
        std::error_code ec;
        const std::uintmax_t length = fs::file_size(pathFromUtf8(picture), ec);
        if (ec || length == 0 || m_runFailed) {
            return;
        }
        show(dayChangeText(day));
    } catch (...) {
        // a run never fails its caller
    }
}

std::string WallpaperEngine::ensurePictureFolder() const {
    const std::string folder = m_services.program.pictureFolder();
    if (folder.empty()) {
        throw std::runtime_error("no picture folder");
    }
    const fs::path path = pathFromUtf8(folder);
    fs::create_directories(path); // throws when a file stands in the way
    if (!fs::is_directory(path)) {
        throw std::runtime_error("the picture folder is not a folder");
    }
    return folder;
}

std::string WallpaperEngine::defaultPicturePath() const {
    return utf8FromPath(pathFromUtf8(m_services.program.pictureFolder()) / "Default.bmp");
}

std::string WallpaperEngine::dayCopyPath(const std::string& source, int d) const {
    // The last four characters of the source as they are (".jpg", or "jpeg" of ".jpeg"), with any
    // path separator made harmless so that the copy stays a plain file in the picture folder.
    const std::string name = m_state.dayName(d) + plainNamePart(lastCharacters(source, 4));
    return utf8FromPath(pathFromUtf8(m_services.program.pictureFolder()) / pathFromUtf8(name));
}

bool WallpaperEngine::Transf(const std::string& source, int d) {
    try {
        const std::string day = m_state.dayName(d);
        if (day.empty()) {
            return false;
        }
        ensurePictureFolder();
        const std::string destination = dayCopyPath(source, d);
        // The day's value changes only once the new copy is complete and in place; until then a
        // timer tick sees the previous copy and value.
        if (!copyInBlocks(source, destination, m_services.files, m_services.events, m_fileSync)) {
            return false;
        }
        m_services.registry.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
        m_services.registry.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, day, destination,
                                        REG_SZ);
        return true;
    } catch (...) {
        return false; // the copy is abandoned; the day keeps its previous picture
    }
}

void WallpaperEngine::CreateDefault() {
    try {
        const std::vector<std::uint8_t> bytes = m_services.resources.bytes("default_bmp");
        if (bytes.empty()) {
            return;
        }
        ensurePictureFolder();
        removeStaleParts(m_services.program.pictureFolder());
        // Every start leaves the same bytes there; a file that already holds them is not
        // written again (no write and no flush to disk at every log-in).
        if (!fileHolds(defaultPicturePath(), bytes, m_services.files)) {
            writeFileAtomically(defaultPicturePath(), bytes, m_services.files, m_fileSync);
        }
    } catch (...) {
        // quietly: the engine then points the desktop at a file that may be missing
    }
}

void WallpaperEngine::ColorChange() {
    try {
        m_state.BackColor = readBackColor(m_services.options);
        std::optional<std::uint32_t> initial;
        if (!m_state.BackColor.empty()) {
            initial = parseColorText(m_state.BackColor);
            if (!initial) {
                return; // a stored colour that is no number ends here, before the dialog
            }
        }
        const std::optional<std::uint32_t> chosen = m_services.dialogs.chooseColor(initial);
        if (!chosen) {
            return; // cancelled: nothing changes
        }
        const std::uint32_t rgb = *chosen & 0x00FFFFFFu;
        try {
            m_services.desktop.setBackgroundColor(rgb);
        } catch (...) {
            // not reported; the colour is still stored
        }
        const std::string text = std::to_string(rgb);
        m_services.options.SaveSetting(kBackColor, text);
        m_state.BackColor = text;
    } catch (...) {
        // any failure ends the routine quietly
    }
}

} // namespace lumora
