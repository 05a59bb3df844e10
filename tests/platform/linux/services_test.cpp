// The resource names and the event pump.
#include "platform/linux/qt_event_pump.h"
#include "platform/linux/qt_resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace lumora {
namespace {

// A resource name gives its built-in bytes; any other name gives none.
TEST(Resources, OnlyTheProgramsNamesGiveBytes) {
    QFile committed(QStringLiteral(LUMORA_SOURCE_DIR "/resources/default.bmp"));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    const QByteArray bytes = committed.readAll();
    EXPECT_EQ(QtResources().bytes("default_bmp"),
              std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    for (const char* name : {"DEFAULT_BMP", "default.bmp", "", "../../etc/passwd"}) {
        EXPECT_TRUE(QtResources().bytes(name).empty()) << name;
    }
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
