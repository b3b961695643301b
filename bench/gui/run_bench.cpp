// The batch run as the desktop program does it against the command line's: the time from
// pressing "Auto-check all files in folder" until the report is shown, against a run without a
// window that writes the report to a file as `pelmora-cli report` does; the longest stretch in
// which the window handled no events, and the peak memory of the process.
//
// usage: pelmora_gui_run_bench FOLDER [RUNS] [REPORT-FILE]   (offscreen unless a platform is
// named; the report goes to /tmp/pelmora-gui-bench-report.txt unless a file is named)

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/form2_commands.h"
#include "exports/run_texts.h"
#include "forms/program_context.h"
#include "run/batch.h"
#include "ui/main_window.h"

namespace {

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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The run of the command line: a fresh main form on the folder, cmdAuto, the report written.
double headlessRun(const std::filesystem::path& folder, const std::string& reportFile) {
    QElapsedTimer timer;
    timer.start();
    pelmora::ProgramContext context(folder);
    pelmora::startProgram(context);
    const auto run = pelmora::runBatch(context);
    if (!run) {
        return -1;
    }
    std::FILE* out = std::fopen(reportFile.c_str(), "wb");
    if (out == nullptr) {
        return -1;
    }
    pelmora::writeReport(*run, pelmora::NameStyle::Exact, [out](std::string_view piece) {
        std::fwrite(piece.data(), 1, piece.size(), out);
    });
    return std::fclose(out) == 0 ? static_cast<double>(timer.nsecsElapsed()) / 1e9 : -1;
}

struct WindowRun {
    double seconds = 0;
    double longestStall = 0;  // without an event handled, in seconds
};

WindowRun windowRun(const std::filesystem::path& folder) {
    WindowRun out;
    QElapsedTimer timer;
    timer.start();
    pelmora::ProgramContext context(folder);
    pelmora::MainWindow window(context);
    window.show();
    QApplication::processEvents();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("cmdAuto"));
    if (button == nullptr) {
        return out;
    }
    // A timer due every 10 ms: the gaps between its firings are the stretches the window
    // could not answer, never shorter than 10 ms. A timer due at once would keep this thread
    // spinning, taking a core from the run that a window at rest leaves to it.
    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    tick.start();
    const qint64 before = timer.nsecsElapsed();
    button->click();
    QApplication::processEvents();  // the report painted
    out.seconds = static_cast<double>(timer.nsecsElapsed() - before) / 1e9;
    tick.stop();
    out.longestStall = static_cast<double>(std::max(longest, sinceTick.nsecsElapsed())) / 1e9;
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: pelmora_gui_run_bench FOLDER [RUNS]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string reportFile = argc > 3 ? argv[3] : "/tmp/pelmora-gui-bench-report.txt";
    std::vector<double> headless, windowed, ratios, stalls;
    for (int k = 0; k < runs; ++k) {
        const double h = headlessRun(folder, reportFile);
        const WindowRun w = windowRun(folder);
        if (h <= 0 || w.seconds <= 0) {
            std::fprintf(stderr, "the run on %s failed\n", folder.c_str());
            return 1;
        }
        headless.push_back(h);
        windowed.push_back(w.seconds);
        ratios.push_back(w.seconds / h);
        stalls.push_back(w.longestStall);
    }
    std::printf("%s: window %.3f s, command line %.3f s, ratio %.2f (medians of %d); longest "
                "stretch without events %.3f s; peak %.0f MiB\n",
                folder.filename().c_str(), median(windowed), median(headless), median(ratios), runs,
                median(stalls), static_cast<double>(statusKiB("VmHWM")) / 1024.0);
    return 0;
}
