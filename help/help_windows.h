#pragma once
// Opens the help and explanation windows: at most one of each exists at a time, shown
// modeless; opening one that exists brings that instance to the front.

#include <QObject>
#include <QPointer>

#include "help/explanation_window.h"
#include "help/help_window.h"

namespace pelmora {

class HelpWindows : public QObject {
    Q_OBJECT

public:
    // The windows are owned by `owner` (the main window) and close with it.
    explicit HelpWindows(QWidget* owner);

    HelpWindow* helpWindow() const { return help_; }
    ExplanationWindow* explanationWindow() const { return explanation_; }

public slots:
    void openHelp();
    void openExplanation();
    // Help, turned to the words `measure` counts.
    void openWords(Measure measure);

private:
    QWidget* owner_;
    QPointer<HelpWindow> help_;
    QPointer<ExplanationWindow> explanation_;
};

}  // namespace pelmora
