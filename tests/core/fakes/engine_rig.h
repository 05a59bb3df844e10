#pragma once
// A wallpaper engine wired to an in-memory registry and the recording fakes, with a picture folder
// in a scratch directory of its own.
#include "core/engine/wallpaper_engine.h"
#include "core/fakes/engine_fakes.h"
#include "core/settings/memory_registry.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lumora::fakes {

struct EngineRig {
    MemoryRegistry store;
    Registry registry{store};
    Options options{store};
    RecordingDesktop desktop;
    RecordingMessages messages;
    CountingEventPump events;
    TempProgramInfo program;
    FixedResources resources;
    ScriptedDialogs dialogs;
    FrmMainState state = startedState();
    WallpaperEngine engine{state, EngineServices{registry, options, desktop, messages, events,
                                                 program, resources, dialogs}};

    EngineRig() { state.DefaultPath = engine.defaultPicturePath(); }

    std::filesystem::path folder() const { return program.pictureFolder(); }
    std::filesystem::path scratch() const { return program.scratch(); }

    // The day's picture value as the registry routines read it.
    std::string dayValue(int d) {
        return registry.GetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, state.dayName(d));
    }
    void setDayValue(int d, const std::string& path) {
        registry.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
        registry.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, state.dayName(d), path, REG_SZ);
    }
};

inline std::vector<std::uint8_t> patternBytes(std::size_t size, unsigned seed = 7) {
    std::vector<std::uint8_t> out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>((i * 131 + seed * 17 + i / 251) & 0xFF);
    }
    return out;
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

// Removes a folder left where a file is wanted.
inline void remove_all_if_folder(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        std::filesystem::remove_all(path, ec);
    }
}

} // namespace lumora::fakes
