#include "help/help_windows.h"

#include "desktop/window_fit.h"

namespace pelmora {

namespace {

// A closed window is only deleted once the event loop runs again; until then it is hidden
// and must not be shown again.
template <typename Window>
bool isOpen(const QPointer<Window>& window) {
    return window && window->isVisible();
}

void bringToFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

HelpWindows::HelpWindows(QWidget* owner) : QObject(owner), owner_(owner) {}

void HelpWindows::openHelp() {
    if (!isOpen(help_)) {
        help_ = new HelpWindow(owner_);
        connect(help_, &HelpWindow::viewExampleRequested, this, &HelpWindows::openExplanation);
        fitToScreen(help_, {1000, 600});
    }
    bringToFront(help_);
}

void HelpWindows::openWords(Measure measure) {
    openHelp();
    help_->showWords(measure);
}

void HelpWindows::openExplanation() {
    if (!isOpen(explanation_)) {
        explanation_ = new ExplanationWindow(owner_);
        // As wide as it reads well, and tall enough for its wrapped lines at that width.
        constexpr int kWidth = 560;
        fitToScreen(explanation_, {kWidth, explanation_->heightForWidth(kWidth)});
    }
    bringToFront(explanation_);
}

}  // namespace pelmora
