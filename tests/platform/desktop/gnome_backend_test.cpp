// The GNOME-family backend against GIO's own GSettings, with the installed schemas and GIO's
// in-memory settings store (the real dconf is exercised end to end).
#include "platform/desktop/gnome_backend.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace lumora {
namespace {

// Chosen before GIO loads a settings store: every GSettings of this test program stays in memory.
const bool kMemoryStore = [] { return setenv("GSETTINGS_BACKEND", "memory", 1) == 0; }();

// Reads and watches the same keys the backend writes, through a GSettings of its own.
class Reader {
public:
    explicit Reader(GsettingsDesktop desktop) {
        GSettingsSchema* schema = g_settings_schema_source_lookup(
            g_settings_schema_source_get_default(), GnomeFamilyBackend::schemaId(desktop), TRUE);
        if (schema != nullptr) {
            m_settings = g_settings_new_full(schema, nullptr, nullptr);
            g_settings_schema_unref(schema);
            g_signal_connect(m_settings, "changed", G_CALLBACK(&Reader::onChanged), this);
        }
    }
    ~Reader() {
        if (m_settings != nullptr) {
            g_object_unref(m_settings);
        }
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    bool valid() const { return m_settings != nullptr; }
    std::string get(const char* key) {
        gchar* value = g_settings_get_string(m_settings, key);
        std::string result(value);
        g_free(value);
        return result;
    }
    void set(const char* key, const std::string& value) {
        g_settings_set_string(m_settings, key, value.c_str());
        settle();
    }
    // Changes seen since the last call, as "key=value".
    std::vector<std::string> changes() {
        settle();
        std::vector<std::string> seen;
        seen.swap(m_changes);
        return seen;
    }

private:
    static void settle() {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    }
    static void onChanged(GSettings* settings, const gchar* key, gpointer self) {
        gchar* value = g_settings_get_string(settings, key);
        static_cast<Reader*>(self)->m_changes.push_back(std::string(key) + "=" + value);
        g_free(value);
    }

    GSettings* m_settings = nullptr;
    std::vector<std::string> m_changes;
};

struct Case {
    GsettingsDesktop desktop;
    const char* label;
};

class GnomeFamily : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        ASSERT_TRUE(kMemoryStore);
        if (!GnomeFamilyBackend::schemaInstalled(GetParam().desktop)) {
            GTEST_SKIP() << GnomeFamilyBackend::schemaId(GetParam().desktop) << " is not installed";
        }
    }
    bool isMate() const { return GetParam().desktop == GsettingsDesktop::Mate; }
    const char* pictureKey() const { return isMate() ? "picture-filename" : "picture-uri"; }
    static std::string uriOf(const std::string& path) {
        gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
        std::string result(uri);
        g_free(uri);
        return result;
    }
    std::string expectedPicture(const std::string& path) const {
        return isMate() ? path : uriOf(path);
    }
};

TEST_P(GnomeFamily, FourStylesAndThePicture) {
    GnomeFamilyBackend backend(GetParam().desktop);
    Reader reader(GetParam().desktop);
    ASSERT_TRUE(backend.available());
    EXPECT_EQ(backend.name(), GetParam().label);
    const std::string path = "/tmp/my pictures/it's #1 100%.jpg";
    const std::pair<int, const char*> rows[] = {
        {0, "centered"}, {1, "wallpaper"}, {2, "stretched"}, {3, "scaled"}};
    for (const auto& [style, option] : rows) {
        backend.setWallpaper(path, style);
        EXPECT_EQ(reader.get("picture-options"), option) << "style " << style;
        EXPECT_EQ(reader.get(pictureKey()), expectedPicture(path)) << "style " << style;
    }
    if (GetParam().desktop == GsettingsDesktop::Gnome) {
        EXPECT_EQ(reader.get("picture-uri-dark"), uriOf(path));
    }
    // A style value outside 0..3 keeps the option.
    backend.setWallpaper(path, 7);
    EXPECT_EQ(reader.get("picture-options"), "scaled");
}

TEST_P(GnomeFamily, ColourIsSolidPrimary) {
    GnomeFamilyBackend backend(GetParam().desktop);
    Reader reader(GetParam().desktop);
    reader.set("color-shading-type", "vertical");
    if (isMate()) {
        reader.set("color-shading-type", "vertical-gradient");
    }
    backend.setBackgroundColor(0x00336699);
    EXPECT_EQ(reader.get("primary-color"), "#996633");
    EXPECT_EQ(reader.get("color-shading-type"), "solid");
    backend.setBackgroundColor(0xFFFFFF);
    EXPECT_EQ(reader.get("primary-color"), "#ffffff");
}

TEST_P(GnomeFamily, NoWallpaper) {
    GnomeFamilyBackend backend(GetParam().desktop);
    Reader reader(GetParam().desktop);
    backend.setWallpaper("/tmp/a.png", 0);
    backend.setWallpaper("", 2);
    if (isMate()) {
        // MATE has no "none": the file name is emptied.
        EXPECT_EQ(reader.get("picture-filename"), "");
        EXPECT_EQ(reader.get("picture-options"), "stretched");
    } else {
        EXPECT_EQ(reader.get("picture-options"), "none");
    }
}

TEST_P(GnomeFamily, SamePathAgainIsClearedThenSet) {
    GnomeFamilyBackend backend(GetParam().desktop);
    Reader reader(GetParam().desktop);
    const std::string path = "/tmp/Monday.jpg";
    backend.setWallpaper("/tmp/Sunday.jpg", 0);
    reader.changes();
    backend.setWallpaper(path, 0);
    const std::string key = pictureKey();
    const auto firstTime = reader.changes();
    EXPECT_NE(std::find(firstTime.begin(), firstTime.end(), key + "=" + expectedPicture(path)),
              firstTime.end());
    EXPECT_EQ(std::find(firstTime.begin(), firstTime.end(), key + "="), firstTime.end())
        << "a new path needs no clearing";
    backend.setWallpaper(path, 0);
    std::vector<std::string> pictureChanges;
    for (const std::string& change : reader.changes()) {
        if (change.rfind(key + "=", 0) == 0) {
            pictureChanges.push_back(change);
        }
    }
    const std::vector<std::string> expected{key + "=", key + "=" + expectedPicture(path)};
    EXPECT_EQ(pictureChanges, expected);
}

INSTANTIATE_TEST_SUITE_P(Desktops, GnomeFamily,
                         ::testing::Values(Case{GsettingsDesktop::Gnome, "gnome"},
                                           Case{GsettingsDesktop::Cinnamon, "cinnamon"},
                                           Case{GsettingsDesktop::Mate, "mate"}),
                         [](const ::testing::TestParamInfo<Case>& row) {
                             return std::string(row.param.label);
                         });

} // namespace
} // namespace lumora
