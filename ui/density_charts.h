#pragma once
// "Charts": the selected text's nine densities and its obligation and affect densities as
// bars, with the thresholds its rules compare each with drawn as lines; and the run's pair
// strengths 0 to 5 with the mean and the band of the significance limit of standard
// deviations either side. A density bar lists its measure's words when clicked; each chart
// can be saved as PNG and SVG.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "exports/chart_figures.h"
#include "run/run_result.h"

class QChart;
class QChartView;

namespace pelmora {

class JobRunner;

class DensityCharts : public QWidget {
    Q_OBJECT

public:
    enum class Picture { Png, Svg };
    // Saved pictures have this size, whatever the window's.
    static constexpr int kPictureWidth = 1000, kPictureHeight = 620;

    explicit DensityCharts(QWidget* parent = nullptr);

    void showRun(std::shared_ptr<const RunResult> run);
    void showText(std::shared_ptr<const RunResult> run, int position);
    void clear();

    QChartView* densityView() const { return densities_; }
    QChartView* strengthView() const { return strengths_; }
    // Counts the run's pairs by strength for its chart, after showRun.
    JobRunner* counting() const { return runner_; }

    // Save at the chosen place; false when cancelled, nothing is shown, or not written.
    bool saveDensities(Picture picture);
    bool saveStrengths(Picture picture);

    // Asks where to save (caption, suggested file name, filter); empty when cancelled.
    // Tests replace it.
    std::function<QString(const QString&, const QString&, const QString&)> choosePath;
    std::function<void(const QString&)> reportProblem;

signals:
    // A density bar was clicked: the count it divides by the text length.
    void measureClicked(Measure count);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The chart of the text shown, drawn once the charts are in view.
    void drawText();
    // Charts of what is shown; clicks and tooltips only on the ones in the window.
    QChart* densityChart(bool live);
    QChart* strengthChart() const;
    // Saved under the run's name for `what`, with its caption under the chart.
    bool save(const std::function<QChart*()>& make, Picture picture,
              const std::shared_ptr<const RunResult>& run, const char* what);

    std::shared_ptr<const RunResult> run_, textRun_;
    // The run's pairs by strength, counted in the background; none until then.
    std::optional<StrengthDistribution> distribution_;
    JobRunner* runner_ = nullptr;
    int position_ = -1;
    bool textDrawn_ = true;  // the density chart is of position_
    QChartView* densities_ = nullptr;
    QChartView* strengths_ = nullptr;
};

// The densities of two texts of `run`, by position, a bar each side by side, against the
// thresholds the rules compare each with.
QChart* pairDensityChart(const RunResult& run, int first, int second);

}  // namespace pelmora
