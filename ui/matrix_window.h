#pragma once
// "Matrix": the strengths of the last run as a table of small coloured cells, the names held
// at the left and top while it scrolls, and a legend; savable as PNG. Stability can be
// measured from here too; fragile pairs and texts with unstable digits are then marked. With
// roles given, "Order by role" shows the questioned, known and reference texts in blocks.

#include <QWidget>
#include <functional>
#include <memory>

#include "case/metadata.h"

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace pelmora {

struct RunResult;
class JobRunner;
class MatrixFilterModel;
class MatrixModel;
class StabilityBar;
class StabilityTask;

class MatrixWindow : public QWidget {
    Q_OBJECT

public:
    explicit MatrixWindow(QWidget* parent = nullptr);

    // The same run again keeps the table where it was scrolled to; another starts at the top
    // left.
    void showRun(const std::shared_ptr<const RunResult>& run);
    QTableView* table() const { return table_; }
    const MatrixModel* model() const { return model_; }
    // What the table shows: the texts and pairs the filter keeps.
    const MatrixFilterModel* filterModel() const { return filter_; }
    // Finds the texts a filter keeps, away from the window's thread; tests wait for it.
    JobRunner* filtering() const { return filtering_; }
    QString legend() const;
    // The marks shown are the task's figures, when they are of the run shown.
    void setStabilityTask(StabilityTask* task);
    StabilityBar* stabilityBar() const { return stabilityBar_; }
    // The roles the texts have now: "Order by role" is offered while any text has one.
    void showRoles(const Metadata& metadata);

    // Asks where to save; returns an empty text when the user cancels. Tests replace it.
    std::function<QString()> choosePngPath;
    std::function<void(const QString&)> reportProblem;

    // Saves the matrix picture as PNG at the chosen place; false when cancelled or not
    // written.
    bool savePng();

signals:
    // A cell of a pair was double-clicked or Enter pressed on it: the texts' positions.
    void pairActivated(int first, int second);

private:
    void stabilityChanged();
    void fitHeaders();
    // Puts the rows and columns in the order the check box asks for.
    void applyOrder();
    QHBoxLayout* buildFilterBar();
    // Keeps the texts and pairs the filter bar asks for.
    void applyFilter();

    MatrixFilterModel* filter_ = nullptr;
    JobRunner* filtering_ = nullptr;
    QLineEdit* nameFilter_ = nullptr;
    QSpinBox* lowest_ = nullptr;
    QSpinBox* highest_ = nullptr;
    QCheckBox* onlyMinimal_ = nullptr;
    QCheckBox* onlyOffTheNorm_ = nullptr;
    QComboBox* roleFilter_ = nullptr;
    QLabel* shown_ = nullptr;

    MatrixModel* model_ = nullptr;
    StabilityBar* stabilityBar_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* legend_ = nullptr;
    QCheckBox* byRole_ = nullptr;
    Metadata metadata_;
};

}  // namespace pelmora
