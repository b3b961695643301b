// The main form's widgets: the folder tree and its model, the widgets in their columns and the
// keyboard order through them.

#include <QComboBox>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "help/window_parts.h"
#include "ui/case_panel.h"
#include "ui/evidence_panel.h"
#include "ui/folder_path_field.h"
#include "ui/import_panel.h"
#include "ui/main_window.h"
#include "ui/metadata_model.h"
#include "ui/report_view.h"
#include "ui/run_summary_panel.h"
#include "ui/stability_task.h"

namespace pelmora {

namespace {

void tint(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Text, Qt::black);
    widget->setPalette(palette);
}

}  // namespace

void MainWindow::buildFolderTree() {
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QDir::rootPath());
    // Rows the model drops, resets or rearranges move the tree's current index by themselves;
    // the folder the user chose stays chosen. Connected before the tree's own handlers, which
    // move it.
    const auto changing = [this] { ++treeChanging_; };
    const auto changed = [this] {
        --treeChanging_;
        QMetaObject::invokeMethod(this, &MainWindow::keepChosenFolder, Qt::QueuedConnection);
    };
    connect(folders_, &QFileSystemModel::rowsAboutToBeRemoved, this, changing);
    connect(folders_, &QFileSystemModel::rowsRemoved, this, changed);
    connect(folders_, &QFileSystemModel::modelAboutToBeReset, this, changing);
    connect(folders_, &QFileSystemModel::modelReset, this, changed);
    connect(folders_, &QFileSystemModel::layoutAboutToBeChanged, this, changing);
    connect(folders_, &QFileSystemModel::layoutChanged, this, changed);
    dir1_ = new QTreeView(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column) {
        dir1_->hideColumn(column);
    }
    dir1_->setHeaderHidden(true);
}

MainWindow::FormButtons MainWindow::layOutForm() {
    folderProblem_ = makeText(this, "lblFolderProblem", "");
    folderProblem_->setStyleSheet(QStringLiteral("color: #b00000"));
    folderProblem_->hide();

    FormButtons buttons;
    buttons.refresh = makeButton(this, "cmdRefresh", "&Refresh");
    cmdAuto_ = makeButton(this, "cmdAuto", "&Auto-check all files in folder");
    file1_ = new QListWidget(this);
    file1_->setObjectName(QStringLiteral("File1"));
    tint(file1_, QColor(0xdd, 0xee, 0xff));
    notListed_ = makeText(this, "lblNotListed", "");
    notListed_->hide();
    case_ = new CasePanel(this);
    case_->attachList(file1_);
    // An opened case's folder is chosen as if in the tree, so that its files are listed first.
    connect(case_, &CasePanel::caseFolderWanted, this,
            [this](const QString& folder) { dir1_->setCurrentIndex(folders_->index(folder)); });
    imports_ = new ImportPanel(this);
    // The texts an import wrote are shown as if their folder were chosen in the tree.
    connect(imports_, &ImportPanel::folderWanted, this,
            [this](const QString& folder) { dir1_->setCurrentIndex(folders_->index(folder)); });
    buttons.exit = makeButton(this, "Command1", "E&xit");

    txtReport_ = new ReportView(this);
    buttons.help = makeButton(this, "cmdHelp", "&Help");

    auto* runButtons = new QHBoxLayout;
    runButtons->addWidget(buttons.refresh);
    runButtons->addWidget(cmdAuto_, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(makeHeading(this, "captionFileLocation", "File Location"));
    left->addWidget(makeText(this, "textPreparation",
                             "Preparation: You need to have all your texts in one folder "
                             "(directory). Pelmora handles only .txt files."));
    left->addWidget(drive1_);
    folderPath_ = new FolderPathField(this);
    left->addWidget(folderPath_);
    left->addWidget(dir1_, 3);
    left->addWidget(folderProblem_);
    left->addWidget(makeText(this, "textInstruction",
                             "Click the button below to classify all of the texts in the folder."));
    left->addLayout(runButtons);
    left->addWidget(file1_, 2);
    left->addWidget(notListed_);
    left->addWidget(case_);
    left->addWidget(imports_);
    left->addWidget(buttons.exit, 0, Qt::AlignLeft);

    summary_ = new RunSummaryPanel(this);
    auto* right = new QVBoxLayout;
    right->addWidget(summary_);
    right->addWidget(makeHeading(this, "captionReport", "Report:"));
    right->addWidget(txtReport_, 1);
    right->addWidget(makeText(this, "textCopyHint",
                              "You can copy and paste the data in this box into a spreadsheet or "
                              "word-processing application."));
    evidence_ = new EvidencePanel(this);
    evidence_->openPairsFrom(txtReport_, case_);
    right->addWidget(evidence_);
    connect(case_->metadata(), &MetadataModel::metadataChanged, evidence_,
            [this] { evidence_->showRoles(case_->metadata()->metadata()); });
    // Stability measured from Details or the matrix reaches the Case window too.
    StabilityTask* stability = evidence_->stabilityTask();
    connect(stability, &StabilityTask::figuresChanged, case_,
            [this, stability] { case_->showStability(stability->run(), stability->stability()); });
    right->addWidget(buttons.help, 0, Qt::AlignLeft);

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    return buttons;
}

void MainWindow::setTabOrders(const FormButtons& buttons) {
    setTabOrder(drive1_, folderPath_);
    setTabOrder(folderPath_, dir1_);
    setTabOrder(dir1_, buttons.refresh);
    setTabOrder(buttons.refresh, cmdAuto_);
    setTabOrder(cmdAuto_, file1_);
    QWidget* beforeExit = file1_;
    // Only the buttons on this form: a panel's own windows keep their own order.
    const auto onThisForm = [this](const QWidget* w) { return w->window() == this; };
    for (QPushButton* b : case_->findChildren<QPushButton*>()) {
        if (!onThisForm(b)) {
            continue;
        }
        setTabOrder(beforeExit, b);
        beforeExit = b;
    }
    auto* importButton = imports_->findChild<QPushButton*>(QStringLiteral("cmdImportDocuments"));
    setTabOrder(beforeExit, importButton);
    setTabOrder(importButton, buttons.exit);
    setTabOrder(buttons.exit, txtReport_);
    // The buttons under the report come before "Help", as on the screen.
    QWidget* beforeHelp = txtReport_;
    for (QPushButton* b : evidence_->findChildren<QPushButton*>()) {
        if (!onThisForm(b)) {
            continue;
        }
        setTabOrder(beforeHelp, b);
        beforeHelp = b;
    }
    setTabOrder(beforeHelp, buttons.help);
}

}  // namespace pelmora
