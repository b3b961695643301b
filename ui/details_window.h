#pragma once
// "Details": the evidence of the last run. Texts on the left; on the right the selected
// text's evidence for each digit, its nine densities and its pairs, and under it the input
// quality of every file.

#include <QWidget>

#include "evidence/run_snapshot.h"

class QListWidget;
class QPlainTextEdit;
class QTableWidget;

namespace pelmora {

class DetailsWindow : public QWidget {
    Q_OBJECT

public:
    explicit DetailsWindow(QWidget* parent = nullptr);

    void showRun(const RunSnapshot& run);
    void selectText(int row);

    QListWidget* texts() const { return texts_; }
    QPlainTextEdit* evidence() const { return evidence_; }
    QTableWidget* quality() const { return quality_; }

private:
    RunSnapshot run_;
    QListWidget* texts_ = nullptr;
    QPlainTextEdit* evidence_ = nullptr;
    QTableWidget* quality_ = nullptr;
};

}  // namespace pelmora
