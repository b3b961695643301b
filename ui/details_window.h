#pragma once
// "Details": the evidence of the last run. Texts on the left; on the right the selected
// text's evidence for each digit, its nine densities and its pairs, and under it the input
// quality of every file.

#include <QWidget>

#include <memory>

#include "run/run_result.h"

class QListWidget;
class QPlainTextEdit;
class QTableWidget;
class QTabWidget;

namespace pelmora {

class DensityCharts;
class TextEvidenceView;

class DetailsWindow : public QWidget {
    Q_OBJECT

public:
    explicit DetailsWindow(QWidget* parent = nullptr);

    void showRun(std::shared_ptr<const RunResult> run);
    void selectText(int row);

    QListWidget* texts() const { return texts_; }
    QPlainTextEdit* evidence() const { return evidence_; }
    QTableWidget* quality() const { return quality_; }
    QTabWidget* tabs() const { return tabs_; }
    TextEvidenceView* textView() const { return textView_; }
    DensityCharts* charts() const { return charts_; }

private:
    std::shared_ptr<const RunResult> run_;
    std::vector<int> rows_;  // the text position of each row of the list
    QListWidget* texts_ = nullptr;
    QPlainTextEdit* evidence_ = nullptr;
    QTableWidget* quality_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    TextEvidenceView* textView_ = nullptr;
    DensityCharts* charts_ = nullptr;
};

}  // namespace pelmora
