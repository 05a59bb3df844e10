#pragma once
// The option settings: application "Vintrel", section "Options"; texts read with a default that
// is returned when the key is absent and never written by a read.
#include "core/ports/option_store.h"
#include "core/ports/registry_backend.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

inline constexpr const char* kAppName = "Vintrel";
inline constexpr const char* kSection = "Options";

inline constexpr const char* kShowSplsh = "ShowSplsh";
inline constexpr const char* kAddToReg = "AddToReg";
inline constexpr const char* kSelectWall = "SelectWall";
inline constexpr const char* kDirectWall = "DirectWall";
inline constexpr const char* kDispMess = "DispMess";
inline constexpr const char* kBackColor = "BackColor";
// "Styl1" .. "Styl7"
std::string stylKey(int weekdayNumber);

class Options {
public:
    explicit Options(OptionStore& store) : m_store(store) {}
    // The stored text, or `defaultText` when the key is absent or the store fails.
    std::string GetSetting(const std::string& key, const std::string& defaultText);
    // Failures are ignored (they are logged by the store).
    void SaveSetting(const std::string& key, const std::string& text);
    // Why the store cannot be read now; nothing when it can.
    std::optional<StoreFailure> readFailure();

    // Typed reads: a stored text that is not what the program writes counts as absent.
    bool readBool(const std::string& key, bool defaultValue);     // "True" / "False"
    float readSingle(const std::string& key, float defaultValue); // decimal number

private:
    OptionStore& m_store;
};

// Conversions of stored texts, the way the program reads them.
std::optional<bool> parseBoolText(const std::string& text);          // "True" / "False" only
std::optional<float> parseSingleText(const std::string& text);       // a decimal number
std::optional<std::int64_t> parseWholeText(const std::string& text); // a decimal whole number
// A stored colour (decimal text of 0x00BBGGRR); nothing when the text is no 32-bit number.
std::optional<std::uint32_t> parseColorText(const std::string& text);
inline const char* boolText(bool b) {
    return b ? "True" : "False";
}

// Each option read the way the program reads it, with its default given here and nowhere else.
// A Boolean other than "True" / "False", or a number that is no number, counts as absent.
bool readShowSplsh(Options& options);   // "ShowSplsh": True / False, default True
bool readDispMess(Options& options);    // "DispMess": True / False, default True
bool readAddToReg(Options& options);    // "AddToReg": 1 / 0, default 1; no number = 1
float readSelectWall(Options& options); // "SelectWall": a number (2 / 3), default 2
float readDirectWall(Options& options); // "DirectWall": a number (1 / 2 / 3), default 1
std::optional<float> readStyl(Options& options, int weekdayNumber); // "Styl<w>", default 1
std::string readBackColor(Options& options); // "BackColor", default empty (never chosen)

} // namespace lumora
