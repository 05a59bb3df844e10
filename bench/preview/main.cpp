// Times the preview window's actions on a large picture under the offscreen platform:
//   lumora_bench_preview [ROUNDS]
// Each row is the median wall time of one action followed by the drawing it causes. The memory
// rows give the process's peak resident size after the load and after ten Zoom Ins.
#include "../lib/peak_memory.h"
#include "linux/ui/preview/frm_prev.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Boxes are counted, never shown: the run must not stop on one.
struct CountedBoxes : lumora::Dialogs {
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t>) override { return {}; }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return {};
    }
    void messageBox(const std::string&, const std::string&, lumora::MessageIcon) override {
        ++count;
    }
    int count = 0;
};

double medianMs(int rounds, const std::function<void()>& setUp, const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        setUp();
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A 6000 x 4000 JPEG with a gradient and coloured blocks, so that it decodes like a photograph.
bool makePicture(const QString& path) {
    QImage picture(6000, 4000, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 6000, 4000);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(picture.rect(), gradient);
    for (int i = 0; i < 400; ++i) {
        painter.fillRect((i * 797) % 5900, (i * 331) % 3900, 100, 100,
                         QColor::fromHsv((i * 37) % 360, 200, 220));
    }
    painter.end();
    return picture.save(path, "JPEG", 90);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--make") {
        return makePicture(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.jpg"));
    // Made by a child run, so that the peak memory below is the preview's alone.
    if (QProcess::execute(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--make"), path}) != 0) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return 1;
    }
    const long before = peakKilobytes();

    CountedBoxes boxes;
    FrmPrev window(&boxes);
    QElapsedTimer load;
    load.start();
    window.StartProj(path.toStdString());
    QApplication::processEvents();
    const double loadMs = static_cast<double>(load.nsecsElapsed()) / 1e6;
    const long loaded = peakKilobytes();

    const auto draw = [&window] { window.picCont()->repaint(); };
    const auto fit = [&] { window.cEqual_Click(); };
    const auto nothing = [] {};
    std::printf("%-34s %10s\n", "action (6000 x 4000 JPEG)", "median ms");
    std::printf("%-34s %10.1f\n", "load and fit (once)", loadMs);
    std::printf("%-34s %10.2f\n", "Fit Screen", medianMs(rounds, nothing, [&] { fit(), draw(); }));
    std::printf("%-34s %10.2f\n", "Zoom In from the fitted size",
                medianMs(rounds, fit, [&] { window.cPlus_Click(), draw(); }));
    std::printf("%-34s %10.2f\n", "Zoom Out from the fitted size",
                medianMs(rounds, fit, [&] { window.cMinus_Click(), draw(); }));
    std::printf("%-34s %10.2f\n", "Original Size",
                medianMs(rounds, fit, [&] { window.cExact_Click(), draw(); }));
    std::printf("%-34s %10.2f\n", "Zoom In from the original size",
                medianMs(
                    rounds, [&] { window.cExact_Click(); }, [&] { window.cPlus_Click(), draw(); }));
    std::printf("%-34s %10.2f\n", "scroll a page at the original size",
                medianMs(
                    rounds,
                    [&] {
                        window.cExact_Click();
                        window.hScroll1()->setValue(0);
                    },
                    [&] {
                        window.hScroll1()->triggerAction(QAbstractSlider::SliderPageStepAdd);
                        draw();
                    }));

    const int boxesBefore = boxes.count;
    window.cExact_Click();
    for (int i = 0; i < 10; ++i) {
        window.cPlus_Click();
        draw();
    }
    std::printf("\n%-34s %10s\n", "peak memory", "MiB");
    std::printf("%-34s %10.1f\n", "before loading", static_cast<double>(before) / 1024);
    std::printf("%-34s %10.1f\n", "after loading", static_cast<double>(loaded) / 1024);
    std::printf("%-34s %10.1f\n", "after ten Zoom Ins (original)",
                static_cast<double>(peakKilobytes()) / 1024);
    std::printf("%-34s %10d\n", "  of which refused at the bound", boxes.count - boxesBefore);
    std::printf("%-34s %10.0f\n", "  canvas width then",
                static_cast<double>(window.canvas().width));
    return 0;
}
