#include "ui/case_panel.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <iterator>
#include <set>

#include "exports/run_names.h"
#include "files/replacing_file.h"
#include "help/window_parts.h"
#include "stores/navigation.h"
#include "ui/case_details_dialog.h"
#include "ui/case_window.h"
#include "ui/export_actions.h"
#include "ui/job_runner.h"
#include "ui/metadata_model.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

// The role a key gives in the file list, or nothing.
std::optional<Role> roleOfKey(const QKeyEvent& key) {
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return std::nullopt;
    }
    switch (key.key()) {
        case Qt::Key_Q:
            return Role::Questioned;
        case Qt::Key_K:
            return Role::Known;
        case Qt::Key_R:
            return Role::Reference;
        case Qt::Key_0:
            return Role::None;
        default:
            return std::nullopt;
    }
}

const QString kCsvFilter = QStringLiteral("CSV (*.csv);;All files (*)");

}  // namespace

RoleLetterDelegate::RoleLetterDelegate(const MetadataModel* metadata, QObject* parent)
    : QStyledItemDelegate(parent), metadata_(metadata) {}

QString RoleLetterDelegate::shownText(const QModelIndex& index) const {
    const QString name = index.data().toString();
    const Role role = metadata_->roleAt(index.row());
    return role == Role::None
               ? name
               : QStringLiteral("[%1] %2").arg(toQt(std::string(roleLetter(role))), name);
}

void RoleLetterDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = shownText(index);
}

CasePanel::CasePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CasePanel"));
    metadata_ = new MetadataModel(this);
    runner_ = new JobRunner(this);
    auto* newCaseButton = makeButton(this, "cmdNewCase", "New case…");
    auto* openCaseButton = makeButton(this, "cmdOpenCase", "Open case…");
    recent_ = makeButton(this, "cmdRecentCases", "Recent cases");
    recentMenu_ = new QMenu(recent_);
    recentMenu_->setObjectName(QStringLiteral("menuRecentCases"));
    recent_->setMenu(recentMenu_);
    auto* saveCaseButton = makeButton(this, "cmdSaveCase", "Save case");
    connect(newCaseButton, &QPushButton::clicked, this, [this] { static_cast<void>(newCase()); });
    connect(openCaseButton, &QPushButton::clicked, this,
            [this] { static_cast<void>(openCaseFile()); });
    connect(saveCaseButton, &QPushButton::clicked, this, [this] { static_cast<void>(saveCase()); });
    auto* detailsButton = makeButton(this, "cmdCaseDetails", "Case details…");
    connect(detailsButton, &QPushButton::clicked, this,
            [this] { static_cast<void>(editCaseDetails()); });
    auto* open = makeButton(this, "cmdCase", "Case…");
    auto* import = makeButton(this, "cmdImportMetadata", "Import metadata…");
    auto* exportButton = makeButton(this, "cmdExportMetadata", "Export metadata…");
    connect(open, &QPushButton::clicked, this, &CasePanel::openCase);
    connect(import, &QPushButton::clicked, this, [this] { static_cast<void>(importMetadata()); });
    connect(exportButton, &QPushButton::clicked, this,
            [this] { static_cast<void>(exportMetadata()); });
    // Two rows of four, so that the form fits a small screen's width.
    auto* rows = new QGridLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    QWidget* const inOrder[] = {newCaseButton, openCaseButton, recent_, saveCaseButton,
                                detailsButton, open,           import,  exportButton};
    for (int i = 0; i < static_cast<int>(std::size(inOrder)); ++i) {
        rows->addWidget(inOrder[i], i / 4, i % 4);
    }

    chooseOpenPath = [this](const QString& caption, const QString& filter) {
        return pelmora::chooseOpenPath(window(), caption, filter);
    };
    choosePath = [this](const QString& caption, const QString& fileName, const QString& filter) {
        return chooseSavePath(window(), caption, fileName, filter);
    };
    editDetails = [this](CaseSettings& settings) {
        CaseDetailsDialog dialog(settings, window());
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        settings = dialog.settings();
        return true;
    };
    showRecentCases();
}

CasePanel::~CasePanel() = default;

CaseWindow* CasePanel::caseWindow() const {
    return case_.data();
}

QMessageBox* CasePanel::problemBox() const {
    return problem_.data();
}

void CasePanel::attachList(QListWidget* list) {
    list_ = list;
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setItemDelegate(new RoleLetterDelegate(metadata_, list_));
    list_->installEventFilter(this);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = roleMenu(list_);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(list_->viewport()->mapToGlobal(at));
    });
    connect(metadata_, &MetadataModel::metadataChanged, list_->viewport(),
            qOverload<>(&QWidget::update));
}

void CasePanel::showFolder(const FileList& files) {
    folder_ = files.path;
    std::vector<std::string> names;
    QStringList shown;
    for (int i = 0; i < files.count(); ++i) {
        names.push_back(files.diskName(i));
        shown.append(toQt(files.entries.at(i)));
    }
    metadata_->setFolder(std::move(names), std::move(shown));
}

void CasePanel::showRun(std::shared_ptr<const RunResult> run) {
    run_ = std::move(run);
    if (case_) {
        case_->showRun(run_);
        case_->showStability(stabilityOf_, stability_);
    }
}

void CasePanel::showStability(std::shared_ptr<const RunResult> of,
                              std::shared_ptr<const RunStability> stability) {
    stabilityOf_ = std::move(of);
    stability_ = std::move(stability);
    if (case_) {
        case_->showStability(stabilityOf_, stability_);
    }
}

void CasePanel::setRoleOfSelection(Role role) {
    if (list_ == nullptr) {
        return;
    }
    std::set<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        rows.insert(index.row());
    }
    if (rows.empty() && list_->currentRow() >= 0) {
        rows.insert(list_->currentRow());
    }
    metadata_->setRole(std::vector<int>(rows.begin(), rows.end()), role);
}

QMenu* CasePanel::roleMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("menuRoles"));
    const std::pair<Role, const char*> items[] = {{Role::Questioned, "&Questioned\tQ"},
                                                  {Role::Known, "&Known\tK"},
                                                  {Role::Reference, "&Reference\tR"},
                                                  {Role::None, "&No role\t0"}};
    for (const auto& [role, caption] : items) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QStringLiteral("actRole") + toQt(std::string(roleLetter(role))));
        connect(action, &QAction::triggered, this, [this, r = role] { setRoleOfSelection(r); });
    }
    return menu;
}

bool CasePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        if (const std::optional<Role> role = roleOfKey(*static_cast<QKeyEvent*>(event))) {
            setRoleOfSelection(*role);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CasePanel::openCase() {
    if (!case_) {
        case_ = new CaseWindow(metadata_, window());
        case_->showUnmasking(unmasking_);
        case_->showRun(run_);
        case_->showStability(stabilityOf_, stability_);
        case_->showCase(casePath_);
        connect(case_, &CaseWindow::lockRequested, this,
                [this] { static_cast<void>(lockQuestioned()); });
        connect(case_, &CaseWindow::pairActivated, this, &CasePanel::pairWanted);
    }
    case_->show();
    case_->raise();
}

bool CasePanel::importMetadata() {
    const QString path = chooseOpenPath(QStringLiteral("Import metadata"), kCsvFilter);
    if (path.isEmpty()) {
        return false;
    }
    Job<Metadata> job = [path, names = metadata_->folderNames()](JobControl&) -> Result<Metadata> {
        QFile file(path);
        const QString shown = QFileInfo(path).fileName();
        if (!file.open(QIODevice::ReadOnly)) {
            return Error{
                Error::Code::ReadFailed,
                fromQt(QStringLiteral("Cannot read \"%1\": %2").arg(shown, file.errorString())),
                fromQt(file.errorString())};
        }
        const QByteArray bytes = file.readAll();
        Result<Metadata> read = parseMetadata(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), names);
        if (!read.ok()) {
            Error error = read.error();
            error.message =
                fromQt(QStringLiteral("Metadata not imported from \"%1\", ").arg(shown)) +
                error.message;
            return error;
        }
        return read;
    };
    bool read = false;
    runner_->start<Metadata>(std::move(job), [this, &read](Metadata metadata) {
        metadata_->setMetadata(std::move(metadata));
        read = true;
    });
    if (runner_->wait() == JobRunner::End::Failed) {
        showProblem(runner_->problem());
    }
    return read;
}

bool CasePanel::exportMetadata() {
    const QString path =
        choosePath(QStringLiteral("Export metadata"),
                   toQt(safeFileName(folderName(folder_), {}, "metadata", ".csv")), kCsvFilter);
    if (path.isEmpty()) {
        return false;
    }
    Job<bool> job =
        [path, csv = metadataCsv(metadata_->metadata())](JobControl& control) -> Result<bool> {
        const std::optional<Error> failed = writeWholeFile(
            pathFromQt(path),
            [&csv](const std::function<void(std::string_view)>& piece) { piece(csv); },
            &control.token());
        if (failed) {
            return *failed;
        }
        return true;
    };
    return runCaseJob(std::move(job));
}

void CasePanel::showProblem(const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Pelmora"), text,
                                QMessageBox::Ok, window());
    box->setObjectName(QStringLiteral("caseProblem"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    problem_ = box;
}

}  // namespace pelmora
