// How long the window goes without handling an event while the long work of a run goes on:
// a timer due every 5 ms measures the longest gap between its firings during a batch run, a
// workbook export, Details opened (the first text read and its evidence written) and
// the Sensitivity tab, on generated folders of short texts. Each gap should stay under
// 100 ms; the figures are printed, with the time each step took.
//
// usage: pelmora_stall_bench [--skip-workbook] [TEXTS...]   (default 2000 10000; offscreen
// unless a platform is named). The workbook of 10,000 texts takes minutes; --skip-workbook
// leaves it out when only the windows are of interest.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/support/corpus.h"
#include "forms/program_context.h"
#include "ui/details_window.h"
#include "ui/evidence_panel.h"
#include "ui/job_runner.h"
#include "ui/main_window.h"
#include "ui/sensitivity_view.h"
#include "ui/text_evidence_view.h"
#include "ui/texts_model.h"

namespace {

namespace fs = std::filesystem;
using namespace pelmora;

// A folder of `count` texts of about 150 words each, made afresh.
fs::path shortTexts(int count) {
    const fs::path folder =
        fs::temp_directory_path() / ("pelmora-stall-" + std::to_string(count) + "-" +
                                     std::to_string(QCoreApplication::applicationPid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::mt19937 rng(20240611u + static_cast<unsigned>(count));
    for (int k = 0; k < count; ++k) {
        std::string text = bench::generatedText(rng);
        text.resize(text.find(' ', 900));
        char name[32];
        std::snprintf(name, sizeof name, "text%05d.txt", k);
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    return folder;
}

// The longest time the window's thread went without its timer firing, from start() on.
class StallProbe {
public:
    StallProbe() {
        tick_.setTimerType(Qt::PreciseTimer);
        tick_.setInterval(5);
        QObject::connect(&tick_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, since_.nsecsElapsed());
            since_.restart();
        });
    }
    void start() {
        longest_ = 0;
        since_.start();
        tick_.start();
    }
    // The longest stall in ms.
    double stop() {
        tick_.stop();
        longest_ = std::max(longest_, since_.nsecsElapsed());
        return static_cast<double>(longest_) / 1e6;
    }

private:
    QTimer tick_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
};

// Handles events until `done` holds.
void waitUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start();
    if (!done()) {
        loop.exec();
    }
}

struct Step {
    const char* what;
    std::function<void()> act;
};

bool measure(int count, bool withWorkbook) {
    const fs::path folder = shortTexts(count);
    ProgramContext context(folder);
    MainWindow window(context);
    window.show();
    QApplication::processEvents();
    EvidencePanel* panel = window.evidencePanel();
    const fs::path workbook = folder.parent_path() / (folder.filename().string() + ".xlsx");
    panel->choosePath = [&](const QString&, const QString&, const QString&) {
        return QString::fromStdString(workbook.string());
    };
    panel->reportProblem = [](const QString& text) {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    };
    const Step steps[] = {
        {"run", [&] { window.findChild<QPushButton*>(QStringLiteral("cmdAuto"))->click(); }},
        {"workbook export",
         [&] {
             if (withWorkbook) {
                 static_cast<void>(panel->exportWorkbook());
             }
         }},
        {"Details",
         [&] {
             panel->openDetails();
             DetailsWindow* details = panel->detailsWindow();
             waitUntil([&] { return !details->textView()->isLoading() && !details->composing(); });
         }},
        {"Sensitivity tab",
         [&] {
             DetailsWindow* details = panel->detailsWindow();
             auto* tabs = details->findChild<QTabWidget*>(QStringLiteral("runTabs"));
             tabs->setCurrentWidget(details->sensitivity());
             waitUntil([&] { return !details->sensitivity()->runner()->running(); });
         }},
    };
    StallProbe probe;
    bool fine = true;
    for (const Step& step : steps) {
        if (!withWorkbook && std::string_view(step.what) == "workbook export") {
            continue;
        }
        QElapsedTimer took;
        took.start();
        probe.start();
        step.act();
        QApplication::processEvents();
        const double stall = probe.stop();
        std::printf("%6d texts  %-16s %8.2f s   longest stall %7.1f ms%s\n", count, step.what,
                    static_cast<double>(took.nsecsElapsed()) / 1e9, stall,
                    stall > 100 ? "   over 100 ms" : "");
        std::fflush(stdout);
        fine = fine && window.run() != nullptr;
    }
    fs::remove(workbook);
    fs::remove_all(folder);
    return fine;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::vector<int> sizes;
    bool withWorkbook = true;
    for (int k = 1; k < argc; ++k) {
        if (std::string_view(argv[k]) == "--skip-workbook") {
            withWorkbook = false;
        } else {
            sizes.push_back(std::max(2, std::atoi(argv[k])));
        }
    }
    if (sizes.empty()) {
        sizes = {2000, 10000};
    }
    for (const int count : sizes) {
        if (!measure(count, withWorkbook)) {
            std::fprintf(stderr, "the run of %d texts failed\n", count);
            return 1;
        }
    }
    return 0;
}
