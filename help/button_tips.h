#pragma once
// What each button of the main window does, in one sentence, for its tooltip.

#include <QString>

class QWidget;

namespace pelmora {

// The tip of the button of this object name; empty for a name it does not know.
QString buttonTip(const QString& objectName);
// Gives every push button under `window` without a tooltip its tip.
void addButtonTips(QWidget* window);

}  // namespace pelmora
