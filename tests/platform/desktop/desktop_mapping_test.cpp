// Styles, colours and the escaping of awkward paths, for every desktop's own syntax.
#include "platform/desktop/desktop_mapping.h"
#include "platform/seams/desktop_backend.h"

#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

struct StyleRow {
    int style;
    std::optional<std::string> gsettings;
    std::optional<int> xfce;
    std::optional<int> kde;
    std::optional<std::string> swaybg;
};

class StyleMapping : public ::testing::TestWithParam<StyleRow> {};

TEST_P(StyleMapping, EachDesktopNamesTheStyle) {
    const StyleRow& row = GetParam();
    EXPECT_EQ(gsettingsPictureOptions(row.style), row.gsettings);
    EXPECT_EQ(xfceImageStyle(row.style), row.xfce);
    EXPECT_EQ(kdeFillMode(row.style), row.kde);
    EXPECT_EQ(swaybgMode(row.style), row.swaybg);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StyleMapping,
    ::testing::Values(StyleRow{WPSTYLE_CENTER, "centered", 1, 6, "center"},
                      StyleRow{WPSTYLE_TILE, "wallpaper", 2, 3, "tile"},
                      StyleRow{WPSTYLE_STRETCH, "stretched", 3, 0, "stretch"},
                      StyleRow{WPSTYLE_MAX, "scaled", 4, 1, "fit"},
                      StyleRow{-1, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                      StyleRow{4, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                      StyleRow{5, std::nullopt, std::nullopt, std::nullopt, std::nullopt}));

struct ColorRow {
    std::uint32_t rgb; // 0x00BBGGRR
    std::string hex;
    std::array<double, 4> rgba;
};

class ColorMapping : public ::testing::TestWithParam<ColorRow> {};

TEST_P(ColorMapping, RedIsTheLowByte) {
    const ColorRow& row = GetParam();
    EXPECT_EQ(colorHex(row.rgb), row.hex);
    const std::array<double, 4> rgba = xfceRgba(row.rgb);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(rgba[i], row.rgba[i]) << "component " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Colors, ColorMapping,
    ::testing::Values(ColorRow{0xFFFFFF, "#ffffff", {1, 1, 1, 1}},
                      ColorRow{0x000000, "#000000", {0, 0, 0, 1}},
                      ColorRow{255, "#ff0000", {1, 0, 0, 1}},      // pure red
                      ColorRow{0x00FF00, "#00ff00", {0, 1, 0, 1}}, // pure green
                      ColorRow{16711680, "#0000ff", {0, 0, 1, 1}}, // pure blue
                      ColorRow{0x00336699, "#996633", {0.6, 0.4, 0.2, 1}},
                      ColorRow{0xFF010203, "#030201", {3 / 255.0, 2 / 255.0, 1 / 255.0, 1}}));

// Awkward file names: each must survive every desktop's syntax unchanged.
const char* const kAwkwardPaths[] = {
    "/home/user/pictures/plain.jpg",
    "/home/user/my pictures/two words.jpg",
    "/tmp/it's \"quoted\".png",
    "/tmp/hash#tag.png",
    "/tmp/100%25 percent%.png",
    "/tmp/$HOME and $(id) `id`.png",
    "/tmp/new\nline.png",
    "/tmp/tab\there.png",
    "/tmp/back\\slash.png",
    "/tmp/caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8c\x85.png",
    "/tmp/line\xe2\x80\xa8separator\xe2\x80\xa9.png",
    "/tmp/</script>.png",
    "/tmp/?query=1&x.png",
};

class AwkwardPath : public ::testing::TestWithParam<const char*> {};

TEST_P(AwkwardPath, FileUriDecodesBackToThePath) {
    const std::string path = GetParam();
    const std::string uri = fileUri(path);
    ASSERT_EQ(uri.rfind("file:///", 0), 0u) << uri;
    for (const char c : uri) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(byte > 0x20 && byte < 0x7F) << "raw byte in URI: " << uri;
        EXPECT_NE(c, '#') << uri;
        EXPECT_NE(c, ' ') << uri;
        EXPECT_NE(c, '?') << uri;
    }
    const QUrl url(QString::fromStdString(uri), QUrl::StrictMode);
    ASSERT_TRUE(url.isValid()) << uri;
    EXPECT_EQ(url.toLocalFile().toStdString(), path);
}

TEST_P(AwkwardPath, JavaScriptLiteralHasNoRawLineBreakAndNoEarlyEnd) {
    const std::string path = GetParam();
    const std::string literal = javaScriptStringLiteral(path);
    ASSERT_GE(literal.size(), 2u);
    EXPECT_EQ(literal.front(), '"');
    EXPECT_EQ(literal.back(), '"');
    EXPECT_EQ(literal.find('\n'), std::string::npos);
    EXPECT_EQ(literal.find('\r'), std::string::npos);
    EXPECT_EQ(literal.find("\xe2\x80\xa8"), std::string::npos);
    EXPECT_EQ(literal.find("\xe2\x80\xa9"), std::string::npos);
    EXPECT_EQ(literal.find("</"), std::string::npos);
    // Every quote inside is escaped: an odd run of backslashes stands before it.
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
        if (literal[i] == '"') {
            std::size_t slashes = 0;
            for (std::size_t k = i; k > 0 && literal[k - 1] == '\\'; --k) {
                ++slashes;
            }
            EXPECT_EQ(slashes % 2, 1u) << literal;
        }
    }
}

TEST_P(AwkwardPath, SwaybgGetsThePathAsOneArgument) {
    const std::string path = GetParam();
    const std::vector<std::string> args = swaybgArguments(path, WPSTYLE_MAX, 0x0000FF);
    const std::vector<std::string> expected{"-o", "*", "-c", "#ff0000", "-i", path, "-m", "fit"};
    EXPECT_EQ(args, expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, AwkwardPath, ::testing::ValuesIn(kAwkwardPaths));

struct LiteralRow {
    std::string text;
    std::string literal;
};

class JavaScriptLiteral : public ::testing::TestWithParam<LiteralRow> {};

TEST_P(JavaScriptLiteral, EscapesExactly) {
    EXPECT_EQ(javaScriptStringLiteral(GetParam().text), GetParam().literal);
}

INSTANTIATE_TEST_SUITE_P(
    Escapes, JavaScriptLiteral,
    ::testing::Values(LiteralRow{"", "\"\""}, LiteralRow{"abc", "\"abc\""},
                      LiteralRow{"a\"b", "\"a\\\"b\""}, LiteralRow{"a'b", "\"a'b\""},
                      LiteralRow{"a\\b", "\"a\\\\b\""}, LiteralRow{"a\nb\r\t", "\"a\\nb\\r\\t\""},
                      LiteralRow{std::string("a\0b", 3), "\"a\\u0000b\""},
                      LiteralRow{"\x1f\x7f", "\"\\u001f\\u007f\""},
                      LiteralRow{"\xe2\x80\xa8\xe2\x80\xa9", "\"\\u2028\\u2029\""},
                      LiteralRow{"</script>", "\"<\\/script>\""}, LiteralRow{"a/b", "\"a/b\""},
                      LiteralRow{"caf\xc3\xa9", "\"caf\xc3\xa9\""},
                      // Bytes that are not UTF-8 become U+FFFD, never a broken sequence.
                      LiteralRow{"a\xff"
                                 "b",
                                 "\"a\xef\xbf\xbd"
                                 "b\""},
                      LiteralRow{"\xc3", "\"\xef\xbf\xbd\""},
                      LiteralRow{"\xed\xa0\x80", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""},
                      LiteralRow{"\xc0\xaf", "\"\xef\xbf\xbd\xef\xbf\xbd\""}));

TEST(SwaybgArguments, NoPictureIsTheColourAlone) {
    const std::vector<std::string> expected{"-o", "*", "-c", "#00ff00", "-m", "solid_color"};
    EXPECT_EQ(swaybgArguments("", WPSTYLE_STRETCH, 0x00FF00), expected);
}

TEST(FileUri, RelativeOrEmptyPathHasNone) {
    EXPECT_EQ(fileUri(""), "");
    EXPECT_EQ(fileUri("relative/picture.png"), "");
}

// The Plasma scripts, run by a real JavaScript engine (node) against a stand-in for Plasma's
// script API that records every plugin and configuration write.
const char* const kPlasmaStandIn = R"JS((function () {
const fs = require("fs");
const script = fs.readFileSync(0, "utf8");
const log = [];
function Desktop(n, image) {
    this.n = n; this.group = null; this.config = {};
    this.config["Wallpaper/org.kde.image/General/Image"] = image;
    this._plugin = "org.kde.image";
}
Object.defineProperty(Desktop.prototype, "wallpaperPlugin", {
    get() { return this._plugin; },
    set(v) { this._plugin = v; log.push([this.n, "plugin", v]); }
});
Object.defineProperty(Desktop.prototype, "currentConfigGroup", {
    get() { return this.group; },
    set(v) { this.group = v.join("/"); }
});
Desktop.prototype.readConfig = function (k) { return this.config[this.group + "/" + k]; };
Desktop.prototype.writeConfig = function (k, v) {
    this.config[this.group + "/" + k] = v; log.push([this.n, this.group + "/" + k, v]);
};
Desktop.prototype.reloadConfig = function () { log.push([this.n, "reload"]); };
const current = process.argv[1] || "";
const all = [new Desktop(0, current), new Desktop(1, "")];
global.desktops = function () { return all; };
(0, eval)(script);
process.stdout.write(JSON.stringify(log));
})();
)JS";

class PlasmaScript : public ::testing::Test {
protected:
    void SetUp() override {
        m_node = QStandardPaths::findExecutable(QStringLiteral("node"));
        if (m_node.isEmpty()) {
            GTEST_SKIP() << "node is not installed: the Plasma scripts cannot be run";
        }
    }
    // Runs `script` with desktop 0 showing `currentImage`; the JSON log of what it did.
    std::string run(const std::string& script, const std::string& currentImage = {}) {
        QProcess node;
        node.start(m_node, {QStringLiteral("-e"), QString::fromUtf8(kPlasmaStandIn),
                            QString::fromStdString(currentImage)});
        node.write(QByteArray::fromStdString(script));
        node.closeWriteChannel();
        EXPECT_TRUE(node.waitForFinished(30000));
        EXPECT_EQ(node.exitCode(), 0) << node.readAllStandardError().toStdString();
        return node.readAllStandardOutput().toStdString();
    }
    // What the script is expected to write for one desktop, as the stand-in's JSON log.
    static std::string imageWrites(int n, const std::string& uriJson, int fill,
                                   const std::string& colorJson) {
        const std::string d = "[" + std::to_string(n) + ",";
        return d + "\"plugin\",\"org.kde.image\"]," + d +
               "\"Wallpaper/org.kde.image/General/Image\"," + uriJson + "]," + d +
               "\"Wallpaper/org.kde.image/General/FillMode\"," + std::to_string(fill) + "]," + d +
               "\"Wallpaper/org.kde.image/General/Color\"," + colorJson + "]," + d + "\"reload\"]";
    }
    QString m_node;
};

class PlasmaScriptPaths : public PlasmaScript, public ::testing::WithParamInterface<const char*> {};

TEST_P(PlasmaScriptPaths, EveryDesktopGetsThePictureUnchanged) {
    const std::string path = GetParam();
    const std::string uri = fileUri(path);
    // JSON of the URI: it is plain ASCII without quotes or backslashes.
    const std::string uriJson = "\"" + uri + "\"";
    const std::string log = run(kdeWallpaperScript(path, WPSTYLE_CENTER, 0x0000FF));
    EXPECT_EQ(log, "[" + imageWrites(0, uriJson, 6, "\"#ff0000\"") + "," +
                       imageWrites(1, uriJson, 6, "\"#ff0000\"") + "]");
    EXPECT_EQ(QUrl(QString::fromStdString(uri)).toLocalFile().toStdString(), path);
}

INSTANTIATE_TEST_SUITE_P(Paths, PlasmaScriptPaths, ::testing::ValuesIn(kAwkwardPaths));

struct FillRow {
    int style;
    int fill;
};

class PlasmaScriptStyles : public PlasmaScript, public ::testing::WithParamInterface<FillRow> {};

TEST_P(PlasmaScriptStyles, FillModeFollowsTheStyle) {
    const std::string log = run(kdeWallpaperScript("/p.png", GetParam().style, std::nullopt));
    const std::string fill =
        "\"Wallpaper/org.kde.image/General/FillMode\"," + std::to_string(GetParam().fill) + "]";
    EXPECT_NE(log.find("[0," + fill), std::string::npos) << log;
    EXPECT_NE(log.find("[1," + fill), std::string::npos) << log;
    EXPECT_EQ(log.find("Color"), std::string::npos) << "no colour known, none written: " << log;
}

INSTANTIATE_TEST_SUITE_P(Styles, PlasmaScriptStyles,
                         ::testing::Values(FillRow{0, 6}, FillRow{1, 3}, FillRow{2, 0},
                                           FillRow{3, 1}));

TEST_F(PlasmaScript, SamePictureAgainIsClearedFirst) {
    const std::string uri = fileUri("/days/Monday.jpg");
    const std::string log = run(kdeWallpaperScript("/days/Monday.jpg", WPSTYLE_TILE, 0), uri);
    EXPECT_EQ(log.rfind("[[0,\"plugin\",\"org.kde.image\"],"
                        "[0,\"Wallpaper/org.kde.image/General/Image\",\"\"],[0,\"reload\"],"
                        "[0,\"Wallpaper/org.kde.image/General/Image\",\"" +
                            uri + "\"]",
                        0),
              0u)
        << log;
    // Desktop 1 showed another picture: no clearing there.
    EXPECT_EQ(log.find("[1,\"Wallpaper/org.kde.image/General/Image\",\"\"]"), std::string::npos)
        << log;
}

TEST_F(PlasmaScript, NoPictureIsThePlainColourPlugin) {
    const std::string log = run(kdeWallpaperScript("", WPSTYLE_STRETCH, 0x336699));
    EXPECT_EQ(log, "[[0,\"plugin\",\"org.kde.color\"],"
                   "[0,\"Wallpaper/org.kde.color/General/Color\",\"#996633\"],[0,\"reload\"],"
                   "[1,\"plugin\",\"org.kde.color\"],"
                   "[1,\"Wallpaper/org.kde.color/General/Color\",\"#996633\"],[1,\"reload\"]]");
}

TEST_F(PlasmaScript, ColourGoesToBothPluginsWithoutSwitching) {
    const std::string log = run(kdeColorScript(0xFFFFFF));
    EXPECT_EQ(log, "[[0,\"Wallpaper/org.kde.image/General/Color\",\"#ffffff\"],"
                   "[0,\"Wallpaper/org.kde.color/General/Color\",\"#ffffff\"],[0,\"reload\"],"
                   "[1,\"Wallpaper/org.kde.image/General/Color\",\"#ffffff\"],"
                   "[1,\"Wallpaper/org.kde.color/General/Color\",\"#ffffff\"],[1,\"reload\"]]");
}

class PlasmaLiteral : public PlasmaScript, public ::testing::WithParamInterface<const char*> {};

// The literal, evaluated by a real engine, gives back exactly the text; nothing runs.
TEST_P(PlasmaLiteral, EvaluatesBackToTheText) {
    const std::string text = GetParam();
    const std::string script = "var injected = false; var p = " + javaScriptStringLiteral(text) +
                               ";\nwriteBack(p, injected);\n";
    QProcess node;
    node.start(m_node, {QStringLiteral("-e"),
                        QStringLiteral("const s = require('fs').readFileSync(0, 'utf8');"
                                       "global.writeBack = (p, inj) => process.stdout.write("
                                       "(inj ? 'INJECTED' : '') + Buffer.from(p, 'utf8')"
                                       ".toString('hex'));"
                                       "(0, eval)(s);")});
    node.write(QByteArray::fromStdString(script));
    node.closeWriteChannel();
    ASSERT_TRUE(node.waitForFinished(30000));
    ASSERT_EQ(node.exitCode(), 0) << node.readAllStandardError().toStdString();
    EXPECT_EQ(node.readAllStandardOutput().toStdString(),
              QByteArray::fromStdString(text).toHex().toStdString());
}

const char* const kLiteralTexts[] = {
    "plain",
    "it's",
    "say \"hi\"",
    "\"; injected = true; \"",
    "'; injected = true; '",
    "\\\"; injected = true; //",
    "a\nb",
    "a\r\nb",
    "\xe2\x80\xa8 injected = true; \xe2\x80\xa9",
    "</script><script>injected = true</script>",
    "${injected = true}",
    "`${injected=true}`",
    "caf\xc3\xa9 \xf0\x9f\x8c\x85",
    "#%$ ?&",
};

INSTANTIATE_TEST_SUITE_P(Texts, PlasmaLiteral, ::testing::ValuesIn(kLiteralTexts));

} // namespace
} // namespace lumora
