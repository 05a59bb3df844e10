// The resource names and the event pump.
#include "platform/linux/qt_event_pump.h"
#include "platform/linux/qt_resources.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace lumora {
namespace {

struct ResourceRow {
    const char* name;
    std::string path;
};
class ResourceNames : public ::testing::TestWithParam<ResourceRow> {};
TEST_P(ResourceNames, Map) {
    EXPECT_EQ(QtResources::resourcePath(GetParam().name), GetParam().path);
}
INSTANTIATE_TEST_SUITE_P(Resources, ResourceNames,
                         ::testing::Values(ResourceRow{"default_bmp", ":/lumora/default.bmp"},
                                           ResourceRow{"nopicture_bmp", ":/lumora/nopicture.bmp"},
                                           ResourceRow{"logo_bmp", ":/lumora/logo.bmp"},
                                           ResourceRow{"icon_png", ":/lumora/icons/lumora-32.png"},
                                           ResourceRow{"DEFAULT_BMP", ""},
                                           ResourceRow{"default.bmp", ""}, ResourceRow{"", ""}));

TEST(Resources, UnknownNameHasNoBytes) {
    EXPECT_TRUE(QtResources().bytes("nothing_here").empty());
    EXPECT_TRUE(QtResources().bytes("../../etc/passwd").empty());
}

TEST(EventPump, RunsPendingEvents) {
    static int argc = 1;
    static char name[] = "test_platform_linux";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> own;
    if (!QCoreApplication::instance()) {
        own = std::make_unique<QCoreApplication>(argc, argv);
    }
    bool ran = false;
    QTimer::singleShot(0, QCoreApplication::instance(), [&] { ran = true; });
    EXPECT_FALSE(ran);
    QtEventPump pump;
    for (int i = 0; i < 100 && !ran; ++i) {
        pump.processEvents();
    }
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace lumora
