#pragma once
// "Details": the evidence of the last run. Texts on the left, and under them the input quality
// of every file and the run's sensitivity to its thresholds; on the right the selected text's
// evidence for each digit, its nine densities and its pairs. Stability is measured when asked
// for, and fills the list and the evidence when it comes.

#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

#include "run/run_result.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSplitter;
class QTableView;
class QTabWidget;

namespace pelmora {

class DensityCharts;
class JobRunner;
class SensitivityView;
class StabilityBar;
class StabilityTask;
class TextEvidenceView;
class TextsFilterModel;
class TextsModel;

class DetailsWindow : public QWidget {
    Q_OBJECT

public:
    explicit DetailsWindow(QWidget* parent = nullptr);

    void showRun(std::shared_ptr<const RunResult> run);
    // Shows the text of row `row` as the list is sorted and filtered.
    void selectText(int row);
    // The stability shown is the task's, when it is of the run shown.
    void setStabilityTask(StabilityTask* task);

    QTableView* texts() const { return texts_; }
    const TextsModel* textsModel() const { return textsModel_; }
    // The list as shown: sorted by the column clicked, filtered by the bar above it.
    TextsFilterModel* textsShown() const { return textsShown_; }
    StabilityBar* stabilityBar() const { return stabilityBar_; }
    SensitivityView* sensitivity() const { return sensitivity_; }
    QPlainTextEdit* evidence() const { return evidence_; }
    // The selected text's evidence is still being written.
    [[nodiscard]] bool composing() const;
    QTableView* quality() const { return quality_; }
    QTabWidget* tabs() const { return tabs_; }
    TextEvidenceView* textView() const { return textView_; }
    DensityCharts* charts() const { return charts_; }

signals:
    // A measure's words asked for, to be shown in Help.
    void wordsHelpRequested(Measure measure);

protected:
    // The splitters are kept as the window closes, for its next opening.
    void hideEvent(QHideEvent* event) override;

private:
    // The splitters the user's settings keep, with their keys.
    std::vector<std::pair<QSplitter*, QString>> splitters() const;
    void stabilityChanged();
    void showEvidence(int position);
    void fitTexts();
    QWidget* buildTextsList();

    std::shared_ptr<const RunResult> run_;
    QSplitter* split_ = nullptr;     // the texts and the run's tables beside the text's tabs
    QSplitter* runSplit_ = nullptr;  // the texts over the run's tables
    bool listSized_ = false;         // the user moved the splitter, now or before
    QTableView* texts_ = nullptr;
    TextsModel* textsModel_ = nullptr;
    TextsFilterModel* textsShown_ = nullptr;
    QLineEdit* nameFilter_ = nullptr;
    QComboBox* showFilter_ = nullptr;
    StabilityBar* stabilityBar_ = nullptr;
    SensitivityView* sensitivity_ = nullptr;
    QPlainTextEdit* evidence_ = nullptr;
    JobRunner* evidenceRunner_ = nullptr;
    int evidencePosition_ = -1;  // whose evidence the box holds or is about to
    QTableView* quality_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    TextEvidenceView* textView_ = nullptr;
    DensityCharts* charts_ = nullptr;
};

}  // namespace pelmora
