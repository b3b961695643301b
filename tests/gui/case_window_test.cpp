// The case from the main form: roles given with the keys, the menu and the metadata table, the
// Case window's tables on a hand-worked folder, metadata files read and written.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QSpinBox>
#include <QTabWidget>

#include "case_test_support.h"
#include "ui/evidence_panel.h"
#include "ui/matrix_model.h"
#include "ui/matrix_window.h"
#include "ui/metadata_model.h"
#include "ui/stability_task.h"

namespace pelmora {
using namespace testing;

class CaseWindowTest : public QObject {
    Q_OBJECT

private slots:
    void rolesFromTheKeysGiveTheHandWorkedCaseTables();
    void metadataTableFiltersSortsAndEditsRoles();
    void importErrorsReachAMessageBoxNamingTheLine_data();
    void importErrorsReachAMessageBoxNamingTheLine();
    void importedMetadataIsExportedAsRead();
    void measuredStabilityJoinsTheQuestionedKnownTable();
    void matrixOrderedByRoleShowsQuestionedKnownAndReferenceBlocks();
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

// Two texts of one sentence said twenty times: every resample of either gives its code again,
// so their pair holds in each; a text of one sentence is too short to resample.
void CaseWindowTest::measuredStabilityJoinsTheQuestionedKnownTable() {
    QTemporaryDir folder;
    const QByteArray steady = QByteArray("I'm sure I think it is what we went for ").repeated(20);
    for (const auto& [name, text] :
         {std::pair{"k_short.txt", QByteArray("I must go now, you know.")},
          std::pair{"k_steady.txt", steady}, std::pair{"q_steady.txt", steady}}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }
    ProgramContext context;
    MainWindow window{context};
    window.show();
    chooseFolder(window, folder.path());
    auto* list = child<QListWidget>(&window, "File1");
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_K);
    QTest::keyClick(list, Qt::Key_End);
    QTest::keyClick(list, Qt::Key_Q);
    QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);
    CaseWindow* caseWindow = openCase(window);
    const auto columns = [caseWindow] {
        return child<QTableView>(caseWindow, "tblQuestionedKnown")->model()->columnCount();
    };
    QCOMPARE(columns(), 7);

    StabilityTask* task = window.evidencePanel()->stabilityTask();
    task->options.resamples = 10;
    task->start();
    QTRY_COMPARE_WITH_TIMEOUT(task->state(), StabilityTask::State::Measured, 120000);
    QTRY_VERIFY(!caseWindow->runner()->running());
    QCOMPARE(cells(caseWindow, "tblQuestionedKnown", {1, 7}),
             (Rows{{"k_short.txt",
                    "not known: a text too short to resample, not measured or not in the run"},
                   {"k_steady.txt", "strength held in 1.000, standing in 1.000 of 10 resamples"}}));
    // The verdict still stands beside the strength.
    QCOMPARE(
        child<QTableView>(caseWindow, "tblQuestionedKnown")->horizontalHeader()->visualIndex(6), 3);

    // Another run has no figures yet.
    const std::shared_ptr<const RunResult> measured = window.run();
    QTest::mouseClick(child<QPushButton>(&window, "cmdRefresh"), Qt::LeftButton);
    chooseFolder(window, folder.path());
    QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);
    QVERIFY(window.run() != nullptr && window.run() != measured);
    static_cast<void>(caseWindow->runner()->wait());
    QCOMPARE(columns(), 7);
}

// Codes as in the first test: a-f 4, a-os 3, f-r 3, os-r 2.
void CaseWindowTest::matrixOrderedByRoleShowsQuestionedKnownAndReferenceBlocks() {
    HandFolderWindow hand;
    MainWindow& window = hand.window;
    QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&window, "cmdMatrix"), Qt::LeftButton);
    MatrixWindow* matrix = window.evidencePanel()->matrixWindow();
    QVERIFY(matrix != nullptr);
    const MatrixModel& model = *matrix->model();
    const auto headers = [&model] {
        Names shown;
        for (int section = 0; section < model.rowCount(); ++section) {
            shown.push_back(model.headerData(section, Qt::Horizontal).toString().toStdString());
        }
        return shown;
    };
    const Names runOrder = {"a_high_above.txt", "f_def_at.txt", "o_at.txt", "o_strong_above.txt",
                            "r_tie_formal.txt"};
    auto* byRole = child<QCheckBox>(matrix, "chkOrderByRole");
    QVERIFY(!byRole->isEnabled());

    auto* list = child<QListWidget>(&window, "File1");
    list->setFocus();
    for (const auto& [row, key] : {std::pair{4, Qt::Key_K}, {3, Qt::Key_Q}, {0, Qt::Key_R}}) {
        list->setCurrentRow(row);
        QTest::keyClick(list, key);
    }
    QVERIFY(byRole->isEnabled());
    QCOMPARE(headers(), runOrder);
    byRole->setChecked(true);
    QCOMPARE(headers(), (Names{"[Q] o_strong_above.txt", "[K] r_tie_formal.txt",
                               "[R] a_high_above.txt", "f_def_at.txt", "o_at.txt"}));
    // Each cell is the pair of its row's and column's texts.
    const auto cell = [&model](int row, int column, int role = Qt::DisplayRole) {
        return model.index(row, column).data(role).toInt();
    };
    QCOMPARE(cell(0, 1), 2);
    QCOMPARE(cell(0, 2), 3);
    QCOMPARE(cell(2, 3), 4);
    QCOMPARE(cell(3, 1), 3);
    // A block's first row and column carry its edge.
    const int both = MatrixModel::kTopEdge | MatrixModel::kLeftEdge;
    QCOMPARE(cell(1, 2, MatrixModel::BlockEdgeRole), both);
    QCOMPARE(cell(3, 4, MatrixModel::BlockEdgeRole), MatrixModel::kTopEdge);
    QCOMPARE(cell(4, 0, MatrixModel::BlockEdgeRole), 0);

    // A role changed reorders; no role left, run order again.
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_K);
    QCOMPARE(headers(), (Names{"[Q] o_strong_above.txt", "[K] a_high_above.txt",
                               "[K] r_tie_formal.txt", "f_def_at.txt", "o_at.txt"}));
    list->selectAll();
    QTest::keyClick(list, Qt::Key_0);
    QVERIFY(!byRole->isEnabled());
    QCOMPARE(headers(), runOrder);
    QCOMPARE(cell(1, 2, MatrixModel::BlockEdgeRole), 0);
}

}  // namespace pelmora

QTEST_MAIN(pelmora::CaseWindowTest)
#include "case_window_test.moc"
