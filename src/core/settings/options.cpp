#include "core/settings/options.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

namespace lumora {

std::string stylKey(int weekdayNumber) {
    return "Styl" + std::to_string(weekdayNumber);
}

std::string Options::GetSetting(const std::string& key, const std::string& defaultText) {
    try {
        auto text = m_store.readOption(kAppName, kSection, key);
        return text ? *text : defaultText;
    } catch (...) {
        return defaultText;
    }
}

void Options::SaveSetting(const std::string& key, const std::string& text) {
    try {
        m_store.writeOption(kAppName, kSection, key, text);
    } catch (...) {
        // a failed write leaves the in-memory state as it is
    }
}

std::optional<StoreFailure> Options::readFailure() {
    try {
        m_store.readOption(kAppName, kSection, kDispMess);
    } catch (const StoreFailure& failure) {
        return failure;
    } catch (...) {
        return StoreFailure(0, "the settings store failed");
    }
    return std::nullopt;
}

bool Options::readBool(const std::string& key, bool defaultValue) {
    return parseBoolText(GetSetting(key, boolText(defaultValue))).value_or(defaultValue);
}

float Options::readSingle(const std::string& key, float defaultValue) {
    std::string fallback = std::to_string(defaultValue);
    return parseSingleText(GetSetting(key, fallback)).value_or(defaultValue);
}

namespace {
std::string trimmed(const std::string& text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) {
        ++b;
    }
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) {
        --e;
    }
    return text.substr(b, e - b);
}
} // namespace

std::optional<bool> parseBoolText(const std::string& text) {
    if (text == "True") {
        return true;
    }
    if (text == "False") {
        return false;
    }
    return std::nullopt;
}

std::optional<float> parseSingleText(const std::string& text) {
    std::string t = trimmed(text);
    if (t.empty()) {
        return std::nullopt;
    }
    // Digits, one optional sign and one optional decimal point; no exponents, hex or names.
    std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(t[i]))) {
            digits = true;
        } else if (t[i] == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    return std::strtof(t.c_str(), nullptr);
}

std::optional<std::int64_t> parseWholeText(const std::string& text) {
    std::string t = trimmed(text);
    if (!t.empty() && t[0] == '+') {
        t.erase(0, 1);
    }
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint32_t> parseColorText(const std::string& text) {
    auto value = parseWholeText(text);
    if (!value || *value < INT32_MIN || *value > 0xFFFFFFFFLL) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value) & 0x00FFFFFFu;
}

bool readShowSplsh(Options& options) {
    return options.readBool(kShowSplsh, true);
}

bool readDispMess(Options& options) {
    return options.readBool(kDispMess, true);
}

bool readAddToReg(Options& options) {
    auto number = parseSingleText(options.GetSetting(kAddToReg, "1"));
    return !number || *number == 1.0f;
}

// The modes are numbers: "2.0" and " 3" are 2 and 3, and a number the window never writes ("4")
// is kept as it is, so the window neither shows nor cycles nor stores over it. Only a text that
// is no number at all counts as absent.
float readSelectWall(Options& options) {
    return parseSingleText(options.GetSetting(kSelectWall, "2")).value_or(2.0f);
}

float readDirectWall(Options& options) {
    return parseSingleText(options.GetSetting(kDirectWall, "1")).value_or(1.0f);
}

std::optional<float> readStyl(Options& options, int weekdayNumber) {
    return parseSingleText(options.GetSetting(stylKey(weekdayNumber), "1"));
}

std::string readBackColor(Options& options) {
    return options.GetSetting(kBackColor, "");
}

} // namespace lumora
