#pragma once
// "Measure stability", its progress and "Cancel", with a line saying where the measuring of
// the shown run stands. Details and the matrix each show one over the same task.

#include <QWidget>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace pelmora {

struct RunResult;
struct RunStability;
class StabilityTask;

class StabilityBar : public QWidget {
    Q_OBJECT

public:
    explicit StabilityBar(QWidget* parent = nullptr);

    // The bar follows `task`; without one it offers nothing.
    void setTask(StabilityTask* task);
    StabilityTask* task() const { return task_; }
    // The task's figures when they are of `run`, else none.
    std::shared_ptr<const RunStability> figuresOf(
        const std::shared_ptr<const RunResult>& run) const;

    QString status() const;

signals:
    // The figures of the task came or went, or the bar follows another task.
    void figuresChanged();

private:
    void showState();

    StabilityTask* task_ = nullptr;
    QPushButton* measure_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace pelmora
