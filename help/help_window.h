#pragma once
// The help window (frmHelp): its fixed texts and the button that opens the type-code
// explanation, then pages on every window, the keyboard, the warnings and the words counted,
// and "OK", which closes and destroys the window, as Escape does.

#include <QWidget>

#include "forms/form1.h"

class QTabWidget;
class QTextBrowser;

namespace pelmora {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Turns to the words page at the row of `measure`.
    void showWords(Measure measure);

signals:
    void viewExampleRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTabWidget* tabs_ = nullptr;
    QTextBrowser* words_ = nullptr;
};

}  // namespace pelmora
