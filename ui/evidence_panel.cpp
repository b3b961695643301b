#include "ui/evidence_panel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "explanation/input_quality.h"
#include "ui/case_panel.h"
#include "ui/details_window.h"
#include "ui/job_progress.h"
#include "ui/job_runner.h"
#include "ui/matrix_window.h"
#include "ui/pair_window.h"
#include "ui/report_view.h"
#include "ui/stability_task.h"
#include "ui/text_bridge.h"

namespace pelmora {

EvidencePanel::EvidencePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EvidencePanel"));
    stability_ = new StabilityTask(this);
    runner_ = new JobRunner(this);
    progress_ = new JobProgressDialog(
        runner_, QStringLiteral("Pelmora: Saving"), this, 250, [this](const JobProgress& p) {
            return QStringLiteral("Saving \"%1\"\n%2").arg(saving_, toQt(p.step));
        });
    progress_->setObjectName(QStringLiteral("exportProgress"));
    quality_ = new QLabel(this);
    quality_->setObjectName(QStringLiteral("lblQuality"));
    const auto button = [this](const char* name, const char* caption, std::function<void()> press) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, std::move(press));
        runButtons_.push_back(b);
        return b;
    };
    auto* firstRow = new QHBoxLayout;
    firstRow->addWidget(button("cmdDetails", "&Details", [this] { openDetails(); }));
    firstRow->addWidget(button("cmdMatrix", "&Matrix", [this] { openMatrix(); }));
    firstRow->addWidget(button("cmdCopyReport", "&Copy report", [this] { copyReport(); }));
    firstRow->addWidget(button("cmdSaveReport", "&Save report…", [this] { saveReport(); }));
    auto* secondRow = new QHBoxLayout;
    secondRow->addWidget(
        button("cmdExportMeasures", "Export m&easures…", [this] { exportMeasures(); }));
    secondRow->addWidget(button("cmdExportMatrix", "Export ma&trix…", [this] { exportMatrix(); }));
    secondRow->addWidget(button("cmdExportPairs", "Export &pairs…", [this] { exportPairs(); }));
    secondRow->addWidget(
        button("cmdExportWorkbook", "Export &workbook…", [this] { exportWorkbook(); }));
    secondRow->addWidget(
        button("cmdSaveRunRecord", "Save run rec&ord…", [this] { saveRunRecord(); }));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(quality_);
    layout->addLayout(firstRow);
    layout->addLayout(secondRow);

    choosePath = [this](const QString& caption, const QString& fileName, const QString& filter) {
        return chooseSavePath(window(), caption, fileName, filter);
    };
    reportProblem = [this](const QString& text) { showProblem(window(), text); };
    for (QPushButton* b : runButtons_) {
        b->setEnabled(false);
    }
}

EvidencePanel::~EvidencePanel() = default;

DetailsWindow* EvidencePanel::detailsWindow() const {
    return details_.data();
}

MatrixWindow* EvidencePanel::matrixWindow() const {
    return matrix_.data();
}

PairWindow* EvidencePanel::pairWindow() const {
    return pair_.data();
}

void EvidencePanel::showRun(std::shared_ptr<const RunResult> run) {
    if (run == run_) {
        return;
    }
    run_ = std::move(run);
    stability_->setRun(run_);
    if (pair_) {
        // Its positions are another run's texts.
        pair_->clear();
        pair_->hide();
    }
    if (run_) {
        quality_->setText(toQt(qualitySummary(run_->quality)));
        if (details_) {
            details_->showRun(run_);
        }
        if (matrix_) {
            matrix_->showRun(run_);
        }
    } else {
        quality_->clear();
        for (QWidget* w :
             {static_cast<QWidget*>(details_.data()), static_cast<QWidget*>(matrix_.data())}) {
            if (w != nullptr) {
                w->hide();
            }
        }
    }
    for (QPushButton* b : runButtons_) {
        b->setEnabled(run_ != nullptr);
    }
}

void EvidencePanel::openDetails() {
    if (!run_) {
        return;
    }
    if (!details_) {
        details_ = new DetailsWindow(window());
        connect(details_, &DetailsWindow::wordsHelpRequested, this,
                &EvidencePanel::wordsHelpRequested);
        details_->setStabilityTask(stability_);
        details_->showRun(run_);
    }
    details_->show();
    details_->raise();
}

void EvidencePanel::showRoles(const Metadata& metadata) {
    roles_ = metadata;
    if (matrix_) {
        matrix_->showRoles(roles_);
    }
}

void EvidencePanel::openMatrix() {
    if (!run_) {
        return;
    }
    if (!matrix_) {
        matrix_ = new MatrixWindow(window());
        matrix_->setStabilityTask(stability_);
        connect(matrix_, &MatrixWindow::pairActivated, this, &EvidencePanel::openPair);
        matrix_->showRun(run_);
        matrix_->showRoles(roles_);
    }
    matrix_->show();
    matrix_->raise();
}

void EvidencePanel::openPair(int first, int second) {
    if (!run_ || !run_->pairs.between(first, second)) {
        return;
    }
    if (!pair_) {
        pair_ = new PairWindow(window());
        connect(pair_, &PairWindow::wordsHelpRequested, this, &EvidencePanel::wordsHelpRequested);
        pair_->setStabilityTask(stability_);
    }
    pair_->showPair(run_, first, second);
    pair_->show();
    pair_->raise();
    pair_->activateWindow();
}

void EvidencePanel::openPairsFrom(ReportView* report, CasePanel* cases) {
    connect(report, &ReportView::pairRequested, this, [this, report](std::int64_t line) {
        // The line numbers are the run's report only while the box shows it.
        if (!run_ || !report->text().sharesPieces(run_->report)) {
            return;
        }
        if (const std::optional<RunPair> pair = run_->reportPairAt(line)) {
            openPair(pair->first, pair->second);
        }
    });
    connect(cases, &CasePanel::pairWanted, this, &EvidencePanel::openPair);
}

}  // namespace pelmora
