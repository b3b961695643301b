#pragma once
// The case controls of the main form: roles given from the file list (a context menu and the
// keys Q, K, R and 0 on the selection, the role's letter shown before each name), "Case…",
// "Import metadata…", "Export metadata…", and the case file: "New case…", "Open case…",
// "Recent cases", "Save case" and "Case details…". It holds the metadata of the folder shown and
// the path of the case open; the recent cases are kept in the user's settings.

#include <QPointer>
#include <QString>
#include <QStyledItemDelegate>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "case/metadata.h"
#include "case/unmasking.h"
#include "casefile/case_file.h"
#include "jobs/job.h"
#include "ui/case_details_dialog.h"

class QListWidget;
class QMenu;
class QMessageBox;
class QPushButton;

namespace pelmora {

struct FileList;
struct RunResult;
struct RunStability;
class CaseWindow;
class JobRunner;
class MetadataModel;

// Shows each file of the list with its role's letter before its name: "[Q] letter.txt"; a
// file without a role as it is.
class RoleLetterDelegate : public QStyledItemDelegate {
public:
    RoleLetterDelegate(const MetadataModel* metadata, QObject* parent);
    // What the list shows in the row of `index`.
    [[nodiscard]] QString shownText(const QModelIndex& index) const;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const MetadataModel* metadata_;
};

class CasePanel : public QWidget {
    Q_OBJECT

public:
    explicit CasePanel(QWidget* parent = nullptr);
    ~CasePanel() override;

    // Roles are given to the list's selected files; it shows their letters.
    void attachList(QListWidget* list);
    // The folder's files as the list shows them; another folder drops the metadata.
    void showFolder(const FileList& files);
    void showRun(std::shared_ptr<const RunResult> run);
    // The stability measured for `of`; the Case window shows it while `of` is the run shown.
    void showStability(std::shared_ptr<const RunResult> of,
                       std::shared_ptr<const RunStability> stability);

    MetadataModel* metadata() const { return metadata_; }
    CaseWindow* caseWindow() const;
    // The problem shown last, while it is open.
    QMessageBox* problemBox() const;
    // Reads and writes the metadata files; tests wait for it.
    JobRunner* fileRunner() const { return runner_; }

    void setRoleOfSelection(Role role);
    // The context menu of the file list: one action per role.
    [[nodiscard]] QMenu* roleMenu(QWidget* parent);
    void openCase();
    bool importMetadata();
    bool exportMetadata();
    // A case file for the folder shown, holding its metadata and the run shown.
    bool newCase();
    // Reads a case file: the files changed since its last run come first, in a message, then
    // its folder is shown (through caseFolderWanted) with its roles.
    bool openCaseFile();
    // Reads the case file at `path`, as openCaseFile does.
    bool openCaseFileAt(const QString& path);
    // The case files last opened or saved, the latest first, as the settings keep them.
    [[nodiscard]] static QStringList recentCases();
    // The menu of "Recent cases": an action per case file, the latest first.
    QMenu* recentMenu() const { return recentMenu_; }
    // Stores the metadata, and the run shown when it is new, in the case open (a new one when
    // none is).
    bool saveCase();
    // Locks the questioned texts of the case open on the run shown, stored first when new.
    bool lockQuestioned();
    // Shows the details and the unmasking of the case open for editing and stores what changed.
    bool editCaseDetails();
    // The case file open, or empty.
    const QString& casePath() const { return casePath_; }

    // Ask which file to read or where to save (caption, suggested file name, filter); empty
    // when cancelled. Tests replace them.
    std::function<QString(const QString&, const QString&)> chooseOpenPath;
    std::function<QString(const QString&, const QString&, const QString&)> choosePath;
    // Lets the user edit `settings`; false when cancelled. Tests replace it.
    std::function<bool(CaseSettings&)> editDetails;

signals:
    // An opened case's folder, which the main form should show.
    void caseFolderWanted(const QString& folder);
    // A row of the Case window's tables asked for the pair of these texts of the run shown.
    void pairWanted(int first, int second);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showProblem(const QString& text);
    // Runs `job` and waits for it; a failure reaches a message box.
    bool runCaseJob(Job<bool> job);
    void showUnmasking(UnmaskingStage stage);
    // The Case window shows the log of the case open as it is now.
    void showCaseLog();
    // The case file open is listed first among the recent cases.
    void rememberCase();
    void showRecentCases();
    // Opens a recent case; one no longer there is taken off the list, with a message.
    void openRecentCase(const QString& path);

    std::filesystem::path folder_;
    QString casePath_;
    UnmaskingStage unmasking_ = UnmaskingStage::Off;  // of the case open
    std::shared_ptr<const RunResult> storedRun_;      // the run last stored in the case open

    QListWidget* list_ = nullptr;
    MetadataModel* metadata_ = nullptr;
    std::shared_ptr<const RunResult> run_;
    std::shared_ptr<const RunResult> stabilityOf_;  // the run `stability_` was measured for
    std::shared_ptr<const RunStability> stability_;
    QPointer<CaseWindow> case_;  // a window of its own, made on first opening
    QPointer<QMessageBox> problem_;
    QPushButton* recent_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    JobRunner* runner_ = nullptr;
};

}  // namespace pelmora
