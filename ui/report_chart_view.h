#pragma once
// A chart of the core's chart data drawn in a window as the report draws it, and saved as PNG
// or SVG at a fixed picture size whatever the window's size.

#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

#include "report/report_document.h"

namespace pelmora {

class ReportChartView : public QWidget {
    Q_OBJECT

public:
    ReportChartView(QWidget* parent, const char* objectName);

    // Shows `chart`; a chart without series shows `empty` in its place.
    void showChart(ReportChart chart, const QString& empty = {});
    [[nodiscard]] const ReportChart& chart() const { return chart_; }
    [[nodiscard]] bool hasChart() const { return !chart_.series.empty(); }

    // The line a saved picture carries under the chart: the run it shows.
    void setCaption(const QString& caption) { caption_ = caption; }
    // Writes the chart with its caption to `path`, PNG unless the name ends in .svg; a failure
    // goes to `reportProblem` and gives false.
    [[nodiscard]] bool save(const QString& path,
                            const std::function<void(const QString&)>& reportProblem) const;

    static constexpr QSize kPictureSize{900, 540};

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ReportChart chart_;
    QString empty_;
    QString caption_;
};

}  // namespace pelmora
