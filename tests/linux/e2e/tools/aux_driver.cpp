// A small program that shows the auxiliary windows on a real display, for the end-to-end tests.
//   aux_driver [--fifo PATH] [COMMAND ARGS...]
// Commands, from the command line (separated by ",") and then one per line from PATH:
//   about TIMSHW OLDSTATUS   StrtPrg on the about window (OLDSTATUS 0 or 1)
//   help                     showHelp on the one help window
//   settings                 shows and activates a magenta stand-in for the settings window
//   topmost                  SetTopMost(True) on a plain 300 x 200 window that was never shown
// It reports on stdout: "<name>-window 0x<id>" once a window is shown, and "settings-shown" when
// the about window brings the settings window back.
#include "linux/platform/system_clock.h"
#include "linux/ui/auxiliary/frm_about.h"
#include "linux/ui/auxiliary/frm_help.h"
#include "linux/ui/auxiliary/sys_mod.h"

#include <QApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

void report(const QString& line) {
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

void shown(const char* name, QWidget* window) {
    report(QStringLiteral("%1-window 0x%2").arg(QLatin1String(name)).arg(window->winId(), 0, 16));
}

// A plain window filled with one colour, standing in for another window.
std::unique_ptr<QWidget> plainWindow(const QColor& colour) {
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(QStringLiteral("Lumora Stand-in"));
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour);
    window->setPalette(palette);
    window->resize(640, 480);
    return window;
}

class Driver {
public:
    Driver() : m_about(m_clock), m_help(m_clock) {
        QObject::connect(&m_about, &FrmAbout::settingsWindowWanted,
                         [] { report(QStringLiteral("settings-shown")); });
    }

    void run(const QString& line) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString command = words.value(0);
        if (command == QLatin1String("about") && words.size() == 3) {
            m_about.StrtPrg(static_cast<std::int16_t>(words[1].toInt()), words[2] == "1");
            shown("about", &m_about);
        } else if (command == QLatin1String("help")) {
            m_help.showHelp();
            shown("help", &m_help);
        } else if (command == QLatin1String("settings")) {
            if (!m_settings) {
                m_settings = plainWindow(QColor(255, 0, 255));
            }
            m_settings->show();
            m_settings->raise();
            m_settings->activateWindow();
            shown("settings", m_settings.get());
        } else if (command == QLatin1String("topmost")) {
            m_probe = plainWindow(QColor(0, 160, 0));
            m_probe->setGeometry(100, 100, 300, 200);
            lumora::SetTopMost(m_probe.get(), lumora::kTopMostTrue);
            shown("topmost", m_probe.get());
        }
    }

private:
    lumora::SystemClock m_clock;
    FrmAbout m_about;
    FrmHelp m_help;
    std::unique_ptr<QWidget> m_settings;
    std::unique_ptr<QWidget> m_probe;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    Driver driver;
    QStringList args = QApplication::arguments().mid(1);
    const QString fifo = args.value(0) == QLatin1String("--fifo") ? args.value(1) : QString();
    for (const QString& command :
         args.mid(fifo.isEmpty() ? 0 : 2).join(QLatin1Char(' ')).split(QLatin1Char(','))) {
        driver.run(command.trimmed());
    }
    std::unique_ptr<QSocketNotifier> notifier;
    std::string pending;
    if (!fifo.isEmpty()) {
        // Opened for writing too, so that the end of one writer is not the end of the stream.
        const int fd = ::open(fifo.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            std::perror("aux_driver: fifo");
            return 2;
        }
        notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [fd, &pending, &driver] {
            char buffer[512];
            for (ssize_t n = 0; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
                pending.append(buffer, static_cast<std::size_t>(n));
            }
            for (std::size_t end = 0; (end = pending.find('\n')) != std::string::npos;) {
                driver.run(QString::fromStdString(pending.substr(0, end)).trimmed());
                pending.erase(0, end + 1);
            }
        });
    }
    return QApplication::exec();
}
