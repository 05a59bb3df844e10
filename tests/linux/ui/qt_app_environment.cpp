// One QApplication for the whole test_ui executable, created before the first test and deleted
// after the last. Tests create their windows themselves and delete them before they end.
//
// Under the offscreen platform the screen is 1280 x 800 (the default 800 x 600 is smaller than the
// help window), with window frames of 2 pixels, so that placement is tested with real frames.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")) ==
            QLatin1String("offscreen")) {
            QFile file(m_configDir.filePath(QStringLiteral("offscreen.json")));
            if (file.open(QIODevice::WriteOnly)) {
                file.write(R"({"windowFrameMargins": true, "screens": [{"name": "Screen1",
                    "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96,
                    "logicalBaseDpi": 96, "dpr": 1}]})");
                qputenv("QT_QPA_PLATFORM",
                        ("offscreen:configfile=" + file.fileName()).toLocal8Bit());
            }
        }
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[8] = "test_ui";
    char* m_argv[2] = {m_name, nullptr};
    QTemporaryDir m_configDir;
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const qtAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

} // namespace
