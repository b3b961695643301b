#pragma once
// "Pelmora: Case": the compatibility of the case's texts by role, as case/ computes it from the
// run shown and the roles, table by table (Q-K with its verdicts and where each strength stands
// among the reference texts, K-K with the off-type texts, Q-R, the matched reference set at the
// chosen level, Q-Q), the editable metadata table and the audit log of the case open with the
// state of its chain, the validation on labelled texts, and "Export case report…". With sequential
// unmasking, before the questioned texts are locked, only their codes and the tables of questioned
// texts alone. Recomputed away from the window's thread whenever the run, the roles or the level
// change; the log is read again on request.

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "case/unmasking.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QTabWidget;
class QTableView;

namespace pelmora {

struct RunResult;
struct RunStability;
class JobRunner;
class MetadataModel;
class ValidationPage;

class CaseWindow : public QWidget {
    Q_OBJECT

public:
    explicit CaseWindow(MetadataModel* metadata, QWidget* parent = nullptr);

    void showRun(std::shared_ptr<const RunResult> run);
    // The stability measured for `of`, taken when it is the run shown: the Q-K table gains
    // each pair's figures. Another run drops it.
    void showStability(const std::shared_ptr<const RunResult>& of,
                       std::shared_ptr<const RunStability> stability);
    // The case's unmasking stage: which tables show, and whether the questioned texts can be
    // locked here.
    void showUnmasking(UnmaskingStage stage);
    // Computes the tables, which arrive once the runner's job ends.
    void recompute();
    // Computes the tables; tests wait for it.
    JobRunner* runner() const { return runner_; }
    // The case file whose audit log shows (empty for none), read again now.
    void showCase(const QString& path);
    // Reads the audit log again, after an action was logged.
    void refreshLog();
    // Reads the audit log; tests wait for it.
    JobRunner* logRunner() const { return logRunner_; }
    // Writes the case report to `path` (its extension names the rendering) in the background:
    // the case open, for the run shown, which must be of the case's folder, with the
    // metadata the case holds. "Export case report…" asks for the path first.
    void exportReport(const QString& path);
    // Writes the case report; tests wait for it.
    JobRunner* reportRunner() const { return reportRunner_; }

signals:
    // "Lock questioned texts" was clicked.
    void lockRequested();
    // A row of a table of pairs was double-clicked or Enter pressed on it: the texts'
    // positions in the run shown.
    void pairActivated(int first, int second);

private:
    void buildMetadataTab();
    void buildLogTab();
    void buildReportExport(QHBoxLayout* row);
    void chooseReportPath();
    void updateReportCommand();
    void roleFilterChosen(int index);
    // Double-click or Enter on a row of `table` opens its pair.
    void openPairsOf(QTableView* table, std::size_t index);

    MetadataModel* metadata_;
    std::shared_ptr<const RunResult> run_;
    std::shared_ptr<const RunStability> stability_;  // of run_
    UnmaskingStage stage_ = UnmaskingStage::Off;
    JobRunner* runner_ = nullptr;
    QPushButton* lock_ = nullptr;
    QTableView* questionedCodes_ = nullptr;
    QLabel* state_ = nullptr;
    QSpinBox* level_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableView* questionedKnown_ = nullptr;
    QLabel* shares_ = nullptr;
    QTableView* knownKnown_ = nullptr;
    QTableView* questionedReference_ = nullptr;
    QTableView* matched_ = nullptr;
    QTableView* questionedQuestioned_ = nullptr;
    // The texts behind each row of the tables, as the last computation gave them.
    std::array<std::vector<std::optional<std::pair<int, int>>>, 5> rowPairs_;
    std::shared_ptr<const RunResult> rowPairsRun_;
    QComboBox* roleFilter_ = nullptr;
    QSortFilterProxyModel* filtered_ = nullptr;
    QString casePath_;
    JobRunner* logRunner_ = nullptr;
    QLabel* chainState_ = nullptr;
    QTableView* auditLog_ = nullptr;
    ValidationPage* validation_ = nullptr;
    JobRunner* reportRunner_ = nullptr;
    QPushButton* exportReport_ = nullptr;
    QLabel* reportWritten_ = nullptr;
};

}  // namespace pelmora
