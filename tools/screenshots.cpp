// Saves a PNG of each of Pelmora's windows after a run over the sample corpus, for checking
// the look by eye: main.png, analysis.png, details.png (with the stability measured),
// details-text.png, details-charts.png, matrix.png, help.png, explanation.png, case.png (a
// letter as the questioned text, the diary and the postcard as known texts, the rest as
// reference texts).

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <cstdio>

#include "forms/program_context.h"
#include "help/help_windows.h"
#include "ui/analysis_window.h"
#include "ui/case_panel.h"
#include "ui/case_window.h"
#include "ui/density_charts.h"
#include "ui/details_window.h"
#include "ui/evidence_panel.h"
#include "ui/job_runner.h"
#include "ui/main_window.h"
#include "ui/matrix_window.h"
#include "ui/metadata_model.h"
#include "ui/stability_task.h"
#include "ui/text_evidence_view.h"

namespace {

// The folder tree and the window manager fill in the background; give them a moment.
void settle(int milliseconds = 800) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The row of the Details list that shows `name`, 0 when none does.
int rowNamed(pelmora::DetailsWindow* details, const QString& name) {
    const QAbstractItemModel* model = details->texts()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toString() == name) {
            return row;
        }
    }
    return 0;
}

bool save(QWidget* window, const QDir& folder, const char* name) {
    QCoreApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (window == nullptr || !window->isVisible() || !window->grab().save(path, "PNG", 0)) {
        std::fprintf(stderr, "pelmora-screenshots: could not save %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The Case window with roles given to the sample texts by name.
bool saveCase(pelmora::MainWindow& window, const QDir& folder) {
    pelmora::CasePanel* panel = window.casePanel();
    pelmora::MetadataModel* metadata = panel->metadata();
    std::vector<int> questioned, known, reference;
    for (int row = 0; row < metadata->rowCount(); ++row) {
        const std::string& name = metadata->folderNames()[static_cast<std::size_t>(row)];
        (name == "letter_to_gran.txt"                                   ? questioned
         : name == "diary_sunday.txt" || name == "holiday_postcard.txt" ? known
                                                                        : reference)
            .push_back(row);
    }
    metadata->setRole(questioned, pelmora::Role::Questioned);
    metadata->setRole(known, pelmora::Role::Known);
    metadata->setRole(reference, pelmora::Role::Reference);
    panel->openCase();
    static_cast<void>(panel->caseWindow()->runner()->wait());
    settle(300);
    return save(panel->caseWindow(), folder, "case.png");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "pelmora-screenshots: cannot create %s\n", qPrintable(folder.path()));
        return 2;
    }

    pelmora::ProgramContext context;
    pelmora::MainWindow window(context);
    window.show();
    QCoreApplication::processEvents();
    window.findChild<QPushButton*>(QStringLiteral("cmdAuto"))->click();
    pelmora::EvidencePanel* evidence = window.evidencePanel();
    evidence->openDetails();
    evidence->openMatrix();
    window.helpWindows()->openHelp();
    window.helpWindows()->openExplanation();
    settle();

    // The stability figures, so that the list and the matrix show them.
    evidence->stabilityTask()->start();
    for (int waited = 0;
         evidence->stabilityTask()->state() == pelmora::StabilityTask::State::Measuring &&
         waited < 600;
         ++waited) {
        settle(100);
    }
    pelmora::DetailsWindow* details = evidence->detailsWindow();
    QTableView* texts = details->texts();
    texts->setCurrentIndex(
        texts->model()->index(rowNamed(details, QStringLiteral("diary_sunday.txt")), 0));
    settle(300);

    bool saved = save(&window, folder, "main.png");
    saved = save(window.analysisWindow(), folder, "analysis.png") && saved;
    saved = save(details, folder, "details.png") && saved;
    details->tabs()->setCurrentWidget(details->textView());
    details->textView()->listMeasures({pelmora::Measure::ObligationCount});
    settle(500);
    saved = save(details, folder, "details-text.png") && saved;
    details->tabs()->setCurrentWidget(details->charts());
    settle(300);
    saved = save(details, folder, "details-charts.png") && saved;
    saved = save(evidence->matrixWindow(), folder, "matrix.png") && saved;
    saved = save(window.helpWindows()->helpWindow(), folder, "help.png") && saved;
    saved = save(window.helpWindows()->explanationWindow(), folder, "explanation.png") && saved;
    saved = saveCase(window, folder) && saved;
    return saved ? 0 : 1;
}
