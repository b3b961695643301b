#include "ui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "analysis/form1_commands.h"
#include "app/drives.h"
#include "app/form2_commands.h"
#include "desktop/window_fit.h"
#include "explanation/run_summary.h"
#include "help/button_tips.h"
#include "help/help_windows.h"
#include "help/window_parts.h"
#include "run/batch.h"
#include "ui/analysis_window.h"
#include "ui/case_panel.h"
#include "ui/evidence_panel.h"
#include "ui/folder_path_field.h"
#include "ui/import_panel.h"
#include "ui/job_progress.h"
#include "ui/job_runner.h"
#include "ui/metadata_model.h"
#include "ui/report_view.h"
#include "ui/run_summary_panel.h"
#include "ui/stability_task.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

constexpr int kTwipsPerInch = 1440;

}  // namespace

MainWindow::MainWindow(ProgramContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("Form2"));
    showTitle();

    drive1_ = new QComboBox(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    buildFolderTree();
    const FormButtons buttons = layOutForm();
    setTabOrders(buttons);

    analysis_ = std::make_unique<AnalysisWindow>();
    // The run ends with the report in hand: showing the analysis window must not take it.
    analysis_->setAttribute(Qt::WA_ShowWithoutActivating);
    helpWindows_ = new HelpWindows(this);

    connectForm(buttons);
    connectAnalysisWindow();

    runner_ = new JobRunner(this);
    progress_ = new JobProgressDialog(
        runner_, QStringLiteral("Pelmora: Checking all files in folder"), this, 0,
        [](const JobProgress& p) {
            return QStringLiteral("file %1 of %2\n%3").arg(p.done).arg(p.total).arg(toQt(p.step));
        });
    progress_->setObjectName(QStringLiteral("progress"));

    startProgram(context_);
    buildDrives();
    fitToScreen(this, {940, 660});
    addButtonTips(this);
    showStores();
    showMessages(this);
}

void MainWindow::showTitle() {
    const QString title = QStringLiteral("Pelmora: Test textual compatibility");
    setWindowTitle(run_ ? title + QStringLiteral(" \u2014 ") +
                              QDir::toNativeSeparators(pathToQt(run_->folder))
                        : title);
}

void MainWindow::connectForm(const FormButtons& buttons) {
    connect(drive1_, &QComboBox::activated, this, &MainWindow::driveChosen);
    connect(folderPath_, &FolderPathField::folderWanted, this, &MainWindow::folderTyped);
    connect(dir1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { folderChosen(current); });
    connect(folders_, &QFileSystemModel::rowsInserted, this, [this](const QModelIndex& above) {
        // The tree fills in the background, in batches; keep the chosen folder open and in
        // sight while its ancestors arrive.
        if (followFolder_ && pathToQt(shownFolder_).startsWith(folders_->filePath(above))) {
            revealFolder();
        }
    });
    connect(folders_, &QFileSystemModel::layoutChanged, this, [this] {
        if (followFolder_) {
            revealFolder();
        }
    });
    // Once the user browses the tree it stays where the user put it.
    dir1_->installEventFilter(this);
    dir1_->viewport()->installEventFilter(this);
    connect(file1_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { fileChosen(file1_->row(item)); });
    file1_->installEventFilter(this);
    connect(buttons.refresh, &QPushButton::clicked, this, &MainWindow::refreshPressed);
    connect(cmdAuto_, &QPushButton::clicked, this, &MainWindow::autoPressed);
    connect(buttons.exit, &QPushButton::clicked, this, &MainWindow::exitPressed);
    connect(buttons.help, &QPushButton::clicked, helpWindows_, &HelpWindows::openHelp);
    connect(evidence_, &EvidencePanel::wordsHelpRequested, helpWindows_, &HelpWindows::openWords);
}

void MainWindow::connectAnalysisWindow() {
    connect(analysis_.get(), &AnalysisWindow::doItAllPressed, this,
            [this] { analysisCommand([this] { Form1Commands(context_).cmdDoItAll(); }); });
    connect(analysis_.get(), &AnalysisWindow::resetPressed, this, &MainWindow::analysisReset);
    connect(analysis_.get(), &AnalysisWindow::totalResetPressed, this,
            [this] { analysisCommand([this] { Form1Commands(context_).cmdTotalReset(); }); });
    connect(analysis_.get(), &AnalysisWindow::furtherDetailsPressed, helpWindows_,
            &HelpWindows::openExplanation);
    connect(analysis_.get(), &AnalysisWindow::closedByUser, this, &MainWindow::analysisClosed);
}

MainWindow::~MainWindow() {
    context_.progress = nullptr;
}

void MainWindow::buildDrives() {
    const bool wasSyncing = std::exchange(syncing_, true);
    drive1_->clear();
    // The raw bytes travel with each entry: a mount point need not be valid UTF-8.
    for (const std::string& drive : listDrives()) {
        drive1_->addItem(toQt(drive), QByteArray::fromStdString(drive));
    }
    syncing_ = wasSyncing;
}

void MainWindow::runCommand(QWidget* origin, const std::function<void()>& command) {
    if (busy_) {
        return;
    }
    busy_ = true;
    if (context_.form1Exists()) {
        analysis_->takeEdits(context_.form1());
    }
    command();
    busy_ = false;
    showStores();
    showMessages(origin != nullptr && origin->isVisible() ? origin : this);
    if (context_.quitRequested) {
        emit quitRequested();
    }
}

void MainWindow::showStores() {
    syncing_ = true;
    Form2& form = context_.form2();

    const QByteArray drive = QByteArray::fromStdString(form.Drive1.drive);
    int driveIndex = drive1_->findData(drive);
    if (driveIndex < 0 && !drive.isEmpty()) {
        drive1_->addItem(toQt(form.Drive1.drive), drive);
        driveIndex = drive1_->count() - 1;
    }
    drive1_->setCurrentIndex(driveIndex);

    showFolder(form.Dir1.folder);

    if (form.File1.entries.items() != shownFiles_) {
        shownFiles_ = form.File1.entries.items();
        QStringList names;
        names.reserve(static_cast<qsizetype>(shownFiles_.size()));
        for (const std::string& name : shownFiles_) {
            names.append(toQt(name));
        }
        file1_->clear();
        file1_->addItems(names);
    }
    case_->showFolder(form.File1);
    // Setting the same row again would drop the other files selected for a role.
    if (file1_->currentRow() != form.File1.selected()) {
        file1_->setCurrentRow(form.File1.selected());
    }
    file1_->setEnabled(form.File1.enabled);
    QStringList notListed;
    for (const std::string& line :
         {unlistedText(form.File1.unlisted), leftOutText(form.File1.leftOut)}) {
        if (!line.empty()) {
            notListed.append(toQt(line));
        }
    }
    notListed_->setText(notListed.join(QLatin1Char('\n')));
    notListed_->setVisible(!notListed.isEmpty());
    cmdAuto_->setEnabled(form.cmdAutoEnabled);
    cmdAuto_->setToolTip(form.cmdAutoEnabled ? buttonTip(cmdAuto_->objectName())
                                             : QString::fromUtf8(kRefreshEnablesAuto));
    summary_->showRun(run_, form.cmdAutoEnabled);
    folderPath_->showFolder(pathToQt(form.Dir1.folder));
    showTitle();

    // A run or Refresh puts a new text in the store; any other command leaves the one shown,
    // and the place the user scrolled to in it.
    if (!form.txtReport.sharesPieces(txtReport_->text())) {
        txtReport_->setText(form.txtReport);
    }
    syncing_ = false;

    if (context_.form1Exists()) {
        analysis_->showStores(context_.form1());
    }
    placeAnalysisWindow();
}

void MainWindow::showFolder(const std::filesystem::path& folder) {
    if (folder == shownFolder_) {
        return;
    }
    shownFolder_ = folder;
    followFolder_ = true;
    revealFolder();
}

void MainWindow::revealFolder() {
    const bool wasSyncing = std::exchange(syncing_, true);
    const QModelIndex index = folders_->index(QFileInfo(pathToQt(shownFolder_)).absoluteFilePath());
    for (QModelIndex above = index.parent(); above.isValid(); above = above.parent()) {
        dir1_->expand(above);
    }
    dir1_->setCurrentIndex(index);
    if (index.isValid()) {
        dir1_->scrollTo(index);
    }
    syncing_ = wasSyncing;
}

void MainWindow::keepChosenFolder() {
    if (treeChanging_ > 0) {
        return;  // the last of the changes will call again
    }
    // The chosen folder's index, or none when it is gone: never a neighbour the tree moved to.
    const QModelIndex chosen = folders_->index(pathToQt(shownFolder_));
    if (dir1_->currentIndex() != chosen) {
        const bool wasSyncing = std::exchange(syncing_, true);
        dir1_->setCurrentIndex(chosen);
        syncing_ = wasSyncing;
    }
}

void MainWindow::placeAnalysisWindow() {
    const bool inView =
        context_.form1Exists() && context_.form1().visible && context_.form1().left < kInViewLimit;
    if (!inView) {
        analysis_->hide();
        placedLeft_ = -1;
        return;
    }
    const int left = context_.form1().left;
    if (analysis_->isVisible() && placedLeft_ == left) {
        return;  // leave it where the user may have moved it
    }
    const QRect screen = this->screen()->availableGeometry();
    int x = screen.left() + left * logicalDpiX() / kTwipsPerInch;
    x = std::max(screen.left(), std::min(x, screen.right() - analysis_->width()));
    const int y = std::max(screen.top(), geometry().top());
    analysis_->move(x, y);
    keepOnScreen(analysis_.get());
    analysis_->show();
    placedLeft_ = left;
}

void MainWindow::showMessages(QWidget* origin) {
    const std::vector<std::string> messages = context_.takeMessages();
    if (messages.empty()) {
        return;
    }
    QStringList texts;
    for (const std::string& message : messages) {
        texts.append(toQt(message));
    }
    auto* box =
        new QMessageBox(QMessageBox::Warning, QStringLiteral("Pelmora"),
                        texts.join(QStringLiteral("\n\n")), QMessageBox::Ok, origin->window());
    box->setObjectName(QStringLiteral("message"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::driveChosen(int index) {
    if (syncing_ || index < 0) {
        return;
    }
    const std::string drive = drive1_->itemData(index).toByteArray().toStdString();
    const std::filesystem::path before = context_.form2().Dir1.folder;
    runCommand(this, [this, &drive] {
        Form2& form = context_.form2();
        form.Drive1.drive = drive;
        Form2Commands(context_).Drive1_Change();
    });
    if (context_.form2().Dir1.folder != before) {
        showFolderProblem({});  // the tree has left the folder the line named
    }
}

void MainWindow::folderTyped(const QString& typed) {
    QString path = QDir::cleanPath(QDir::fromNativeSeparators(typed.trimmed()));
    if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/"))) {
        path = QDir::homePath() + path.mid(1);
    }
    const QFileInfo folder(path);
    if (path.isEmpty() || !folder.isDir()) {
        showFolderProblem({"There is no folder at \"" + fromQt(typed.trimmed()) + "\"."});
        return;
    }
    folderPath_->remember(folder.absoluteFilePath());
    followFolder_ = true;
    dir1_->setCurrentIndex(folders_->index(folder.absoluteFilePath()));
    revealFolder();
    dir1_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::folderChosen(const QModelIndex& index) {
    if (syncing_ || busy_ || treeChanging_ > 0 || !index.isValid()) {
        return;
    }
    const std::filesystem::path folder = pathFromQt(folders_->filePath(index));
    shownFolder_ = folder;
    std::vector<std::string> problems;
    runCommand(this, [this, &folder, &problems] {
        Form2& form = context_.form2();
        form.Dir1.folder = folder;
        Form2Commands(context_).Dir1_Change();
        // The arrow keys go through the tree folder by folder; a message box would stop them
        // at every folder that cannot be opened.
        problems = context_.takeMessages();
    });
    showFolderProblem(problems);
}

void MainWindow::showFolderProblem(const std::vector<std::string>& problems) {
    QStringList texts;
    for (const std::string& problem : problems) {
        texts.append(toQt(problem));
    }
    folderProblem_->setText(texts.join(QLatin1Char('\n')));
    folderProblem_->setVisible(!texts.isEmpty());
}

void MainWindow::fileChosen(int row) {
    if (syncing_) {
        return;
    }
    runCommand(this, [this, row] {
        Form2& form = context_.form2();
        if (!form.File1.enabled || row < 0 || row >= form.File1.count()) {
            return;
        }
        form.File1.entries.select(row);
        Form2Commands(context_).File1_Click();
    });
}

void MainWindow::autoPressed() {
    if (busy_) {
        return;
    }
    // The run goes on a thread of its own while this one keeps the windows painted and the
    // progress moving; nothing here reads the stores until it has ended. Cancelled, it puts
    // every store back as it was before the press.
    bool ran = false;
    runCommand(this, [this, &ran] {
        Job<std::shared_ptr<const RunResult>> job =
            [this](JobControl& control) -> Result<std::shared_ptr<const RunResult>> {
            context_.progress = [&control](int k, int n, const std::string& name) {
                control.report(k, n, name);
            };
            std::shared_ptr<const RunResult> run = runBatch(context_, &control.token());
            context_.progress = nullptr;
            if (!run && control.cancelled()) {
                return cancelledError("The run");
            }
            return run;
        };
        runner_->start<std::shared_ptr<const RunResult>>(
            std::move(job), [this, &ran](std::shared_ptr<const RunResult> run) {
                if (run) {
                    run_ = std::move(run);
                    ran = true;
                }
            });
        static_cast<void>(runner_->wait());
    });
    if (!ran) {
        return;  // the form stays as it was before the press
    }
    evidence_->showRun(run_);
    case_->showRun(run_);
    folderPath_->remember(pathToQt(run_->folder));
    QStringList names;
    names.reserve(static_cast<qsizetype>(run_->texts.size()));
    for (const TextRecord& t : run_->texts) {
        names.append(toQt(t.name));
    }
    txtReport_->setPairNames(std::move(names));
    txtReport_->moveToStart();
    // The main form comes to the front with the report ready for the keyboard.
    raise();
    activateWindow();
    txtReport_->setFocus(Qt::OtherFocusReason);
}

QProgressDialog* MainWindow::progressDialog() const {
    return progress_;
}

void MainWindow::refreshPressed() {
    runCommand(this, [this] {
        Form2Commands(context_).cmdRefresh();
        run_.reset();
    });
    showFolderProblem({});
    evidence_->showRun(run_);
    case_->showRun(run_);
    txtReport_->setPairNames({});
    buildDrives();
    showStores();
}

void MainWindow::exitPressed() {
    runCommand(this, [this] { Form2Commands(context_).Command1(); });
}

void MainWindow::analysisCommand(const std::function<void()>& command) {
    runCommand(analysis_.get(), [this, &command] {
        if (context_.form1Exists()) {
            command();
        }
    });
}

void MainWindow::analysisReset() {
    analysisCommand([this] {
        const int left = context_.form1().left;
        const bool inView = analysis_->isVisible();
        Form1Commands(context_).cmdReset();
        // The re-created form starts at its designed position off the screen; a reset the
        // user presses must not take the window away from under the mouse.
        if (inView && context_.form1().visible) {
            context_.form1().left = left;
        }
    });
}

void MainWindow::analysisClosed() {
    if (context_.form1Exists()) {
        context_.form1().visible = false;
    }
    placedLeft_ = -1;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Not while a run is going: its thread works on the stores this window owns.
    if (busy_) {
        event->ignore();
        return;
    }
    event->accept();
    emit quitRequested();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dir1_ || watched == dir1_->viewport()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::Wheel || type == QEvent::KeyPress) {
            followFolder_ = false;
        }
    }
    if (watched == file1_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            fileChosen(file1_->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pelmora
