// The evidence windows and exports after a run pressed in the main window.

#include <sys/stat.h>

#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "formats/csv.h"
#include "forms/program_context.h"
#include "gui_test_support.h"
#include "record/run_record.h"
#include "tests/support/run_builder.h"
#include "tests/support/workbook_reader.h"
#include "ui/details_window.h"
#include "ui/evidence_panel.h"
#include "ui/job_runner.h"
#include "ui/main_window.h"
#include "ui/matrix_model.h"
#include "ui/matrix_window.h"
#include "ui/sensitivity_view.h"
#include "ui/table_rows.h"
#include "ui/text_bridge.h"
#include "ui/texts_model.h"

namespace pelmora {
namespace {

using namespace Qt::StringLiterals;
using testing::child;
using testing::evidenceOf;

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

// The hand-worked texts run in the main window.
struct HandRun {
    QTemporaryDir folder;
    bool written = folder.isValid() && testing::writeHandFolder(folder.path());
    ProgramContext context{pathFromQt(folder.path())};
    MainWindow window{context};
    EvidencePanel* panel = nullptr;

    bool start() {
        window.show();
        panel = child<EvidencePanel>(&window, "EvidencePanel");
        return written;
    }
    // Started and run, with the save dialog answered by `chosen`.
    bool ran(const QString& chosen) {
        if (!start()) {
            return false;
        }
        child<QPushButton>(&window, "cmdAuto")->click();
        panel->choosePath = [chosen](const QString&, const QString&, const QString&) {
            return chosen;
        };
        return window.run() != nullptr;
    }
};

// A table's rows, each written "cell|cell|...".
QStringList joinedRows(const std::vector<TableRow>& rows) {
    QStringList out;
    for (const TableRow& row : rows) {
        QStringList cells;
        for (const std::string& cell : row) {
            cells.append(toQt(cell));
        }
        out.append(cells.join(u'|'));
    }
    return out;
}

// The pairs of the hand-worked texts: strength, minimal below 3, significant only the 5.
const QStringList kHandPairs = {
    QStringLiteral("text 1|text 2|strength|minimal|significant"),
    QStringLiteral("a_high_above.txt|f_def_at.txt|4|no|no"),
    QStringLiteral("a_high_above.txt|o_at.txt|4|no|no"),
    QStringLiteral("a_high_above.txt|o_strong_above.txt|3|no|no"),
    QStringLiteral("a_high_above.txt|r_tie_formal.txt|2|yes|no"),
    QStringLiteral("f_def_at.txt|o_at.txt|5|no|yes"),
    QStringLiteral("f_def_at.txt|o_strong_above.txt|4|no|no"),
    QStringLiteral("f_def_at.txt|r_tie_formal.txt|3|no|no"),
    QStringLiteral("o_at.txt|o_strong_above.txt|4|no|no"),
    QStringLiteral("o_at.txt|r_tie_formal.txt|3|no|no"),
    QStringLiteral("o_strong_above.txt|r_tie_formal.txt|2|yes|no"),
};

}  // namespace

class EvidenceWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void runOpensDetailsAndTheMatrixOnItsTexts() {
        HandRun r;
        QVERIFY(r.start());
        auto* details = child<QPushButton>(&r.window, "cmdDetails");
        QVERIFY(!details->isEnabled());
        QCOMPARE(r.panel->qualityLine(), QString());

        child<QPushButton>(&r.window, "cmdAuto")->click();
        QVERIFY(details->isEnabled());
        // Every text but o_at.txt (200 words) is short of 200 words.
        QCOMPARE(r.panel->qualityLine(), QStringLiteral("4 warnings: see Details"));

        details->click();
        DetailsWindow* detailsWindow = r.panel->detailsWindow();
        QVERIFY(detailsWindow != nullptr && detailsWindow->isVisible());
        QCOMPARE(detailsWindow->windowTitle(), QStringLiteral("Pelmora: Details"));
        QTableView* list = child<QTableView>(detailsWindow, "lstDetailsTexts");
        const QAbstractItemModel& rows = *list->model();
        QCOMPARE(rows.rowCount(), 5);
        QCOMPARE(rows.columnCount(), 5);
        QVERIFY(evidenceOf(detailsWindow)
                    .startsWith(QStringLiteral("Text: a_high_above.txt\nCode: 01202")));
        for (int i = 0; i < rows.rowCount(); ++i) {
            const auto cell = [&](int column) { return rows.index(i, column).data().toString(); };
            const auto& [name, code] = testing::kHandTexts[i];
            QCOMPARE(cell(0), QString::fromLatin1(name));
            QCOMPARE(cell(1), QString::fromLatin1(code));
            // Each but r_tie_formal.txt has a density within 0.002 of a threshold: at it
            // (f_def_at, o_at) or 0.0005 and 0.0003 above it (a_high_above, o_strong_above).
            QCOMPARE(cell(2).contains(QStringLiteral("near threshold")), i != 4);
            // No column is cut off: each is as wide as what it shows.
            for (int column = 0; column < 4; ++column) {
                QVERIFY2(list->columnWidth(column) >=
                             list->fontMetrics().horizontalAdvance(cell(column)),
                         qPrintable(cell(column)));
            }
        }
        list->selectRow(2);
        // Until its own evidence is written, none of the text before shows under it.
        QVERIFY(detailsWindow->composing());
        QCOMPARE(detailsWindow->evidence()->toPlainText(), QString());
        QVERIFY(
            evidenceOf(detailsWindow).startsWith(QStringLiteral("Text: o_at.txt\nCode: 01200")));
        QVERIFY(evidenceOf(detailsWindow).contains(QStringLiteral("\nPairs:\n")));
        QCOMPARE(detailsWindow->quality()->model()->rowCount(), 5);

        child<QPushButton>(&r.window, "cmdMatrix")->click();
        MatrixWindow* matrixWindow = r.panel->matrixWindow();
        QVERIFY(matrixWindow != nullptr && matrixWindow->isVisible());
        QCOMPARE(matrixWindow->windowTitle(), QStringLiteral("Pelmora: Matrix"));
        QCOMPARE(matrixWindow->model()->rowCount(), 5);

        child<QPushButton>(&r.window, "cmdRefresh")->click();
        QVERIFY(!child<QPushButton>(&r.window, "cmdExportWorkbook")->isEnabled());
        QVERIFY(!details->isEnabled());
        QCOMPARE(r.panel->qualityLine(), QString());
        QVERIFY(!detailsWindow->isVisible());
        QVERIFY(!matrixWindow->isVisible());
    }

    // The hand-worked texts sorted by each column and filtered: codes 01202 01200 01200 01220
    // 20200; all but o_at.txt (200 words) are short of 200 words, all but r_tie_formal.txt
    // have a digit near a threshold. The quality table sorts its figures as numbers.
    void detailsListAndQualityTableSortAndFilter() {
        HandRun r;
        QVERIFY(r.ran(QString()));
        r.panel->openDetails();
        DetailsWindow* details = r.panel->detailsWindow();
        QTableView* list = child<QTableView>(details, "lstDetailsTexts");
        const auto column = [](QTableView* table, int c) {
            QStringList shown;
            for (int row = 0; row < table->model()->rowCount(); ++row) {
                shown.append(table->model()->index(row, c).data().toString());
            }
            return shown.join(u' ');
        };
        const auto names = [&] { return column(list, TextsModel::NameColumn); };
        QCOMPARE(names(),
                 u"a_high_above.txt f_def_at.txt o_at.txt o_strong_above.txt "
                 u"r_tie_formal.txt"_s);
        list->sortByColumn(TextsModel::NameColumn, Qt::DescendingOrder);
        QCOMPARE(names(),
                 u"r_tie_formal.txt o_strong_above.txt o_at.txt f_def_at.txt "
                 u"a_high_above.txt"_s);
        list->sortByColumn(TextsModel::CodeColumn, Qt::AscendingOrder);
        QCOMPARE(column(list, TextsModel::CodeColumn), u"01200 01200 01202 01220 20200"_s);
        list->sortByColumn(TextsModel::WarningsColumn, Qt::AscendingOrder);
        QCOMPARE(column(list, TextsModel::WarningsColumn), u"0 1 1 1 1"_s);
        QVERIFY(names().startsWith(u"o_at.txt "_s));
        list->sortByColumn(TextsModel::MarksColumn, Qt::DescendingOrder);
        QVERIFY(names().endsWith(u" r_tie_formal.txt"_s));
        list->sortByColumn(TextsModel::NameColumn, Qt::AscendingOrder);

        auto* name = child<QLineEdit>(details, "txtDetailsFilter");
        auto* show = child<QComboBox>(details, "cboDetailsShow");  // every, near, warned, unstable
        name->setText(u"O_"_s);
        QCOMPARE(names(), u"o_at.txt o_strong_above.txt"_s);
        show->setCurrentIndex(2);
        QCOMPARE(names(), u"o_strong_above.txt"_s);
        name->clear();
        QCOMPARE(names(), u"a_high_above.txt f_def_at.txt o_strong_above.txt r_tie_formal.txt"_s);
        show->setCurrentIndex(1);
        QCOMPARE(names(), u"a_high_above.txt f_def_at.txt o_at.txt o_strong_above.txt"_s);
        show->setCurrentIndex(3);  // nothing measured, nothing unstable
        QCOMPARE(names(), QString());
        show->setCurrentIndex(0);
        name->setText(u"tie"_s);
        list->setCurrentIndex(list->model()->index(0, 0));
        QVERIFY(evidenceOf(details).startsWith(u"Text: r_tie_formal.txt\n"_s));

        QTableView* quality = child<QTableView>(details, "tblQuality");
        quality->sortByColumn(3, Qt::DescendingOrder);  // words
        QCOMPARE(column(quality, 3), u"200 100 100 99 99"_s);
        child<QLineEdit>(details, "txtQualityFilter")->setText(u"UNRELIABLE"_s);
        QCOMPARE(column(quality, 0),
                 u"f_def_at.txt r_tie_formal.txt a_high_above.txt o_strong_above.txt"_s);
    }

    // The moves of every threshold by 5% and 10% down and up, worked out by hand: down, the
    // two texts right at a threshold (f_def_at.txt, o_at.txt) change and six strengths with
    // them, o_at.txt against r_tie_formal.txt becoming minimal; up, the two just above one
    // (a_high_above.txt, o_strong_above.txt) change in a digit that no other text has, before
    // or after, so that no strength changes.
    // A table as long as a large run's fits the longest cell wherever it stands, also past
    // the rows a view measures itself.
    void tablesFitTheirLongestCellAnywhere() {
        QWidget parent;
        QTableView* table = rowsTable(&parent, "tblLong");
        std::vector<TableRow> rows = {{"file", "warning"}};
        for (int k = 0; k < 3000; ++k) {
            rows.push_back({"t" + std::to_string(k) + ".txt", "short"});
        }
        const std::string longest = "a name far longer than any other in the folder.txt";
        rows.push_back({longest, "fewer than 200 words, so its densities are unreliable"});
        showRows(table, rows);
        QCOMPARE(table->model()->rowCount(), 3001);
        QVERIFY(table->columnWidth(0) >= table->fontMetrics().horizontalAdvance(toQt(longest)));
        QVERIFY(table->columnWidth(0) < 2 * table->fontMetrics().horizontalAdvance(toQt(longest)));
        QVERIFY(table->columnWidth(1) >=
                table->fontMetrics().horizontalAdvance(toQt(rows.back()[1])));
    }

    void sensitivityTabShowsTheMovesOfEveryThreshold() {
        HandRun r;
        QVERIFY(r.start());
        child<QPushButton>(&r.window, "cmdAuto")->click();
        child<QPushButton>(&r.window, "cmdDetails")->click();
        DetailsWindow* details = r.panel->detailsWindow();
        const QAbstractItemModel* table = child<QTableView>(details, "tblSensitivity")->model();
        QCOMPARE(table->rowCount(), 0);  // not worked out until it is looked at
        child<QTabWidget>(details, "runTabs")->setCurrentWidget(details->sensitivity());
        const QStringList expected = {
            QStringLiteral("-10%|2 of 5|6 of 10|1|0"),
            QStringLiteral("-5%|2 of 5|6 of 10|1|0"),
            QStringLiteral("+5%|2 of 5|0 of 10|0|0"),
            QStringLiteral("+10%|2 of 5|0 of 10|0|0"),
        };
        QTRY_COMPARE(table->rowCount(), 4);
        QStringList shown;
        for (int row = 0; row < table->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->columnCount(); ++column) {
                cells.append(table->index(row, column).data().toString());
            }
            shown.append(cells.join(u'|'));
        }
        QCOMPARE(shown, expected);
    }

    // Each spreadsheet export by its button, read back as a spreadsheet program would.
    void exportsWriteTheRunsTables_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("rows");
        const QStringList matrix = {
            QStringLiteral("|a_high_above.txt|f_def_at.txt|o_at.txt|o_strong_above.txt|"
                           "r_tie_formal.txt"),
            QStringLiteral("a_high_above.txt||4|4|3|2"),
            QStringLiteral("f_def_at.txt|4||5|4|3"),
            QStringLiteral("o_at.txt|4|5||4|3"),
            QStringLiteral("o_strong_above.txt|3|4|4||2"),
            QStringLiteral("r_tie_formal.txt|2|3|3|2|"),
        };
        QTest::newRow("matrix, CSV") << u"cmdExportMatrix"_s << u"matrix.csv"_s << matrix;
        QTest::newRow("matrix, TSV") << u"cmdExportMatrix"_s << u"matrix.tsv"_s << matrix;
        QTest::newRow("pairs, CSV") << u"cmdExportPairs"_s << u"pairs.csv"_s << kHandPairs;
        QTest::newRow("pairs, TSV") << u"cmdExportPairs"_s << u"pairs.tsv"_s << kHandPairs;
        // The name, the code as text for a spreadsheet and the words of each text; the other
        // columns are the core's measures.
        const QStringList measures = {
            QStringLiteral("name|code|text length"),
            QStringLiteral("a_high_above.txt|=\"01202\"|99"),
            QStringLiteral("f_def_at.txt|=\"01200\"|100"),
            QStringLiteral("o_at.txt|=\"01200\"|200"),
            QStringLiteral("o_strong_above.txt|=\"01220\"|99"),
            QStringLiteral("r_tie_formal.txt|=\"20200\"|100"),
        };
        QTest::newRow("measures, CSV") << u"cmdExportMeasures"_s << u"measures.csv"_s << measures;
        QTest::newRow("measures, TSV") << u"cmdExportMeasures"_s << u"measures.tsv"_s << measures;
    }

    void exportsWriteTheRunsTables() {
        QFETCH(QString, button);
        QFETCH(QString, file);
        QFETCH(QStringList, rows);
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const QString chosen = out.filePath(file);
        HandRun r;
        QVERIFY(r.ran(chosen));
        child<QPushButton>(&r.window, button.toLatin1().constData())->click();
        std::vector<TableRow> table = spreadsheet(chosen, file.endsWith(u".tsv") ? '\t' : ',');
        QVERIFY(!table.empty());
        if (button == u"cmdExportMeasures") {
            // A column name that a spreadsheet would read as a formula is quoted.
            QVERIFY(std::find(table[0].begin(), table[0].end(), "'-ed forms") != table[0].end());
            const auto words = std::find(table[0].begin(), table[0].end(), "text length");
            QVERIFY(words != table[0].end());
            const auto column = static_cast<std::size_t>(words - table[0].begin());
            for (TableRow& row : table) {
                row = {row[0], row[1], row.at(column)};
            }
        }
        QCOMPARE(joinedRows(table), rows);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // The report, the workbook, the record and the clipboard.
    void reportWorkbookAndRecordHoldTheRun() {
        HandRun r;
        QVERIFY(r.start());
        child<QPushButton>(&r.window, "cmdAuto")->click();
        QTemporaryDir out;
        QVERIFY(out.isValid());
        QString chosen, suggested;
        r.panel->choosePath = [&](const QString&, const QString& name, const QString&) {
            suggested = name;
            return chosen;
        };
        // Each file is offered under the folder's name and the run's date.
        const QString today = QDateTime::currentDateTimeUtc().toString(u"yyyy-MM-dd"_s);
        const QString stem = QFileInfo(r.folder.path()).fileName() + u'-' + today + u'-';

        chosen = out.filePath(QStringLiteral("report, final.txt"));
        QVERIFY(r.panel->saveReport());
        QCOMPARE(fileBytes(chosen), std::string(testing::kHandReport));
        QCOMPARE(suggested, stem + u"report.txt"_s);

        chosen = out.filePath(QStringLiteral("run.xlsx"));
        child<QPushButton>(&r.window, "cmdExportWorkbook")->click();
        QCOMPARE(suggested, stem + u"workbook.xlsx"_s);
        const test::Workbook book = test::readWorkbook(fromQt(chosen));
        QCOMPARE(book.problem, std::string());
        QCOMPARE(book.names,
                 (std::vector<std::string>{"Summary", "Report", "Types", "Measures", "Pairs",
                                           "Matrix", "Quality", "Run record"}));
        QCOMPARE(book.sheets.at("Summary").texts(0),
                 (std::vector<std::string>{"folder", fromQt(r.folder.path())}));
        const test::WorkbookSheet& pairs = book.sheets.at("Pairs");
        std::vector<TableRow> pairRows;
        for (std::size_t row = 0; row < pairs.rows.size(); ++row) {
            pairRows.push_back(pairs.texts(row));
        }
        QCOMPARE(joinedRows(pairRows), kHandPairs);

        // Each file by its name, size, encoding and code, with the SHA-256 of its bytes.
        chosen = out.filePath(QStringLiteral("record.txt"));
        QVERIFY(r.panel->saveRunRecord());
        const Result<RunRecord> record = parseRecord(fileBytes(chosen));
        QVERIFY(record.ok());
        const std::uint64_t sizes[] = {460, 468, 940, 465, 530};
        QCOMPARE(record.value().files.size(), 5u);
        for (std::size_t i = 0; i < 5; ++i) {
            const RecordedFile& f = record.value().files[i];
            QCOMPARE(f.nameBytes, std::string(testing::kHandTexts[i].first));
            QCOMPARE(f.byteSize, sizes[i]);
            QCOMPARE(f.encoding, std::string("ASCII"));
            QCOMPARE(f.code, std::string(testing::kHandTexts[i].second));
            QFile text(r.folder.filePath(QString::fromLatin1(testing::kHandTexts[i].first)));
            QVERIFY(text.open(QIODevice::ReadOnly));
            QCOMPARE(f.sha256, QCryptographicHash::hash(text.readAll(), QCryptographicHash::Sha256)
                                   .toHex()
                                   .toStdString());
        }

        r.panel->copyReport();
        QCOMPARE(QApplication::clipboard()->text(),
                 QString::fromLatin1(testing::kHandReport).remove(u'\r'));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    // Where a save cannot go: nothing written, no temporary file left, and a message saying
    // why (none when the user cancelled).
    void failedSavesSayWhyAndLeaveNothing_data() {
        QTest::addColumn<QString>("place");    // relative to an empty folder; empty: cancelled
        QTest::addColumn<bool>("pipe");        // a named pipe stands there
        QTest::addColumn<QString>("problem");  // after "Could not save "PATH": "
        QTest::newRow("cancelled") << QString() << false << QString();
        QTest::newRow("no such folder")
            << u"no such folder/out"_s << false << u"No such file or directory."_s;
        QTest::newRow("a named pipe")
            << u"pipe"_s << true << u"it is a named pipe (FIFO), not a regular file."_s;
    }

    void failedSavesSayWhyAndLeaveNothing() {
        QFETCH(QString, place);
        QFETCH(bool, pipe);
        QFETCH(QString, problem);
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const QString chosen = place.isEmpty() ? QString() : out.filePath(place);
        if (pipe) {
            QCOMPARE(::mkfifo(QFile::encodeName(chosen).constData(), 0600), 0);
        }
        HandRun r;
        QVERIFY(r.ran(chosen));
        QStringList problems;
        r.panel->reportProblem = [&](const QString& text) { problems.append(text); };
        QVERIFY(!r.panel->saveReport());
        QVERIFY(!r.panel->exportWorkbook());
        const QString expected = QStringLiteral("Could not save \"%1\": %2").arg(chosen, problem);
        QCOMPARE(problems, problem.isEmpty() ? QStringList() : QStringList({expected, expected}));
        if (pipe) {
            struct stat shown {};
            QVERIFY(::lstat(QFile::encodeName(chosen).constData(), &shown) == 0 &&
                    S_ISFIFO(shown.st_mode));
        }
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
                 pipe ? 1 : 0);
    }

    // A workbook export stopped at its first sheet, at the Pairs sheet or once every sheet is
    // written leaves no file: neither a new one nor a change to the one it was to replace.
    void cancelledWorkbookLeavesNoFile_data() {
        QTest::addColumn<int>("at");
        QTest::newRow("start") << 1;
        QTest::newRow("middle") << 5;
        QTest::newRow("end") << 9;
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
        QCOMPARE(test::readWorkbook(fromQt(chosen)).names.size(), 8u);
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
