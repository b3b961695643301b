// How long the matrix window takes to open on a generated run of 500 and of 2,000 texts, and
// the peak memory of the process while it does, and how long its "only minimal" filter takes
// and stalls it; then the same for the PNG picture. Runs offscreen unless a platform is named.

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "tests/support/run_builder.h"
#include "ui/job_runner.h"
#include "ui/matrix_image.h"
#include "ui/matrix_model.h"
#include "ui/matrix_window.h"

namespace {

// A field of /proc/self/status in KiB: VmRSS now, VmHWM the peak since the last reset.
long statusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// From here on VmHWM counts from what is resident now.
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

double mib(long kib) {
    return static_cast<double>(kib) / 1024.0;
}

std::shared_ptr<const pelmora::RunResult> generatedRun(int texts) {
    std::mt19937 rng(42);
    std::vector<pelmora::test::BuiltText> named;
    for (int k = 0; k < texts; ++k) {
        std::string code;
        for (int d = 0; d < 5; ++d) {
            code += static_cast<char>('0' + rng() % 3);
        }
        named.push_back({"generated text " + std::to_string(k) + ".txt", code});
    }
    std::array<bool, 16> significant{};
    significant[0] = significant[5] = true;
    auto run = std::make_shared<pelmora::RunResult>(pelmora::test::runOf(named, significant));
    run->mean = "2.00";
    run->stDev = "1.10";
    return run;
}

// Counts the paintings of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// "Only minimal" reads every pair away from the window: the time until the filtered grid is
// shown, and the longest the window went without handling its 5 ms timer meanwhile.
void measureFilter(pelmora::MatrixWindow& window, int texts) {
    QElapsedTimer gap, total;
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, gap.restart()); });
    tick.start(5);
    gap.start();
    total.start();
    window.findChild<QCheckBox*>(QStringLiteral("chkOnlyMinimal"))->setChecked(true);
    while (window.filtering()->running() && total.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QApplication::processEvents();
    longest = std::max(longest, gap.elapsed());
    std::printf(
        "%5d texts: \"only minimal\" shown in %6lld ms (%d texts kept), longest "
        "stall %lld ms\n",
        texts, static_cast<long long>(total.elapsed()), window.filterModel()->rowCount(),
        static_cast<long long>(longest));
}

void measure(int texts) {
    const auto run = generatedRun(texts);
    const bool peakReset = resetPeak();
    const long before = statusKiB("VmRSS");
    QElapsedTimer timer;
    timer.start();
    {
        pelmora::MatrixWindow window;
        PaintCounter counter;
        window.table()->viewport()->installEventFilter(&counter);
        window.showRun(run);
        window.show();
        // Open means the cells on screen have been painted once.
        while (counter.paints == 0 && timer.elapsed() < 60000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        const qint64 openMs = timer.elapsed();
        const long peak = statusKiB("VmHWM");
        std::printf(
            "%5d texts: window open %6lld ms, peak RSS %7.1f MiB (%+.1f MiB over the %.1f "
            "MiB before opening%s)\n",
            texts, static_cast<long long>(openMs), mib(peak), mib(peak - before), mib(before),
            peakReset ? "" : "; peak not reset, so it may be older");
        measureFilter(window, texts);
    }
    resetPeak();
    const long beforePicture = statusKiB("VmRSS");
    timer.restart();
    const QImage picture = pelmora::matrixImage(*run);
    const qint64 pictureMs = timer.elapsed();
    std::printf("%5d texts: picture %d x %d in %lld ms, peak RSS %+.1f MiB\n", texts,
                picture.width(), picture.height(), static_cast<long long>(pictureMs),
                mib(statusKiB("VmHWM") - beforePicture));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The first window of a process also loads the fonts and the style.
    measure(10);
    measure(500);
    measure(2000);
    return 0;
}
