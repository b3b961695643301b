#pragma once
// "Pelmora: Pair": two texts of the last run side by side. Their names and codes, each digit
// with both categories and the checks that decided them (agreeing digits in one colour,
// differing in another), both texts' densities against the thresholds in one chart, their
// stability once measured, and each text whole with its counted words coloured. Left and Right
// step to the previous and the next pair in the report's order; Escape closes the window.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

#include "explanation/pair_sides.h"
#include "run/run_result.h"

class QChartView;
class QLabel;
class QSplitter;
class QTableWidget;

namespace pelmora {

class StabilityTask;
class TextEvidenceView;

class PairWindow : public QWidget {
    Q_OBJECT

public:
    enum Column { CategoryColumn, FirstDigit, FirstChecks, SecondDigit, SecondChecks };
    // The background of a digit's row when both codes agree on it, and when they differ.
    static QColor agreeTint();
    static QColor differTint();

    explicit PairWindow(QWidget* parent = nullptr);

    // Shows the pair of the texts at these positions of `run`, in either order; false, and
    // nothing changes, when the run lists no pair of them.
    bool showPair(std::shared_ptr<const RunResult> run, int first, int second);
    // Shows the pair `by` places after the one shown in the report's order (before it when
    // negative); false at either end.
    bool step(int by);
    // Forgets the run, after "Refresh" or when another run comes.
    void clear();
    // The stability shown is the task's, when it is of the run shown.
    void setStabilityTask(StabilityTask* task);

    const std::shared_ptr<const RunResult>& run() const { return run_; }
    const std::optional<PairSides>& shown() const { return sides_; }
    QTableWidget* digits() const { return digits_; }
    QChartView* chart() const { return chart_; }
    TextEvidenceView* textView(int side) const { return side == 0 ? first_ : second_; }
    QString stabilityLine() const;

signals:
    // A measure's words asked for, to be shown in Help.
    void wordsHelpRequested(Measure measure);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void showDigits();
    void showStability();

    std::shared_ptr<const RunResult> run_;
    std::optional<PairSides> sides_;
    QPointer<StabilityTask> stability_;
    QLabel* heading_ = nullptr;
    QLabel* firstName_ = nullptr;
    QLabel* secondName_ = nullptr;
    QTableWidget* digits_ = nullptr;
    QChartView* chart_ = nullptr;
    QSplitter* split_ = nullptr;
    QLabel* stabilityLine_ = nullptr;
    TextEvidenceView* first_ = nullptr;
    TextEvidenceView* second_ = nullptr;
};

}  // namespace pelmora
