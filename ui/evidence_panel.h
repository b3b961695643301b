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
#include <vector>

#include "run/run_result.h"
#include "ui/export_actions.h"

class QPushButton;

namespace pelmora {

class DetailsWindow;
class MatrixWindow;
class StabilityTask;

class EvidencePanel : public QWidget {
    Q_OBJECT

public:
    explicit EvidencePanel(QWidget* parent = nullptr);
    ~EvidencePanel() override;

    // Shows the run the main window holds; nothing after "Refresh".
    void showRun(std::shared_ptr<const RunResult> run);

    QString qualityLine() const { return quality_->text(); }
    DetailsWindow* detailsWindow() const;
    MatrixWindow* matrixWindow() const;
    // The stability of the run shown, measured when Details or the matrix asks for it.
    StabilityTask* stabilityTask() const { return stability_; }

    void openDetails();
    void openMatrix();
    bool saveReport();
    bool exportMeasures();
    bool exportMatrix();
    bool exportPairs();
    // Every table in one workbook; written whole or not at all.
    bool exportWorkbook();
    void copyReport();
    bool saveRunRecord();

    // Asks where to save (caption, suggested file name, filter); empty when cancelled.
    // Tests replace it.
    std::function<QString(const QString&, const QString&, const QString&)> choosePath;
    std::function<void(const QString&)> reportProblem;

private:
    bool saveAs(const QString& caption, const QString& fileName, const QString& filter,
                const std::function<ContentWriter(const QString& path)>& content);

    std::shared_ptr<const RunResult> run_;
    QLabel* quality_ = nullptr;
    std::vector<QPushButton*> runButtons_;
    // Owned by the main window, as windows of their own; made on first opening.
    QPointer<DetailsWindow> details_;
    QPointer<MatrixWindow> matrix_;
    StabilityTask* stability_ = nullptr;
};

}  // namespace pelmora
