// A minimal program with the day watch armed and nothing else: prints "ready", then a line for
// every day check and file check with the local time it ran at, and runs until it is ended.
//
//   lumora_idle_watch [--exit-after-day-checks N] [--folder DIR] [FILE ...]
//
// FILE are the watched day files, DIR the picture folder (default: the folder of the first file).
#include "linux/platform/qt_day_watch.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void say(const char* what) {
    std::printf("%s %s\n", what,
                qPrintable(QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss.zzz")));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int exitAfter = 0;
    std::string folder;
    std::vector<std::string> files;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--exit-after-day-checks" && i + 1 < args.size()) {
            exitAfter = args[++i].toInt();
        } else if (args[i] == "--folder" && i + 1 < args.size()) {
            folder = args[++i].toStdString();
        } else if (args[i].startsWith("--")) {
            std::fprintf(stderr,
                         "usage: lumora_idle_watch [--exit-after-day-checks N] [--folder DIR] "
                         "[FILE ...]\n");
            return 2;
        } else {
            files.push_back(args[i].toStdString());
        }
    }
    if (folder.empty() && !files.empty()) {
        folder = QFileInfo(QString::fromStdString(files.front())).absolutePath().toStdString();
    }

    lumora::QtDayWatch watch;
    int dayChecks = 0;
    watch.setDayCheck([&] {
        say("day check");
        if (exitAfter > 0 && ++dayChecks >= exitAfter) {
            QCoreApplication::quit();
        }
    });
    watch.setFileCheck([] { say("file check"); });
    watch.watchFiles(files, folder);
    say("ready");
    return app.exec();
}
