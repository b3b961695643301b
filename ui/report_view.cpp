#include "ui/report_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "ui/report_find_bar.h"
#include "ui/report_rows.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

constexpr int kCacheMargin = 64;  // rows read on either side of those shown

int floorDivide(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

ReportView::ReportView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("txtReport"));
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setCursor(Qt::IBeamCursor);
    QPalette shown = viewport()->palette();
    shown.setColor(QPalette::Base, QColor(0xff, 0xff, 0xc0));
    shown.setColor(QPalette::Text, Qt::black);
    viewport()->setPalette(shown);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);

    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &ReportView::scrollBarAction);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ReportView::scrollBarValue);

    searchTimer_.setSingleShot(true);
    searchTimer_.setInterval(0);
    connect(&searchTimer_, &QTimer::timeout, this, &ReportView::continueSearch);

    findBar_ = new ReportFindBar(this);
    findBar_->hide();
    connect(findBar_, &ReportFindBar::findRequested, this, &ReportView::findFromBar);
    connect(findBar_, &ReportFindBar::closeRequested, this, &ReportView::closeFindBar);

    // Shown in the context menu; the keys themselves are handled as key presses, so that no
    // window shortcut competes with them.
    const auto action = [this](const char* name, const QString& text, QKeySequence keys) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetShortcut);
        return a;
    };
    copyAction_ = action("reportCopy", QStringLiteral("&Copy"), QKeySequence::Copy);
    selectAllAction_ =
        action("reportSelectAll", QStringLiteral("Select &All"), QKeySequence::SelectAll);
    findAction_ = action("reportFindAction", QStringLiteral("&Find…"), QKeySequence::Find);
    connect(copyAction_, &QAction::triggered, this, &ReportView::copy);
    connect(selectAllAction_, &QAction::triggered, this, &ReportView::selectAll);
    connect(findAction_, &QAction::triggered, this, &ReportView::openFindBar);

    updateTabStop();
}

ReportView::~ReportView() = default;

void ReportView::setText(const ComposedText& text) {
    text_ = text;
    lines_ = text_.lineCount();
    bool lastEndsInLf = lines_ == 0;
    text_.forEachLine(lines_ - 1, [&](std::string_view line) {
        lastEndsInLf = line.back() == '\n';
        return false;
    });
    rows_ = lines_ + (lastEndsInLf ? 1 : 0);
    cache_.clear();
    cacheFirst_ = 0;
    widest_ = 0;
    search_.reset();
    count_.reset();
    searchTimer_.stop();
    findBar_->setStatus(QString());
    caret_ = anchor_ = Position{};
    caretX_ = 0;
    topRow_ = 0;
    updateScrollBars();
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    emit selectionChanged();
}

// --- rows ---

void ReportView::forEachRow(std::int64_t first,
                            const std::function<bool(std::int64_t, const QString&)>& visit) const {
    if (first < 0 || first >= rows_) {
        return;
    }
    std::int64_t row = first;
    bool more = true;
    text_.forEachLine(first, [&](std::string_view line) {
        more = visit(row++, shownLine(line));
        return more;
    });
    if (more && row < rows_) {
        visit(row, QString());  // the empty row after a last LF
    }
}

void ReportView::cacheRows(std::int64_t first, std::int64_t count) const {
    const std::int64_t last = std::min(rows_, first + count);
    if (first >= cacheFirst_ && last <= cacheFirst_ + static_cast<std::int64_t>(cache_.size())) {
        return;
    }
    cacheFirst_ = std::max<std::int64_t>(0, first - kCacheMargin);
    const std::int64_t wanted = last - cacheFirst_ + kCacheMargin;
    cache_.clear();
    forEachRow(cacheFirst_, [&](std::int64_t, const QString& row) {
        cache_.push_back(row);
        return static_cast<std::int64_t>(cache_.size()) < wanted;
    });
}

const QString& ReportView::cachedRow(std::int64_t row) const {
    static const QString none;
    if (row < 0 || row >= rows_) {
        return none;
    }
    cacheRows(row, 1);
    return cache_[static_cast<std::size_t>(row - cacheFirst_)];
}

QString ReportView::rowText(std::int64_t row) const {
    return cachedRow(row);
}

void ReportView::setPairNames(QStringList names) {
    pairNames_ = std::move(names);
    updateTabStop();
}

void ReportView::updateTabStop() {
    const QFontMetricsF metrics(font());
    const qreal gap = metrics.horizontalAdvance(QLatin1Char(' ')) * kColumnGap;
    // The pair of the two widest names is the widest pair line's name.
    const QString* widest[2] = {nullptr, nullptr};
    qreal widths[2] = {-1, -1};
    for (const QString& name : pairNames_) {
        const qreal w = metrics.horizontalAdvance(name);
        if (w > widths[0]) {
            widest[1] = std::exchange(widest[0], &name);
            widths[1] = std::exchange(widths[0], w);
        } else if (w > widths[1]) {
            widest[1] = &name;
            widths[1] = w;
        }
    }
    tabStop_ = widest[1] == nullptr
                   ? metrics.horizontalAdvance(QLatin1Char(' ')) * 8
                   : metrics.horizontalAdvance(*widest[0] + QLatin1Char('-') + *widest[1]) + gap;
    widest_ = 0;
    updateScrollBars();
}

void ReportView::layOut(QTextLayout& layout) const {
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    // A row whose first column passes the tab stop keeps the gap after it all the same.
    qreal distance = tabStop_;
    if (const qsizetype tab = layout.text().indexOf(QLatin1Char('\t')); tab >= 0) {
        const QFontMetricsF metrics(font());
        distance = std::max(distance, metrics.horizontalAdvance(layout.text().left(tab)) +
                                          metrics.horizontalAdvance(QLatin1Char(' ')) * kColumnGap);
    }
    option.setTabStopDistance(distance);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(1e7);
    }
    layout.endLayout();
}

int ReportView::rowHeight() const {
    return std::max(1, fontMetrics().lineSpacing());
}

int ReportView::rowWidth(std::int64_t row) const {
    QTextLayout layout(drawnText(cachedRow(row)), font(), viewport());
    layOut(layout);
    return static_cast<int>(std::ceil(layout.lineAt(0).naturalTextWidth()));
}

int ReportView::visibleRowCount() const {
    return std::max(1, viewport()->height() / rowHeight());
}

// --- positions ---

ReportView::Position ReportView::clamped(Position p) const {
    p.row = std::clamp<std::int64_t>(p.row, 0, rows_ - 1);
    p.column = std::clamp(p.column, 0, static_cast<int>(cachedRow(p.row).size()));
    return p;
}

ReportView::Position ReportView::endOfText() const {
    return Position{rows_ - 1, static_cast<int>(cachedRow(rows_ - 1).size())};
}

ReportView::Position ReportView::positionAt(QPoint point) const {
    Position p;
    p.row = std::clamp<std::int64_t>(topRow_ + floorDivide(point.y(), rowHeight()), 0, rows_ - 1);
    QTextLayout layout(drawnText(cachedRow(p.row)), font(), viewport());
    layOut(layout);
    const qreal x = point.x() - kTextMargin + horizontalScrollBar()->value();
    p.column = layout.lineAt(0).xToCursor(x);
    return clamped(p);
}

int ReportView::xOf(Position p) const {
    QTextLayout layout(drawnText(cachedRow(p.row)), font(), viewport());
    layOut(layout);
    return static_cast<int>(layout.lineAt(0).cursorToX(p.column));
}

ReportView::Position ReportView::moved(Position p, int key, Qt::KeyboardModifiers modifiers) const {
    const bool control = modifiers & Qt::ControlModifier;
    const auto length = [this](std::int64_t row) {
        return static_cast<int>(cachedRow(row).size());
    };
    const auto atX = [this](std::int64_t row, int x) {
        QTextLayout layout(drawnText(cachedRow(row)), font(), viewport());
        layOut(layout);
        return Position{row, layout.lineAt(0).xToCursor(x)};
    };
    const auto step = [&](bool forward) {
        QTextLayout layout(drawnText(cachedRow(p.row)), font(), viewport());
        layOut(layout);
        const QTextLayout::CursorMode mode =
            control ? QTextLayout::SkipWords : QTextLayout::SkipCharacters;
        return forward ? layout.nextCursorPosition(p.column, mode)
                       : layout.previousCursorPosition(p.column, mode);
    };
    const int page = visibleRowCount();
    switch (key) {
        case Qt::Key_Left:
            if (p.column == 0) {
                return p.row > 0 ? Position{p.row - 1, length(p.row - 1)} : p;
            }
            return Position{p.row, step(false)};
        case Qt::Key_Right:
            if (p.column >= length(p.row)) {
                return p.row + 1 < rows_ ? Position{p.row + 1, 0} : p;
            }
            return Position{p.row, step(true)};
        case Qt::Key_Up:
            return p.row > 0 ? atX(p.row - 1, caretX_) : Position{0, 0};
        case Qt::Key_Down:
            return p.row + 1 < rows_ ? atX(p.row + 1, caretX_) : Position{p.row, length(p.row)};
        case Qt::Key_PageUp:
            return p.row > 0 ? atX(std::max<std::int64_t>(0, p.row - page), caretX_)
                             : Position{0, 0};
        case Qt::Key_PageDown:
            return p.row + 1 < rows_ ? atX(std::min(rows_ - 1, p.row + page), caretX_)
                                     : Position{p.row, length(p.row)};
        case Qt::Key_Home:
            return control ? Position{0, 0} : Position{p.row, 0};
        case Qt::Key_End:
            return control ? endOfText() : Position{p.row, length(p.row)};
        default:
            return p;
    }
}

void ReportView::moveCaret(Position to, bool extend, bool keepX) {
    caret_ = clamped(to);
    if (!extend) {
        anchor_ = caret_;
    }
    if (!keepX) {
        caretX_ = xOf(caret_);
    }
    ensureVisible(caret_);
    viewport()->update();
    emit selectionChanged();
}

void ReportView::select(Position anchor, Position caret) {
    anchor_ = clamped(anchor);
    moveCaret(caret, true);
}

void ReportView::selectAll() {
    anchor_ = Position{};
    caret_ = endOfText();
    caretX_ = xOf(caret_);
    viewport()->update();
    emit selectionChanged();
}

void ReportView::moveToStart() {
    caret_ = anchor_ = Position{};
    caretX_ = 0;
    setTopRow(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    emit selectionChanged();
}

QString ReportView::textBetween(Position from, Position to) const {
    QString out;
    if (from >= to) {
        return out;
    }
    forEachRow(from.row, [&](std::int64_t row, const QString& text) {
        const int start = row == from.row ? from.column : 0;
        if (row == to.row) {
            out += QStringView(text).mid(start, to.column - start);
            return false;
        }
        out += QStringView(text).mid(start);
        out += QLatin1Char('\n');
        return true;
    });
    return out;
}

QString ReportView::selectedText() const {
    return textBetween(std::min(anchor_, caret_), std::max(anchor_, caret_));
}

QString ReportView::toPlainText() const {
    return textBetween(Position{}, endOfText());
}

void ReportView::copy() {
    if (!hasSelection() || refusedAsTooLongToCopy(this, std::abs(caret_.row - anchor_.row) + 1)) {
        return;
    }
    const bool long_ = std::abs(caret_.row - anchor_.row) > kWaitCursorRows;
    if (long_) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    QGuiApplication::clipboard()->setText(selectedText());
    if (long_) {
        QGuiApplication::restoreOverrideCursor();
    }
}

// --- scrolling ---

std::int64_t ReportView::maxTopRow() const {
    return std::max<std::int64_t>(0, rows_ - visibleRowCount());
}

bool ReportView::scaled() const {
    return maxTopRow() > scrollLimit_;
}

int ReportView::scrollValueOf(std::int64_t top) const {
    if (!scaled()) {
        return static_cast<int>(top);
    }
    return static_cast<int>(static_cast<__int128>(top) * scrollLimit_ / maxTopRow());
}

std::int64_t ReportView::topRowOf(int value) const {
    if (!scaled()) {
        return value;
    }
    return static_cast<std::int64_t>(static_cast<__int128>(value) * maxTopRow() / scrollLimit_);
}

void ReportView::setScrollLimit(int limit) {
    scrollLimit_ = std::max(1, limit);
    updateScrollBars();
}

void ReportView::setTopRow(std::int64_t top) {
    top = std::clamp<std::int64_t>(top, 0, maxTopRow());
    if (top != topRow_) {
        topRow_ = top;
        viewport()->update();
    }
    const QSignalBlocker quiet(verticalScrollBar());
    verticalScrollBar()->setValue(scrollValueOf(topRow_));
}

void ReportView::updateScrollBars() {
    QScrollBar* bar = verticalScrollBar();
    const std::int64_t maxTop = maxTopRow();
    topRow_ = std::min(topRow_, maxTop);
    const int page = visibleRowCount();
    {
        // The bar follows the top row here, not the other way round.
        const QSignalBlocker quiet(bar);
        if (scaled()) {
            bar->setRange(0, scrollLimit_);
            bar->setPageStep(static_cast<int>(
                std::max<__int128>(1, static_cast<__int128>(page) * scrollLimit_ / maxTop)));
        } else {
            bar->setRange(0, static_cast<int>(maxTop));
            bar->setPageStep(page);
        }
        bar->setSingleStep(1);
        bar->setValue(scrollValueOf(topRow_));
    }
    updateHorizontalRange();
    viewport()->update();
}

void ReportView::updateHorizontalRange() {
    QScrollBar* bar = horizontalScrollBar();
    const int width = viewport()->width();
    bar->setRange(0, std::max(0, widest_ + 2 * kTextMargin - width));
    bar->setPageStep(std::max(1, width));
    bar->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
}

void ReportView::scrollBarAction(int action) {
    // When rows outnumber the bar's values one step of the bar is many rows; the arrows and
    // the page areas still move by rows.
    if (!scaled()) {
        return;
    }
    std::int64_t top = topRow_;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            top += 1;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            top -= 1;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            top += visibleRowCount();
            break;
        case QAbstractSlider::SliderPageStepSub:
            top -= visibleRowCount();
            break;
        default:
            return;
    }
    topRow_ = std::clamp<std::int64_t>(top, 0, maxTopRow());
    verticalScrollBar()->setSliderPosition(scrollValueOf(topRow_));
    viewport()->update();
}

void ReportView::scrollBarValue(int value) {
    if (value == scrollValueOf(topRow_)) {
        return;  // the bar already stands for the top row
    }
    topRow_ = std::clamp<std::int64_t>(topRowOf(value), 0, maxTopRow());
    viewport()->update();
}

void ReportView::scrollContentsBy(int, int) {
    viewport()->update();
}

void ReportView::ensureVisible(Position p) {
    const int page = visibleRowCount();
    if (p.row < topRow_) {
        setTopRow(p.row);
    } else if (p.row >= topRow_ + page) {
        setTopRow(p.row - page + 1);
    }
    const int width = rowWidth(p.row);
    if (width > widest_) {
        widest_ = width;
        updateHorizontalRange();
    }
    QScrollBar* bar = horizontalScrollBar();
    const int x = xOf(p);
    const int room = std::max(1, viewport()->width() - 2 * kTextMargin);
    if (x < bar->value()) {
        bar->setValue(x);
    } else if (x > bar->value() + room) {
        bar->setValue(x - room);
    }
}

}  // namespace pelmora
