#pragma once
// The run summary over the report: the folder analysed and the run's figures, read from the
// run result, until "Refresh". Hidden while no run is shown.

#include <QFrame>
#include <memory>

class QLabel;

namespace pelmora {

struct RunResult;

// Said, while "Auto-check all files in folder" is disabled, by its tooltip and the summary.
inline constexpr const char* kRefreshEnablesAuto =
    "\"Auto-check all files in folder\" is disabled after a run: \"Refresh\" enables it again.";

class RunSummaryPanel : public QFrame {
    Q_OBJECT

public:
    explicit RunSummaryPanel(QWidget* parent = nullptr);

    // `autoEnabled` tells whether "Auto-check all files in folder" can be pressed.
    void showRun(const std::shared_ptr<const RunResult>& run, bool autoEnabled);

private:
    std::shared_ptr<const RunResult> shown_;
    QLabel* folder_;
    QLabel *texts_, *leftOut_, *warnings_;
    QLabel *pairs_, *mean_, *stDev_;
    QLabel *minimal_, *significant_;
    QLabel* unlisted_;  // the folder's files the run did not list
    QLabel* notes_;
    QLabel* refresh_;
};

}  // namespace pelmora
