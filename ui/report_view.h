#pragma once
// A read-only view of a composed text, one row per line, that reads only the rows it shows:
// a report of millions of lines opens at once. Its selection and copy give the text as a
// text box would (every CR LF as LF); its find bar searches the whole text in slices, so
// the window keeps answering while it runs.

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "search/text_search.h"
#include "stores/composed_text.h"

class QAction;
class QElapsedTimer;
class QTextLayout;

namespace pelmora {

class ReportFindBar;

class ReportView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // A place between two characters: row, and UTF-16 column in the row's shown text.
    struct Position {
        std::int64_t row = 0;
        int column = 0;
        auto operator<=>(const Position&) const = default;
    };

    // Pixels between the left edge and the text.
    static constexpr int kTextMargin = 4;
    // Spaces' width between a column's widest text and the next column.
    static constexpr int kColumnGap = 3;

    explicit ReportView(QWidget* parent = nullptr);
    ~ReportView() override;

    // Keeps a copy (which shares the text's pieces), shows it from the top and clears the
    // selection; a search under way stops.
    void setText(const ComposedText& text);
    const ComposedText& text() const { return text_; }

    // Aligns the columns for display only: a tab stops past the widest pair of `names` joined
    // as the report's pair lines join them ("a-b"), as the font draws it, by the column gap;
    // a row whose text before its tab is wider still keeps the gap. Selecting, copying and
    // finding see the text as it is.
    void setPairNames(QStringList names);
    // Pixels between tab stops.
    qreal tabStop() const { return tabStop_; }
    // Pixels from the start of the row's text to a place in it, as drawn.
    int textX(Position p) const { return xOf(p); }

    // Rows are the text split at its LFs, so a text ending in LF has an empty last row.
    std::int64_t rowCount() const { return rows_; }
    // Row `row` as copied: without its line end.
    QString rowText(std::int64_t row) const;
    // The whole text with LF line ends; it is all in memory at once, so for small texts.
    QString toPlainText() const;

    Position caret() const { return caret_; }
    Position anchor() const { return anchor_; }
    bool hasSelection() const { return caret_ != anchor_; }
    QString selectedText() const;
    // Selects from `anchor` to `caret` and scrolls the caret into sight.
    void select(Position anchor, Position caret);
    void selectAll();
    void copy();
    // Scrolls to the top and puts the caret at the start, without a selection.
    void moveToStart();

    std::int64_t topRow() const { return topRow_; }
    // Rows that fit whole in the view.
    int visibleRowCount() const;

    // Searches for `needle` (ignoring case as the search does) after the selection, or before it
    // when `backward`, wrapping around the text; the match becomes the selection. A long search
    // goes on between events and ends with findFinished.
    void find(const QString& needle, bool backward = false);
    bool isSearching() const { return search_.has_value(); }
    void openFindBar();
    void closeFindBar();
    bool isFindBarOpen() const;

    // The scroll bar's largest value; beyond it rows map onto the bar proportionally.
    // Tests lower it to reach that mapping with a text of modest length.
    void setScrollLimit(int limit);

signals:
    void selectionChanged();
    // "Show pair" was chosen on line `line`, one that lists a pair.
    void pairRequested(std::int64_t line);
    void findFinished(bool found);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Calls `visit` with each row from `first` on, until it returns false or the rows end.
    void forEachRow(std::int64_t first,
                    const std::function<bool(std::int64_t, const QString&)>& visit) const;
    const QString& cachedRow(std::int64_t row) const;
    void cacheRows(std::int64_t first, std::int64_t count) const;
    void layOut(QTextLayout& layout) const;
    void updateTabStop();
    int rowHeight() const;
    int rowWidth(std::int64_t row) const;
    Position clamped(Position p) const;
    Position endOfText() const;
    Position positionAt(QPoint point) const;
    int xOf(Position p) const;
    Position moved(Position p, int key, Qt::KeyboardModifiers modifiers) const;
    void moveCaret(Position to, bool extend, bool keepX = false);
    QString textBetween(Position from, Position to) const;

    std::int64_t maxTopRow() const;
    bool scaled() const;
    int scrollValueOf(std::int64_t top) const;
    std::int64_t topRowOf(int value) const;
    void setTopRow(std::int64_t top);
    void updateScrollBars();
    void updateHorizontalRange();
    void scrollBarAction(int action);
    void scrollBarValue(int value);
    void ensureVisible(Position p);

    // The search goes on for a slice of time, and then after the events that came meanwhile.
    void continueSearch();
    // Counts the matches after one was found, for "match k of n".
    void continueCount(const QElapsedTimer& clock);
    // Columns of a row and bytes of its line in the text, for the search.
    std::size_t byteOf(Position p) const;
    int columnOf(TextPlace place) const;
    void layOutFindBar();
    void findFromBar(bool backward);

    ComposedText text_;
    std::int64_t rows_ = 1;
    std::int64_t lines_ = 0;  // rows the text holds; a last empty row after an LF is not one
    mutable std::vector<QString> cache_;  // shown rows from cacheFirst_ on
    mutable std::int64_t cacheFirst_ = 0;

    Position caret_, anchor_;
    int caretX_ = 0;  // where Up and Down aim for, in text pixels
    std::int64_t topRow_ = 0;
    int widest_ = 0;  // widest row shown so far, for the horizontal scroll range
    QStringList pairNames_;
    qreal tabStop_ = 0;
    bool rangePending_ = false;
    int scrollLimit_ = 1 << 30;

    bool dragging_ = false;
    QPoint dragPoint_;
    QBasicTimer autoScroll_;
    int wheelRest_ = 0;  // wheel turn not yet scrolled, in eighths of a degree

    std::optional<TextSearch> search_;
    std::optional<MatchCount> count_;
    std::string needle_;
    int needleLength_ = 0;  // in characters
    QTimer searchTimer_;

    ReportFindBar* findBar_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* selectAllAction_ = nullptr;
    QAction* findAction_ = nullptr;
};

}  // namespace pelmora
