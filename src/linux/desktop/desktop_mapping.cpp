#include "linux/desktop/desktop_mapping.h"

#include "core/ports/desktop_backend.h"

#include <glib.h>

#include <cstdio>

namespace lumora {

std::optional<std::string> gsettingsPictureOptions(int style) {
    switch (style) {
    case WPSTYLE_CENTER:
        return "centered";
    case WPSTYLE_TILE:
        return "wallpaper";
    case WPSTYLE_STRETCH:
        return "stretched";
    case WPSTYLE_MAX:
        return "scaled";
    default:
        return std::nullopt;
    }
}

std::optional<int> xfceImageStyle(int style) {
    switch (style) {
    case WPSTYLE_CENTER:
        return 1;
    case WPSTYLE_TILE:
        return 2;
    case WPSTYLE_STRETCH:
        return 3;
    case WPSTYLE_MAX:
        return 4;
    default:
        return std::nullopt;
    }
}

std::optional<int> kdeFillMode(int style) {
    // Qt Quick Image.FillMode: Stretch 0, PreserveAspectFit 1, Tile 3, Pad 6.
    switch (style) {
    case WPSTYLE_CENTER:
        return 6;
    case WPSTYLE_TILE:
        return 3;
    case WPSTYLE_STRETCH:
        return 0;
    case WPSTYLE_MAX:
        return 1;
    default:
        return std::nullopt;
    }
}

std::optional<std::string> swaybgMode(int style) {
    switch (style) {
    case WPSTYLE_CENTER:
        return "center";
    case WPSTYLE_TILE:
        return "tile";
    case WPSTYLE_STRETCH:
        return "stretch";
    case WPSTYLE_MAX:
        return "fit";
    default:
        return std::nullopt;
    }
}

namespace {
unsigned red(std::uint32_t rgb) {
    return rgb & 0xFFu;
}
unsigned green(std::uint32_t rgb) {
    return (rgb >> 8) & 0xFFu;
}
unsigned blue(std::uint32_t rgb) {
    return (rgb >> 16) & 0xFFu;
}
} // namespace

std::string colorHex(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", red(rgb), green(rgb), blue(rgb));
    return text;
}

std::array<double, 4> xfceRgba(std::uint32_t rgb) {
    return {red(rgb) / 255.0, green(rgb) / 255.0, blue(rgb) / 255.0, 1.0};
}

std::string fileUri(const std::string& path) {
    if (path.empty() || path.front() != '/') {
        return {};
    }
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (uri == nullptr) {
        return {};
    }
    std::string result(uri);
    g_free(uri);
    return result;
}

namespace {

// Decodes one UTF-8 sequence at text[i]; returns the code point and advances i. An invalid or
// overlong sequence, a surrogate or a value beyond U+10FFFF gives U+FFFD and consumes one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1Fu;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0Fu;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07u;
        minimum = 0x10000;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (next & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += length;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void appendUnicodeEscape(std::string& out, char32_t cp) {
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(cp));
    out += text;
}

} // namespace

std::string javaScriptStringLiteral(std::string_view text) {
    std::string out = "\"";
    char32_t previous = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = decodeUtf8(text, i);
        switch (cp) {
        case U'"':
            out += "\\\"";
            break;
        case U'\\':
            out += "\\\\";
            break;
        case U'\b':
            out += "\\b";
            break;
        case U'\f':
            out += "\\f";
            break;
        case U'\n':
            out += "\\n";
            break;
        case U'\r':
            out += "\\r";
            break;
        case U'\t':
            out += "\\t";
            break;
        case U'/':
            out += previous == U'<' ? "\\/" : "/";
            break;
        default:
            if (cp < 0x20 || cp == 0x7F || cp == 0x2028 || cp == 0x2029) {
                appendUnicodeEscape(out, cp);
            } else {
                appendUtf8(out, cp);
            }
        }
        previous = cp;
    }
    out += '"';
    return out;
}

namespace {

std::string colorLiteral(const std::optional<std::uint32_t>& color) {
    return color ? javaScriptStringLiteral(colorHex(*color)) : std::string("null");
}

} // namespace

std::string kdeWallpaperScript(const std::string& path, int style,
                               const std::optional<std::uint32_t>& color) {
    const std::string image = path.empty() ? std::string() : fileUri(path);
    const std::optional<int> fill = kdeFillMode(style);
    std::string script = "(function () {\n";
    script += "var image = " + javaScriptStringLiteral(image) + ";\n";
    script += "var fillMode = " + (fill ? std::to_string(*fill) : std::string("null")) + ";\n";
    script += "var color = " + colorLiteral(color) + ";\n";
    script += R"(var all = desktops();
for (var i = 0; i < all.length; ++i) {
    var d = all[i];
    if (image === "") {
        d.wallpaperPlugin = "org.kde.color";
        d.currentConfigGroup = ["Wallpaper", "org.kde.color", "General"];
        if (color !== null) {
            d.writeConfig("Color", color);
        }
        d.reloadConfig();
        continue;
    }
    d.wallpaperPlugin = "org.kde.image";
    d.currentConfigGroup = ["Wallpaper", "org.kde.image", "General"];
    // Plasma keeps a picture it has loaded while the name stays the same: clearing the name
    // first makes it read a file changed at the same path again.
    if (String(d.readConfig("Image")) === image) {
        d.writeConfig("Image", "");
        d.reloadConfig();
    }
    d.writeConfig("Image", image);
    if (fillMode !== null) {
        d.writeConfig("FillMode", fillMode);
    }
    if (color !== null) {
        d.writeConfig("Color", color);
    }
    d.reloadConfig();
}
})();
)";
    return script;
}

std::string kdeColorScript(std::uint32_t color) {
    std::string script =
        "(function () {\nvar color = " + javaScriptStringLiteral(colorHex(color)) + ";\n";
    script += R"(var all = desktops();
for (var i = 0; i < all.length; ++i) {
    var d = all[i];
    d.currentConfigGroup = ["Wallpaper", "org.kde.image", "General"];
    d.writeConfig("Color", color);
    d.currentConfigGroup = ["Wallpaper", "org.kde.color", "General"];
    d.writeConfig("Color", color);
    d.reloadConfig();
}
})();
)";
    return script;
}

std::vector<std::string> swaybgArguments(const std::string& path, int style, std::uint32_t color) {
    std::vector<std::string> args{"-o", "*", "-c", colorHex(color)};
    if (path.empty()) {
        args.insert(args.end(), {"-m", "solid_color"});
    } else {
        args.insert(args.end(), {"-i", path, "-m", swaybgMode(style).value_or("stretch")});
    }
    return args;
}

} // namespace lumora
