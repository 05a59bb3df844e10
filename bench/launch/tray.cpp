// lumora_bench_tray ICON.png
// A QApplication with one QSystemTrayIcon showing a PNG, and nothing else: how soon a Qt 6
// program can have its icon in the tray, for ../run_launch_bench.sh to compare with.
#include <QApplication>
#include <QIcon>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QSystemTrayIcon icon(QIcon(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString()));
    icon.show();
    return QApplication::exec();
}
