#include <QElapsedTimer>
#include <algorithm>
#include <string>

#include "ui/report_find_bar.h"
#include "ui/report_view.h"

namespace pelmora {

namespace {

constexpr int kSliceMilliseconds = 20;      // a search looks this long between events
constexpr std::int64_t kLinesAtOnce = 256;  // lines between looks at the clock

// The row's line as the store holds it, without its line end; empty for the row after a
// last LF.
std::string storedRow(const ComposedText& text, std::int64_t row) {
    return row < text.lineCount() ? std::string(withoutLineEnd(text.line(row))) : std::string();
}

}  // namespace

bool ReportView::isFindBarOpen() const {
    return findBar_->isVisible();
}

void ReportView::openFindBar() {
    // A short selection on one row is what one most likely wants to find.
    if (hasSelection() && caret_.row == anchor_.row) {
        const QString selected = selectedText();
        if (selected.size() <= 200) {
            findBar_->setPhrase(selected);
        }
    }
    findBar_->show();
    layOutFindBar();
    findBar_->focusPhrase();
}

void ReportView::closeFindBar() {
    search_.reset();
    count_.reset();
    searchTimer_.stop();
    findBar_->setStatus(QString());
    findBar_->hide();
    layOutFindBar();
    setFocus(Qt::OtherFocusReason);
}

void ReportView::layOutFindBar() {
    const int height = findBar_->isVisibleTo(this) ? findBar_->sizeHint().height() : 0;
    if (viewportMargins().bottom() != height) {
        setViewportMargins(0, 0, 0, height);
    }
    if (height > 0) {
        const QRect area = viewport()->geometry();
        findBar_->setGeometry(area.left(), area.bottom() + 1, area.width(), height);
    }
}

void ReportView::findFromBar(bool backward) {
    if (findBar_->phrase().isEmpty()) {
        openFindBar();
        return;
    }
    if (!findBar_->isVisibleTo(this)) {
        findBar_->show();
        layOutFindBar();
    }
    find(findBar_->phrase(), backward);
}

std::size_t ReportView::byteOf(Position p) const {
    // The shortest start of the line that shows as `p.column` characters or more: the row
    // decodes a broken sequence as a whole, so its bytes are counted the same way.
    const std::string line = storedRow(text_, p.row);
    std::size_t low = 0, high = line.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        const auto shown = QString::fromUtf8(line.data(), static_cast<qsizetype>(middle)).size();
        if (shown < p.column) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

int ReportView::columnOf(TextPlace place) const {
    const std::string line = storedRow(text_, place.line);
    return static_cast<int>(
        QString::fromUtf8(line.data(), static_cast<qsizetype>(place.byte)).size());
}

void ReportView::find(const QString& needle, bool backward) {
    search_.reset();
    count_.reset();
    searchTimer_.stop();
    findBar_->setStatus(QString());
    if (needle.isEmpty()) {
        return;
    }
    const Position from = backward ? std::min(anchor_, caret_) : std::max(anchor_, caret_);
    needle_ = needle.toStdString();
    search_.emplace(text_, needle_, TextPlace{from.row, byteOf(from)}, backward);
    needleLength_ = static_cast<int>(needle.size());
    continueSearch();
}

void ReportView::continueSearch() {
    QElapsedTimer clock;
    clock.start();
    if (count_) {
        continueCount(clock);
        return;
    }
    if (!search_) {
        return;
    }
    while (!search_->advance(kLinesAtOnce) && clock.elapsed() < kSliceMilliseconds) {
    }
    if (!search_->ended()) {
        findBar_->setStatus(QStringLiteral("Searching…"));
        searchTimer_.start();
        return;
    }
    const std::optional<TextPlace> match = search_->match();
    search_.reset();
    searchTimer_.stop();
    if (!match) {
        findBar_->setStatus(QStringLiteral("No match"));
        emit findFinished(false);
        return;
    }
    // Which match this is, counted over the whole text between events as the search went.
    count_.emplace(text_, needle_, *match);
    findBar_->setStatus(QStringLiteral("Counting…"));
    continueCount(clock);
    const Position start{match->line, columnOf(*match)};
    const int page = visibleRowCount();
    if (start.row < topRow_ || start.row >= topRow_ + page) {
        setTopRow(start.row - page / 2);  // in the middle, with rows around it
    }
    anchor_ = start;
    moveCaret(Position{start.row, start.column + needleLength_}, true);
    ensureVisible(anchor_);
    emit findFinished(true);
}

void ReportView::continueCount(const QElapsedTimer& clock) {
    while (!count_->advance(kLinesAtOnce) && clock.elapsed() < kSliceMilliseconds) {
    }
    if (!count_->ended()) {
        searchTimer_.start();
        return;
    }
    findBar_->setStatus(
        QStringLiteral("match %1 of %2").arg(count_->number()).arg(count_->total()));
    count_.reset();
}

}  // namespace pelmora
