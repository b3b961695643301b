#pragma once
// The evidence and export controls of the main form, shown under the report: the input
// quality summary of the last run, "Details", "Matrix" and the exports. Files are written
// only where the user chooses.

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "case/metadata.h"
#include "jobs/job.h"
#include "run/run_result.h"
#include "ui/export_actions.h"

class QPushButton;

namespace pelmora {

class CasePanel;
class DetailsWindow;
class JobProgressDialog;
class JobRunner;
class MatrixWindow;
class PairWindow;
class ReportView;
class StabilityTask;

class EvidencePanel : public QWidget {
    Q_OBJECT

public:
    explicit EvidencePanel(QWidget* parent = nullptr);
    ~EvidencePanel() override;

    // Shows the run the main window holds; nothing after "Refresh".
    void showRun(std::shared_ptr<const RunResult> run);
    // The texts' roles, which the matrix can order its texts by.
    void showRoles(const Metadata& metadata);

    QString qualityLine() const { return quality_->text(); }
    DetailsWindow* detailsWindow() const;
    MatrixWindow* matrixWindow() const;
    // The stability of the run shown, measured when Details or the matrix asks for it.
    StabilityTask* stabilityTask() const { return stability_; }

    void openDetails();
    void openMatrix();
    // Opens the one pair window on the pair of the texts at these positions of the run shown;
    // nothing when they form no pair.
    void openPair(int first, int second);
    PairWindow* pairWindow() const;
    // Opens the pair window also on a report line's "Show pair" and on the Case window's rows.
    void openPairsFrom(ReportView* report, CasePanel* cases);
    bool saveReport();
    bool exportMeasures();
    bool exportMatrix();
    bool exportPairs();
    // Each export runs away from the window's thread and is waited for, "Cancel" offered; a
    // cancelled one leaves no file. Every table in one workbook; written whole or not at all.
    bool exportWorkbook();
    void copyReport();
    bool saveRunRecord();

    // Asks where to save (caption, suggested file name, filter); empty when cancelled.
    // Tests replace it.
    std::function<QString(const QString&, const QString&, const QString&)> choosePath;
    std::function<void(const QString&)> reportProblem;
    // Writes every export away from the window's thread; tests stop it at a chosen step.
    JobRunner* exportRunner() const { return runner_; }

signals:
    // A measure's words asked for in Details or the pair window, to be shown in Help.
    void wordsHelpRequested(Measure measure);

private:
    // What a file holds, made on the worker thread for the path chosen.
    using FileJob = std::function<ContentWriter(const QString& path, JobControl& control)>;
    // The run's default name for a file of `what`: "brown-2026-12-08-workbook.xlsx".
    QString fileNameFor(const char* what, const char* extension) const;
    bool saveAs(const QString& caption, const QString& fileName, const QString& filter,
                const FileJob& content);
    // Runs `write` on the runner and waits, the progress shown with "Cancel"; a failure is
    // reported, a cancel is not.
    bool writeInBackground(const QString& path,
                           std::function<std::optional<Error>(JobControl&)> write);

    std::shared_ptr<const RunResult> run_;
    Metadata roles_;
    QLabel* quality_ = nullptr;
    std::vector<QPushButton*> runButtons_;
    // Owned by the main window, as windows of their own; made on first opening.
    QPointer<DetailsWindow> details_;
    QPointer<MatrixWindow> matrix_;
    QPointer<PairWindow> pair_;
    StabilityTask* stability_ = nullptr;
    JobRunner* runner_ = nullptr;
    JobProgressDialog* progress_ = nullptr;
    QString saving_;  // the name of the file being written
};

}  // namespace pelmora
