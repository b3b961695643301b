// The evidence windows and exports after a run pressed in the main window.

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "evidence/csv.h"
#include "evidence/digit_evidence.h"
#include "evidence/input_quality.h"
#include "evidence/measures_table.h"
#include "evidence/pair_matrix.h"
#include "evidence/run_record.h"
#include "gui_test_support.h"
#include "ui/details_window.h"
#include "ui/export_actions.h"
#include "ui/main_window.h"
#include "ui/matrix_image.h"
#include "ui/matrix_model.h"
#include "ui/matrix_window.h"
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
        QVERIFY(detailsWindow->evidence()->toPlainText().contains(
            QStringLiteral("\nStability: not computed\n")));
        int near = 0;
        for (int i = 0; i < rows.rowCount(); ++i) {
            const TextRecord& t = texts[static_cast<std::size_t>(i)];
            const auto cell = [&](int column) { return rows.index(i, column).data().toString(); };
            QCOMPARE(cell(0), toQt(t.name));
            QCOMPARE(cell(1), toQt(t.code));
            const bool nearThreshold = explainText(t, run.rules).nearCount() > 0;
            near += nearThreshold ? 1 : 0;
            QCOMPARE(cell(2).contains(QStringLiteral("near threshold")), nearThreshold);
            QCOMPARE(cell(3), QStringLiteral("not computed"));
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
        matrixWindow->reportProblem = panel->reportProblem;
        matrixWindow->choosePngPath = [&] { return chosen; };

        chosen = out.filePath(QStringLiteral("matrix.png"));
        QVERIFY(matrixWindow->savePng());
        QCOMPARE(QImage(chosen).size(), matrixPictureLayout(run).size);

        chosen = out.filePath(QStringLiteral("report, final.txt"));
        QVERIFY(panel->saveReport());
        QCOMPARE(fileBytes(chosen), form.txtReport.text());

        chosen = out.filePath(QStringLiteral("measures.csv"));
        QVERIFY(panel->exportMeasures());
        QVERIFY(spreadsheet(chosen, ',') == measuresTable(run, ColumnNames::Readable));
        chosen = out.filePath(QStringLiteral("measures.tsv"));
        QVERIFY(panel->exportMeasures());
        QVERIFY(spreadsheet(chosen, '\t') == measuresTable(run, ColumnNames::Readable));

        chosen = out.filePath(QStringLiteral("matrix.csv"));
        QVERIFY(panel->exportMatrix());
        QVERIFY(spreadsheet(chosen, ',') == matrixTable(run));

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
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems[0].startsWith(QStringLiteral("Could not save \"")));
        QVERIFY(out.path().size() > 0 && QDir(out.path()).entryList(QDir::Files).size() == 6);

        child<QPushButton>(&window, "cmdRefresh")->click();
        QVERIFY(!details->isEnabled());
        QCOMPARE(panel->qualityLine(), QString());
        QVERIFY(!detailsWindow->isVisible());
        QVERIFY(!matrixWindow->isVisible());
    }
};

}  // namespace pelmora

QTEST_MAIN(pelmora::EvidenceWindowsTest)
#include "evidence_windows_test.moc"
