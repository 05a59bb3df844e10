// The GNOME-family backend against GIO's own GSettings, with the installed schemas and GIO's
// in-memory settings store: what is no picture file never reaches the keys. Styles, colours and
// the same path again are checked end to end on a real dconf.
#include "linux/desktop/gnome_backend.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

// After gio: Qt's keyword macros would break its headers.
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace lumora {
namespace {

// Chosen before GIO loads a settings store: every GSettings of this test program stays in memory.
const bool kMemoryStore = [] { return setenv("GSETTINGS_BACKEND", "memory", 1) == 0; }();

std::string take(gchar* text) {
    std::string result(text);
    g_free(text);
    return result;
}

// Reads and watches, through a GSettings of its own, the keys the backend writes.
class GnomeFamily : public ::testing::TestWithParam<std::pair<GsettingsDesktop, const char*>> {
protected:
    void SetUp() override {
        ASSERT_TRUE(kMemoryStore);
        if (!GnomeFamilyBackend::schemaInstalled(desktop())) {
            GTEST_SKIP() << GnomeFamilyBackend::schemaId(desktop()) << " is not installed";
        }
        m_settings = g_settings_new(GnomeFamilyBackend::schemaId(desktop()));
    }
    void TearDown() override {
        if (m_settings != nullptr) {
            g_object_unref(m_settings);
        }
        std::filesystem::remove_all(m_dir);
    }
    // A file of that name in a folder of the test's own (a backend refuses a missing file).
    std::string picture(const std::string& name) {
        if (m_dir.empty()) {
            std::string pattern = "/tmp/lumora-gnome-XXXXXX";
            m_dir = mkdtemp(pattern.data()) ? pattern : "/tmp";
        }
        const std::string path = m_dir + "/" + name;
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(QString::fromStdString(path), "PNG");
        return path;
    }
    GsettingsDesktop desktop() const { return GetParam().first; }
    bool isMate() const { return desktop() == GsettingsDesktop::Mate; }
    std::string get(const char* key) { return take(g_settings_get_string(m_settings, key)); }
    const char* pictureKey() const { return isMate() ? "picture-filename" : "picture-uri"; }
    std::string expectedPicture(const std::string& path) const {
        return isMate() ? path : take(g_filename_to_uri(path.c_str(), nullptr, nullptr));
    }

private:
    GSettings* m_settings = nullptr;

protected:
    std::string m_dir;
};

// What is no picture file is never handed to the desktop: the call fails, the keys stay, and the
// reason is told once however often it comes back.
TEST_P(GnomeFamily, NoPictureFileIsRefused) {
    GnomeFamilyBackend backend(desktop());
    const std::string kept = picture("kept.png");
    ASSERT_TRUE(backend.setWallpaper(kept, 0));
    const std::string pipe = picture("pipe.png");
    std::filesystem::remove(pipe);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path :
         {std::string("Error: 13"), std::string("pictures/a.png"), m_dir + "/gone.png", pipe}) {
        ::testing::internal::CaptureStderr();
        const DesktopResult first = backend.setWallpaper(path, 2);
        const DesktopResult second = backend.setWallpaper(path, 2);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(first.ok || second.ok) << path;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << path << ": " << err;
        EXPECT_EQ(get(pictureKey()), expectedPicture(kept)) << path;
        EXPECT_EQ(get("picture-options"), "centered") << path;
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, GnomeFamily,
                         ::testing::Values(std::pair(GsettingsDesktop::Gnome, "gnome"),
                                           std::pair(GsettingsDesktop::Cinnamon, "cinnamon"),
                                           std::pair(GsettingsDesktop::Mate, "mate")),
                         [](const auto& row) { return std::string(row.param.second); });

} // namespace
} // namespace lumora
