#include "ui/report_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextLayout>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "ui/text_bridge.h"

namespace pelmora {

namespace {

constexpr int kCacheMargin = 64;               // rows read on either side of those shown
constexpr int kSliceMilliseconds = 20;         // a search looks this long between events
constexpr std::int64_t kBackwardChunk = 2048;  // rows read at once when searching back
constexpr std::int64_t kWaitCursorRows = 100000;

// A line of the store as its row shows it: without the LF and a CR before it. Decoding the
// line end along keeps a broken sequence before it decoded as in the whole text.
QString shownLine(std::string_view line) {
    QString row = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    if (row.endsWith(QLatin1Char('\n'))) {
        row.chop(1);
        if (row.endsWith(QLatin1Char('\r'))) {
            row.chop(1);
        }
    }
    return row;
}

bool drawnDifferently(QChar c) {
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || u == 0x7f || u == 0x2028 || u == 0x2029;
}

// Control characters are drawn as their pictures, one for one, so columns stay put; a line or
// paragraph separator would otherwise break the row.
QString drawnText(const QString& row) {
    if (std::none_of(row.begin(), row.end(), drawnDifferently)) {
        return row;
    }
    QString out = row;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != u'\t') {
            c = QChar(static_cast<char16_t>(0x2400 + u));
        } else if (u == 0x7f) {
            c = QChar(0x2421);
        } else if (u == 0x2028 || u == 0x2029) {
            c = QChar(0x2424);
        }
    }
    return out;
}

bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool isNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
    }
}

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

    findBar_ = new QWidget(this);
    findBar_->setObjectName(QStringLiteral("reportFindBar"));
    findBar_->setAutoFillBackground(true);
    auto* caption = new QLabel(QStringLiteral("&Find:"), findBar_);
    findEdit_ = new QLineEdit(findBar_);
    findEdit_->setObjectName(QStringLiteral("reportFind"));
    caption->setBuddy(findEdit_);
    const auto tool = [this](const char* name, const QString& text, const QString& tip) {
        auto* button = new QToolButton(findBar_);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text);
        button->setToolTip(tip);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(true);
        return button;
    };
    QToolButton* previous =
        tool("reportFindPrevious", QStringLiteral("Previous"), QStringLiteral("Shift+F3"));
    QToolButton* next = tool("reportFindNext", QStringLiteral("Next"), QStringLiteral("F3"));
    findStatus_ = new QLabel(findBar_);
    findStatus_->setObjectName(QStringLiteral("reportFindStatus"));
    QToolButton* close = tool("reportFindClose", QStringLiteral("Close"), QStringLiteral("Esc"));
    auto* row = new QHBoxLayout(findBar_);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(caption);
    row->addWidget(findEdit_, 1);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(findStatus_);
    row->addWidget(close);
    findBar_->hide();
    findEdit_->installEventFilter(this);
    connect(findEdit_, &QLineEdit::textEdited, findStatus_, &QLabel::clear);
    connect(previous, &QToolButton::clicked, this, [this] { findFromBar(true); });
    connect(next, &QToolButton::clicked, this, [this] { findFromBar(false); });
    connect(close, &QToolButton::clicked, this, &ReportView::closeFindBar);

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

    updateScrollBars();
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
    searchTimer_.stop();
    findStatus_->clear();
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

void ReportView::layOut(QTextLayout& layout) const {
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
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

// --- painting ---

void ReportView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPalette& colours = viewport()->palette();
    const QPalette::ColorGroup group = isActiveWindow() ? QPalette::Active : QPalette::Inactive;
    QTextCharFormat selected;
    selected.setBackground(colours.brush(group, QPalette::Highlight));
    selected.setForeground(colours.brush(group, QPalette::HighlightedText));
    painter.setPen(colours.color(group, QPalette::Text));

    const int height = rowHeight();
    const std::int64_t last = std::min(rows_, topRow_ + viewport()->height() / height + 1);
    cacheRows(topRow_, last - topRow_);
    const Position from = std::min(anchor_, caret_), to = std::max(anchor_, caret_);
    const int left = kTextMargin - horizontalScrollBar()->value();
    const int lineEndWidth = fontMetrics().horizontalAdvance(QLatin1Char(' '));
    int widest = widest_;
    for (std::int64_t row = topRow_; row < last; ++row) {
        const int y = static_cast<int>(row - topRow_) * height;
        if (y > event->rect().bottom() || y + height < event->rect().top()) {
            continue;
        }
        QTextLayout layout(drawnText(cachedRow(row)), font(), viewport());
        layOut(layout);
        const QTextLine line = layout.lineAt(0);
        widest = std::max(widest, static_cast<int>(std::ceil(line.naturalTextWidth())));
        QList<QTextLayout::FormatRange> ranges;
        if (from != to && row >= from.row && row <= to.row) {
            const int start = row == from.row ? from.column : 0;
            const int end = row == to.row ? to.column : static_cast<int>(layout.text().size());
            if (end > start) {
                ranges.append(QTextLayout::FormatRange{start, end - start, selected});
            }
            if (row < to.row) {  // the line end is selected too
                painter.fillRect(QRectF(left + line.naturalTextWidth(), y, lineEndWidth, height),
                                 selected.background());
            }
        }
        layout.draw(&painter, QPointF(left, y), ranges);
        if (hasFocus() && row == caret_.row) {
            layout.drawCursor(&painter, QPointF(left, y), caret_.column, 1);
        }
    }
    if (widest > widest_) {
        // The scroll range grows with the rows seen; it is set after painting, because the
        // bar appearing changes the view's height.
        widest_ = widest;
        if (!rangePending_) {
            rangePending_ = true;
            QTimer::singleShot(0, this, [this] {
                rangePending_ = false;
                updateHorizontalRange();
            });
        }
    }
}

void ReportView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layOutFindBar();
    updateScrollBars();
}

void ReportView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        widest_ = 0;
        updateScrollBars();
    }
}

// --- input ---

bool ReportView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers extra =
            key->modifiers() & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier);
        if (key == QKeySequence::Copy || key == QKeySequence::SelectAll ||
            key == QKeySequence::Find || key == QKeySequence::FindNext ||
            key == QKeySequence::FindPrevious || key->key() == Qt::Key_F3 ||
            (key->key() == Qt::Key_Escape && isFindBarOpen()) ||
            (isNavigationKey(key->key()) && extra == Qt::NoModifier)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void ReportView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool shift = modifiers & Qt::ShiftModifier;
    if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event == QKeySequence::Find) {
        openFindBar();
    } else if (event->key() == Qt::Key_F3 || event == QKeySequence::FindNext ||
               event == QKeySequence::FindPrevious) {
        findFromBar(event->key() == Qt::Key_F3 ? shift : event == QKeySequence::FindPrevious);
    } else if (event->key() == Qt::Key_Escape && isFindBarOpen()) {
        closeFindBar();
    } else if (isNavigationKey(event->key()) &&
               !(modifiers & (Qt::AltModifier | Qt::MetaModifier))) {
        const int key = event->key();
        const bool control = modifiers & Qt::ControlModifier;
        if (!shift && hasSelection() && !control && (key == Qt::Key_Left || key == Qt::Key_Right)) {
            // An arrow without Shift first drops the selection at its side.
            moveCaret(key == Qt::Key_Left ? std::min(anchor_, caret_) : std::max(anchor_, caret_),
                      false);
            return;
        }
        const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                              key == Qt::Key_PageDown;
        const Position to = moved(caret_, key, modifiers);
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            setTopRow(topRow_ + (to.row - caret_.row));
        }
        moveCaret(to, shift, vertical);
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void ReportView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    dragPoint_ = event->position().toPoint();
    moveCaret(positionAt(dragPoint_), event->modifiers() & Qt::ShiftModifier);
}

void ReportView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    dragPoint_ = event->position().toPoint();
    moveCaret(positionAt(dragPoint_), true);
    // Beyond the top or bottom edge the view keeps scrolling while the button is held.
    if (dragPoint_.y() < 0 || dragPoint_.y() >= viewport()->height()) {
        autoScroll_.start(50, this);
    } else {
        autoScroll_.stop();
    }
}

void ReportView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    autoScroll_.stop();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && hasSelection() &&
        std::abs(caret_.row - anchor_.row) <= kWaitCursorRows) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

void ReportView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const Position at = positionAt(event->position().toPoint());
    const QString& row = cachedRow(at.row);
    int start = at.column, end = at.column;
    while (start > 0 && isWordCharacter(row[start - 1])) {
        --start;
    }
    while (end < row.size() && isWordCharacter(row[end])) {
        ++end;
    }
    select(Position{at.row, start}, Position{at.row, end});
    dragging_ = false;
}

void ReportView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == autoScroll_.timerId()) {
        moveCaret(positionAt(dragPoint_), true);
        return;
    }
    QAbstractScrollArea::timerEvent(event);
}

void ReportView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if ((event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) ||
        std::abs(delta.x()) > std::abs(delta.y())) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // By rows, not by the scroll bar's values, which may stand for many rows each.
    wheelRest_ += delta.y();
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    setTopRow(topRow_ - static_cast<std::int64_t>(notches) * QApplication::wheelScrollLines());
    event->accept();
}

void ReportView::contextMenuEvent(QContextMenuEvent* event) {
    copyAction_->setEnabled(hasSelection());
    QMenu menu(this);
    menu.addAction(copyAction_);
    menu.addAction(selectAllAction_);
    menu.addSeparator();
    menu.addAction(findAction_);
    menu.exec(event->globalPos());
}

void ReportView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ReportView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// --- find ---

bool ReportView::isFindBarOpen() const {
    return findBar_->isVisible();
}

void ReportView::openFindBar() {
    // A short selection on one row is what one most likely wants to find.
    if (hasSelection() && caret_.row == anchor_.row) {
        const QString selected = selectedText();
        if (selected.size() <= 200) {
            findEdit_->setText(selected);
            findStatus_->clear();
        }
    }
    findBar_->show();
    layOutFindBar();
    findEdit_->setFocus(Qt::ShortcutFocusReason);
    findEdit_->selectAll();
}

void ReportView::closeFindBar() {
    search_.reset();
    searchTimer_.stop();
    findStatus_->clear();
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
    if (findEdit_->text().isEmpty()) {
        openFindBar();
        return;
    }
    if (!findBar_->isVisibleTo(this)) {
        findBar_->show();
        layOutFindBar();
    }
    find(findEdit_->text(), backward);
}

bool ReportView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == findEdit_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ours = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                          key->key() == Qt::Key_F3 || key->key() == Qt::Key_Escape;
        if (!ours) {
            return QAbstractScrollArea::eventFilter(watched, event);
        }
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            closeFindBar();
        } else {
            findFromBar(key->modifiers() & Qt::ShiftModifier);
        }
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void ReportView::find(const QString& needle, bool backward) {
    search_.reset();
    searchTimer_.stop();
    findStatus_->clear();
    if (needle.isEmpty()) {
        return;
    }
    Search s;
    s.needle = needle;
    s.backward = backward;
    s.from = backward ? std::min(anchor_, caret_) : std::max(anchor_, caret_);
    s.row = s.from.row;
    search_ = s;
    continueSearch();
}

void ReportView::continueSearch() {
    if (!search_) {
        return;
    }
    QElapsedTimer clock;
    clock.start();
    if (search_->backward) {
        searchBackward(*search_, clock);
    } else {
        searchForward(*search_, clock);
    }
    if (search_) {
        findStatus_->setText(QStringLiteral("Searching…"));
        searchTimer_.start();
    }
}

// Rows in the order start row (after the start), the rows after it, from the top again, and
// the start row whole: every row once, and the start row's own match last.
void ReportView::searchForward(Search& s, const QElapsedTimer& clock) {
    const std::int64_t total = rows_ + 1;
    while (s.visited < total) {
        std::optional<Position> hit;
        bool outOfTime = false;
        int sinceCheck = 0;
        forEachRow(s.row, [&](std::int64_t row, const QString& text) {
            const int from = s.visited == 0 ? s.from.column : 0;
            const qsizetype at = text.indexOf(s.needle, from, Qt::CaseInsensitive);
            ++s.visited;
            s.row = row + 1;
            if (at >= 0) {
                hit = Position{row, static_cast<int>(at)};
                return false;
            }
            if (s.visited >= total) {
                return false;
            }
            if (++sinceCheck == 256) {
                sinceCheck = 0;
                outOfTime = clock.elapsed() >= kSliceMilliseconds;
            }
            return !outOfTime;
        });
        if (hit) {
            endSearch(hit, static_cast<int>(s.needle.size()));
            return;
        }
        if (s.row >= rows_) {
            s.row = 0;
        }
        if (outOfTime) {
            return;
        }
    }
    endSearch(std::nullopt, 0);
}

// The same order backwards: the start row before the start, the rows above it, from the
// bottom again, and the start row whole. Rows are read forward in chunks.
void ReportView::searchBackward(Search& s, const QElapsedTimer& clock) {
    const std::int64_t total = rows_ + 1;
    while (s.visited < total) {
        const std::int64_t first = std::max<std::int64_t>(0, s.row - kBackwardChunk + 1);
        std::vector<QString> chunk;
        chunk.reserve(static_cast<std::size_t>(s.row - first + 1));
        forEachRow(first, [&](std::int64_t row, const QString& text) {
            chunk.push_back(text);
            return row < s.row;
        });
        for (std::int64_t row = s.row; row >= first && s.visited < total; --row) {
            const QString& text = chunk[static_cast<std::size_t>(row - first)];
            qsizetype at = -1;
            if (s.visited > 0) {
                at = text.lastIndexOf(s.needle, -1, Qt::CaseInsensitive);
            } else if (s.from.column > 0) {
                at = text.lastIndexOf(s.needle, s.from.column - 1, Qt::CaseInsensitive);
            }
            ++s.visited;
            if (at >= 0) {
                endSearch(Position{row, static_cast<int>(at)}, static_cast<int>(s.needle.size()));
                return;
            }
        }
        s.row = first > 0 ? first - 1 : rows_ - 1;
        if (clock.elapsed() >= kSliceMilliseconds) {
            return;
        }
    }
    endSearch(std::nullopt, 0);
}

void ReportView::endSearch(std::optional<Position> matchStart, int length) {
    search_.reset();
    searchTimer_.stop();
    if (!matchStart) {
        findStatus_->setText(QStringLiteral("No match"));
        emit findFinished(false);
        return;
    }
    findStatus_->clear();
    const int page = visibleRowCount();
    if (matchStart->row < topRow_ || matchStart->row >= topRow_ + page) {
        setTopRow(matchStart->row - page / 2);  // in the middle, with rows around it
    }
    anchor_ = *matchStart;
    moveCaret(Position{matchStart->row, matchStart->column + length}, true);
    ensureVisible(anchor_);
    emit findFinished(true);
}

}  // namespace pelmora
