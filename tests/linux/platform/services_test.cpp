// The resource names and the event pump.
#include "linux/platform/qt_event_pump.h"
#include "linux/platform/qt_main_thread.h"
#include "linux/platform/qt_resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

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

// Once a thread has claimed Qt's main thread, another thread that asks Qt first (as the drawing
// ahead does) cannot take the role: the application object made afterwards is made on it.
std::vector<std::string> g_messages;
TEST(QtMainThread, TheClaimingThreadKeepsTheRole) {
    if (QCoreApplication::instance()) {
        GTEST_SKIP() << "an application object exists already";
    }
    claimQtMainThread();
    std::thread([] {
        QThread::currentThread();
        QThreadPool::globalInstance()->activeThreadCount();
    }).join();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            g_messages.push_back(text.toStdString());
        });
    {
        static int argc = 1;
        static char name[] = "test_platform_linux";
        static char* argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(g_messages, std::vector<std::string>{});
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
