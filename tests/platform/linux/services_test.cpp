// The resource names and the event pump.
#include "platform/linux/qt_event_pump.h"
#include "platform/linux/qt_resources.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace lumora {
namespace {

TEST(Resources, NamesMapToTheirFilesAndNothingElse) {
    for (const auto& [name, path] :
         {std::pair("default_bmp", ":/lumora/default.bmp"),
          std::pair("nopicture_bmp", ":/lumora/nopicture.bmp"),
          std::pair("logo_bmp", ":/lumora/logo.bmp"),
          std::pair("icon_png", ":/lumora/icons/lumora-32.png"), std::pair("DEFAULT_BMP", ""),
          std::pair("default.bmp", ""), std::pair("", "")}) {
        EXPECT_EQ(QtResources::resourcePath(name), path) << name;
    }
    EXPECT_FALSE(QtResources().bytes("default_bmp").empty());
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
    for (int i = 0; i < 100 && !ran; ++i) {
        QtEventPump().processEvents();
    }
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace lumora
