#pragma once
// How the run's codes and pairs move when every threshold of the rule book moves by 5% and
// 10%. Measured away from the window's thread when first shown for a run, not before.

#include <QWidget>
#include <memory>

class QTableView;

namespace pelmora {

class JobRunner;
struct RunResult;

class SensitivityView : public QWidget {
    Q_OBJECT

public:
    explicit SensitivityView(QWidget* parent = nullptr);

    void showRun(std::shared_ptr<const RunResult> run);
    QTableView* table() const { return table_; }
    // Measures the run's sensitivity when the view is first shown for it.
    JobRunner* runner() const { return runner_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();

    std::shared_ptr<const RunResult> run_;
    bool filled_ = false;
    QTableView* table_ = nullptr;
    JobRunner* runner_ = nullptr;
};

}  // namespace pelmora
