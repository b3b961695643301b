#pragma once
// The Case window's "Validation" tab: how well the codes separate the texts by the labels of a
// metadata column the user chooses (genre when there is one): the summary, the ROC points,
// each digit by label and each label, with the sentence that says what they mean and two
// charts, each savable as PNG or SVG. Computed away from the window's thread; withheld, as the
// known and reference results are, until the questioned texts are locked.

#include <QString>
#include <QWidget>
#include <memory>

#include "case/unmasking.h"

class QComboBox;
class QLabel;
class QTableView;

namespace pelmora {

struct RunResult;
struct RunStability;
class JobRunner;
class MetadataModel;
class ReportChartView;

class ValidationPage : public QWidget {
    Q_OBJECT

public:
    ValidationPage(MetadataModel* metadata, QWidget* parent);

    // The run, its stability (or none) and the case's unmasking stage; computes again.
    void showRun(std::shared_ptr<const RunResult> run,
                 std::shared_ptr<const RunStability> stability, UnmaskingStage stage);
    // The metadata column read as labels; empty when the metadata has none to offer.
    [[nodiscard]] QString labelColumn() const;
    // Computes the figures; tests wait for it.
    [[nodiscard]] JobRunner* runner() const { return runner_; }

private:
    void fillColumns();
    void recompute();
    void showNothing(const QString& why);
    void saveChart(ReportChartView* view, const QString& name);

    MetadataModel* metadata_;
    std::shared_ptr<const RunResult> run_;
    std::shared_ptr<const RunStability> stability_;
    UnmaskingStage stage_ = UnmaskingStage::Off;
    JobRunner* runner_ = nullptr;
    QComboBox* column_ = nullptr;
    QLabel* sentence_ = nullptr;
    QTableView* summary_ = nullptr;
    QTableView* roc_ = nullptr;
    QTableView* digits_ = nullptr;
    QTableView* labels_ = nullptr;
    ReportChartView* strengths_ = nullptr;
    ReportChartView* curve_ = nullptr;
};

}  // namespace pelmora
