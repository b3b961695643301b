#include "ui/sensitivity_view.h"

#include <QTableView>
#include <QVBoxLayout>

#include "help/window_parts.h"
#include "stability/stability.h"
#include "ui/job_runner.h"
#include "ui/table_rows.h"

namespace pelmora {

SensitivityView::SensitivityView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sensitivityView"));
    runner_ = new JobRunner(this);
    table_ = rowsTable(this, "tblSensitivity");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeText(this, "textSensitivity",
                               "Every threshold of the rule book moved at once; codes and pair "
                               "strengths of the run that change with it."));
    layout->addWidget(table_, 1);
}

void SensitivityView::showRun(std::shared_ptr<const RunResult> run) {
    if (run == run_) {
        return;
    }
    run_ = std::move(run);
    filled_ = false;
    runner_->abandon();
    showRows(table_, {});
    if (isVisible()) {
        fill();
    }
}

void SensitivityView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!filled_) {
        fill();
    }
}

void SensitivityView::fill() {
    if (!run_) {
        return;
    }
    filled_ = true;
    // Every threshold moved means the run's codes and pairs again: away from the window.
    runner_->start<std::vector<TableRow>>(
        [run = run_](JobControl& control) -> Result<std::vector<TableRow>> {
            std::vector<TableRow> rows = sensitivityTable(*run, runSensitivity(*run));
            if (control.cancelled()) {
                return cancelledError("Measuring the sensitivity");
            }
            return rows;
        },
        [this](std::vector<TableRow> rows) { showRows(table_, std::move(rows)); });
}

}  // namespace pelmora
