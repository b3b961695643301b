#pragma once
// The type-code explanation window (Form4): a fixed example of two type codes and what
// each digit means. A click anywhere on it closes and destroys it.

#include <QWidget>

namespace pelmora {

class ExplanationWindow : public QWidget {
    Q_OBJECT

public:
    explicit ExplanationWindow(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pelmora
