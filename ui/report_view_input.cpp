#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "ui/report_rows.h"
#include "ui/report_view.h"

namespace pelmora {

namespace {

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

}  // namespace

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
        updateTabStop();
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
    // The line under the mouse, or the caret's when the keyboard opened the menu.
    const std::int64_t line =
        event->reason() == QContextMenuEvent::Mouse ? positionAt(event->pos()).row : caret_.row;
    if (text_.pairAtLine(line)) {
        menu.addSeparator();
        QAction* show = menu.addAction(QStringLiteral("Show pair"));
        show->setObjectName(QStringLiteral("actShowPair"));
        connect(show, &QAction::triggered, this, [this, line] { emit pairRequested(line); });
    }
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

}  // namespace pelmora
