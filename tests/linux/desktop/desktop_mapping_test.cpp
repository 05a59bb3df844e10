// Colours and the escaping of awkward paths, for every desktop's own syntax.
#include "core/ports/desktop_backend.h"
#include "linux/desktop/desktop_mapping.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

struct ColorRow {
    std::uint32_t rgb; // 0x00BBGGRR
    std::string hex;
    double r, g, b, a;
};
class ColorMapping : public ::testing::TestWithParam<ColorRow> {};
TEST_P(ColorMapping, RedIsTheLowByte) {
    EXPECT_EQ(colorHex(GetParam().rgb), GetParam().hex);
    const std::array<double, 4> rgba = xfceRgba(GetParam().rgb);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(rgba[i],
                         (std::array{GetParam().r, GetParam().g, GetParam().b, GetParam().a}[i]));
    }
}
INSTANTIATE_TEST_SUITE_P(
    Colors, ColorMapping,
    ::testing::Values(ColorRow(0xFFFFFF, "#ffffff", 1, 1, 1, 1), ColorRow(0, "#000000", 0, 0, 0, 1),
                      ColorRow(0x0000FF, "#ff0000", 1, 0, 0, 1),
                      ColorRow(0x00FF00, "#00ff00", 0, 1, 0, 1),
                      ColorRow(0xFF0000, "#0000ff", 0, 0, 1, 1),
                      ColorRow(0x00336699, "#996633", 0.6, 0.4, 0.2, 1),
                      ColorRow(0xFF010203, "#030201", 3 / 255.0, 2 / 255.0, 1 / 255.0, 1)));

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
    "/tmp/?query=1&x.png"};

TEST(FileUri, RelativeOrEmptyPathHasNone) {
    EXPECT_EQ(fileUri(""), "");
    EXPECT_EQ(fileUri("relative/picture.png"), "");
}

// The Plasma scripts, run by a real JavaScript engine (node) against a stand-in for Plasma's
// script API that logs every plugin and configuration write, with ' for " and the group
// "Wallpaper/org.kde.<plugin>/General" as "<plugin>".
const char* const kPlasmaStandIn = R"JS((function () {
const script = require("fs").readFileSync(0, "utf8"), log = [];
function Desktop(n, image) {
    this.n = n; this.group = null; this._plugin = "org.kde.image"; this.config = {"image/Image": image};
}
Desktop.prototype = {
    get wallpaperPlugin() { return this._plugin; },
    set wallpaperPlugin(v) { this._plugin = v; log.push([this.n, "plugin", v]); },
    get currentConfigGroup() { return this.group; },
    set currentConfigGroup(v) { this.group = v.join("/").replace(/^Wallpaper\/org\.kde\.(\w+)\/General$/, "$1"); },
    readConfig(k) { return this.config[this.group + "/" + k]; },
    writeConfig(k, v) { this.config[this.group + "/" + k] = v; log.push([this.n, this.group + "/" + k, v]); },
    reloadConfig() { log.push([this.n, "reload"]); },
};
const all = [new Desktop(0, process.argv[1] || ""), new Desktop(1, "")];
global.desktops = () => all;
(0, eval)(script);
process.stdout.write(JSON.stringify(log).replace(/"/g, "'"));
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
    // Runs `program` in node with `input` on its standard input; what it printed.
    std::string node(const char* program, const std::string& input, const std::string& arg = {}) {
        QProcess node;
        node.start(m_node, {"-e", QString::fromUtf8(program), QString::fromStdString(arg)});
        node.write(QByteArray::fromStdString(input));
        node.closeWriteChannel();
        EXPECT_TRUE(node.waitForFinished(30000));
        EXPECT_EQ(node.exitCode(), 0) << node.readAllStandardError().toStdString();
        return node.readAllStandardOutput().toStdString();
    }
    // The log of `script` run with desktop 0 showing `currentImage`.
    std::string run(const std::string& script, const std::string& currentImage = {}) {
        return node(kPlasmaStandIn, script, currentImage);
    }
    QString m_node;
};

class PlasmaScriptPaths : public PlasmaScript, public ::testing::WithParamInterface<const char*> {};
TEST_P(PlasmaScriptPaths, EveryDesktopGetsThePictureUnchanged) {
    const std::string uri = fileUri(GetParam());
    const auto writes = [&uri](const std::string& d) {
        return d + "'plugin','org.kde.image']," + d + "'image/Image','" + uri + "']," + d +
               "'image/FillMode',6]," + d + "'image/Color','#ff0000']," + d + "'reload']";
    };
    EXPECT_EQ(run(kdeWallpaperScript(GetParam(), WPSTYLE_CENTER, 0x0000FF)),
              "[" + writes("[0,") + "," + writes("[1,") + "]");
}
INSTANTIATE_TEST_SUITE_P(Paths, PlasmaScriptPaths, ::testing::ValuesIn(kAwkwardPaths));

TEST_F(PlasmaScript, NoColourKnownNoneWritten) {
    EXPECT_EQ(run(kdeWallpaperScript("/p.png", WPSTYLE_TILE, std::nullopt)),
              "[[0,'plugin','org.kde.image'],[0,'image/Image','file:///p.png'],"
              "[0,'image/FillMode',3],[0,'reload'],[1,'plugin','org.kde.image'],"
              "[1,'image/Image','file:///p.png'],[1,'image/FillMode',3],[1,'reload']]");
}

TEST_F(PlasmaScript, SamePictureAgainIsClearedFirstWhereItShows) {
    const std::string uri = fileUri("/days/Monday.jpg");
    EXPECT_EQ(run(kdeWallpaperScript("/days/Monday.jpg", WPSTYLE_TILE, 0), uri),
              "[[0,'plugin','org.kde.image'],[0,'image/Image',''],[0,'reload'],[0,'image/Image','" +
                  uri +
                  "'],[0,'image/FillMode',3],[0,'image/Color','#000000'],[0,'reload'],"
                  "[1,'plugin','org.kde.image'],[1,'image/Image','" +
                  uri + "'],[1,'image/FillMode',3],[1,'image/Color','#000000'],[1,'reload']]");
}

TEST_F(PlasmaScript, NoPictureIsThePlainColourPlugin) {
    EXPECT_EQ(run(kdeWallpaperScript("", WPSTYLE_STRETCH, 0x336699)),
              "[[0,'plugin','org.kde.color'],[0,'color/Color','#996633'],[0,'reload'],"
              "[1,'plugin','org.kde.color'],[1,'color/Color','#996633'],[1,'reload']]");
}

TEST_F(PlasmaScript, ColourGoesToBothPluginsWithoutSwitching) {
    EXPECT_EQ(run(kdeColorScript(0xFFFFFF)),
              "[[0,'image/Color','#ffffff'],[0,'color/Color','#ffffff'],[0,'reload'],"
              "[1,'image/Color','#ffffff'],[1,'color/Color','#ffffff'],[1,'reload']]");
}

// The literal, evaluated by a real engine, gives back exactly the text; nothing runs.
class PlasmaLiteral : public PlasmaScript, public ::testing::WithParamInterface<const char*> {};
TEST_P(PlasmaLiteral, EvaluatesBackToTheText) {
    const std::string text = GetParam();
    EXPECT_EQ(node("const s = require('fs').readFileSync(0, 'utf8');"
                   "global.writeBack = (p, inj) => process.stdout.write("
                   "(inj ? 'INJECTED' : '') + Buffer.from(p, 'utf8').toString('hex'));"
                   "(0, eval)(s);",
                   "var injected = false; var p = " + javaScriptStringLiteral(text) +
                       ";\nwriteBack(p, injected);\n"),
              QByteArray::fromStdString(text).toHex().toStdString());
}
const char* const kInjections[] = {
    "\"; injected = true; \"",
    "'; injected = true; '",
    "\\\"; injected = true; //",
    "a\r\nb",
    "\xe2\x80\xa8 injected = true; \xe2\x80\xa9",
    "</script><script>injected = true</script>",
    "${injected = true}",
    "`${injected=true}`",
};
INSTANTIATE_TEST_SUITE_P(Paths, PlasmaLiteral, ::testing::ValuesIn(kAwkwardPaths));
INSTANTIATE_TEST_SUITE_P(Injections, PlasmaLiteral, ::testing::ValuesIn(kInjections));

} // namespace
} // namespace lumora
