// The report view driven like a user: the rows it shows of literal and pair-line pieces,
// selecting and copying by keyboard, mouse and menu, finding, and a report of a run of 1,200
// texts.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "gui_test_support.h"
#include "rules/rule_book.h"
#include "stores/composed_text.h"
#include "stores/list_store.h"
#include "stores/pair_list.h"
#include "ui/report_view.h"
#include "ui/text_bridge.h"

namespace pelmora {
namespace {

using namespace Qt::StringLiterals;

using testing::child;
using Position = ReportView::Position;

// Agreeing positions of two codes, a missing position agreeing with a missing one.
int literalStrength(const std::string& a, const std::string& b) {
    int s = 0;
    for (std::size_t k = 0; k < 5; ++k) {
        s += (k < a.size() ? a.substr(k, 1) : "") == (k < b.size() ? b.substr(k, 1) : "") ? 1 : 0;
    }
    return s;
}

// One gathering of texts compared all at once, with its pair lines as a plain text would list
// them: the lines of every pair, and of the pairs whose strength is kept.
struct Pairs {
    PairList list;
    std::string every, kept;
};

Pairs pairsOf(const std::vector<std::string>& codes, const std::vector<std::string>& names,
              const ComposedText::Strengths& keep) {
    ListStore codeStore, nameStore;
    for (std::size_t k = 0; k < codes.size(); ++k) {
        codeStore.append(codes[k]);
        nameStore.append(names[k]);
    }
    Pairs p;
    p.list.appendComparison(codeStore, nameStore, names, typeCodeStrength);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        for (std::size_t j = i + 1; j < codes.size(); ++j) {
            const int s = literalStrength(codes[i], codes[j]);
            const std::string line = names[i] + "-" + names[j] + "\t" + std::to_string(s);
            p.every += line + "\n";
            if (keep[static_cast<std::size_t>(s)]) {
                p.kept += line + "\n";
            }
        }
    }
    return p;
}

ComposedText::Strengths strengthsBelow(int limit) {
    ComposedText::Strengths keep{};
    for (int s = 0; s < limit; ++s) {
        keep[static_cast<std::size_t>(s)] = true;
    }
    return keep;
}

QStringList rowsOf(const QString& text) {
    return text.split(QLatin1Char('\n'));
}

void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(widget, key, modifiers);
}

// The point just right of the boundary before `column` of `row`, in the middle of the row:
// where a click puts the caret at that column.
QPoint pointOf(const ReportView& view, const QString& row, std::int64_t rowIndex, int column) {
    const QFontMetrics metrics(view.font());
    const int y = static_cast<int>(rowIndex - view.topRow()) * metrics.lineSpacing() +
                  metrics.lineSpacing() / 2;
    return {ReportView::kTextMargin + metrics.horizontalAdvance(row.left(column)) + 1, y};
}

// Presses keys written as "Right S-Down C-End CS-Home": S- holds Shift, C- Ctrl.
void pressAll(QWidget* widget, const QString& keys) {
    static const QHash<QString, Qt::Key> named = {
        {u"Left"_s, Qt::Key_Left}, {u"Right"_s, Qt::Key_Right}, {u"Up"_s, Qt::Key_Up},
        {u"Down"_s, Qt::Key_Down}, {u"Home"_s, Qt::Key_Home},   {u"End"_s, Qt::Key_End},
        {u"X"_s, Qt::Key_X},       {u"Tab"_s, Qt::Key_Tab},     {u"Return"_s, Qt::Key_Return},
        {u"F3"_s, Qt::Key_F3}};
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
        const QString modifiers = key.contains(u'-') ? key.section(u'-', 0, 0) : QString();
        Qt::KeyboardModifiers held;
        held.setFlag(Qt::ShiftModifier, modifiers.contains(u'S'));
        held.setFlag(Qt::ControlModifier, modifiers.contains(u'C'));
        QVERIFY2(named.contains(key.section(u'-', -1)), qPrintable(key));
        press(widget, named.value(key.section(u'-', -1)), held);
    }
}

// 200 rows: "ab", "cd", "ef<tab>gh", then "row 3" to "row 199", each ending in a line end.
std::string manyRows() {
    std::string many = "ab\r\ncd\r\nef\tgh\r\n";
    for (int k = 3; k < 200; ++k) {
        many += "row " + std::to_string(k) + "\r\n";
    }
    return many;
}

// A view in a window of its own, shown and active, so that it takes keys and focus.
struct ShownView {
    QWidget window;
    ReportView* view = nullptr;
    QLineEdit* after = nullptr;

    explicit ShownView(const ComposedText& text, QSize size = {560, 320}) {
        auto* layout = new QVBoxLayout(&window);
        view = new ReportView(&window);
        after = new QLineEdit(&window);
        after->setObjectName(QStringLiteral("after"));
        layout->addWidget(view);
        layout->addWidget(after);
        view->setText(text);
        window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        view->setFocus();
    }
};

}  // namespace

class ReportViewTest : public QObject {
    Q_OBJECT

private slots:
    void showsEveryRowOfLiteralAndPairLinePieces();
    void copiesByKeysAndMenuAndRefusesTooManyLines();
    void columnsAlignForDisplayWhileTheCopyStaysTheReport();
    void paintsTheTextOverPaleYellow();
    void keysMoveTheCaretAndSelectAcrossLineBreaks_data();
    void keysMoveTheCaretAndSelectAcrossLineBreaks();
    void pagesMoveTheCaretAndTheViewTogether();
    void mouseSelectsCharacterByCharacterAcrossRows();
    void findStepsThroughMatchesBothWaysAndWraps_data();
    void findStepsThroughMatchesBothWaysAndWraps();
    void findSaysNoMatchFindsTheOnlyMatchAgainAndCloses();
    void reportOfARunOf1200TextsIsSearchedToItsEnds();
    void reportOfARunOf1200TextsScrollsInProportionAndIsCopiedWhole();
};

void ReportViewTest::showsEveryRowOfLiteralAndPairLinePieces() {
    const std::vector<std::string> codes = {"21201", "10100", "0100", "03222", "21101", "21201"};
    const std::vector<std::string> names = {"a.txt",    "b.txt",   "é.txt",
                                            "日本.txt", "e f.txt", "g.txt"};
    const Pairs pairs = pairsOf(codes, names, strengthsBelow(3));
    ComposedText text("Text Pair\tStrength of Intertextual relationship\r\n");
    text.appendPairLines(pairs.list);
    text.append("\r\nhalf a line, ");
    text.append("finished\r\nlone\rCR stays\r\n");
    text.appendPairLines(pairs.list, strengthsBelow(3));
    text.append("Arithmetic Mean\t2.1333\r\nno line end");

    const QString expected =
        QString::fromUtf8("Text Pair\tStrength of Intertextual relationship\n" + pairs.every +
                          "\nhalf a line, finished\nlone\rCR stays\n" + pairs.kept +
                          "Arithmetic Mean\t2.1333\n" + "no line end");
    ShownView shown(text);
    ReportView& view = *shown.view;
    QCOMPARE(view.toPlainText(), expected);
    const QStringList rows = rowsOf(expected);
    QCOMPARE(view.rowCount(), rows.size());
    for (int k = 0; k < rows.size(); ++k) {
        QCOMPARE(view.rowText(k), rows[k]);
    }
    QVERIFY(rows.contains(QStringLiteral("é.txt-日本.txt\t1")));

    // A text ending in a line end has an empty last row, as a text box shows it.
    text.append("\r\n");
    view.setText(text);
    QCOMPARE(view.rowCount(), rows.size() + 1);
    QCOMPARE(view.toPlainText(), expected + QLatin1Char('\n'));
    view.setText(ComposedText());
    QCOMPARE(view.rowCount(), 1);
    QCOMPARE(view.toPlainText(), QString());
}

// The whole report copied by keys and by the context menu, and a copy of too many lines refused.
void ReportViewTest::copiesByKeysAndMenuAndRefusesTooManyLines() {
    const Pairs pairs =
        pairsOf({"21201", "10100", "0100"}, {"a.txt", "b.txt", "c.txt"}, strengthsBelow(3));
    ComposedText text("Text Pair\tStrength of Intertextual relationship\r\n");
    text.appendPairLines(pairs.list);
    text.append("no line end");
    const QString expected = QString::fromUtf8(
        "Text Pair\tStrength of Intertextual relationship\n" + pairs.every + "no line end");
    ShownView shown(text);
    ReportView& view = *shown.view;

    // Nothing selected: copying leaves the clipboard alone.
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    press(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    press(&view, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(view.selectedText(), expected);
    press(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), expected);
    // The context menu's commands do the same.
    view.moveToStart();
    QVERIFY(!view.hasSelection());
    clipboard->clear();
    child<QAction>(&view, "reportSelectAll")->trigger();
    child<QAction>(&view, "reportCopy")->trigger();
    QCOMPARE(clipboard->text(), expected);

    // A selection of more lines than a copy takes is refused in words, the clipboard untouched.
    const std::int64_t most = std::exchange(mostCopiedLines, 2);
    clipboard->setText(QStringLiteral("before"));
    press(&view, Qt::Key_C, Qt::ControlModifier);
    mostCopiedLines = most;
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    auto* refused = view.findChild<QMessageBox*>(QStringLiteral("copyRefused"));
    QVERIFY(refused != nullptr);
    QVERIFY(refused->text().startsWith(QStringLiteral("The report has 5 lines, too many")));
    refused->close();
}

// The strengths stand in one column past the widest pair name, as the font draws it, and no
// first column touches the figure after it; what is copied is the report all the same.
void ReportViewTest::columnsAlignForDisplayWhileTheCopyStaysTheReport() {
    const std::vector<std::string> names = {"a.txt", "a much longer name, glued.txt", "letters.txt",
                                            "b.txt"};
    const Pairs pairs = pairsOf({"21201", "10100", "0100", "03222"}, names, strengthsBelow(6));
    ComposedText text("Text Pair\tStrength of Intertextual relationship\r\n");
    text.appendPairLines(pairs.list);
    text.append("\r\nArithmetic Mean\t2.5000\r\nSample Standard Deviation of it all\t1.2500\r\n");
    const QString expected = QString::fromUtf8(
        "Text Pair\tStrength of Intertextual relationship\n" + pairs.every +
        "\nArithmetic Mean\t2.5000\nSample Standard Deviation of it all\t1.2500\n");
    ShownView shown(text, {900, 320});
    ReportView& view = *shown.view;
    QStringList shownNames;
    for (const std::string& name : names) {
        shownNames.append(QString::fromStdString(name));
    }
    view.setPairNames(shownNames);

    const QFontMetricsF metrics(view.font());
    const qreal gap = metrics.horizontalAdvance(u' ') * ReportView::kColumnGap;
    const qreal widestPair =
        metrics.horizontalAdvance(u"a much longer name, glued.txt-letters.txt"_s);
    // Where the text after a row's first tab starts, and how wide the text before it is.
    const auto column = [&](std::int64_t row) {
        const QString shownRow = view.rowText(row);
        const int tab = static_cast<int>(shownRow.indexOf(u'\t'));
        return std::pair{view.textX(Position{row, tab + 1}),
                         metrics.horizontalAdvance(shownRow.left(tab))};
    };
    const int strengths = column(1).first;
    QVERIFY(strengths >= widestPair + gap - 1);
    for (std::int64_t row = 0; row <= 6; ++row) {  // the header and the six pairs
        QCOMPARE(column(row).first, strengths);
    }
    for (const std::int64_t row : {std::int64_t{8}, std::int64_t{9}}) {
        const auto [x, before] = column(row);
        QVERIFY2(x >= before + gap - 1, qPrintable(view.rowText(row)));
    }

    // Selected and copied as it is, byte for byte.
    press(&view, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(view.selectedText(), expected);
    press(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    QCOMPARE(view.toPlainText(), expected);
}

// Pale yellow where there is no text, and the text drawn over it in its rows.
void ReportViewTest::paintsTheTextOverPaleYellow() {
    ShownView shown{ComposedText()};
    ReportView& view = *shown.view;
    view.setText(ComposedText("Text Pair\tStrength\r\nW\r\n"));
    const QImage image = view.viewport()->grab().toImage();
    const QRgb yellow = qRgb(0xff, 0xff, 0xc0);
    const auto inked = [&](int top, int bottom, int right) {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < right; ++x) {
                n += image.pixel(x, y) != yellow ? 1 : 0;
            }
        }
        return n;
    };
    QCOMPARE(image.pixel(image.width() - 2, image.height() - 2), yellow);
    const int rowHeight = QFontMetrics(view.font()).lineSpacing();
    QVERIFY(inked(0, rowHeight, image.width() / 2) > 20);
    QCOMPARE(inked(3 * rowHeight, image.height(), image.width()), 0);
}

// Keys pressed from the start of 200 rows: where the caret ends and what is selected.
void ReportViewTest::keysMoveTheCaretAndSelectAcrossLineBreaks_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("selected");
    const QString fromB = QStringLiteral("Right S-Right S-Right S-Right");
    QTest::newRow("right") << u"Right"_s << 0 << 1 << QString();
    QTest::newRow("shift and right over a line end") << fromB << 1 << 1 << u"b\nc"_s;
    QTest::newRow("shift and down") << fromB + u" S-Down"_s << 2 << 1 << u"b\ncd\ne"_s;
    QTest::newRow("shift and end") << fromB + u" S-Down S-End"_s << 2 << 5 << u"b\ncd\nef\tgh"_s;
    QTest::newRow("shift and home")
        << fromB + u" S-Down S-End S-Left S-Home"_s << 2 << 0 << u"b\ncd\n"_s;
    QTest::newRow("shift and up") << fromB + u" S-Down S-End S-Left S-Home S-Up"_s << 1 << 0
                                  << u"b\n"_s;
    // Without Shift an arrow first drops the selection at its own side.
    QTest::newRow("left drops the selection")
        << fromB + u" S-Down S-Up Left"_s << 0 << 1 << QString();
    // Left from the start of a row goes to the end of the row above.
    QTest::newRow("left from a row's start") << u"Down Home S-Left"_s << 0 << 2 << u"\n"_s;
    // Ctrl+End goes to the empty row after the last line end.
    QTest::newRow("ctrl and end") << u"C-End"_s << 200 << 0 << QString();
    QTest::newRow("back from the end") << u"C-End S-Left S-Left"_s << 199 << 6 << u"9\n"_s;
    // Typing does nothing.
    QTest::newRow("typing") << u"X X"_s << 0 << 0 << QString();
}

void ReportViewTest::keysMoveTheCaretAndSelectAcrossLineBreaks() {
    QFETCH(QString, keys);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, selected);
    const std::string many = manyRows();
    ShownView shown{ComposedText(many)};
    ReportView& view = *shown.view;
    pressAll(&view, keys);
    QCOMPARE(view.caret().row, row);
    QCOMPARE(view.caret().column, column);
    QCOMPARE(view.selectedText(), selected);
    QCOMPARE(view.hasSelection(), !selected.isEmpty());
    QCOMPARE(view.toPlainText(), QString::fromStdString(many).remove(u'\r'));
}

// A page is the rows that fit whole; Page Down moves caret and view by one, and the ends of
// the text take the view with them.
void ReportViewTest::pagesMoveTheCaretAndTheViewTogether() {
    const std::string many = manyRows();
    const QString plain = QString::fromStdString(many).remove(u'\r');
    ShownView shown{ComposedText(many)};
    ReportView& view = *shown.view;
    const int page = view.viewport()->height() / QFontMetrics(view.font()).lineSpacing();
    QVERIFY(page > 3);
    press(&view, Qt::Key_PageDown, Qt::ShiftModifier);
    QCOMPARE(view.caret().row, page);
    QCOMPARE(view.topRow(), page);
    QCOMPARE(view.verticalScrollBar()->value(), page);
    QString firstPage = QStringLiteral("ab\ncd\nef\tgh\n");
    for (int k = 3; k < page; ++k) {
        firstPage += QStringLiteral("row %1\n").arg(k);
    }
    QCOMPARE(view.selectedText(), firstPage);
    press(&view, Qt::Key_PageUp);
    QVERIFY(view.caret() == (Position{0, 0}));
    QCOMPARE(view.topRow(), 0);

    press(&view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(view.topRow(), 201 - page);
    QCOMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    press(&view, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(view.selectedText(), plain);
    QCOMPARE(view.topRow(), 0);

    // Tab moves on.
    press(&view, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), shown.after);
}

void ReportViewTest::mouseSelectsCharacterByCharacterAcrossRows() {
    ShownView shown{ComposedText("WWWW MMMM\r\nMWMW word\r\nthird row\r\n")};
    ReportView& view = *shown.view;
    const QString row0 = QStringLiteral("WWWW MMMM"), row1 = QStringLiteral("MWMW word");

    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, pointOf(view, row0, 0, 2));
    QVERIFY(view.caret() == (Position{0, 2}));
    QTest::mouseMove(view.viewport(), pointOf(view, row1, 1, 3));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, pointOf(view, row1, 1, 3));
    QCOMPARE(view.selectedText(), QStringLiteral("WW MMMM\nMWM"));

    // Shift and a click move the end of the selection.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      pointOf(view, QStringLiteral("third row"), 2, 1));
    QCOMPARE(view.selectedText(), QStringLiteral("WW MMMM\nMWMW word\nt"));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointOf(view, row1, 1, 7));
    QVERIFY(!view.hasSelection());
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointOf(view, row1, 1, 7));
    QCOMPARE(view.selectedText(), QStringLiteral("word"));

    // Pressed below the last row, the caret goes to that row.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(view.viewport()->width() - 4, view.viewport()->height() - 4));
    QCOMPARE(view.caret().row, 3);
}

// "alpha Beta", three pair lines of which two begin with "beta.txt", 300 filler rows and
// "BETA delta": the view with its find bar open on "beta".
struct FindView : ShownView {
    static constexpr std::int64_t kLastRow = 1 + 3 + 300;  // "BETA delta"
    QLineEdit* edit = nullptr;
    QLabel* status = nullptr;

    FindView() : ShownView(text()) {
        press(view, Qt::Key_F, Qt::ControlModifier);
        edit = child<QLineEdit>(view, "reportFind");
        status = child<QLabel>(view, "reportFindStatus");
        QTest::keyClicks(edit, QStringLiteral("beta"));
    }
    static ComposedText text() {
        static const Pairs pairs =
            pairsOf({"21201", "10100", "0100"}, {"beta.txt", "q.txt", "r.txt"}, strengthsBelow(6));
        ComposedText out("alpha Beta\r\n");
        out.appendPairLines(pairs.list);
        std::string filler;
        for (int k = 0; k < 300; ++k) {
            filler += "filler " + std::to_string(k) + "\r\n";
        }
        out.append(filler + "BETA delta\r\n");
        return out;
    }
    // The match selected, in sight, and the bar saying which of how many it is.
    void at(std::int64_t row, int column, const QString& found, const QString& which) const {
        QTRY_VERIFY(!view->isSearching());
        QVERIFY2(view->anchor() == (Position{row, column}), qPrintable(view->selectedText()));
        QCOMPARE(view->selectedText(), found);
        QVERIFY(view->topRow() <= row && row < view->topRow() + view->visibleRowCount());
        QTRY_COMPARE(status->text(), which);
    }
};

// Enter and F3 go on, wrapping at the end, and with Shift back, wrapping at the start; in the
// bar or in the view. Each key waits for the search before it.
void ReportViewTest::findStepsThroughMatchesBothWaysAndWraps_data() {
    QTest::addColumn<QString>("inBar");
    QTest::addColumn<QString>("inView");
    QTest::addColumn<qint64>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("which");
    const qint64 last = FindView::kLastRow;
    const QString first = u"match 1 of 4"_s, second = u"match 2 of 4"_s, third = u"match 3 of 4"_s,
                  fourth = u"match 4 of 4"_s;
    QTest::newRow("enter") << u"Return"_s << QString() << qint64{0} << 6 << u"Beta"_s << first;
    QTest::newRow("f3, in a pair line")
        << u"Return F3"_s << QString() << qint64{1} << 0 << u"beta"_s << second;
    QTest::newRow("enter again") << u"Return F3 Return"_s << QString() << qint64{2} << 0
                                 << u"beta"_s << third;
    QTest::newRow("to the last row")
        << u"Return F3 Return F3"_s << QString() << last << 0 << u"BETA"_s << fourth;
    QTest::newRow("wrapping at the end")
        << u"Return F3 Return F3 F3"_s << QString() << qint64{0} << 6 << u"Beta"_s << first;
    QTest::newRow("back, wrapping at the start")
        << u"Return S-F3"_s << QString() << last << 0 << u"BETA"_s << fourth;
    QTest::newRow("shift and enter")
        << u"Return S-F3 S-Return"_s << QString() << qint64{2} << 0 << u"beta"_s << third;
    QTest::newRow("f3 in the view")
        << u"Return F3 Return"_s << u"F3"_s << last << 0 << u"BETA"_s << fourth;
    QTest::newRow("shift and f3 in the view")
        << u"Return F3 Return"_s << u"F3 S-F3"_s << qint64{2} << 0 << u"beta"_s << third;
}

void ReportViewTest::findStepsThroughMatchesBothWaysAndWraps() {
    QFETCH(QString, inBar);
    QFETCH(QString, inView);
    QFETCH(qint64, row);
    QFETCH(int, column);
    QFETCH(QString, found);
    QFETCH(QString, which);
    FindView f;
    QVERIFY(f.view->isFindBarOpen());
    QCOMPARE(QApplication::focusWidget(), f.edit);
    for (const QString& key : inBar.split(u' ')) {
        pressAll(f.edit, key);
        QTRY_VERIFY(!f.view->isSearching());
    }
    if (!inView.isEmpty()) {
        f.view->setFocus();
        for (const QString& key : inView.split(u' ')) {
            pressAll(f.view, key);
            QTRY_VERIFY(!f.view->isSearching());
        }
    } else {
        QCOMPARE(QApplication::focusWidget(), f.edit);
    }
    f.at(row, column, found, which);
    // The last row is below the first page, and the first row brings the view to the top.
    QCOMPARE(f.view->topRow() > 0, row == FindView::kLastRow);
}

void ReportViewTest::findSaysNoMatchFindsTheOnlyMatchAgainAndCloses() {
    FindView f;
    QSignalSpy finished(f.view, &ReportView::findFinished);
    press(f.edit, Qt::Key_Return);
    f.at(0, 6, QStringLiteral("Beta"), QStringLiteral("match 1 of 4"));

    // A word that is not there: the selection stays and the bar says so.
    f.edit->selectAll();
    QTest::keyClicks(f.edit, QStringLiteral("gamma"));
    press(f.edit, Qt::Key_Return);
    QTRY_COMPARE(f.status->text(), QStringLiteral("No match"));
    QCOMPARE(finished.last().at(0).toBool(), false);
    QCOMPARE(f.view->selectedText(), QStringLiteral("Beta"));
    QTest::keyClicks(f.edit, QStringLiteral("x"));
    QCOMPARE(f.status->text(), QString());

    // The only match is found again from itself.
    f.view->select(Position{}, Position{});
    for (const bool backward : {false, false, true}) {
        f.view->find(QStringLiteral("DELTA"), backward);
        f.at(FindView::kLastRow, 5, QStringLiteral("delta"), QStringLiteral("match 1 of 1"));
    }

    // Escape closes the bar and gives the view the keys back.
    f.edit->setFocus();
    press(f.edit, Qt::Key_Escape);
    QVERIFY(!f.view->isFindBarOpen());
    QCOMPARE(QApplication::focusWidget(), f.view);
    QCOMPARE(f.view->selectedText(), QStringLiteral("delta"));
}

// A report of 1,200 texts of random codes, with every pair listed, and the same as a plain
// text would hold it.
struct LargeReport {
    std::vector<std::string> codes;
    ComposedText report{"Text Pair\tStrength of Intertextual relationship\r\n"};
    std::string expected;

    LargeReport() {
        const char* const kinds[] = {"21201", "10100", "0100", "03222", "21101", "11200", "20200"};
        std::mt19937 rng(1200);
        std::vector<std::string> names;
        for (int k = 0; k < 1200; ++k) {
            codes.push_back(kinds[rng() % std::size(kinds)]);
            names.push_back("text" + std::to_string(k) + ".txt");
        }
        const ComposedText::Strengths off = strengthsBelow(1);
        const Pairs pairs = pairsOf(codes, names, off);
        report.appendPairLines(pairs.list);
        report.append(
            "\r\nArithmetic Mean\t2.5000\r\nThe following intertextual type-relationships were "
            "significantly different from the norm for this group of texts:\r\n");
        report.appendPairLines(pairs.list, off);
        report.append("\r\nSample Standard Deviation\t1.2500\r\nthe end\r\n");
        expected = "Text Pair\tStrength of Intertextual relationship\n" + pairs.every +
                   "\nArithmetic Mean\t2.5000\nThe following intertextual type-relationships "
                   "were significantly different from the norm for this group of texts:\n" +
                   pairs.kept + "\nSample Standard Deviation\t1.2500\nthe end\n";
    }
};

void ReportViewTest::reportOfARunOf1200TextsIsSearchedToItsEnds() {
    const LargeReport large;
    ShownView shown(large.report);
    ReportView& view = *shown.view;
    QVERIFY(view.rowCount() > 730000);
    const std::int64_t deviationRow = view.rowCount() - 3;
    QCOMPARE(view.rowText(deviationRow), QStringLiteral("Sample Standard Deviation\t1.2500"));
    QCOMPARE(view.rowText(719400), QStringLiteral("text1198.txt-text1199.txt\t%1")
                                       .arg(literalStrength(large.codes[1198], large.codes[1199])));

    // A search from the top for a word near the end goes on between events until it is found.
    QSignalSpy finished(&view, &ReportView::findFinished);
    view.find(QStringLiteral("sample standard"));
    QTRY_VERIFY_WITH_TIMEOUT(!view.isSearching(), 300000);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().at(0).toBool(), true);
    QVERIFY(view.anchor() == (Position{deviationRow, 0}));
    QCOMPARE(view.selectedText(), QStringLiteral("Sample Standard"));
    QVERIFY(view.topRow() <= deviationRow && deviationRow < view.topRow() + view.visibleRowCount());
    // Backwards from there to the first row, across the filtered pair lines.
    view.find(QStringLiteral("text pair"), true);
    QTRY_VERIFY_WITH_TIMEOUT(!view.isSearching(), 300000);
    QVERIFY(view.anchor() == (Position{0, 0}));
    QCOMPARE(view.topRow(), 0);
}

// More rows than the scroll bar has values: they map onto it in proportion, and its arrows
// still move by one row.
void ReportViewTest::reportOfARunOf1200TextsScrollsInProportionAndIsCopiedWhole() {
    const LargeReport large;
    ShownView shown(large.report);
    ReportView& view = *shown.view;
    const int page = view.visibleRowCount();
    const std::int64_t maxTop = view.rowCount() - page;
    view.setScrollLimit(1000);
    QScrollBar* bar = view.verticalScrollBar();
    QCOMPARE(bar->maximum(), 1000);
    bar->setValue(500);
    QCOMPARE(view.topRow(), maxTop / 2);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(view.topRow(), maxTop / 2 + 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(view.topRow(), maxTop / 2 + 1 - page);
    bar->setValue(1000);
    QCOMPARE(view.topRow(), maxTop);
    view.setFocus();
    press(&view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(bar->value(), 0);
    press(&view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(bar->value(), 1000);
    QCOMPARE(view.topRow(), maxTop);

    // Every row, copied whole.
    QGuiApplication::clipboard()->clear();
    press(&view, Qt::Key_A, Qt::ControlModifier);
    press(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(large.expected));
}

}  // namespace pelmora

QTEST_MAIN(pelmora::ReportViewTest)
#include "report_view_test.moc"
