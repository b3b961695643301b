#pragma once
// The help window (frmHelp): fixed texts, the button that opens the type-code explanation
// and "OK", which closes and destroys the window, as Escape does.

#include <QWidget>

namespace pelmora {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

signals:
    void viewExampleRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pelmora
