// The pair window: two hand-worked texts side by side with each digit's categories and checks,
// stepping through the report's pairs with the arrows, Escape, and the one window opened from a
// matrix cell, a report line and the Case window's rows.

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

#include "app/form2_commands.h"
#include "case_test_support.h"
#include "run/batch.h"
#include "ui/evidence_panel.h"
#include "ui/matrix_window.h"
#include "ui/pair_window.h"
#include "ui/report_view.h"
#include "ui/text_bridge.h"
#include "ui/text_evidence_view.h"

namespace pelmora {
using namespace testing;

namespace {

using Texts = std::pair<int, int>;

// The hand-worked texts run without a window; positions in the order of kHandTexts.
struct HandRun {
    QTemporaryDir folder;
    std::shared_ptr<const RunResult> run = [this] {
        if (!folder.isValid() || !writeHandFolder(folder.path())) {
            qFatal("cannot write the hand-worked texts");
        }
        ProgramContext context(pathFromQt(folder.path()));
        startProgram(context);
        return runBatch(context);
    }();
};

Texts shownTexts(const PairWindow& window) {
    return window.shown() ? Texts{window.shown()->pair.first, window.shown()->pair.second}
                          : Texts{-1, -1};
}

QString cell(const PairWindow& window, int row, int column) {
    return window.digits()->item(row, column)->text();
}

QColor tint(const PairWindow& window, int row) {
    return window.digits()->item(row, PairWindow::SecondChecks)->background().color();
}

// Chooses "Show pair" in the report box's context menu on `line`; false when it is not there.
bool showPairFromMenu(ReportView* report, std::int64_t line) {
    bool offered = false;
    QTimer::singleShot(0, report, [&offered] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* show =
            menu != nullptr ? menu->findChild<QAction*>(QStringLiteral("actShowPair")) : nullptr;
        offered = show != nullptr;
        if (show != nullptr) {
            show->trigger();
        }
        if (menu != nullptr) {
            menu->close();
        }
    });
    const int y = static_cast<int>(line - report->topRow()) * report->fontMetrics().height() +
                  report->fontMetrics().height() / 2;
    const QPoint at(ReportView::kTextMargin + 2, y);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, report->viewport()->mapToGlobal(at));
    QApplication::sendEvent(report->viewport(), &event);
    return offered;
}

}  // namespace

class PairWindowTest : public QObject {
    Q_OBJECT

private slots:
    // a_high_above (01202) has 5 "sad" in 99 words, 0.0505, just above high affect's 0.05;
    // f_def_at (01200) has no affect word and 2 "the" in 100 words, right at 0.02, which is not
    // above it. They agree on all but affect.
    void digitsAndChecksOfHandWorkedPairs() {
        HandRun hand;
        PairWindow window;
        QCOMPARE(window.objectName(), QStringLiteral("PairWindow"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Pelmora: Pair"));
        QVERIFY(window.showPair(hand.run, 1, 0));  // either order
        QCOMPARE(shownTexts(window), Texts(0, 1));
        QCOMPARE(child<QLabel>(&window, "lblFirstText")->text(),
                 QStringLiteral("First: a_high_above.txt, code 01202"));
        QCOMPARE(child<QLabel>(&window, "lblSecondText")->text(),
                 QStringLiteral("Second: f_def_at.txt, code 01200"));
        QVERIFY(child<QLabel>(&window, "lblPair")
                    ->text()
                    .startsWith(QStringLiteral("Pair 1 of 10 in the report's order: strength 4 "
                                               "of 5.")));
        QCOMPARE(window.digits()->rowCount(), 5);
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(tint(window, k), PairWindow::agreeTint());
        }
        QCOMPARE(tint(window, 4), PairWindow::differTint());
        QVERIFY(PairWindow::agreeTint() != PairWindow::differTint());
        QCOMPARE(cell(window, 4, PairWindow::CategoryColumn), QStringLiteral("5 affect"));
        QVERIFY(cell(window, 4, PairWindow::FirstDigit).startsWith(QStringLiteral("2 ")));
        QVERIFY(
            cell(window, 4, PairWindow::FirstDigit).endsWith(QStringLiteral("(near threshold)")));
        QVERIFY(cell(window, 4, PairWindow::SecondDigit).startsWith(QStringLiteral("0 ")));
        QVERIFY(cell(window, 4, PairWindow::FirstChecks)
                    .contains(QStringLiteral("affect density 0.0505 must be above 0.05: holds, "
                                             "margin +0.0005 (near threshold)")));
        QVERIFY(cell(window, 4, PairWindow::SecondChecks)
                    .contains(QStringLiteral("affect density 0 must be above 0.03: does not "
                                             "hold")));
        QVERIFY(cell(window, 0, PairWindow::SecondChecks)
                    .contains(QStringLiteral("definite-article density 0.02 must be above 0.02: "
                                             "does not hold, margin 0 (near threshold)")));
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(cell(window, k, PairWindow::FirstDigit).at(0),
                     cell(window, k, PairWindow::SecondDigit).at(0));
        }
        // Both texts' bars in one chart, named by the texts.
        QChart* chart = window.chart()->chart();
        QVERIFY(!chart->series().isEmpty());
        QVERIFY(chart->legend()->isVisible());
        QVERIFY(window.stabilityLine().startsWith(QStringLiteral("Stability: not measured")));
        // Each text whole, its counted words coloured.
        for (int side = 0; side < 2; ++side) {
            TextEvidenceView* view = window.textView(side);
            QVERIFY(QTest::qWaitFor([view] { return !view->isLoading(); }, 10000));
            QVERIFY(view->text()->toPlainText().contains(side == 0 ? u"sad" : u"the"));
        }

        // o_strong_above 01220 and r_tie_formal 20200 agree only on past tenseness and affect:
        // a minimal pair.
        QVERIFY(window.showPair(hand.run, 3, 4));
        QVERIFY(child<QLabel>(&window, "lblPair")->text().contains(QStringLiteral(", minimal")));
        const QList<bool> agree = {false, false, true, false, true};
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(tint(window, k) == PairWindow::agreeTint(), agree[k]);
        }
        QVERIFY(!window.showPair(hand.run, 2, 2));  // no pair: nothing changes
        QCOMPARE(shownTexts(window), Texts(3, 4));
    }

    // Left and Right step to the previous and next pair of the report, and stop at its ends.
    void arrowsStepInTheReportsOrderAndEscapeCloses() {
        HandRun hand;
        PairWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(window.showPair(hand.run, 0, 1));
        const auto press = [&window](Qt::Key key) {
            QTest::keyClick(window.digits(), key);
            return shownTexts(window);
        };
        QCOMPARE(press(Qt::Key_Right), Texts(0, 2));
        QCOMPARE(press(Qt::Key_Right), Texts(0, 3));
        QCOMPARE(press(Qt::Key_Left), Texts(0, 2));
        QCOMPARE(press(Qt::Key_Left), Texts(0, 1));
        QCOMPARE(press(Qt::Key_Left), Texts(0, 1));
        QVERIFY(window.showPair(hand.run, 2, 4));
        QCOMPARE(press(Qt::Key_Right), Texts(3, 4));
        QCOMPARE(press(Qt::Key_Right), Texts(3, 4));
        QCOMPARE(press(Qt::Key_Left), Texts(2, 4));
        QTest::keyClick(window.textView(1)->text(), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    // Roles: Q a_high_above; K f_def_at, o_at, r_tie_formal.
    void matrixReportAndCaseRowsOpenTheOnePairWindow() {
        HandFolderWindow hand;
        MainWindow& window = hand.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* list = child<QListWidget>(&window, "File1");
        list->setFocus();
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Q);
        for (int row : {1, 2, 4}) {
            list->setCurrentRow(row);
            QTest::keyClick(list, Qt::Key_K);
        }
        QTest::mouseClick(child<QPushButton>(&window, "cmdAuto"), Qt::LeftButton);
        QVERIFY(window.run() != nullptr);
        EvidencePanel* panel = window.evidencePanel();
        QVERIFY(panel->pairWindow() == nullptr);

        // Enter on a cell of the matrix: its row's text and its column's.
        panel->openMatrix();
        QTableView* matrix = child<QTableView>(panel->matrixWindow(), "matrixTable");
        matrix->setFocus();
        matrix->setCurrentIndex(matrix->model()->index(2, 1));
        QTest::keyClick(matrix, Qt::Key_Return);
        PairWindow* pair = panel->pairWindow();
        QVERIFY(pair != nullptr && pair->isVisible());
        QCOMPARE(shownTexts(*pair), Texts(1, 2));
        QCOMPARE(pair->run(), window.run());
        // The diagonal is no pair.
        matrix->setCurrentIndex(matrix->model()->index(3, 3));
        QTest::keyClick(matrix, Qt::Key_Return);
        QCOMPARE(shownTexts(*pair), Texts(1, 2));

        // A report line of the minimal pairs, then the pair off the norm; a heading offers none.
        auto* report = child<ReportView>(&window, "txtReport");
        QVERIFY(showPairFromMenu(report, 12));
        QCOMPARE(shownTexts(*pair), Texts(0, 4));
        QVERIFY(showPairFromMenu(report, 20));
        QCOMPARE(shownTexts(*pair), Texts(1, 2));
        QVERIFY(!showPairFromMenu(report, 0));

        // The Case window: a Q-K row is its pair, a K-K row its known text with the next.
        CaseWindow* caseWindow = openCase(window);
        auto* qk = child<QTableView>(caseWindow, "tblQuestionedKnown");
        const auto enterOn = [](QTableView* table, int row) {
            table->setCurrentIndex(table->model()->index(row, 0));
            QTest::keyClick(table, Qt::Key_Return);
        };
        enterOn(qk, 2);
        QCOMPARE(shownTexts(*pair), Texts(0, 4));
        auto* kk = child<QTableView>(caseWindow, "tblKnownKnown");
        enterOn(kk, 2);
        QCOMPARE(shownTexts(*pair), Texts(1, 4));
        enterOn(kk, 0);
        QCOMPARE(shownTexts(*pair), Texts(1, 2));
        enterOn(kk, 3);  // "all known texts"
        QCOMPARE(shownTexts(*pair), Texts(1, 2));
        QCOMPARE(window.findChildren<PairWindow*>().size(), 1);
    }
};

}  // namespace pelmora

QTEST_MAIN(pelmora::PairWindowTest)
#include "pair_window_test.moc"
