#include "ui/sensitivity_view.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "help/window_parts.h"
#include "stability/stability.h"
#include "ui/table_rows.h"

namespace pelmora {

SensitivityView::SensitivityView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sensitivityView"));
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("tblSensitivity"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
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
    showRows(table_, sensitivityTable(*run_, runSensitivity(*run_)));
}

}  // namespace pelmora
