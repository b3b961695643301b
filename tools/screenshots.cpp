// Saves a PNG of each of Pelmora's windows after a run over the sample corpus, for checking
// the look by eye: main.png, analysis.png, details.png (with the stability measured),
// details-text.png, details-charts.png, matrix.png, help.png, help-words.png (Help's words of a
// measure), explanation.png, pair.png,
// case.png and case-validation.png (the sample corpus as a case), and case-report.pdf, the
// case's report. The windows open as on the screen found; with a suffix (as "-1366" for a
// small screen) the names carry it before ".png" and the report is left out.
//
// Usage: pelmora-screenshots [FOLDER [SUFFIX]]

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "casefile/case_file.h"
#include "forms/program_context.h"
#include "help/help_windows.h"
#include "run/run_result.h"
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
#include "ui/pair_window.h"
#include "ui/stability_task.h"
#include "ui/text_evidence_view.h"
#include "ui/validation_page.h"

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

// Given after the folder: what each picture's name carries before ".png".
QString suffix;

bool save(QWidget* window, const QDir& folder, const char* name) {
    QCoreApplication::processEvents();
    QString file = QString::fromLatin1(name);
    file.insert(file.lastIndexOf(u'.'), suffix);
    const QString path = folder.filePath(file);
    if (window == nullptr || !window->isVisible() || !window->grab().save(path, "PNG", 0)) {
        std::fprintf(stderr, "pelmora-screenshots: could not save %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The sample corpus as a case: a letter as the questioned text, the diary and the postcard as
// known texts, the rest as reference texts, and a register label for each made up for the
// picture. Saved in `caseFolder` and opened in the main window.
QString sampleCase(pelmora::MainWindow& window, const QDir& caseFolder) {
    pelmora::CasePanel* panel = window.casePanel();
    std::string csv = "file,role,register\n";
    for (const std::string& name : panel->metadata()->folderNames()) {
        const bool personal = name == "letter_to_gran.txt" || name == "diary_sunday.txt" ||
                              name == "holiday_postcard.txt" || name == "lighthouse_story.txt";
        const bool informing = name == "kettle_instructions.txt" ||
                               name == "soil_study_abstract.txt" || name == "headphones_review.txt";
        csv += name + ',' +
               (name == "letter_to_gran.txt"                                   ? "Q"
                : name == "diary_sunday.txt" || name == "holiday_postcard.txt" ? "K"
                                                                               : "R") +
               ',' +
               (personal    ? "personal"
                : informing ? "informing"
                            : "public") +
               '\n';
    }
    const QString path = caseFolder.filePath(QStringLiteral("sample-case.pelmora"));
    pelmora::Result<pelmora::CaseFile> made = pelmora::CaseFile::create(
        path.toStdString(), window.context().defaultCorpusFolder(),
        {"2026-041", "A. Examiner",
         "Are the questioned letter and the known texts comparable in text type?", ""});
    if (!made.ok()) {
        std::fprintf(stderr, "pelmora-screenshots: %s\n", made.error().message.c_str());
        return {};
    }
    const pelmora::Result<pelmora::Metadata> metadata =
        pelmora::parseMetadata(csv, made.value().texts().value());
    if (!metadata.ok() || made.value().importMetadata(metadata.value())) {
        std::fprintf(stderr, "pelmora-screenshots: the sample metadata was refused\n");
        return {};
    }
    return panel->openCaseFileAt(path) ? path : QString();
}

// The Case window's role tables and its validation, and the case report as a PDF (whose
// first page the script makes a picture of).
bool saveCase(pelmora::MainWindow& window, const QDir& folder) {
    QTemporaryDir caseFolder;
    if (sampleCase(window, QDir(caseFolder.path())).isEmpty()) {
        return false;
    }
    pelmora::CasePanel* panel = window.casePanel();
    panel->openCase();
    pelmora::CaseWindow* caseWindow = panel->caseWindow();
    static_cast<void>(caseWindow->runner()->wait());
    settle(300);
    bool saved = save(caseWindow, folder, "case.png");
    auto* page = caseWindow->findChild<pelmora::ValidationPage*>(QStringLiteral("pageValidation"));
    if (page->runner()->running()) {
        static_cast<void>(page->runner()->wait());
    }
    caseWindow->findChild<QTabWidget*>(QStringLiteral("tabsCase"))->setCurrentWidget(page);
    settle(300);
    saved = save(caseWindow, folder, "case-validation.png") && saved;
    if (!suffix.isEmpty()) {
        return saved;  // the report's pages do not depend on the screen
    }
    const QString report = folder.filePath(QStringLiteral("case-report.pdf"));
    caseWindow->exportReport(report);
    if (caseWindow->reportRunner()->wait() != pelmora::JobRunner::End::Done) {
        std::fprintf(stderr, "pelmora-screenshots: %s\n",
                     qPrintable(caseWindow->reportRunner()->problem()));
        return false;
    }
    std::printf("%s\n", qPrintable(report));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    // Sizes the user left windows at stay out of the pictures, and the pictures out of them.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
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
    // Help turned to the words of a measure, as its right-click in a legend turns it.
    window.helpWindows()->openWords(pelmora::Measure::ThirdPerson);
    settle(300);
    saved = save(window.helpWindows()->helpWindow(), folder, "help-words.png") && saved;
    saved = save(window.helpWindows()->explanationWindow(), folder, "explanation.png") && saved;
    // The questioned letter beside the known diary, as the case compares them.
    const auto position = [&window](const std::string& name) {
        const auto& runTexts = window.run()->texts;
        for (std::size_t i = 0; i < runTexts.size(); ++i) {
            if (runTexts[i].name == name) {
                return static_cast<int>(i);
            }
        }
        return 0;
    };
    evidence->openPair(position("diary_sunday.txt"), position("letter_to_gran.txt"));
    settle(500);
    saved = save(evidence->pairWindow(), folder, "pair.png") && saved;
    saved = saveCase(window, folder) && saved;
    return saved ? 0 : 1;
}
