// The evidence windows and exports after a run pressed in the main window.

#include <sys/stat.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/form2_commands.h"
#include "formats/csv.h"
#include "explanation/digit_evidence.h"
#include "explanation/input_quality.h"
#include "exports/measures_table.h"
#include "exports/pair_matrix.h"
#include "exports/pairs_table.h"
#include "record/run_record.h"
#include "forms/program_context.h"
#include "gui_test_support.h"
#include "tests/support/run_builder.h"
#include "tests/support/workbook_reader.h"
#include "ui/details_window.h"
#include "ui/evidence_panel.h"
#include "ui/job_runner.h"
#include "ui/main_window.h"
#include "ui/matrix_model.h"
#include "ui/matrix_window.h"
#include "ui/texts_model.h"
#include "ui/text_bridge.h"

namespace pelmora {
namespace {

using testing::child;

std::string fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::vector<TableRow> spreadsheet(const QString& path, char delimiter) {
    std::string bytes = fileBytes(path);
    if (bytes.rfind("\xEF\xBB\xBF", 0) != 0) {
        return {{"<no byte-order mark>"}};
    }
    return parseDelimitedTable(bytes.substr(3), delimiter).value_or(std::vector<TableRow>{});
}

}  // namespace

class EvidenceWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void runThenOpenEveryWindowAndExportEverything() {
        ProgramContext context(testing::sampleFolder());
        MainWindow window(context);
        window.show();
        auto* panel = child<EvidencePanel>(&window, "EvidencePanel");
        auto* details = child<QPushButton>(&window, "cmdDetails");
        QVERIFY(!details->isEnabled());
        QCOMPARE(panel->qualityLine(), QString());

        child<QPushButton>(&window, "cmdAuto")->click();
        const Form2& form = context.form2();
        QVERIFY(window.run() != nullptr);
        const RunResult& run = *window.run();
        const std::vector<TextRecord>& texts = run.texts;
        QVERIFY(texts.size() >= 8);
        QVERIFY(details->isEnabled());
        QCOMPARE(panel->qualityLine(), toQt(qualitySummary(assessQuality(run))));

        details->click();
        DetailsWindow* detailsWindow = panel->detailsWindow();
        QVERIFY(detailsWindow != nullptr && detailsWindow->isVisible());
        QCOMPARE(detailsWindow->windowTitle(), QStringLiteral("Pelmora: Details"));
        QTableView* list = child<QTableView>(detailsWindow, "lstDetailsTexts");
        const QAbstractItemModel& rows = *list->model();
        QCOMPARE(rows.rowCount(), static_cast<int>(texts.size()));
        QCOMPARE(rows.columnCount(), 4);
        QVERIFY(detailsWindow->evidence()->toPlainText().startsWith(
            toQt("Text: " + texts[0].name + "\nCode: " + texts[0].code)));
        int near = 0;
        for (int i = 0; i < rows.rowCount(); ++i) {
            const TextRecord& t = texts[static_cast<std::size_t>(i)];
            const auto cell = [&](int column) { return rows.index(i, column).data().toString(); };
            QCOMPARE(cell(0), toQt(t.name));
            QCOMPARE(cell(1), toQt(t.code));
            const bool nearThreshold = explainText(t, run.rules).nearCount() > 0;
            near += nearThreshold ? 1 : 0;
            QCOMPARE(cell(2).contains(QStringLiteral("near threshold")), nearThreshold);
            // No column is cut off: each is as wide as what it shows.
            for (int column = 0; column < 4; ++column) {
                QVERIFY2(list->columnWidth(column) >=
                             list->fontMetrics().horizontalAdvance(cell(column)),
                         qPrintable(cell(column)));
            }
        }
        QVERIFY(near > 0);
        list->selectRow(2);
        QVERIFY(detailsWindow->evidence()->toPlainText().startsWith(
            toQt("Text: " + texts[2].name + "\n")));
        QVERIFY(detailsWindow->evidence()->toPlainText().contains(QStringLiteral("\nPairs:\n")));
        QCOMPARE(detailsWindow->quality()->rowCount(), static_cast<int>(texts.size()));

        child<QPushButton>(&window, "cmdMatrix")->click();
        MatrixWindow* matrixWindow = panel->matrixWindow();
        QVERIFY(matrixWindow != nullptr && matrixWindow->isVisible());
        QCOMPARE(matrixWindow->windowTitle(), QStringLiteral("Pelmora: Matrix"));
        QCOMPARE(matrixWindow->model()->rowCount(), static_cast<int>(texts.size()));

        QTemporaryDir out;
        QVERIFY(out.isValid());
        QStringList problems;
        panel->reportProblem = [&](const QString& text) { problems.append(text); };
        QString chosen;
        panel->choosePath = [&](const QString&, const QString&, const QString&) { return chosen; };

        chosen = out.filePath(QStringLiteral("report, final.txt"));
        QVERIFY(panel->saveReport());
        QCOMPARE(fileBytes(chosen), form.txtReport.text());

        // The measures as the table has them, but for the codes, which a spreadsheet is to
        // read as text (="11112"), and a column name that it would read as a formula.
        std::vector<TableRow> measures = measuresTable(run, ColumnNames::Readable);
        for (std::size_t r = 1; r < measures.size(); ++r) {
            measures[r][1] = "=\"" + measures[r][1] + "\"";
        }
        const auto inflections = std::find(measures[0].begin(), measures[0].end(), "-ed forms");
        QVERIFY(inflections != measures[0].end());
        *inflections = "'-ed forms";
        chosen = out.filePath(QStringLiteral("measures.csv"));
        QVERIFY(panel->exportMeasures());
        QVERIFY(spreadsheet(chosen, ',') == measures);
        chosen = out.filePath(QStringLiteral("measures.tsv"));
        child<QPushButton>(&window, "cmdExportMeasures")->click();
        QVERIFY(spreadsheet(chosen, '\t') == measures);

        chosen = out.filePath(QStringLiteral("matrix.csv"));
        child<QPushButton>(&window, "cmdExportMatrix")->click();
        QVERIFY(spreadsheet(chosen, ',') == matrixTable(run));

        chosen = out.filePath(QStringLiteral("pairs.tsv"));
        child<QPushButton>(&window, "cmdExportPairs")->click();
        const std::vector<TableRow> pairs = spreadsheet(chosen, '\t');
        QVERIFY(pairs == pairsTable(run));  // which the core's tests hold against the report

        chosen = out.filePath(QStringLiteral("run.xlsx"));
        child<QPushButton>(&window, "cmdExportWorkbook")->click();
        const test::Workbook book = test::readWorkbook(fromQt(chosen));
        QCOMPARE(book.problem, std::string());
        QCOMPARE(book.names, (std::vector<std::string>{"Report", "Types", "Measures", "Pairs",
                                                       "Matrix", "Quality", "Run record"}));
        QCOMPARE(book.sheets.at("Pairs").rows.size(), pairs.size());

        chosen = out.filePath(QStringLiteral("record.txt"));
        QVERIFY(panel->saveRunRecord());
        const Result<RunRecord> record = parseRecord(fileBytes(chosen));
        QVERIFY(record.ok());
        QVERIFY(verifyRun(record.value(), recordOf(run, "now")).unchanged());

        panel->copyReport();
        QCOMPARE(QApplication::clipboard()->text(), shownText(form.txtReport.text()));

        chosen.clear();  // the user cancels
        QVERIFY(!panel->saveReport());
        chosen = out.filePath(QStringLiteral("no such folder/report.txt"));
        QVERIFY(!panel->saveReport());
        chosen = out.filePath(QStringLiteral("no such folder/run.xlsx"));
        QVERIFY(!panel->exportWorkbook());
        QCOMPARE(problems.size(), 2);
        QVERIFY(problems[0].startsWith(QStringLiteral("Could not save \"")));
        QCOMPARE(problems[1],
                 QStringLiteral("Could not save \"%1\": No such file or directory.").arg(chosen));
        // Saves go through the core's file writer, which replaces only a regular file.
        chosen = out.filePath(QStringLiteral("pipe.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(chosen).constData(), 0600), 0);
        QVERIFY(!panel->saveReport());
        QVERIFY(!panel->exportWorkbook());
        QCOMPARE(problems.size(), 4);
        for (const int k : {2, 3}) {
            QCOMPARE(problems[k],
                     QStringLiteral("Could not save \"%1\": it is a named pipe (FIFO), "
                                    "not a regular file.")
                         .arg(chosen));
        }
        struct stat pipe {};
        QVERIFY(::lstat(QFile::encodeName(chosen).constData(), &pipe) == 0 &&
                S_ISFIFO(pipe.st_mode));
        // Each export its file, and no temporary file left beside them.
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 7);

        child<QPushButton>(&window, "cmdRefresh")->click();
        QVERIFY(!child<QPushButton>(&window, "cmdExportWorkbook")->isEnabled());
        QVERIFY(!details->isEnabled());
        QCOMPARE(panel->qualityLine(), QString());
        QVERIFY(!detailsWindow->isVisible());
        QVERIFY(!matrixWindow->isVisible());
    }

    // A workbook export stopped at its first sheet, at the Pairs sheet or once every sheet is
    // written leaves no file: neither a new one nor a change to the one it was to replace.
    void cancelledWorkbookLeavesNoFile_data() {
        QTest::addColumn<int>("at");
        QTest::newRow("start") << 1;
        QTest::newRow("middle") << 4;
        QTest::newRow("end") << 8;
    }
    void cancelledWorkbookLeavesNoFile() {
        QFETCH(int, at);
        EvidencePanel panel;
        panel.showRun(std::make_shared<const RunResult>(
            test::runOf({{"a.txt", "01200"}, {"b.txt", "12011"}, {"c.txt", "01200"}})));
        QTemporaryDir out;
        const QString old = out.filePath(QStringLiteral("old.xlsx"));
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
        file.close();
        QString chosen;
        panel.choosePath = [&](const QString&, const QString&, const QString&) { return chosen; };
        QStringList problems;
        panel.reportProblem = [&](const QString& text) { problems.append(text); };
        std::vector<std::string> steps;
        panel.exportRunner()->onStep = [&steps, at](const JobProgress& p, JobControl& control) {
            steps.push_back(p.step);
            if (p.done == at) {
                control.cancel();
            }
        };
        for (const QString& path : {old, out.filePath(QStringLiteral("new.xlsx"))}) {
            chosen = path;
            steps.clear();
            QVERIFY(!panel.exportWorkbook());
            QCOMPARE(steps.size(), static_cast<std::size_t>(at));
            QVERIFY(!panel.exportRunner()->running());
            QVERIFY(!child<QProgressDialog>(&panel, "exportProgress")->isVisible());
        }
        QVERIFY(problems.isEmpty());  // a cancel is no problem to report
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("old.xlsx")});
        QCOMPARE(fileBytes(old), std::string("old"));

        panel.exportRunner()->onStep = {};
        QVERIFY(panel.exportWorkbook());
        QCOMPARE(test::readWorkbook(fromQt(chosen)).names.size(), 7u);
    }

    // A failed export reaches the user in a message box over the window, naming the file.
    void aFailedExportIsShownInAMessage() {
        EvidencePanel panel;
        panel.showRun(std::make_shared<const RunResult>(test::runOf({{"a.txt", "01200"}})));
        panel.show();
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("no such folder/run.xlsx"));
        panel.choosePath = [&](const QString&, const QString&, const QString&) { return path; };
        QStringList shown;
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown.append(box->text());
                box->accept();
            }
        });
        answer.start();
        QVERIFY(!panel.exportWorkbook());
        QVERIFY(!panel.exportMeasures());
        answer.stop();
        const QString message =
            QStringLiteral("Could not save \"%1\": No such file or directory.").arg(path);
        QCOMPARE(shown, (QStringList{message, message}));
    }

    // A name that starts with =, +, - or @ is no formula where the matrix and the pairs name it.
    void namesThatLookLikeFormulasAreExportedAsText() {
        auto run = std::make_shared<const RunResult>(
            test::runOf({{"=HYPERLINK(\"http://x\").txt", "01200"},
                         {"+1.txt", "12011"},
                         {"-2+3.txt", "01200"},
                         {"@SUM(A1).txt", "01211"},
                         {"plain.txt", "00000"}},
                        {/*pairs of strength 0 off the norm*/ true}));
        EvidencePanel panel;
        panel.showRun(run);
        QTemporaryDir out;
        QString chosen;
        panel.choosePath = [&](const QString&, const QString&, const QString&) { return chosen; };
        QStringList problems;
        panel.reportProblem = [&](const QString& text) { problems.append(text); };
        const std::vector<std::string> defused = {"'=HYPERLINK(\"http://x\").txt", "'+1.txt",
                                                  "'-2+3.txt", "'@SUM(A1).txt", "plain.txt"};

        chosen = out.filePath(QStringLiteral("matrix.csv"));
        QVERIFY(panel.exportMatrix());
        const std::vector<TableRow> matrix = spreadsheet(chosen, ',');
        QCOMPARE(matrix.size(), 6u);
        for (std::size_t r = 0; r < defused.size(); ++r) {
            QCOMPARE(matrix[0][r + 1], defused[r]);
            QCOMPARE(matrix[r + 1][0], defused[r]);
        }
        QCOMPARE(matrix[1][3], std::string("5"));

        chosen = out.filePath(QStringLiteral("pairs.csv"));
        QVERIFY(panel.exportPairs());
        const std::vector<TableRow> pairs = spreadsheet(chosen, ',');
        QCOMPARE(pairs.size(), 11u);
        QVERIFY(pairs[1] == (TableRow{defused[0], defused[1], "0", "yes", "yes"}));
        QVERIFY(pairs[10] == (TableRow{defused[3], defused[4], "1", "yes", "no"}));
        QVERIFY(problems.isEmpty());
    }
};

}  // namespace pelmora

QTEST_MAIN(pelmora::EvidenceWindowsTest)
#include "evidence_windows_test.moc"
