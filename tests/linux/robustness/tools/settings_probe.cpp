// One option written through the settings file store, as the program writes it, and what became
// of the values the file held:
//   settings_probe FILE KEY TEXT
// prints "stored <yes|no> before <n> kept <n> damaged-copy <path|->": whether a fresh store reads
// TEXT back, how many values (registry values and options) the file held that a reader could use
// before the write (but KEY), and how many of them are still there, unchanged, afterwards.
#include "core/settings/settings_format.h"
#include "linux/platform/settings_file.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// Every readable value but the option `skip` as "where=value" lines; nothing when the file is
// not a regular file the store reads (a folder, a pipe, larger than its limit).
std::vector<std::string> valuesOf(const std::string& path, const std::string& skip) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) ||
        std::filesystem::file_size(path, ec) > lumora::SettingsFile::kMaxFileSize || ec) {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    lumora::MemoryRegistry store;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    lumora::parseSettings(text, store);
    std::vector<std::string> values;
    for (const auto& [id, key] : store.keys()) {
        for (const auto& [name, value] : key.values) {
            values.push_back(std::to_string(id.first) + key.path + "\\" + name + "=" +
                             std::to_string(value.type) + ":" +
                             std::string(value.data.begin(), value.data.end()));
        }
    }
    for (const auto& [section, keys] : store.options()) {
        for (const auto& [key, option] : keys) {
            if (key == skip) {
                continue; // the one the write changes
            }
            values.push_back(section + "\\" + key + "=" + option);
        }
    }
    return values;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: settings_probe FILE KEY TEXT\n");
        return 2;
    }
    const std::string path = argv[1];
    const std::vector<std::string> before = valuesOf(path, argv[2]);
    lumora::SettingsFile store(path);
    store.setLockTimeout(1000);
    store.writeOption("Vintrel", "Options", argv[2], argv[3]);
    bool stored = false;
    try {
        lumora::SettingsFile fresh(path);
        stored = fresh.readOption("Vintrel", "Options", argv[2]) == std::string(argv[3]);
    } catch (const std::exception&) {
        // the file cannot be read (the store said why on stderr): nothing was stored
    }
    const std::vector<std::string> after = valuesOf(path, argv[2]);
    std::size_t kept = 0;
    for (const std::string& value : before) {
        kept += std::find(after.begin(), after.end(), value) != after.end() ? 1 : 0;
    }
    std::printf("stored %s before %zu kept %zu damaged-copy %s\n", stored ? "yes" : "no",
                before.size(), kept,
                store.lastBackupPath().empty() ? "-" : store.lastBackupPath().c_str());
    return 0;
}
