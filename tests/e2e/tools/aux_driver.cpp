// A small program that shows the auxiliary windows on a real display, for the end-to-end tests.
//   aux_driver [--fifo PATH] [COMMAND ARGS...]
// Commands, from the command line (separated by ",") and then one per line from PATH:
//   about TIMSHW OLDSTATUS   StrtPrg on the about window (OLDSTATUS 0 or 1)
//   help                     showHelp on the one help window
//   settings                 shows and activates a plain stand-in for the settings window
//   topmost                  SetTopMost(True) on a plain window that was never shown
//   quit
// It reports on stdout: "<name>-window 0x<id>" once a window is shown, "about-unloaded",
// "settings-shown" (the about window brought the settings window back), "help-closed".
#include "platform/linux/system_clock.h"
#include "ui/auxiliary/frm_about.h"
#include "ui/auxiliary/frm_help.h"
#include "ui/auxiliary/sys_mod.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <QWidget>

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

void reportWindow(const char* name, QWidget* window) {
    report(QStringLiteral("%1-window 0x%2").arg(QLatin1String(name)).arg(window->winId(), 0, 16));
}

// A plain window filled with one colour, standing in for other windows of the program.
std::unique_ptr<QWidget> plainWindow(const QString& title, const QColor& colour) {
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(title);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour);
    window->setPalette(palette);
    window->resize(640, 480);
    return window;
}

class HideWatcher : public QObject {
public:
    explicit HideWatcher(QString message) : m_message(std::move(message)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && static_cast<QWidget*>(watched)->isWindow()) {
            report(m_message);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString m_message;
};

class Driver {
public:
    Driver()
        : m_about(m_clock, [] { report(QStringLiteral("settings-shown")); }), m_help(m_clock),
          m_helpWatcher(QStringLiteral("help-closed")) {
        m_about.setAttribute(Qt::WA_QuitOnClose, false);
        m_help.setAttribute(Qt::WA_QuitOnClose, false);
        m_help.installEventFilter(&m_helpWatcher);
        QObject::connect(&m_about, &FrmAbout::unloaded,
                         [] { report(QStringLiteral("about-unloaded")); });
    }

    void run(const QString& line) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty()) {
            return;
        }
        const QString& command = words.front();
        if (command == QLatin1String("about") && words.size() == 3) {
            m_about.StrtPrg(static_cast<std::int16_t>(words[1].toInt()), words[2] == "1");
            reportWindow("about", &m_about);
        } else if (command == QLatin1String("help")) {
            m_help.showHelp();
            reportWindow("help", &m_help);
        } else if (command == QLatin1String("settings")) {
            if (!m_settings) {
                m_settings =
                    plainWindow(QStringLiteral("Lumora Settings Stand-in"), QColor(255, 0, 255));
            }
            m_settings->show();
            m_settings->raise();
            m_settings->activateWindow();
            reportWindow("settings", m_settings.get());
        } else if (command == QLatin1String("topmost")) {
            if (!m_probe) {
                m_probe = plainWindow(QStringLiteral("Lumora TopMost Probe"), QColor(0, 160, 0));
                m_probe->setGeometry(100, 100, 300, 200);
            }
            lumora::SetTopMost(m_probe.get(), lumora::kTopMostTrue);
            reportWindow("topmost", m_probe.get());
        } else if (command == QLatin1String("quit")) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit); // also before the loop runs
        } else {
            report(QStringLiteral("unknown-command ") + line);
        }
    }

private:
    lumora::SystemClock m_clock;
    FrmAbout m_about;
    FrmHelp m_help;
    HideWatcher m_helpWatcher;
    std::unique_ptr<QWidget> m_settings;
    std::unique_ptr<QWidget> m_probe;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    Driver driver;

    QStringList args = QApplication::arguments().mid(1);
    QString fifo;
    if (args.size() >= 2 && args[0] == QLatin1String("--fifo")) {
        fifo = args[1];
        args = args.mid(2);
    }
    for (const QString& command : args.join(QLatin1Char(' ')).split(QLatin1Char(','))) {
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
            ssize_t n = 0;
            while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
                pending.append(buffer, static_cast<std::size_t>(n));
            }
            std::size_t end = 0;
            while ((end = pending.find('\n')) != std::string::npos) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                driver.run(QString::fromStdString(line).trimmed());
            }
        });
    }
    return QApplication::exec();
}
