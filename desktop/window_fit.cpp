#include "desktop/window_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "desktop/user_settings.h"

namespace pelmora {

namespace {

// Room for a window manager's title bar and borders before the window has a frame to measure.
constexpr QMargins kLikelyFrame{6, 40, 6, 6};

QMargins frameOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    if (handle == nullptr || !handle->isVisible()) {
        return kLikelyFrame;
    }
    const QMargins actual = handle->frameMargins();
    return {std::max(actual.left(), kLikelyFrame.left()),
            std::max(actual.top(), kLikelyFrame.top()),
            std::max(actual.right(), kLikelyFrame.right()),
            std::max(actual.bottom(), kLikelyFrame.bottom())};
}

QScreen* screenOf(const QWidget* window) {
    if (const QWidget* parent = window->parentWidget()) {
        return parent->window()->screen();
    }
    QScreen* own = window->screen();
    return own != nullptr ? own : QGuiApplication::primaryScreen();
}

// `frame` moved the least to lie inside `area` (its top left corner when it is larger).
QRect inside(QRect frame, const QRect& area) {
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1)));
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1)));
    return frame;
}

}  // namespace

QRect fittedFrame(QSize preferred, QSize minimum, const QMargins& frame, const QRect& available,
                  const QRect& over) {
    const QSize room = available.size().shrunkBy(frame).expandedTo({1, 1});
    // A larger screen gives the window half its extra share, so that it grows but still
    // leaves room for the others.
    const double factor = std::min(static_cast<double>(available.width()) / kSmallScreen.width(),
                                   static_cast<double>(available.height()) / kSmallScreen.height());
    const double grow = 1.0 + std::max(0.0, factor - 1.0) / 2.0;
    const QSize client = (preferred * grow).expandedTo(minimum).boundedTo(room);
    QRect placed(QPoint(), client.grownBy(frame));
    placed.moveCenter(over.isValid() ? over.center() : available.center());
    return inside(placed, available);
}

void fitToScreen(QWidget* window, QSize preferred) {
    const QScreen* screen = screenOf(window);
    if (screen == nullptr) {
        window->resize(preferred);
        return;
    }
    const QMargins frame = frameOf(window);
    const QWidget* parent = window->parentWidget();
    const QRect over = parent != nullptr && parent->window()->isVisible()
                           ? parent->window()->frameGeometry()
                           : QRect();
    const QRect placed =
        fittedFrame(preferred, window->minimumSizeHint().expandedTo(window->minimumSize()), frame,
                    screen->availableGeometry(), over);
    window->resize(placed.size().shrunkBy(frame));
    window->move(placed.topLeft());
}

void keepOnScreen(QWidget* window) {
    const QScreen* screen = screenOf(window);
    if (screen != nullptr) {
        const QMargins frame = frameOf(window);
        const QRect now(window->pos(), window->size().grownBy(frame));
        window->move(inside(now, screen->availableGeometry()).topLeft());
    }
}

bool rememberSplitter(QSplitter* splitter, const QString& key) {
    QObject::connect(splitter, &QSplitter::splitterMoved, splitter,
                     [splitter, key] { keepSplitter(splitter, key); });
    return splitter->restoreState(userSettings().value(key).toByteArray());
}

void keepSplitter(const QSplitter* splitter, const QString& key) {
    userSettings().setValue(key, splitter->saveState());
}

}  // namespace pelmora
