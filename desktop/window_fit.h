#pragma once
// Every top-level window sized and placed for the screen it opens on: whole on a small screen
// (1366x768 less a panel), larger on a large one, never beyond the screen's available area.

#include <QMargins>
#include <QRect>
#include <QSize>

class QSplitter;
class QString;
class QWidget;

namespace pelmora {

// The smallest screen's available area the windows are laid out for: 1366x768 less a panel.
inline constexpr QSize kSmallScreen{1366, 728};

// The frame (window with `frame` around its client area) for a client area of `preferred` on
// the small screen: grown on a larger `available` area, at least `minimum` where that fits,
// never beyond `available`; centred on `over` when it is valid, else on `available`, and
// always inside `available`.
[[nodiscard]] QRect fittedFrame(QSize preferred, QSize minimum, const QMargins& frame,
                                const QRect& available, const QRect& over = {});

// Sizes and places top-level `window` with fittedFrame on the screen it opens on: its parent's,
// else its own, else the primary screen.
void fitToScreen(QWidget* window, QSize preferred);

// Moves `window`'s frame, when it reaches beyond its screen's available area, back inside.
void keepOnScreen(QWidget* window);

// Gives `splitter` the sizes the user last left it at (kept in the user's settings under `key`)
// and keeps them whenever the user moves it; false when none were kept.
bool rememberSplitter(QSplitter* splitter, const QString& key);
// Keeps `splitter`'s sizes under `key` now, as when the window closes.
void keepSplitter(const QSplitter* splitter, const QString& key);

}  // namespace pelmora
