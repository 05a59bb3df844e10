// Wiring only: builds the platform services and hands them to FrmMain.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
