#pragma once
// The analysis form's window: shows the working text, the results box and the legend of
// Form1 and forwards "&All", "Reset", "Total Reset" and "Further Details" as signals. It
// keeps no pointer into the form, which the core re-creates in place.

#include <QWidget>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace pelmora {

class Form1;

class AnalysisWindow : public QWidget {
    Q_OBJECT

public:
    explicit AnalysisWindow(QWidget* parent = nullptr);

    // Shows the stores of `form`.
    void showStores(const Form1& form);
    // Writes what the user typed or pasted into the working text back into `form`; does
    // nothing when the user has not changed it since it was last shown.
    void takeEdits(Form1& form);

signals:
    void doItAllPressed();
    void resetPressed();
    void totalResetPressed();
    void furtherDetailsPressed();
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPlainTextEdit* text1_;
    QPlainTextEdit* txtTypes_;
    QPlainTextEdit* text2_;
    // What each box shows, as store text, so that an unchanged store is not set again
    // (which would lose the user's scroll position and cost time on long texts).
    std::string shownText1_, shownTypes_, shownLegend_;
};

}  // namespace pelmora
