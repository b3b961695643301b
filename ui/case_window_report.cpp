// "Export case report…" in the Case window: the case file open, for the run shown.

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <string>

#include "casefile/case_file.h"
#include "exports/run_names.h"
#include "help/window_parts.h"
#include "record/run_record.h"
#include "render/case_report_export.h"
#include "run/run_result.h"
#include "ui/case_window.h"
#include "ui/export_actions.h"
#include "ui/job_progress.h"
#include "ui/job_runner.h"
#include "ui/metadata_model.h"
#include "ui/text_bridge.h"
#include "ui/validation_page.h"

namespace pelmora {

namespace {

Error unusable(const std::string& why) {
    return Error{Error::Code::CaseUnusable, why, why};
}

}  // namespace

void CaseWindow::buildReportExport(QHBoxLayout* row) {
    reportRunner_ = new JobRunner(this);
    exportReport_ = makeButton(this, "cmdExportCaseReport", "Export case report…");
    row->addWidget(exportReport_);
    reportWritten_ = makeText(this, "lblReportWritten", "");
    reportWritten_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reportWritten_->hide();
    auto* progress =
        new JobProgressDialog(reportRunner_, QStringLiteral("Pelmora: Case report"), this, 250,
                              [](const JobProgress& p) { return toQt(p.step); });
    progress->setObjectName(QStringLiteral("reportProgress"));
    connect(exportReport_, &QPushButton::clicked, this, &CaseWindow::chooseReportPath);
    connect(reportRunner_, &JobRunner::failed, this, [this](const QString& problem) {
        // Not modal: the window stays usable, and a test finds the box by its name.
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Pelmora"), problem,
                                    QMessageBox::Ok, this);
        box->setObjectName(QStringLiteral("reportProblem"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
    connect(reportRunner_, &JobRunner::ended, this, [this] {
        exportReport_->setEnabled(true);
        refreshLog();  // also a failed export may have been logged
    });
    updateReportCommand();
}

void CaseWindow::updateReportCommand() {
    if (exportReport_ == nullptr) {
        return;
    }
    const bool ready = !casePath_.isEmpty() && run_ != nullptr;
    exportReport_->setEnabled(ready && !reportRunner_->running());
    exportReport_->setToolTip(
        ready ? QStringLiteral("Writes the report of the case for a court annex, as HTML, PDF "
                               "or ODT, and logs it with its SHA-256.")
        : casePath_.isEmpty()
            ? QStringLiteral("A case report is a case's: open or save a case first.")
            : QStringLiteral("Run the case's folder first: the report is of a run."));
}

void CaseWindow::chooseReportPath() {
    const std::string stem = fromQt(QFileInfo(casePath_).completeBaseName());
    const QString path = chooseSavePath(
        this, QStringLiteral("Export case report"),
        toQt(safeFileName(stem, run_ ? runDate(*run_) : std::string(), "report", ".pdf")),
        QStringLiteral("PDF documents (*.pdf);;Web pages (*.html *.htm);;OpenDocument texts "
                       "(*.odt)"));
    if (!path.isEmpty()) {
        exportReport(path);
    }
}

void CaseWindow::exportReport(const QString& path) {
    if (casePath_.isEmpty() || !run_) {
        return;
    }
    exportReport_->setEnabled(false);
    reportWritten_->hide();
    CaseReportRequest request{pathFromQt(path), utcTimestamp(), std::nullopt};
    if (const QString column = validation_->labelColumn(); !column.isEmpty()) {
        request.labels = fromQt(column);
    }
    Job<std::string> job =
        [casePath = pathFromQt(casePath_), run = run_, shown = metadata_->metadata(),
         request = std::move(request)](JobControl& control) -> Result<std::string> {
        Result<CaseFile> opened = CaseFile::open(casePath);
        if (!opened.ok()) {
            return opened.error();
        }
        CaseFile& file = opened.value();
        // The report states what the case file holds, of a run of its folder.
        if (file.refusesRunOf(run->folder)) {
            return unusable(
                "The run shown is of another folder than the case's: run the case's folder, "
                "then export its report.");
        }
        const Result<Metadata> stored = file.metadata();
        if (!stored.ok()) {
            return stored.error();
        }
        if (stored.value() != shown) {
            return unusable(
                "The roles and metadata shown are not those of the case file: save the case, "
                "then export its report.");
        }
        return exportCaseReport(file, *run, request, control);
    };
    reportRunner_->start<std::string>(std::move(job), [this, path](std::string digest) {
        reportWritten_->setText(QStringLiteral("Case report written to %1 (SHA-256 %2).")
                                    .arg(QDir::toNativeSeparators(path), toQt(digest)));
        reportWritten_->show();
    });
}

}  // namespace pelmora
