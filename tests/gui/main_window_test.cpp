// The main and analysis windows driven like a user: start-up, a whole run and its summary,
// Refresh, typing a text, loading files by hand, keyboard use.

#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <atomic>
#include <fstream>

#include "forms/program_context.h"
#include "gui_test_support.h"
#include "run/run_result.h"
#include "stores/text_ops.h"
#include "tests/support/report_pairs.h"
#include "ui/analysis_window.h"
#include "ui/job_runner.h"
#include "ui/main_window.h"
#include "ui/program_icon.h"
#include "ui/report_view.h"
#include "ui/run_summary_panel.h"
#include "ui/text_bridge.h"

namespace pelmora {
namespace {

using namespace Qt::StringLiterals;
using testing::boxText;
using testing::child;

const QString kHeader = QStringLiteral("Text Pair\tStrength of Intertextual relationship\n");

QStringList shownFiles(QWidget* window) {
    QStringList names;
    auto* list = child<QListWidget>(window, "File1");
    for (int i = 0; i < list->count(); ++i) {
        names.append(list->item(i)->text());
    }
    return names;
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Chooses `folder` in the folder tree as a user would.
void chooseFolder(MainWindow& window, const QString& folder) {
    auto* tree = child<QTreeView>(&window, "Dir1");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    QVERIFY(model != nullptr);
    const QModelIndex index = model->index(folder);
    QVERIFY(index.isValid());
    tree->setCurrentIndex(index);
}

void clickFile(MainWindow& window, int row) {
    auto* list = child<QListWidget>(&window, "File1");
    QListWidgetItem* item = list->item(row);
    QVERIFY(item != nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// Texts of fewer than 200 words: text i holds the kinds of sentence its bits name, the k-th
// kind k + 1 times.
std::string generatedText(int i) {
    const char* kinds[] = {
        "I think we went home and I said that I liked it. ",
        "You must call your mother and you should read this. ",
        "The committee shall consider the annual report of the board. ",
        "He walked to the old station where she waited for them. ",
        "It was wonderful and lovely, but we hate the sad rain. ",
    };
    std::string text;
    for (int k = 0; k < 5; ++k) {
        for (int repeat = 0; (i >> k & 1) != 0 && repeat <= k; ++repeat) {
            text += kinds[k];
        }
    }
    return text;
}

QString summaryValue(QWidget* window, const char* name) {
    return child<QLabel>(window, name)->text();
}

// The widgets Tab visits from `first` until it comes back, by name.
QStringList tabCycle(QWidget* first) {
    first->setFocus(Qt::TabFocusReason);
    QStringList names;
    for (QWidget* focus = first; focus != nullptr; focus = QApplication::focusWidget()) {
        names.append(focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
        if (QApplication::focusWidget() == first || names.size() > 40) {
            break;
        }
    }
    return names;
}

// The types box after a run of the first `count` hand-worked texts: code, tab, name.
std::string handTypes(std::size_t count) {
    std::string types;
    for (std::size_t i = 0; i < count; ++i) {
        types += std::string(testing::kHandTexts[i].second) + '\t' + testing::kHandTexts[i].first +
                 "\r\n";
    }
    return types;
}

QMessageBox* openMessage(QWidget* window) {
    for (QMessageBox* box : window->findChildren<QMessageBox*>(QStringLiteral("message"))) {
        if (box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsItsCaptionsAndTheSampleFolder();
    void runShowsItsReportAndRefreshBringsBackTheStart();
    void afterARunTheMainFormIsInFrontWithTheReportInHand();
    void summaryGivesTheRunsFiguresUntilRefresh_data();
    void summaryGivesTheRunsFiguresUntilRefresh();
    void windowAnswersDuringARunAndCannotBeClosedUnderIt();
    void runCancelledAtAnyFileLeavesTheFormAsBefore_data();
    void runCancelledAtAnyFileLeavesTheFormAsBefore();
    void typedTextIsAnalysedWithItsLineBreaks();
    void folderThatCannotBeOpenedOnlyShowsALine();
    void pathFieldGoesToAFolderAndKeepsTheLastTenAcrossARestart();
    void filesClickedByHandLoadWithoutShowingAndWhatCannotBeReadOnlyWarns();
    void folderRemovedUnderTheTreeStaysChosenAndStopsTheRun();
};

void MainWindowTest::startUpShowsItsCaptionsAndTheSampleFolder() {
    ProgramContext context;
    MainWindow window(context);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QCOMPARE(window.windowTitle(), QStringLiteral("Pelmora: Test textual compatibility"));
    // The window shows the program's icon, drawn at every size the desktop asks for.
    useProgramIcon();
    QCOMPARE(window.windowIcon().availableSizes(),
             (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    const QSet<QString> labels = testing::labelTexts(&window);
    for (const char* text : {
             "File Location",
             "Preparation: You need to have all your texts in one folder (directory). Pelmora "
             "handles only .txt files.",
             "Click the button below to classify all of the texts in the folder.",
             "Report:",
             "You can copy and paste the data in this box into a spreadsheet or word-processing "
             "application.",
         }) {
        QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    }
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdRefresh", "&Refresh"},
        {"cmdAuto", "&Auto-check all files in folder"},
        {"Command1", "E&xit"},
        {"cmdHelp", "&Help"},
    };
    for (const auto& [name, caption] : buttons) {
        QCOMPARE(child<QPushButton>(&window, name)->text(), QString::fromUtf8(caption));
    }
    // Every button says what it does.
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->isVisible()) {
            QVERIFY2(button->toolTip().size() > 10, qPrintable(button->objectName()));
        }
    }
    QCOMPARE(child<ReportView>(&window, "txtReport")->toPlainText(), kHeader);

    // The sample folder is open in the tree and its texts are listed, case-insensitively
    // sorted, as an independent listing gives them.
    const QString samples = QDir(pathToQt(testing::sampleFolder())).absolutePath();
    auto* tree = child<QTreeView>(&window, "Dir1");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    QCOMPARE(model->filePath(tree->currentIndex()), samples);
    const QStringList startFiles = QDir(samples).entryList(
        {QStringLiteral("*.txt")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    QVERIFY(startFiles.size() >= 3);
    QCOMPARE(shownFiles(&window), startFiles);

    // Nothing has been analysed, so the analysis window stays out of sight.
    QVERIFY(!window.analysisWindow()->isVisible());

    // Down the left column, then the right one; disabled buttons are passed over.
    QCOMPARE(tabCycle(child<QWidget>(&window, "Drive1")),
             QStringList({u"Drive1"_s, u"cboFolderPath"_s, u"Dir1"_s, u"cmdRefresh"_s, u"cmdAuto"_s,
                          u"File1"_s, u"cmdNewCase"_s, u"cmdOpenCase"_s, u"cmdRecentCases"_s,
                          u"cmdSaveCase"_s, u"cmdCaseDetails"_s, u"cmdCase"_s,
                          u"cmdImportMetadata"_s, u"cmdExportMetadata"_s, u"cmdImportDocuments"_s,
                          u"Command1"_s, u"txtReport"_s, u"cmdHelp"_s}));

    QSignalSpy quit(&window, &MainWindow::quitRequested);
    QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
    // A mnemonic animates the button before it clicks.
    QTRY_COMPARE(quit.count(), 1);
    QVERIFY(context.quitRequested);
}

// Two runs of the hand-worked texts, with a Refresh after each.
void MainWindowTest::runShowsItsReportAndRefreshBringsBackTheStart() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid() && testing::writeHandFolder(folder.path()));
    ProgramContext context;
    MainWindow window(context);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QStringList startFiles = shownFiles(&window);
    auto* cmdAuto = child<QPushButton>(&window, "cmdAuto");
    auto* report = child<ReportView>(&window, "txtReport");
    const std::string expected = testing::kHandReport;
    for (int run = 1; run <= 2; ++run) {
        chooseFolder(window, folder.path());
        QCOMPARE(shownFiles(&window).size(), 5);
        QTest::mouseClick(cmdAuto, Qt::LeftButton);

        AnalysisWindow* analysis = window.analysisWindow();
        QCOMPARE(context.form2().txtReport.text(), expected);
        QCOMPARE(report->toPlainText(), QString::fromLatin1(expected).remove(u'\r'));
        QCOMPARE(report->topRow(), 0);
        QVERIFY(report->caret() == ReportView::Position{});
        QVERIFY(!report->hasSelection());

        // The read-only report is selected from the keyboard; a command that leaves the report
        // as it is leaves the view where the user put it.
        report->setFocus();
        QTest::keyClick(report, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
        const ReportView::Position end = report->caret();
        QVERIFY(end.row > 20);
        QTest::mouseClick(child<QPushButton>(analysis, "cmdReset"), Qt::LeftButton);
        QVERIFY(report->caret() == end);
        QCOMPARE(report->selectedText(), QString::fromLatin1(expected).remove(u'\r'));

        QVERIFY(analysis->isVisible());
        QCOMPARE(boxText(analysis, "txtTypes"), QString::fromLatin1(handTypes(5)).remove(u'\r'));
        QVERIFY(boxText(analysis, "Text2").startsWith(QStringLiteral("FORMALITY\nFormal = 2\n")));

        // The progress dialog counted every text and is gone when the run ends.
        QProgressDialog* progress = window.progressDialog();
        QVERIFY(progress != nullptr);
        QVERIFY(!progress->isVisible());
        QCOMPARE(progress->windowTitle(), QStringLiteral("Pelmora: Checking all files in folder"));
        QCOMPARE(progress->labelText(), QStringLiteral("file 5 of 5\nr_tie_formal.txt"));

        // Pressing the disabled button again changes nothing.
        QTest::mouseClick(cmdAuto, Qt::LeftButton);
        QCOMPARE(context.form2().txtReport.text(), expected);

        QTest::mouseClick(child<QPushButton>(&window, "cmdRefresh"), Qt::LeftButton);
        QCOMPARE(report->toPlainText(), kHeader);
        QCOMPARE(report->topRow(), 0);
        QVERIFY(!report->hasSelection());
        QVERIFY(!analysis->isVisible());
        QVERIFY(!context.form1Exists());
        // The program is back at its start, in the sample folder.
        QCOMPARE(shownFiles(&window), startFiles);
    }
}

void MainWindowTest::afterARunTheMainFormIsInFrontWithTheReportInHand() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid() && testing::writeHandFolder(folder.path(), 2));
    ProgramContext context(pathFromQt(folder.path()));
    MainWindow window(context);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);

    // The main form is in front with the report in hand, whatever the analysis form did.
    AnalysisWindow* analysis = window.analysisWindow();
    QTRY_VERIFY(window.isActiveWindow());
    QCOMPARE(QApplication::focusWidget(), child<ReportView>(&window, "txtReport"));
    QVERIFY(!analysis->isActiveWindow());
    const QStringList caseRow = {
        u"cmdNewCase"_s,        u"cmdOpenCase"_s,       u"cmdRecentCases"_s,
        u"cmdSaveCase"_s,       u"cmdCaseDetails"_s,    u"cmdCase"_s,
        u"cmdImportMetadata"_s, u"cmdExportMetadata"_s, u"cmdImportDocuments"_s};
    const QStringList cycle =
        QStringList({u"Drive1"_s, u"cboFolderPath"_s, u"Dir1"_s, u"cmdRefresh"_s, u"File1"_s}) +
        caseRow +
        QStringList({u"Command1"_s, u"txtReport"_s, u"cmdDetails"_s, u"cmdMatrix"_s,
                     u"cmdCopyReport"_s, u"cmdSaveReport"_s, u"cmdExportMeasures"_s,
                     u"cmdExportMatrix"_s, u"cmdExportPairs"_s, u"cmdExportWorkbook"_s,
                     u"cmdSaveRunRecord"_s, u"cmdHelp"_s});
    QCOMPARE(tabCycle(child<QWidget>(&window, "Drive1")), cycle);
    // The analysis form stands where 9000 twips put it, moved back as far as its frame must
    // to be whole on the screen.
    QVERIFY(analysis->isVisible());
    QCOMPARE(analysis->windowTitle(), QStringLiteral("Pelmora: Process Form"));
    const QRect screen = analysis->screen()->availableGeometry();
    const int left = screen.left() + 9000 * analysis->logicalDpiX() / 1440;
    QVERIFY(screen.contains(analysis->frameGeometry()));
    QVERIFY(analysis->x() <= left);
}

// Folders of the hand-worked texts, with the figures of their reports worked out by hand.
void MainWindowTest::summaryGivesTheRunsFiguresUntilRefresh_data() {
    QTest::addColumn<int>("texts");
    QTest::addColumn<bool>("oneGone");  // a file that goes after the list was filled
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("mean");
    QTest::addColumn<QString>("stDev");
    QTest::addColumn<QString>("minimal");
    QTest::addColumn<QString>("significant");
    // Each text is short of 200 words but o_at.txt, and a file left out is warned of too.
    QTest::addColumn<QString>("warnings");
    const QString na = QStringLiteral("n/a");
    QTest::newRow("no text") << 0 << false << u"0"_s << na << na << u"0"_s << u"0"_s << u"0"_s;
    QTest::newRow("one text") << 1 << false << u"0"_s << na << na << u"0"_s << u"0"_s << u"1"_s;
    // 01202 and 01200: one pair of strength 4, whose deviation is not defined.
    QTest::newRow("two texts") << 2 << false << u"1"_s << u"4"_s << na << u"0"_s << u"0"_s
                               << u"2"_s;
    QTest::newRow("five texts") << 5 << false << u"10"_s << u"3.4"_s << u"0.9661"_s << u"2"_s
                                << u"1"_s << u"4"_s;
    QTest::newRow("five texts, one gone")
        << 5 << true << u"10"_s << u"3.4"_s << u"0.9661"_s << u"2"_s << u"1"_s << u"5"_s;
}

void MainWindowTest::summaryGivesTheRunsFiguresUntilRefresh() {
    QFETCH(int, texts);
    QFETCH(bool, oneGone);
    ProgramContext context;
    MainWindow window(context);
    window.show();
    auto* summary = child<RunSummaryPanel>(&window, "RunSummary");
    auto* cmdAuto = child<QPushButton>(&window, "cmdAuto");
    QVERIFY(!summary->isVisible());
    const QString autoTip = cmdAuto->toolTip();
    QVERIFY(!autoTip.isEmpty());
    const QString title = window.windowTitle();

    QTemporaryDir folder;
    QVERIFY(folder.isValid() &&
            testing::writeHandFolder(folder.path(), static_cast<std::size_t>(texts)));
    const std::filesystem::path path = pathFromQt(folder.path());
    if (oneGone) {
        writeFile(path / "zz_gone.txt", generatedText(1));
    }
    chooseFolder(window, folder.path());
    QCOMPARE(shownFiles(&window).size(), texts + (oneGone ? 1 : 0));
    std::filesystem::remove(path / "zz_gone.txt");

    QTest::mouseClick(cmdAuto, Qt::LeftButton);
    QVERIFY(summary->isVisible());
    QCOMPARE(summaryValue(summary, "lblRunFolder"), QDir(folder.path()).absolutePath());
    // The title bar names the folder of the run too.
    QCOMPARE(window.windowTitle(), title + u" \u2014 "_s + QDir(folder.path()).absolutePath());
    QCOMPARE(summaryValue(summary, "lblRunTexts"), QString::number(texts));
    QCOMPARE(summaryValue(summary, "lblRunLeftOut"), QString::number(oneGone ? 1 : 0));
    QFETCH(QString, pairs);
    QFETCH(QString, mean);
    QFETCH(QString, stDev);
    QFETCH(QString, minimal);
    QFETCH(QString, significant);
    QFETCH(QString, warnings);
    const std::pair<const char*, QString> figures[] = {
        {"lblRunPairs", pairs},
        {"lblRunMean", mean},
        {"lblRunStDev", stDev},
        {"lblRunMinimal", minimal},
        {"lblRunSignificant", significant},
        {"lblRunWarnings", warnings},
    };
    for (const auto& [name, figure] : figures) {
        QCOMPARE(summaryValue(summary, name), figure);
    }

    auto* notes = child<QLabel>(summary, "lblRunNotes");
    QCOMPARE(notes->isVisibleTo(summary) &&
                 notes->text().startsWith(QStringLiteral("No pair was compared: ")),
             texts < 2);
    auto* refresh = child<QLabel>(summary, "lblRunRefresh");
    QVERIFY(refresh->isVisibleTo(summary));
    QCOMPARE(refresh->text(), QString::fromUtf8(kRefreshEnablesAuto));
    QVERIFY(!cmdAuto->isEnabled());
    QCOMPARE(cmdAuto->toolTip(), QString::fromUtf8(kRefreshEnablesAuto));

    // Other commands leave it as it is, even those that empty the pair stores.
    QTest::mouseClick(child<QPushButton>(window.analysisWindow(), "cmdReset"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(window.analysisWindow(), "cmdTotalReset"), Qt::LeftButton);
    QVERIFY(summary->isVisible());
    QCOMPARE(summaryValue(summary, "lblRunPairs"), pairs);

    QTest::mouseClick(child<QPushButton>(&window, "cmdRefresh"), Qt::LeftButton);
    QVERIFY(!summary->isVisible());
    QVERIFY(cmdAuto->isEnabled());
    QCOMPARE(cmdAuto->toolTip(), autoTip);
    QCOMPARE(window.windowTitle(), title);
}

void MainWindowTest::windowAnswersDuringARunAndCannotBeClosedUnderIt() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::filesystem::path path = pathFromQt(folder.path());
    for (int i = 0; i < 300; ++i) {
        writeFile(path / ("text" + std::to_string(1000 + i) + ".txt"), generatedText(i % 32));
    }
    ProgramContext context;
    MainWindow window(context);
    window.show();
    chooseFolder(window, folder.path());
    auto* cmdAuto = child<QPushButton>(&window, "cmdAuto");

    // Ticks while the progress shows are events handled in the middle of the run.
    int ticksDuringRun = 0;
    bool closeRefused = false;
    QTimer tick;
    tick.setInterval(0);
    connect(&tick, &QTimer::timeout, this, [&] {
        QProgressDialog* progress = window.progressDialog();
        if (progress != nullptr && progress->isVisible()) {
            ++ticksDuringRun;
            closeRefused = closeRefused || !window.close();
        }
    });
    connect(cmdAuto, &QPushButton::pressed, &tick, qOverload<>(&QTimer::start));
    QTest::mouseClick(cmdAuto, Qt::LeftButton);
    tick.stop();
    QVERIFY(ticksDuringRun > 0);
    QVERIFY(closeRefused);
    QVERIFY(window.isVisible());
    // The whole run was made: every text, and every pair of them (300 * 299 / 2).
    auto* summary = child<RunSummaryPanel>(&window, "RunSummary");
    QCOMPARE(summaryValue(summary, "lblRunTexts"), QStringLiteral("300"));
    QCOMPARE(summaryValue(summary, "lblRunPairs"), QStringLiteral("44850"));
    QVERIFY(window.close());  // once the run is over
}

void MainWindowTest::runCancelledAtAnyFileLeavesTheFormAsBefore_data() {
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("how");  // asked by the test, or by the user in the dialog
    QTest::newRow("start") << 1 << QString();
    QTest::newRow("middle") << 3 << QString();
    QTest::newRow("end") << 6 << QString();
    QTest::newRow("Cancel pressed") << 3 << u"Cancel"_s;
    QTest::newRow("Escape pressed") << 4 << u"Escape"_s;
}

// Cancelled while it names the first, a middle or the last file, the run leaves the form as
// it was before the press: no report, no summary, the run's buttons off, and the run can be
// pressed again, then giving the whole report.
void MainWindowTest::runCancelledAtAnyFileLeavesTheFormAsBefore() {
    QFETCH(int, at);
    QFETCH(QString, how);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::filesystem::path path = pathFromQt(folder.path());
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt"}) {
        writeFile(path / name, "The committee shall consider the report.");
    }
    ProgramContext context;
    MainWindow window(context);
    window.show();
    chooseFolder(window, folder.path());
    auto* cmdAuto = child<QPushButton>(&window, "cmdAuto");
    auto* report = child<ReportView>(&window, "txtReport");
    const QStringList files = shownFiles(&window);
    QCOMPARE(files.size(), 6);
    QCOMPARE(report->toPlainText(), kHeader);
    const std::string before = context.form2().txtReport.text();

    QProgressDialog* progress = window.progressDialog();
    window.runner()->onStep = [&](const JobProgress& p, JobControl& control) {
        if (p.done != at) {
            return;
        }
        if (how.isEmpty()) {
            control.cancel();
            return;
        }
        // Pressed on the window's thread while the run waits for it.
        std::atomic<bool> pressed = false;
        QMetaObject::invokeMethod(progress, [&] {
            if (how == u"Cancel"_s) {
                progress->findChild<QPushButton*>()->click();
            } else {
                QTest::keyClick(progress, Qt::Key_Escape);
            }
            pressed = true;
        });
        while (!pressed) {
            QThread::msleep(1);
        }
    };
    QTest::mouseClick(cmdAuto, Qt::LeftButton);
    QVERIFY(window.run() == nullptr);
    QVERIFY(cmdAuto->isEnabled());
    QCOMPARE(report->toPlainText(), kHeader);
    QCOMPARE(context.form2().txtReport.text(), before);
    QVERIFY(!child<QWidget>(&window, "RunSummary")->isVisible());
    QVERIFY(!child<QPushButton>(&window, "cmdDetails")->isEnabled());
    QVERIFY(!window.analysisWindow()->isVisible());
    QVERIFY(!progress->isVisible());
    QCOMPARE(shownFiles(&window), files);
    QVERIFY(window.findChild<QMessageBox*>() == nullptr);

    window.runner()->onStep = {};
    QTest::mouseClick(cmdAuto, Qt::LeftButton);
    QVERIFY(window.run() != nullptr);
    QVERIFY(!cmdAuto->isEnabled());
    QCOMPARE(window.run()->analysedCount(), 6);
    // Six texts of one code: fifteen pairs, every one of strength 5.
    const test::ReportedPairs pairs = test::reportedPairs(fromQt(report->toPlainText()));
    QCOMPARE(pairs.all.size(), 15u);
    QCOMPARE(pairs.all.front(), std::string("a.txt-b.txt\t5"));
    QCOMPARE(pairs.all.back(), std::string("e.txt-f.txt\t5"));
}

void MainWindowTest::typedTextIsAnalysedWithItsLineBreaks() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid() && testing::writeHandFolder(folder.path(), 2));
    ProgramContext context(pathFromQt(folder.path()));
    MainWindow window(context);
    window.show();
    QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);
    AnalysisWindow* analysis = window.analysisWindow();
    QVERIFY(analysis->isVisible());

    // The lines of a hand-worked text of code 20200, typed with Return between them: the line
    // breaks part the words as a file's would, so the text keeps its code.
    QFile source(pathToQt(testing::boundaryFolder() / "r_tie_formal.txt"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QString typed = QString::fromLatin1(source.readAll()).trimmed();
    auto* text1 = child<QPlainTextEdit>(analysis, "Text1");
    QVERIFY(!text1->isReadOnly());
    text1->setFocus();
    const QStringList lines = typed.split(QStringLiteral("\r\n"));
    QVERIFY(lines.size() > 3);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(text1, Qt::Key_Return);
        }
        QTest::keyClicks(text1, lines[i]);
    }
    QTest::mouseClick(child<QPushButton>(analysis, "cmdDoItAll"), Qt::LeftButton);
    const std::string& read = context.form1().Text1.text();
    QVERIFY2(read.find("word you're word") != std::string::npos &&
                 read.find("wordyou") == std::string::npos,
             read.c_str());
    const std::string types = handTypes(2) + "20200\t\r\n";
    QCOMPARE(context.form1().txtTypes.text(), types);
    QCOMPARE(boxText(analysis, "txtTypes"), QString::fromLatin1(types).remove(u'\r'));

    // The user's Reset keeps the window on the screen and the gathered results in it.
    QTest::mouseClick(child<QPushButton>(analysis, "cmdReset"), Qt::LeftButton);
    QVERIFY(analysis->isVisible());
    QCOMPARE(boxText(analysis, "Text1"), QString());
    QCOMPARE(boxText(analysis, "txtTypes"), QString::fromLatin1(types).remove(u'\r'));

    // Total Reset empties the results and hands over to the main window.
    QTest::mouseClick(child<QPushButton>(analysis, "cmdTotalReset"), Qt::LeftButton);
    QVERIFY(!analysis->isVisible());
    QVERIFY(context.form1().txtTypes.empty());
}

void MainWindowTest::folderThatCannotBeOpenedOnlyShowsALine() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::filesystem::path path = pathFromQt(folder.path());
    for (const char* name : {"x", "y", "z"}) {
        std::filesystem::create_directory(path / name);
        writeFile(path / name / "text.txt", "a text");
    }

    ProgramContext context;
    MainWindow window(context);
    window.show();
    // A folder that cannot be opened, reached by keyboard, only shows a line. "y" goes before
    // the tree learns of it, so the arrow key reaches a folder that cannot be opened (what no
    // permission does to anyone but the superuser).
    auto* tree = child<QTreeView>(&window, "Dir1");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    chooseFolder(window, QDir(folder.path()).filePath(QStringLiteral("x")));
    QTRY_COMPARE(model->rowCount(model->index(folder.path())), 3);
    // The rows come before their sorting does.
    QTRY_COMPARE(model->fileName(tree->indexBelow(tree->currentIndex())), QStringLiteral("y"));
    auto* problem = child<QLabel>(&window, "lblFolderProblem");
    QVERIFY(!problem->isVisible());
    // Unwatched, or the tree may drop "y" before the key reaches it.
    model->setOption(QFileSystemModel::DontWatchForChanges);
    std::filesystem::remove_all(path / "y");
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(context.form2().Dir1.folder, path / "y");
    QVERIFY(openMessage(&window) == nullptr);
    QVERIFY(problem->isVisible());
    QVERIFY2(problem->text().contains(QStringLiteral("y")), qPrintable(problem->text()));
    QVERIFY(shownFiles(&window).isEmpty());
    QCOMPARE(QApplication::focusWidget(), tree);

    // The next folder opens, and the line goes.
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(context.form2().Dir1.folder, path / "z");
    QVERIFY(!problem->isVisible());
    QCOMPARE(shownFiles(&window), QStringList({QStringLiteral("text.txt")}));

    // Back on it, and then away by the drive list to this machine's root volume.
    QTest::keyClick(tree, Qt::Key_Up);
    QVERIFY(problem->isVisible());
    auto* drives = child<QComboBox>(&window, "Drive1");
    const int root = drives->findData(QByteArray("/"));
    QVERIFY(root >= 0);
    emit drives->activated(root);
    QCOMPARE(model->filePath(tree->currentIndex()), QStringLiteral("/"));
    QCOMPARE(context.form2().Dir1.folder, std::filesystem::path("/"));
    QVERIFY(!problem->isVisible());
}

// Settings in a folder of the test's own: folders typed into the path field or run come first
// in its list, ten at most, and are there again after a restart, one choice from Refresh.
void MainWindowTest::pathFieldGoesToAFolderAndKeepsTheLastTenAcrossARestart() {
    QTemporaryDir settings, folders;
    QVERIFY(settings.isValid() && folders.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    const QDir root(folders.path());
    QStringList older;
    for (int k = 0; k < 12; ++k) {
        QVERIFY(root.mkdir(QStringLiteral("f%1").arg(k)));
        older.prepend(root.filePath(QStringLiteral("f%1").arg(k)));
    }
    const QString texts = root.filePath(QStringLiteral("my texts"));
    QVERIFY(root.mkdir(QStringLiteral("my texts")) && testing::writeHandFolder(texts));
    const auto treeFolder = [](MainWindow& window) {
        auto* tree = child<QTreeView>(&window, "Dir1");
        return qobject_cast<QFileSystemModel*>(tree->model())->filePath(tree->currentIndex());
    };
    {
        ProgramContext context;
        MainWindow window(context);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* field = child<QComboBox>(&window, "cboFolderPath");
        QCOMPARE(field->count(), 0);
        for (int k = 0; k < 12; ++k) {
            field->setFocus();
            field->setEditText(root.filePath(QStringLiteral("f%1").arg(k)));
            QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        }
        QCOMPARE(treeFolder(window), root.filePath(QStringLiteral("f11")));
        // A folder that is not there is said so under the tree, which stays where it was.
        field->setEditText(root.filePath(QStringLiteral("gone")));
        QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        auto* problem = child<QLabel>(&window, "lblFolderProblem");
        QVERIFY(problem->isVisible());
        QVERIFY2(problem->text().contains(QStringLiteral("gone")), qPrintable(problem->text()));
        QCOMPARE(treeFolder(window), root.filePath(QStringLiteral("f11")));
        // Pasted with a slash after it: the folder's texts are listed and run.
        field->setEditText(texts + u'/');
        QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        QCOMPARE(treeFolder(window), texts);
        QCOMPARE(shownFiles(&window).size(), 5);
        QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);
        QVERIFY(window.run() != nullptr);
    }
    ProgramContext context;
    MainWindow window(context);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* field = child<QComboBox>(&window, "cboFolderPath");
    QStringList listed;
    for (int k = 0; k < field->count(); ++k) {
        listed.append(field->itemText(k));
    }
    QCOMPARE(listed, QStringList{texts} + older.mid(0, 9));
    // The program starts in the sample folder; the folder of the last run is one choice away.
    QVERIFY(treeFolder(window) != texts);
    QCOMPARE(QFileInfo(field->currentText()).absoluteFilePath(), treeFolder(window));
    emit field->activated(0);
    QCOMPARE(treeFolder(window), texts);
    QCOMPARE(shownFiles(&window).size(), 5);
}

void MainWindowTest::filesClickedByHandLoadWithoutShowingAndWhatCannotBeReadOnlyWarns() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::filesystem::path path = pathFromQt(folder.path());
    writeFile(path / "a.txt", "first text");
    writeFile(path / "b.txt", "second text");
    writeFile(path / "c.txt", "third text");
    std::string binary;
    for (int byte = 0; byte < 256; ++byte) {
        binary += static_cast<char>(byte);
    }
    writeFile(path / "d.txt", binary);
    ProgramContext context;
    MainWindow window(context);
    window.show();

    // Files clicked by hand load into the analysis form without showing it.
    chooseFolder(window, folder.path());
    QCOMPARE(shownFiles(&window), QStringList({QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                                               QStringLiteral("c.txt"), QStringLiteral("d.txt")}));

    clickFile(window, 0);
    QCOMPARE(context.form1().Text1.text(), std::string("first text"));
    QVERIFY(!window.analysisWindow()->isVisible());
    QVERIFY(openMessage(&window) == nullptr);

    // A binary file loads like any other: every byte becomes a character, NUL included.
    clickFile(window, 3);
    QVERIFY(openMessage(&window) == nullptr);
    QCOMPARE(utf8Length(context.form1().Text1.text()), 256);

    // Enter on the current entry loads it like a click.
    auto* list = child<QListWidget>(&window, "File1");
    list->setFocus();
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(context.form1().Text1.text(), std::string("third text"));

    // A file that vanished after the list was filled: a message, and nothing changes.
    std::filesystem::remove(path / "b.txt");
    clickFile(window, 1);
    QMessageBox* message = openMessage(&window);
    QVERIFY(message != nullptr);
    QVERIFY2(message->text().contains(QStringLiteral("b.txt")), qPrintable(message->text()));
    QCOMPARE(context.form1().Text1.text(), std::string("third text"));
    message->close();

    // Without read permission (root reads everything, so only for other users).
    if (geteuid() != 0) {
        std::filesystem::permissions(path / "a.txt", std::filesystem::perms::none);
        clickFile(window, 0);
        message = openMessage(&window);
        QVERIFY(message != nullptr);
        QCOMPARE(context.form1().Text1.text(), std::string("third text"));
        message->close();
    }

    // The window still works, and a second click reads the file again.
    writeFile(path / "c.txt", "third text, revised");
    clickFile(window, 2);
    QCOMPARE(context.form1().Text1.text(), std::string("third text, revised"));
    QVERIFY(window.isVisible());
}

void MainWindowTest::folderRemovedUnderTheTreeStaysChosenAndStopsTheRun() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::filesystem::path path = pathFromQt(folder.path());
    for (const char* name : {"a", "b", "c"}) {
        std::filesystem::create_directory(path / name);
        writeFile(path / name / "text.txt", generatedText(3));
    }
    writeFile(path / "b" / "notes.docx", "x");
    ProgramContext context;
    MainWindow window(context);
    window.show();
    auto* tree = child<QTreeView>(&window, "Dir1");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    const QString chosen = QDir(folder.path()).filePath(QStringLiteral("b"));
    chooseFolder(window, chosen);
    QCOMPARE(context.form2().Dir1.folder, path / "b");
    auto* notListed = child<QLabel>(&window, "lblNotListed");
    QVERIFY(notListed->isVisible());
    QCOMPARE(notListed->text(), QStringLiteral("1 other file not listed: 1 .docx"));
    // The tree holds "b" between its sorted neighbours, so there is a row to move to.
    const QModelIndex parent = model->index(folder.path());
    QTRY_COMPARE(model->rowCount(parent), 3);
    QTRY_COMPARE(model->fileName(tree->indexBelow(tree->currentIndex())), QStringLiteral("c"));

    // Removed as a file manager would; the tree drops the row when it learns of it.
    std::filesystem::remove_all(path / "b");
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(parent), 2, 20000);
    QCOMPARE(context.form2().Dir1.folder, path / "b");
    QTRY_VERIFY(!tree->currentIndex().isValid());

    auto* cmdAuto = child<QPushButton>(&window, "cmdAuto");
    QTest::mouseClick(cmdAuto, Qt::LeftButton);
    QVERIFY(window.run() == nullptr);
    QVERIFY(cmdAuto->isEnabled());
    QCOMPARE(child<ReportView>(&window, "txtReport")->toPlainText(), kHeader);
    QMessageBox* message = openMessage(&window);
    QVERIFY(message != nullptr);
    QVERIFY2(message->text().contains(QStringLiteral("\"%1\"").arg(chosen)),
             qPrintable(message->text()));
    QCOMPARE(context.form2().Dir1.folder, path / "b");
    QCOMPARE(context.form2().File1.path, path / "b");
    message->close();
}

}  // namespace pelmora

QTEST_MAIN(pelmora::MainWindowTest)
#include "main_window_test.moc"
