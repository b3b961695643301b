#pragma once
// The main form's window. It shows the stores of Form2 (and, through the analysis window,
// of Form1), forwards every press to the forms' commands and, after each command, shows
// the stores again, shows the messages the core raised and places the analysis window.
// It re-reads the forms from the context every time, because the core re-creates them.
// Creating it is creating the main form: it runs the start-up step.

#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMessageBox;
class QModelIndex;
class QProgressDialog;
class QPushButton;
class QTreeView;

namespace pelmora {

class AnalysisWindow;
class CasePanel;
class EvidencePanel;
class FolderPathField;
class HelpWindows;
class ImportPanel;
class JobProgressDialog;
class JobRunner;
class ProgramContext;
class ReportView;
class RunSummaryPanel;
struct RunResult;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Left edges of the analysis form below this many twips lie on the screen.
    static constexpr int kInViewLimit = 20000;

    explicit MainWindow(ProgramContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    ProgramContext& context() { return context_; }
    // The run the window shows, until "Refresh".
    const std::shared_ptr<const RunResult>& run() const { return run_; }
    AnalysisWindow* analysisWindow() const { return analysis_.get(); }
    HelpWindows* helpWindows() const { return helpWindows_; }
    EvidencePanel* evidencePanel() const { return evidence_; }
    CasePanel* casePanel() const { return case_; }
    ImportPanel* importPanel() const { return imports_; }
    QProgressDialog* progressDialog() const;
    // Runs the batch run; tests stop it at a chosen step through it.
    JobRunner* runner() const { return runner_; }

signals:
    // "E&xit" was pressed or the window was closed: the program ends.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The buttons of the form that only the constructor's parts need.
    struct FormButtons {
        QPushButton* refresh = nullptr;
        QPushButton* exit = nullptr;
        QPushButton* help = nullptr;
    };

    // The parts of the constructor: the folder tree and its model, the widgets in their
    // columns, the keyboard order, and what each press and each change of the tree does.
    void buildFolderTree();
    FormButtons layOutForm();
    void setTabOrders(const FormButtons& buttons);
    void connectForm(const FormButtons& buttons);
    void connectAnalysisWindow();

    void buildDrives();
    // Runs `command` as one press: the user's edits go into the stores first; afterwards
    // every window shows the stores again and the raised messages appear over `origin`.
    void runCommand(QWidget* origin, const std::function<void()>& command);
    void showStores();
    void showFolder(const std::filesystem::path& folder);
    // Opens the tree down to the shown folder and makes it the current one.
    void revealFolder();
    // Puts the tree's current index back on the chosen folder after the model moved it.
    void keepChosenFolder();
    void placeAnalysisWindow();
    void showMessages(QWidget* origin);
    // Shows what kept the tree's folder from being listed, under the tree; none clears it.
    void showFolderProblem(const std::vector<std::string>& problems);

    void driveChosen(int index);
    // A folder typed or pasted in the path field, or chosen from its recent folders.
    void folderTyped(const QString& typed);
    // The title names the folder of the run shown.
    void showTitle();
    void folderChosen(const QModelIndex& index);
    void fileChosen(int row);
    void autoPressed();
    void refreshPressed();
    void exitPressed();
    void analysisCommand(const std::function<void()>& command);
    void analysisReset();
    void analysisClosed();

    ProgramContext& context_;
    std::shared_ptr<const RunResult> run_;
    QComboBox* drive1_ = nullptr;
    FolderPathField* folderPath_ = nullptr;
    QTreeView* dir1_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QListWidget* file1_ = nullptr;
    QPushButton* cmdAuto_ = nullptr;
    ReportView* txtReport_ = nullptr;
    RunSummaryPanel* summary_ = nullptr;
    QLabel* folderProblem_ = nullptr;
    QLabel* notListed_ = nullptr;  // what the folder holds besides the files listed
    JobRunner* runner_ = nullptr;
    JobProgressDialog* progress_ = nullptr;
    std::unique_ptr<AnalysisWindow> analysis_;
    HelpWindows* helpWindows_ = nullptr;
    EvidencePanel* evidence_ = nullptr;  // quality line, evidence windows, exports
    CasePanel* case_ = nullptr;          // roles, metadata, the case window
    ImportPanel* imports_ = nullptr;     // evidence made into texts

    bool busy_ = false;     // a command is running; presses that arrive meanwhile are dropped
    bool syncing_ = false;  // widgets are being set from the stores, not by the user
    int treeChanging_ = 0;  // the folder model is dropping, resetting or rearranging rows
    std::filesystem::path shownFolder_;
    bool followFolder_ = true;  // keep revealing the shown folder while the tree loads
    std::vector<std::string> shownFiles_;
    int placedLeft_ = -1;  // the left edge the analysis window was last placed at
};

}  // namespace pelmora
