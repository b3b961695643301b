// "Import documents…" in the main form: the dialog, the import as a job with a summary at its
// end, the folder view on the destination, and a cancelled import.

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>

#include "forms/program_context.h"
#include "gui_test_support.h"
#include "ui/import_panel.h"
#include "ui/job_runner.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using testing::child;

const fs::path kImportData = fs::path(PELMORA_SOURCE_DIR) / "tests/data/import";

ImportRequest requestOf(const std::vector<fs::path>& sources, const QString& destination) {
    ImportRequest request;
    request.sources = sources;
    request.destination = pathFromQt(destination);
    return request;
}

}  // namespace

class ImportPanelTest : public QObject {
    Q_OBJECT

private slots:
    void importShowsItsSummaryAndOpensTheDestination();
    void cancelledAtTheFirstSourceWritesNoTextAndSaysSo();
    void manySourcesLeftOutAreListedInTheDetailsAndTheBoxFitsTheScreen();
    void dialogImportsOnlyWithSourcesAndADestination();
};

void ImportPanelTest::importShowsItsSummaryAndOpensTheDestination() {
    ProgramContext context;
    MainWindow window(context);
    QTemporaryDir destination;
    ImportPanel* panel = window.importPanel();
    const fs::path scanned = kImportData / "scanned.pdf";
    panel->chooseImport = [&] {
        return std::optional(
            requestOf({kImportData / "page.html", scanned, kImportData / "reply-utf8.eml"},
                      destination.path()));
    };
    QTest::mouseClick(child<QPushButton>(&window, "cmdImportDocuments"), Qt::LeftButton);
    QCOMPARE(panel->runner()->wait(), JobRunner::End::Done);
    QMessageBox* box = panel->messageBox();
    QVERIFY(box != nullptr);
    QCOMPARE(box->objectName(), QStringLiteral("importSummary"));
    QCOMPARE(box->text(),
             QStringLiteral("2 texts written.\n\n1 source left out:\n") + pathToQt(scanned) +
                 QStringLiteral(": the PDF has no text layer (its pages are images): it needs OCR"
                                "\n\nRemoved: quoted original (3 lines); signature (3 lines); "
                                "quoted lines (2 lines)."));
    const fs::path out = pathFromQt(destination.path());
    for (const char* name :
         {"page.html.txt", "reply-utf8.eml.txt", "import-log.csv", "import-metadata.csv"}) {
        QVERIFY2(fs::exists(out / name), name);
    }
    // The folder view follows to the destination, whose texts the list then shows.
    auto* list = child<QListWidget>(&window, "File1");
    QTRY_COMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("page.html.txt"));
    box->close();
}

void ImportPanelTest::cancelledAtTheFirstSourceWritesNoTextAndSaysSo() {
    ImportPanel panel;
    QTemporaryDir destination;
    panel.chooseImport = [&] {
        return std::optional(requestOf({kImportData / "page.html"}, destination.path()));
    };
    panel.runner()->onStep = [](const JobProgress&, JobControl& control) { control.cancel(); };
    QVERIFY(panel.importDocuments());
    QCOMPARE(panel.runner()->wait(), JobRunner::End::Done);
    QVERIFY(panel.messageBox() != nullptr);
    QCOMPARE(panel.messageBox()->text(),
             QStringLiteral("0 texts written. The import was cancelled: the sources left were not "
                            "read."));
    QVERIFY(!fs::exists(pathFromQt(destination.path()) / "page.html.txt"));
    panel.messageBox()->close();
}

// Twelve scans without text: the box names ten and counts two more, its details name all
// twelve, and it stays within the screen.
void ImportPanelTest::manySourcesLeftOutAreListedInTheDetailsAndTheBoxFitsTheScreen() {
    ImportPanel panel;
    QTemporaryDir sources;
    QTemporaryDir destination;
    std::vector<fs::path> scans;
    for (int i = 1; i <= 12; ++i) {
        scans.push_back(pathFromQt(sources.path()) / ("scan" + std::to_string(i) + ".pdf"));
        fs::copy_file(kImportData / "scanned.pdf", scans.back());
    }
    panel.chooseImport = [&] { return std::optional(requestOf(scans, destination.path())); };
    QVERIFY(panel.importDocuments());
    QCOMPARE(panel.runner()->wait(), JobRunner::End::Done);
    QMessageBox* box = panel.messageBox();
    QVERIFY(box != nullptr);
    const QStringList lines = box->text().split(u'\n');
    QCOMPARE(lines.size(), 2 + 1 + 10 + 1);  // written, a blank line, the heading, ten, the rest
    QVERIFY(lines[3].startsWith(pathToQt(scans[0]) + QStringLiteral(": ")));
    QCOMPARE(lines.last(), QStringLiteral("… and 2 more, each named with its reason in the "
                                          "details and in import-log.csv."));
    const QStringList details = box->detailedText().split(u'\n');
    QCOMPARE(details.size(), 12);
    QVERIFY(details[11].startsWith(pathToQt(scans[11]) + QStringLiteral(": ")));
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QVERIFY(box->screen()->availableGeometry().contains(box->frameGeometry()));
    box->close();
}

void ImportPanelTest::dialogImportsOnlyWithSourcesAndADestination() {
    QWidget owner;
    const QString page = pathToQt(kImportData / "page.html");
    bool checked = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog != nullptr);
        auto* import = child<QPushButton>(dialog, "cmdImport");
        QVERIFY(!import->isEnabled());
        child<QListWidget>(dialog, "lstImportSources")->addItem(page);
        QVERIFY(!import->isEnabled());
        child<QLineEdit>(dialog, "txtImportDestination")->setText(QStringLiteral("/tmp/texts"));
        QVERIFY(import->isEnabled());
        child<QCheckBox>(dialog, "chkKeepQuotes")->setChecked(true);
        checked = true;
        import->click();
    });
    const std::optional<ImportRequest> request = askForImport(&owner);
    QVERIFY(checked);
    QVERIFY(request.has_value());
    QCOMPARE(request->sources, std::vector<fs::path>{pathFromQt(page)});
    QCOMPARE(request->destination, fs::path("/tmp/texts"));
    QVERIFY(request->options.keepEverything);
}

}  // namespace pelmora

QTEST_MAIN(pelmora::ImportPanelTest)
#include "import_panel_test.moc"
