// The case file from the main form: made, opened and saved, its problems in a message box,
// sequential unmasking until the lock, the case details, and the audit log in the Case window.

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTabWidget>
#include <tuple>

#include "case_test_support.h"
#include "casefile/case_file.h"
#include "casefile/sqlite_db.h"
#include "ui/case_details_dialog.h"
#include "ui/metadata_model.h"

namespace pelmora {
using namespace testing;

class CaseFileWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every case opened or saved here is listed in settings of the test's own.
    void initTestCase();
    void caseFileOpensOnItsFolderAndKeepsRolesAndRuns();
    void caseFileProblemsReachAMessageBox();
    void unmaskingShowsTheQuestionedCodesUntilTheLock();
    void caseDetailsAreEditedAndKept();
    void auditLogFollowsEachLoggedActionAndShowsABrokenChain();
    void recentCasesListTheLatestFirstAndDropAVanishedOne();

private:
    QTemporaryDir settings_;
};

void CaseFileWindowTest::initTestCase() {
    QVERIFY(settings_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
}

// Roles and run stored by CaseFile itself, read back by it after the window saved.
void CaseFileWindowTest::caseFileOpensOnItsFolderAndKeepsRolesAndRuns() {
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

void CaseFileWindowTest::caseFileProblemsReachAMessageBox() {
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

void CaseFileWindowTest::unmaskingShowsTheQuestionedCodesUntilTheLock() {
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

void CaseFileWindowTest::caseDetailsAreEditedAndKept() {
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

void CaseFileWindowTest::auditLogFollowsEachLoggedActionAndShowsABrokenChain() {
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
    QCOMPARE(cells(caseWindow, "tblAuditLog", {5}).back().front(), log.back().hash);

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

void CaseFileWindowTest::recentCasesListTheLatestFirstAndDropAVanishedOne() {
    QSettings(QStringLiteral("Pelmora"), QStringLiteral("Pelmora")).clear();
    QTemporaryDir cases;
    const QString first = cases.filePath(QStringLiteral("first.pelmora"));
    const QString second = cases.filePath(QStringLiteral("second.pelmora"));
    const QString made = cases.filePath(QStringLiteral("made.pelmora"));
    const auto menuOf = [](MainWindow& window) {
        QStringList shown;
        for (QAction* action : window.casePanel()->recentMenu()->actions()) {
            shown.append(action->isEnabled() ? QDir::fromNativeSeparators(action->text())
                                             : QStringLiteral("(%1)").arg(action->text()));
        }
        return shown;
    };
    {
        HandFolderWindow hand(1);
        CasePanel* panel = hand.window.casePanel();
        QCOMPARE(menuOf(hand.window), QStringList{QStringLiteral("(No recent cases)")});
        for (const QString& path : {first, second}) {
            QVERIFY(
                CaseFile::create(path.toStdString(), hand.folder.path().toStdString(), {}).ok());
            panel->chooseOpenPath = [&path](const QString&, const QString&) { return path; };
            QVERIFY(panel->openCaseFile());
        }
        panel->choosePath = [&made](const QString&, const QString&, const QString&) {
            return made;
        };
        QVERIFY(panel->newCase());
        QCOMPARE(menuOf(hand.window), (QStringList{made, second, first}));
    }

    // Kept for the next time the program starts.
    HandFolderWindow hand(1);
    CasePanel* panel = hand.window.casePanel();
    QCOMPARE(menuOf(hand.window), (QStringList{made, second, first}));
    QCOMPARE(CasePanel::recentCases(), (QStringList{made, second, first}));
    child<QAction>(panel->recentMenu(), "actRecentCase2")->trigger();
    QCOMPARE(panel->casePath(), first);
    QCOMPARE(menuOf(hand.window), (QStringList{first, made, second}));

    QVERIFY(QFile::remove(second));
    child<QAction>(panel->recentMenu(), "actRecentCase2")->trigger();
    QCOMPARE(panel->casePath(), first);
    QMessageBox* box = panel->problemBox();
    QVERIFY(box != nullptr && box->isVisible());
    QVERIFY2(box->text().contains(QDir::toNativeSeparators(second)), qPrintable(box->text()));
    QCOMPARE(menuOf(hand.window), (QStringList{first, made}));
    QCOMPARE(CasePanel::recentCases(), (QStringList{first, made}));
    box->close();
    QVERIFY(QSettings(QStringLiteral("Pelmora"), QStringLiteral("Pelmora"))
                .fileName()
                .startsWith(settings_.path()));
}

}  // namespace pelmora

QTEST_MAIN(pelmora::CaseFileWindowTest)
#include "case_file_window_test.moc"
