#include "core/settings/settings_format.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace lumora {

namespace {

constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER";
constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";

bool isContinuation(unsigned char c) {
    return (c & 0xC0u) == 0x80u;
}

// Length of the well-formed UTF-8 sequence of two or more bytes starting at `i`, or 0.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = at(i);
    std::size_t need = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        need = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
        need = 2;
        lo = c == 0xE0 ? 0xA0 : 0x80;
        hi = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        need = 3;
        lo = c == 0xF0 ? 0x90 : 0x80;
        hi = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + need >= s.size()) {
        return 0;
    }
    if (at(i + 1) < lo || at(i + 1) > hi) {
        return 0;
    }
    for (std::size_t k = 2; k <= need; ++k) {
        if (!isContinuation(at(i + k))) {
            return 0;
        }
    }
    return need + 1;
}

// Printable and well-formed: may stand unquoted in a header.
bool isPlain(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F || c == '"') {
            return false;
        }
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = utf8Length(s, i);
        if (n == 0) {
            return false;
        }
        i += n;
    }
    return true;
}

const char kHex[] = "0123456789abcdef";

void appendHexByte(std::string& out, std::uint8_t b) {
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 0xF]);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool startsWithCaseless(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char a = s[i];
        char b = prefix[i];
        if (a >= 'a' && a <= 'z') {
            a = static_cast<char>(a - 'a' + 'A');
        }
        if (b >= 'a' && b <= 'z') {
            b = static_cast<char>(b - 'a' + 'A');
        }
        if (a != b) {
            return false;
        }
    }
    return true;
}

// The root named at the start of `s` ("HKEY_CURRENT_USER" followed by the end or a backslash),
// with the length of its name; root 0 when there is none.
std::pair<RegKey, std::size_t> leadingRoot(std::string_view s) {
    for (auto [root, name] : {std::pair{HKEY_CURRENT_USER, kCurrentUser},
                              std::pair{HKEY_LOCAL_MACHINE, kLocalMachine}}) {
        if (startsWithCaseless(s, name) && (s.size() == name.size() || s[name.size()] == '\\')) {
            return {root, name.size()};
        }
    }
    return {0, 0};
}

std::string_view trim(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Reads a quoted text starting at s[pos] == '"'; `pos` ends after the closing quote.
bool readQuoted(std::string_view s, std::size_t& pos, std::string& out) {
    if (pos >= s.size() || s[pos] != '"') {
        return false;
    }
    std::size_t begin = pos + 1;
    std::size_t i = begin;
    while (i < s.size() && s[i] != '"') {
        i += s[i] == '\\' ? 2 : 1;
    }
    if (i >= s.size()) {
        return false; // no closing quote
    }
    pos = i + 1;
    return unquoteText(s.substr(begin, i - begin), out);
}

void skipBlanks(std::string_view s, std::size_t& pos) {
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) {
        ++pos;
    }
}

bool parseDword(std::string_view s, std::vector<std::uint8_t>& data) {
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || value < INT32_MIN ||
        value > static_cast<std::int64_t>(UINT32_MAX)) {
        return false;
    }
    auto bits = static_cast<std::uint32_t>(value);
    data = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    return true;
}

// "hex(<type>):01,02" after the "hex(" prefix.
bool parseHex(std::string_view s, std::uint32_t& type, std::vector<std::uint8_t>& data) {
    std::size_t close = s.find("):");
    if (close == std::string_view::npos || close == 0) {
        return false;
    }
    auto [end, ec] = std::from_chars(s.data(), s.data() + close, type);
    if (ec != std::errc() || end != s.data() + close) {
        return false;
    }
    std::string_view bytes = trim(s.substr(close + 2));
    data.clear();
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (i + 1 >= bytes.size()) {
            return false;
        }
        int hi = hexDigit(bytes[i]);
        int lo = hexDigit(bytes[i + 1]);
        if (hi < 0 || lo < 0) {
            return false;
        }
        data.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        i += 2;
        skipBlanks(bytes, i);
        if (i < bytes.size()) {
            if (bytes[i] != ',') {
                return false;
            }
            ++i;
            skipBlanks(bytes, i);
            if (i >= bytes.size()) {
                return false; // a trailing comma: bytes are missing
            }
        }
    }
    return true;
}

std::string valueText(const StoredValue& value) {
    const auto& d = value.data;
    if (value.type == REG_SZ && !d.empty() && d.back() == 0) {
        return quoteText(std::string_view(reinterpret_cast<const char*>(d.data()), d.size() - 1));
    }
    if (value.type == REG_DWORD && d.size() == 4) {
        std::uint32_t bits =
            static_cast<std::uint32_t>(d[0]) | static_cast<std::uint32_t>(d[1]) << 8 |
            static_cast<std::uint32_t>(d[2]) << 16 | static_cast<std::uint32_t>(d[3]) << 24;
        return "dword:" + std::to_string(static_cast<std::int32_t>(bits));
    }
    std::string out = "hex(" + std::to_string(value.type) + "):";
    for (std::size_t i = 0; i < d.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
        }
        appendHexByte(out, d[i]);
    }
    return out;
}

enum class Section { None, Key, Options };

} // namespace

std::string rootName(RegKey root) {
    if (root == HKEY_CURRENT_USER) {
        return std::string(kCurrentUser);
    }
    if (root == HKEY_LOCAL_MACHINE) {
        return std::string(kLocalMachine);
    }
    return {};
}

std::string quoteText(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            std::size_t n = utf8Length(text, i);
            if (n > 0) {
                out.append(text.substr(i, n));
                i += n;
                continue;
            }
            out += "\\x";
            appendHexByte(out, c);
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            appendHexByte(out, c);
        } else {
            out.push_back(static_cast<char>(c));
        }
        ++i;
    }
    out.push_back('"');
    return out;
}

bool unquoteText(std::string_view quoted, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        char c = quoted[i];
        if (c == '"') {
            return false;
        }
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (++i >= quoted.size()) {
            return false;
        }
        switch (quoted[i]) {
        case '\\':
            out.push_back('\\');
            break;
        case '"':
            out.push_back('"');
            break;
        case 'n':
            out.push_back('\n');
            break;
        case 'r':
            out.push_back('\r');
            break;
        case 't':
            out.push_back('\t');
            break;
        case 'x': {
            if (i + 2 >= quoted.size()) {
                return false;
            }
            int hi = hexDigit(quoted[i + 1]);
            int lo = hexDigit(quoted[i + 2]);
            if (hi < 0 || lo < 0) {
                return false;
            }
            out.push_back(static_cast<char>(hi * 16 + lo));
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

std::string serializeSettings(const MemoryRegistry& store) {
    std::string out = "# Lumora settings: registry keys and option texts, one item a line.\n"
                      "# Values: \"text\", dword:<decimal>, hex(<type>):<bytes>.\n";
    for (const auto& [id, key] : store.keys()) {
        std::string root = rootName(id.first);
        if (root.empty()) {
            continue; // only the two roots exist
        }
        out += "\n[" + root;
        if (!key.path.empty()) {
            out += "\\";
            out += isPlain(key.path) ? key.path : quoteText(key.path);
        }
        out += "]\n";
        for (const auto& name : key.order) {
            auto it = key.values.find(name);
            if (it != key.values.end()) {
                out += quoteText(it->first) + " = " + valueText(it->second) + "\n";
            }
        }
    }
    for (const auto& [section, texts] : store.options()) {
        bool raw = !section.empty() && isPlain(section) && leadingRoot(section).first == 0;
        out += "\n[" + (raw ? section : quoteText(section)) + "]\n";
        for (const auto& [name, text] : texts) {
            out += quoteText(name) + " = " + quoteText(text) + "\n";
        }
    }
    return out;
}

SettingsParseReport parseSettings(std::string_view text, MemoryRegistry& into) {
    SettingsParseReport report;
    Section section = Section::None;
    RegKey root = 0;
    std::string path;
    std::string optionSection;
    std::size_t number = 0;
    while (!text.empty()) {
        std::size_t eol = text.find('\n');
        std::string_view line = trim(text.substr(0, eol));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        ++number;
        if (line.empty() || line[0] == '#' || line[0] == ';') {
            continue;
        }
        auto bad = [&] { report.badLines.push_back(number); };

        if (line[0] == '[') {
            section = Section::None; // a bad header makes the lines under it unusable too
            if (line.size() < 3 || line.back() != ']') {
                bad();
                continue;
            }
            std::string_view content = line.substr(1, line.size() - 2);
            auto [headerRoot, nameLength] = leadingRoot(content);
            if (headerRoot != 0) {
                std::string_view rest = content.substr(nameLength);
                std::string keyPath;
                if (rest.size() > 1 && rest[1] == '"') {
                    std::size_t pos = 1;
                    if (!readQuoted(rest, pos, keyPath) || pos != rest.size()) {
                        bad();
                        continue;
                    }
                } else if (!rest.empty()) {
                    keyPath = std::string(rest.substr(1));
                }
                root = headerRoot;
                path = keyPath;
                into.putKey(root, path);
                section = Section::Key;
            } else if (content[0] == '"') {
                std::size_t pos = 0;
                std::string name;
                if (!readQuoted(content, pos, name) || pos != content.size()) {
                    bad();
                    continue;
                }
                optionSection = name;
                section = Section::Options;
            } else {
                optionSection = std::string(content);
                section = Section::Options;
            }
            continue;
        }

        // name = value
        std::string name;
        std::size_t pos = 0;
        if (line[0] == '"') {
            if (!readQuoted(line, pos, name)) {
                bad();
                continue;
            }
        } else {
            pos = line.find('=');
            if (pos == std::string_view::npos) {
                bad();
                continue;
            }
            name = std::string(trim(line.substr(0, pos)));
            if (name.empty()) {
                bad();
                continue;
            }
        }
        skipBlanks(line, pos);
        if (pos >= line.size() || line[pos] != '=') {
            bad();
            continue;
        }
        ++pos;
        skipBlanks(line, pos);
        std::string_view value = line.substr(pos);

        if (section == Section::None) {
            bad();
            continue;
        }
        if (!value.empty() && value[0] == '"') {
            std::string textValue;
            std::size_t at = 0;
            if (!readQuoted(value, at, textValue) || at != value.size()) {
                bad();
                continue;
            }
            if (section == Section::Options) {
                into.putOption(optionSection, name, textValue);
            } else {
                std::vector<std::uint8_t> data(textValue.begin(), textValue.end());
                data.push_back(0);
                into.putValue(root, path, name, StoredValue{REG_SZ, std::move(data)});
            }
            continue;
        }
        if (section == Section::Options) {
            bad(); // option values are texts
            continue;
        }
        StoredValue stored;
        if (startsWithCaseless(value, "dword:")) {
            stored.type = REG_DWORD;
            if (!parseDword(value.substr(6), stored.data)) {
                bad();
                continue;
            }
        } else if (startsWithCaseless(value, "hex(")) {
            if (!parseHex(value.substr(4), stored.type, stored.data)) {
                bad();
                continue;
            }
        } else {
            bad();
            continue;
        }
        into.putValue(root, path, name, std::move(stored));
    }
    return report;
}

} // namespace lumora
