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
class QLabel;
class QTableView;

namespace pelmora {

struct RunResult;
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

private:
    void stabilityChanged();
    void fitHeaders();
    // Puts the rows and columns in the order the check box asks for.
    void applyOrder();

    MatrixModel* model_ = nullptr;
    StabilityBar* stabilityBar_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* legend_ = nullptr;
    QCheckBox* byRole_ = nullptr;
    Metadata metadata_;
};

}  // namespace pelmora
