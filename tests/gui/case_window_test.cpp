// The case from the main form: roles given with the keys, the menu and the metadata table, the
// Case window's tables on a hand-worked folder, metadata files read and written, and case files
// made, opened and saved.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "casefile/case_file.h"
#include "casefile/sqlite_db.h"
#include "forms/program_context.h"
#include "gui_test_support.h"
#include "ui/case_details_dialog.h"
#include "ui/case_panel.h"
#include "ui/case_window.h"
#include "ui/job_runner.h"
#include "ui/main_window.h"
#include "ui/metadata_model.h"

namespace pelmora {
namespace {

using testing::child;
using Names = std::vector<std::string>;
using Rows = std::vector<Names>;

void chooseFolder(MainWindow& window, const QString& folder) {
    auto* tree = child<QTreeView>(&window, "Dir1");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    QVERIFY(model != nullptr);
    tree->setCurrentIndex(model->index(folder));
}

// What the file list shows, role letters included.
Names shownList(QListWidget* list) {
    auto* delegate = dynamic_cast<RoleLetterDelegate*>(list->itemDelegate());
    Q_ASSERT(delegate != nullptr);
    Names shown;
    for (int row = 0; row < list->count(); ++row) {
        shown.push_back(delegate->shownText(list->model()->index(row, 0)).toStdString());
    }
    return shown;
}

// The cells of a table, row by row, in the given columns (every column when none are given).
Rows cells(QWidget* window, const char* table, QList<int> columns = {}) {
    const QAbstractItemModel* model = child<QTableView>(window, table)->model();
    if (columns.isEmpty()) {
        for (int c = 0; c < model->columnCount(); ++c) {
            columns.append(c);
        }
    }
    Rows rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        Names row;
        for (const int c : columns) {
            row.push_back(model->index(r, c).data().toString().toStdString());
        }
        rows.push_back(row);
    }
    return rows;
}

// The main window on a folder of the first `count` hand-worked texts.
struct HandFolderWindow {
    explicit HandFolderWindow(std::size_t count = std::size(testing::kHandTexts)) {
        if (!folder.isValid() || !testing::writeHandFolder(folder.path(), count)) {
            qFatal("cannot write the hand-worked texts");
        }
        window.show();
        chooseFolder(window, folder.path());
    }
    QTemporaryDir folder;
    ProgramContext context;
    MainWindow window{context};
};

CaseWindow* openCase(MainWindow& window) {
    QTest::mouseClick(child<QPushButton>(&window, "cmdCase"), Qt::LeftButton);
    CaseWindow* found = window.casePanel()->caseWindow();
    Q_ASSERT(found != nullptr && found->isVisible());
    static_cast<void>(found->runner()->wait());
    return found;
}

QString writeCsv(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("meta.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

// The log's action column and the chain's state, once the Case window has read the log again.
std::pair<Names, QString> shownLog(CaseWindow* caseWindow) {
    if (caseWindow->logRunner()->running()) {
        static_cast<void>(caseWindow->logRunner()->wait());
    }
    Names actions;
    for (const Names& row : cells(caseWindow, "tblAuditLog", {2})) {
        actions.push_back(row.front());
    }
    return {actions, child<QLabel>(caseWindow, "lblChainState")->text()};
}

}  // namespace

class CaseWindowTest : public QObject {
    Q_OBJECT

private slots:
    void rolesFromTheKeysGiveTheHandWorkedCaseTables();
    void metadataTableFiltersSortsAndEditsRoles();
    void importErrorsReachAMessageBoxNamingTheLine_data();
    void importErrorsReachAMessageBoxNamingTheLine();
    void importedMetadataIsExportedAsRead();
    void caseFileOpensOnItsFolderAndKeepsRolesAndRuns();
    void caseFileProblemsReachAMessageBox();
    void unmaskingShowsTheQuestionedCodesUntilTheLock();
    void caseDetailsAreEditedAndKept();
    void auditLogFollowsEachLoggedActionAndShowsABrokenChain();
};

// Codes as worked out by hand: Q o_strong_above 01220; K a_high_above 01202, f_def_at 01200,
// r_tie_formal 20200; R o_at 01200.
void CaseWindowTest::rolesFromTheKeysGiveTheHandWorkedCaseTables() {
    HandFolderWindow hand;
    MainWindow& window = hand.window;
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* list = child<QListWidget>(&window, "File1");
    QCOMPARE(list->count(), 5);

    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_K);  // both selected rows
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Q);
    QCOMPARE(shownList(list)[2], std::string("[Q] o_at.txt"));
    QTest::keyClick(list, Qt::Key_0);
    QCOMPARE(shownList(list)[2], std::string("o_at.txt"));
    QTest::keyClick(list, Qt::Key_R);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Q);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_K);
    const Names roles = {"[K] a_high_above.txt", "[K] f_def_at.txt", "[R] o_at.txt",
                         "[Q] o_strong_above.txt", "[K] r_tie_formal.txt"};
    QCOMPARE(shownList(list), roles);

    QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);
    QVERIFY(window.run() != nullptr);
    QCOMPARE(shownList(list), roles);  // the run keeps the roles of the folder's texts
    CaseWindow* caseWindow = openCase(window);
    QCOMPARE(caseWindow->windowTitle(), QStringLiteral("Pelmora: Case"));
    QCOMPARE(child<QLabel>(caseWindow, "lblCaseState")->text(),
             QStringLiteral("1 questioned, 3 known and 1 reference texts."));

    // Without the column of differing digits, whose near-threshold marks the rules decide.
    const Rows qk = {
        {"o_strong_above.txt", "a_high_above.txt", "3", "formality, personage, past tenseness",
         "no",
         "differs in obligation/intention: questioned Obligation/Intention - strong, known none; "
         "in affect: questioned none, known Highly Affective"},
        {"o_strong_above.txt", "f_def_at.txt", "4", "formality, personage, past tenseness, affect",
         "no",
         "differs in obligation/intention: questioned Obligation/Intention - strong, known none"},
        {"o_strong_above.txt", "r_tie_formal.txt", "2", "past tenseness, affect", "yes",
         "not comparable: 2 of 5 digits agree"},
    };
    QCOMPARE(cells(caseWindow, "tblQuestionedKnown", {0, 1, 2, 3, 5, 6}), qk);
    QCOMPARE(child<QLabel>(caseWindow, "lblShares")->text(),
             QStringLiteral("o_strong_above.txt and a_high_above.txt: 100% of reference texts "
                            "reach at least 3 with Q\n"
                            "o_strong_above.txt and f_def_at.txt: 100% of reference texts reach "
                            "at least 4 with Q\n"
                            "o_strong_above.txt and r_tie_formal.txt: 100% of reference texts "
                            "reach at least 2 with Q"));
    // a-f 4, a-r 2, f-r 3: r's mean 2.5 is minimal.
    QCOMPARE(cells(caseWindow, "tblKnownKnown"), (Rows{{"a_high_above.txt", "3", "no"},
                                                       {"f_def_at.txt", "3.5", "no"},
                                                       {"r_tie_formal.txt", "2.5", "yes"},
                                                       {"all known texts", "3", ""}}));
    // o_at reaches 4 with the questioned text.
    const Rows qr = {
        {"o_strong_above.txt", "0", "0", "100%"}, {"o_strong_above.txt", "1", "0", "100%"},
        {"o_strong_above.txt", "2", "0", "100%"}, {"o_strong_above.txt", "3", "0", "100%"},
        {"o_strong_above.txt", "4", "1", "100%"}, {"o_strong_above.txt", "5", "0", "0%"}};
    QCOMPARE(cells(caseWindow, "tblQuestionedReference"), qr);
    QCOMPARE(cells(caseWindow, "tblMatched"), (Rows{{"o_at.txt"}}));
    auto* tabs = child<QTabWidget>(caseWindow, "tabsCase");
    auto* qq = child<QTableView>(caseWindow, "tblQuestionedQuestioned");
    QVERIFY(!tabs->isTabVisible(tabs->indexOf(qq)));

    auto* level = child<QSpinBox>(caseWindow, "spnLevel");
    QCOMPARE(level->value(), 4);
    level->setValue(5);
    QCOMPARE(caseWindow->runner()->wait(), JobRunner::End::Done);
    QVERIFY(cells(caseWindow, "tblMatched").empty());

    // A second questioned text from the context menu: the two are compared, a-os 3.
    QTest::keyClick(list, Qt::Key_Home);
    QMenu* menu = window.casePanel()->roleMenu(list);
    child<QAction>(menu, "actRoleQ")->trigger();
    delete menu;
    QCOMPARE(shownList(list)[0], std::string("[Q] a_high_above.txt"));
    QCOMPARE(caseWindow->runner()->wait(), JobRunner::End::Done);
    QVERIFY(tabs->isTabVisible(tabs->indexOf(qq)));
    QCOMPARE(cells(caseWindow, "tblQuestionedQuestioned", {0, 1, 2, 3, 5}),
             (Rows{{"a_high_above.txt", "o_strong_above.txt", "3",
                    "formality, personage, past tenseness", "no"}}));
    // f-r 3 alone among the known texts.
    QCOMPARE(cells(caseWindow, "tblKnownKnown"), (Rows{{"f_def_at.txt", "3", "no"},
                                                       {"r_tie_formal.txt", "3", "no"},
                                                       {"all known texts", "3", ""}}));
}

void CaseWindowTest::metadataTableFiltersSortsAndEditsRoles() {
    HandFolderWindow hand;
    MainWindow& window = hand.window;
    auto* list = child<QListWidget>(&window, "File1");
    list->setFocus();
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_R);

    CaseWindow* caseWindow = openCase(window);
    QCOMPARE(child<QLabel>(caseWindow, "lblCaseState")->text(),
             QStringLiteral("No run yet: the tables follow \"Auto-check all files in folder\"."));
    auto* table = child<QTableView>(caseWindow, "tblMetadata");
    QCOMPARE(cells(caseWindow, "tblMetadata"), (Rows{{"a_high_above.txt", ""},
                                                     {"f_def_at.txt", "reference"},
                                                     {"o_at.txt", "reference"},
                                                     {"o_strong_above.txt", ""},
                                                     {"r_tie_formal.txt", ""}}));

    auto* filter = child<QComboBox>(caseWindow, "cboRoleFilter");
    filter->setCurrentIndex(filter->findText(QStringLiteral("No role")));
    table->sortByColumn(0, Qt::DescendingOrder);
    QCOMPARE(cells(caseWindow, "tblMetadata", {0}),
             (Rows{{"r_tie_formal.txt"}, {"o_strong_above.txt"}, {"a_high_above.txt"}}));

    // A role typed into the table, as a word or a letter; anything else is refused.
    QAbstractItemModel* model = table->model();
    QVERIFY(model->setData(model->index(0, 1), QStringLiteral("Questioned")));
    QVERIFY(!model->setData(model->index(0, 1), QStringLiteral("suspect")));
    QVERIFY(model->setData(model->index(0, 1), QStringLiteral("k")));
    QCOMPARE(cells(caseWindow, "tblMetadata", {0}), (Rows{{"a_high_above.txt"}}));
    filter->setCurrentIndex(filter->findText(QStringLiteral("Questioned")));
    QCOMPARE(cells(caseWindow, "tblMetadata"), (Rows{{"r_tie_formal.txt", "questioned"}}));
    QCOMPARE(shownList(list), (Names{"a_high_above.txt", "[R] f_def_at.txt", "[R] o_at.txt",
                                     "[K] o_strong_above.txt", "[Q] r_tie_formal.txt"}));
}

void CaseWindowTest::importErrorsReachAMessageBoxNamingTheLine_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QByteArray>("message");
    const QByteArray from = "Metadata not imported from \"meta.csv\", ";
    QTest::newRow("unknown role") << QByteArray("file,role\nf_def_at.txt,K\no_at.txt,suspect\n")
                                  << from + "line 3: unknown role \"suspect\"";
    QTest::newRow("listed twice") << QByteArray(
                                         "file,role\no_at.txt,R\nf_def_at.txt,K\no_at.txt,K\n")
                                  << from + "line 4: \"o_at.txt\" is listed already on line 2";
    QTest::newRow("not in the folder") << QByteArray("file\nf_def_at.txt\nz.txt\n")
                                       << from + "line 3: the folder holds no file \"z.txt\"";
    QTest::newRow("no file column") << QByteArray("name,role\nf_def_at.txt,K\n")
                                    << from + "line 1: the header row names no \"file\" column";
}

void CaseWindowTest::importErrorsReachAMessageBoxNamingTheLine() {
    QFETCH(QByteArray, csv);
    QFETCH(QByteArray, message);
    HandFolderWindow hand;
    QTemporaryDir elsewhere;
    CasePanel* panel = hand.window.casePanel();
    const QString path = writeCsv(elsewhere, csv);
    panel->chooseOpenPath = [&path](const QString&, const QString&) { return path; };

    QVERIFY(!panel->importMetadata());
    QMessageBox* box = panel->problemBox();
    QVERIFY(box != nullptr && box->isVisible());
    QVERIFY2(box->text().toUtf8().startsWith(message), qPrintable(box->text()));
    // Nothing was loaded.
    QVERIFY(panel->metadata()->metadata().rows.empty());
    box->close();
}

void CaseWindowTest::importedMetadataIsExportedAsRead() {
    HandFolderWindow hand(3);
    QTemporaryDir elsewhere;
    CasePanel* panel = hand.window.casePanel();
    const QString path = writeCsv(elsewhere,
                                  "\xEF\xBB\xBF"
                                  "genre,file,role\r\n"
                                  "letter,o_at.txt,questioned\r\n"
                                  "\"diary, private\",a_high_above.txt,\r\n");
    panel->chooseOpenPath = [&path](const QString&, const QString&) { return path; };
    QVERIFY(panel->importMetadata());
    QCOMPARE(shownList(child<QListWidget>(&hand.window, "File1")),
             (Names{"a_high_above.txt", "f_def_at.txt", "[Q] o_at.txt"}));

    const QString out = elsewhere.filePath(QStringLiteral("out.csv"));
    panel->choosePath = [&out](const QString&, const QString&, const QString&) { return out; };
    QVERIFY(panel->exportMetadata());
    QFile written(out);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("\xEF\xBB\xBF"
                                           "genre,file,role\r\n"
                                           "letter,o_at.txt,Q\r\n"
                                           "\"diary, private\",a_high_above.txt,\r\n"));
}

// Roles and run stored by CaseFile itself, read back by it after the window saved.
void CaseWindowTest::caseFileOpensOnItsFolderAndKeepsRolesAndRuns() {
    QTemporaryDir cases;
    QTemporaryDir folder;
    QVERIFY(testing::writeHandFolder(folder.path(), 3));
    const std::filesystem::path file = cases.filePath(QStringLiteral("c.pelmora")).toStdString();
    {
        Result<CaseFile> made =
            CaseFile::create(file, folder.path().toStdString(), {"7", "", "", ""});
        QVERIFY(made.ok());
        const Result<Metadata> roles = parseMetadata("file,role\no_at.txt,Q\na_high_above.txt,K\n",
                                                     made.value().texts().value());
        QVERIFY(roles.ok());
        QVERIFY(!made.value().importMetadata(roles.value()));
    }

    ProgramContext context;
    MainWindow window{context};
    window.show();
    CasePanel* panel = window.casePanel();
    const QString path = QString::fromStdString(file.string());
    panel->chooseOpenPath = [&path](const QString&, const QString&) { return path; };
    QTest::mouseClick(child<QPushButton>(&window, "cmdOpenCase"), Qt::LeftButton);
    QCOMPARE(panel->casePath(), path);
    QVERIFY(panel->problemBox() == nullptr);  // no run yet, so nothing to have changed
    auto* list = child<QListWidget>(&window, "File1");
    QCOMPARE(shownList(list), (Names{"[K] a_high_above.txt", "f_def_at.txt", "[Q] o_at.txt"}));

    list->setFocus();
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_R);
    QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);
    QVERIFY(window.run() != nullptr);
    QTest::mouseClick(child<QPushButton>(&window, "cmdSaveCase"), Qt::LeftButton);
    QVERIFY(panel->problemBox() == nullptr);
    QVERIFY(panel->saveCase());  // the same run again is not stored twice
    {
        Result<CaseFile> saved = CaseFile::open(file, false);
        QVERIFY(saved.ok());
        const Metadata stored = saved.value().metadata().value();
        QCOMPARE(stored.roleOf("f_def_at.txt"), Role::Reference);
        QCOMPARE(stored.roleOf("o_at.txt"), Role::Questioned);
        QCOMPARE(saved.value().runs().value().size(), std::size_t{1});
        const std::optional<RunRecord> last = saved.value().lastRun().value();
        QVERIFY(last.has_value());
        Names codes;
        for (const RecordedFile& f : last->files) {
            codes.push_back(f.nameBytes + ' ' + f.code);
        }
        QCOMPARE(codes, (Names{"a_high_above.txt 01202", "f_def_at.txt 01200", "o_at.txt 01200"}));
        Names actions;
        const std::vector<AuditEntry> log = saved.value().log().value();
        for (const AuditEntry& entry : log) {
            actions.push_back(entry.action);
        }
        QCOMPARE(actions,
                 (Names{"created", "metadata imported", "opened", "metadata imported", "run"}));
    }

    // A text changed after the run is named before the case is shown again.
    QFile changed(folder.filePath(QStringLiteral("o_at.txt")));
    QVERIFY(changed.open(QIODevice::Append) && changed.write(" More.") == 6);
    changed.close();
    QVERIFY(panel->openCaseFile());
    QMessageBox* box = panel->problemBox();
    QVERIFY(box != nullptr && box->isVisible());
    QVERIFY2(
        box->text().startsWith(QStringLiteral("The folder changed since the case's last run:\n")),
        qPrintable(box->text()));
    QVERIFY2(box->text().contains(QStringLiteral("o_at.txt")), qPrintable(box->text()));
    QVERIFY2(!box->text().contains(QStringLiteral("f_def_at.txt")), qPrintable(box->text()));
    box->close();
}

void CaseWindowTest::caseFileProblemsReachAMessageBox() {
    HandFolderWindow hand(2);
    QTemporaryDir elsewhere;
    CasePanel* panel = hand.window.casePanel();
    // Not a case file: refused, naming it, and the folder shown stays.
    const QString notCase = writeCsv(elsewhere, "file,role\n");
    panel->chooseOpenPath = [&notCase](const QString&, const QString&) { return notCase; };
    QVERIFY(!panel->openCaseFile());
    QVERIFY(panel->problemBox() != nullptr && panel->problemBox()->isVisible());
    QVERIFY2(panel->problemBox()->text().contains(QStringLiteral("meta.csv")),
             qPrintable(panel->problemBox()->text()));
    QVERIFY(panel->casePath().isEmpty());
    QCOMPARE(child<QListWidget>(&hand.window, "File1")->count(), 2);
    panel->problemBox()->close();

    // A new case never overwrites a file.
    panel->choosePath = [&notCase](const QString&, const QString&, const QString&) {
        return notCase;
    };
    QVERIFY(!panel->newCase());
    QVERIFY(panel->problemBox() != nullptr && panel->problemBox()->isVisible());
    QVERIFY(panel->casePath().isEmpty());
    QFile kept(notCase);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("file,role\n"));

    // Save without a case makes one where asked.
    const QString made = elsewhere.filePath(QStringLiteral("new.pelmora"));
    panel->choosePath = [&made](const QString&, const QString&, const QString&) { return made; };
    QTest::mouseClick(child<QPushButton>(&hand.window, "cmdSaveCase"), Qt::LeftButton);
    QCOMPARE(panel->casePath(), made);
    QVERIFY(CaseFile::open(made.toStdString(), false).ok());

    // The run of the folder shown before is not stored in a case of another folder.
    QTest::mouseClick(child<QPushButton>(&hand.window, "cmdAuto"), Qt::LeftButton);
    QVERIFY(hand.window.run() != nullptr);
    QTemporaryDir other;
    QVERIFY(testing::writeHandFolder(other.path(), 1));
    const QString otherCase = elsewhere.filePath(QStringLiteral("other.pelmora"));
    QVERIFY(CaseFile::create(otherCase.toStdString(), other.path().toStdString(), {}).ok());
    panel->chooseOpenPath = [&otherCase](const QString&, const QString&) { return otherCase; };
    QVERIFY(panel->openCaseFile());
    QCOMPARE(child<QListWidget>(&hand.window, "File1")->count(), 1);
    QVERIFY(!panel->saveCase());
    QVERIFY2(panel->problemBox()->text().contains(QStringLiteral("another folder")),
             qPrintable(panel->problemBox()->text()));
    QVERIFY(CaseFile::open(otherCase.toStdString(), false).value().runs().value().empty());
}

void CaseWindowTest::unmaskingShowsTheQuestionedCodesUntilTheLock() {
    HandFolderWindow hand;
    QTemporaryDir cases;
    const QString path = cases.filePath(QStringLiteral("u.pelmora"));
    {
        Result<CaseFile> made =
            CaseFile::create(path.toStdString(), hand.folder.path().toStdString(), {});
        QVERIFY(made.ok());
        const Result<Metadata> roles =
            parseMetadata("file,role\no_strong_above.txt,Q\na_high_above.txt,K\no_at.txt,R\n",
                          made.value().texts().value());
        QVERIFY(roles.ok());
        QVERIFY(!made.value().importMetadata(roles.value()));
        QVERIFY(!made.value().setUnmasking(true));
    }
    MainWindow& window = hand.window;
    CasePanel* panel = window.casePanel();
    panel->chooseOpenPath = [&path](const QString&, const QString&) { return path; };
    QVERIFY(panel->openCaseFile());
    QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);
    CaseWindow* caseWindow = openCase(window);
    auto* tabs = child<QTabWidget>(caseWindow, "tabsCase");
    const auto tabShown = [tabs, caseWindow](const char* table) {
        QWidget* view = child<QTableView>(caseWindow, table);
        const int index =
            tabs->indexOf(view) >= 0 ? tabs->indexOf(view) : tabs->indexOf(view->parentWidget());
        return tabs->isTabVisible(index);
    };
    auto* lock = child<QPushButton>(caseWindow, "cmdLockQuestioned");

    QVERIFY(lock->isVisible());
    QCOMPARE(cells(caseWindow, "tblQuestionedCodes"), (Rows{{"o_strong_above.txt", "01220"}}));
    for (const char* hidden : {"tblQuestionedKnown", "tblKnownKnown", "tblQuestionedReference",
                               "tblMatched", "tblQuestionedQuestioned"}) {
        QVERIFY2(!tabShown(hidden), hidden);
    }
    QVERIFY(cells(caseWindow, "tblQuestionedKnown").empty());
    QVERIFY(child<QLabel>(caseWindow, "lblShares")->text().isEmpty());

    QTest::mouseClick(lock, Qt::LeftButton);
    QVERIFY(panel->problemBox() == nullptr);
    QCOMPARE(caseWindow->runner()->wait(), JobRunner::End::Done);
    QVERIFY(!lock->isVisible());
    QVERIFY(!tabShown("tblQuestionedCodes"));
    for (const char* shown :
         {"tblQuestionedKnown", "tblKnownKnown", "tblQuestionedReference", "tblMatched"}) {
        QVERIFY2(tabShown(shown), shown);
    }
    QCOMPARE(cells(caseWindow, "tblQuestionedKnown", {0, 1, 2}),
             (Rows{{"o_strong_above.txt", "a_high_above.txt", "3"}}));
    Result<CaseFile> locked = CaseFile::open(path.toStdString(), false);
    QVERIFY(locked.ok());
    QCOMPARE(locked.value().unmasking().value(), UnmaskingStage::Locked);
    QCOMPARE(locked.value().log().value().back().action, std::string("questioned texts locked"));
}

void CaseWindowTest::caseDetailsAreEditedAndKept() {
    // The dialog shows the settings it is given and returns what its fields hold.
    CaseDetailsDialog dialog({{"2026-17", "A. Smith", "Who wrote it?", ""}, UnmaskingStage::Off});
    QCOMPARE(child<QLineEdit>(&dialog, "txtExaminer")->text(), QStringLiteral("A. Smith"));
    QCOMPARE(child<QPlainTextEdit>(&dialog, "txtQuestion")->toPlainText(),
             QStringLiteral("Who wrote it?"));
    child<QPlainTextEdit>(&dialog, "txtNotes")->setPlainText(QStringLiteral("two lines\nhere"));
    auto* unmasking = child<QCheckBox>(&dialog, "chkUnmasking");
    QVERIFY(!unmasking->isChecked() && unmasking->isEnabled());
    unmasking->setChecked(true);
    QCOMPARE(dialog.settings(),
             (CaseSettings{{"2026-17", "A. Smith", "Who wrote it?", "two lines\nhere"},
                           UnmaskingStage::Unlocked}));
    // Once the questioned texts are locked it stays on.
    CaseDetailsDialog locked({{}, UnmaskingStage::Locked});
    unmasking = child<QCheckBox>(&locked, "chkUnmasking");
    QVERIFY(unmasking->isChecked() && !unmasking->isEnabled());
    QCOMPARE(locked.settings().unmasking, UnmaskingStage::Locked);

    HandFolderWindow hand(1);
    CasePanel* panel = hand.window.casePanel();
    std::vector<CaseSettings> asked;
    panel->editDetails = [&asked](CaseSettings& settings) {
        asked.push_back(settings);
        settings.details.number += "b";
        settings.details.examiner = "Édith Ó";
        settings.unmasking = settings.unmasking == UnmaskingStage::Off ? UnmaskingStage::Unlocked
                                                                       : UnmaskingStage::Off;
        return true;
    };
    QVERIFY(!panel->editCaseDetails());  // no case open
    QVERIFY(asked.empty());
    QVERIFY(panel->problemBox() != nullptr && panel->problemBox()->isVisible());
    panel->problemBox()->close();

    QTemporaryDir cases;
    const QString path = cases.filePath(QStringLiteral("d.pelmora"));
    QVERIFY(
        CaseFile::create(path.toStdString(), hand.folder.path().toStdString(), {"7", "", "q", "n"})
            .ok());
    panel->chooseOpenPath = [&path](const QString&, const QString&) { return path; };
    QVERIFY(panel->openCaseFile());
    CaseWindow* caseWindow = openCase(hand.window);
    auto* lock = child<QPushButton>(caseWindow, "cmdLockQuestioned");
    QVERIFY(!lock->isVisible());
    QTest::mouseClick(child<QPushButton>(&hand.window, "cmdCaseDetails"), Qt::LeftButton);
    QCOMPARE(asked, (std::vector<CaseSettings>{{{"7", "", "q", "n"}, UnmaskingStage::Off}}));
    QVERIFY(panel->problemBox() == nullptr || !panel->problemBox()->isVisible());
    const auto stored = [&path] {
        const Result<CaseFile> opened = CaseFile::open(path.toStdString(), false);
        const CaseFile& file = opened.value();
        return std::make_tuple(file.details().value(), file.unmasking().value(),
                               file.log().value().back().details);
    };
    QCOMPARE(stored(),
             std::make_tuple(CaseDetails{"7b", "Édith Ó", "q", "n"}, UnmaskingStage::Unlocked,
                             std::string("sequential unmasking on")));
    QVERIFY(lock->isVisible());  // the Case window follows the case

    // Turned off again, the questioned texts never having been locked.
    QVERIFY(panel->editCaseDetails());
    QCOMPARE(asked.back().unmasking, UnmaskingStage::Unlocked);
    QCOMPARE(stored(), std::make_tuple(CaseDetails{"7bb", "Édith Ó", "q", "n"}, UnmaskingStage::Off,
                                       std::string("sequential unmasking off")));
    QVERIFY(!lock->isVisible());
    QCOMPARE(shownLog(caseWindow).first.back(), std::string("option changed"));
}

void CaseWindowTest::auditLogFollowsEachLoggedActionAndShowsABrokenChain() {
    HandFolderWindow hand(2);
    QTemporaryDir cases;
    CasePanel* panel = hand.window.casePanel();
    CaseWindow* caseWindow = openCase(hand.window);
    QCOMPARE(shownLog(caseWindow),
             std::make_pair(Names{}, QStringLiteral("No case open: the log is the open case "
                                                    "file's.")));

    const QString path = cases.filePath(QStringLiteral("log.pelmora"));
    panel->choosePath = [&path](const QString&, const QString&, const QString&) { return path; };
    QVERIFY(panel->newCase());
    QCOMPARE(shownLog(caseWindow),
             std::make_pair(Names{"created"}, QStringLiteral("The log's chain is whole: 1 "
                                                             "entry.")));
    auto* list = child<QListWidget>(&hand.window, "File1");
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Q);
    QTest::mouseClick(child<QPushButton>(&hand.window, "cmdAuto"), Qt::LeftButton);
    QVERIFY(panel->saveCase());
    const Names saved = {"created", "metadata imported", "run"};
    QCOMPARE(shownLog(caseWindow),
             std::make_pair(saved, QStringLiteral("The log's chain is whole: 3 entries.")));
    // Each row's hash is the one the file keeps.
    const std::vector<AuditEntry> log =
        CaseFile::open(path.toStdString(), false).value().log().value();
    QCOMPARE(cells(caseWindow, "tblAuditLog", {4}).back().front(), log.back().hash);

    {
        Result<sqlite::Database> db =
            sqlite::Database::open(path.toStdString(), sqlite::Database::Mode::ReadWrite);
        QVERIFY(db.ok());
        QVERIFY(!db.value().execute("UPDATE audit_log SET details = 'none' WHERE sequence = 2"));
    }
    caseWindow->refreshLog();
    QCOMPARE(shownLog(caseWindow),
             std::make_pair(saved, QStringLiteral("The log's chain is broken: log entry 2: its "
                                                  "fields do not match its hash; the entry was "
                                                  "changed")));
    QVERIFY(QFile::remove(path));
    caseWindow->refreshLog();
    QVERIFY(caseWindow->logRunner()->wait() == JobRunner::End::Failed);
    QVERIFY2(
        child<QLabel>(caseWindow, "lblChainState")->text().contains(QStringLiteral("log.pelmora")),
        qPrintable(child<QLabel>(caseWindow, "lblChainState")->text()));
    QVERIFY(cells(caseWindow, "tblAuditLog").empty());
}

}  // namespace pelmora

QTEST_MAIN(pelmora::CaseWindowTest)
#include "case_window_test.moc"
