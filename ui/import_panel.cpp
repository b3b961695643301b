#include "ui/import_panel.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>

#include "desktop/window_fit.h"
#include "files/replacing_file.h"
#include "help/window_parts.h"
#include "ui/job_progress.h"
#include "ui/job_runner.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

// What the file dialog offers first: every extension the import reads.
const char* const kEvidenceFilter =
    "Evidence (*.docx *.odt *.pdf *.html *.htm *.xhtml *.eml *.mbox *.txt);;All files (*)";

class ImportDialog : public QDialog {
public:
    explicit ImportDialog(QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("importDialog"));
        setWindowTitle(QStringLiteral("Pelmora: Import documents"));
        sources_ = new QListWidget(this);
        sources_->setObjectName(QStringLiteral("lstImportSources"));
        sources_->setSelectionMode(QAbstractItemView::ExtendedSelection);
        destination_ = new QLineEdit(this);
        destination_->setObjectName(QStringLiteral("txtImportDestination"));
        keep_ = new QCheckBox(QStringLiteral("&Keep quoted lines, signatures, notes, comments "
                                             "and media placeholders"),
                              this);
        keep_->setObjectName(QStringLiteral("chkKeepQuotes"));
        auto* addFiles = makeButton(this, "cmdAddFiles", "Add &files…");
        auto* addFolder = makeButton(this, "cmdAddFolder", "Add f&older…");
        auto* remove = makeButton(this, "cmdRemoveSources", "&Remove");
        auto* choose = makeButton(this, "cmdChooseDestination", "&Choose…");
        connect(addFiles, &QPushButton::clicked, this, [this] {
            sources_->addItems(QFileDialog::getOpenFileNames(this, QStringLiteral("Add files"), {},
                                                             QString::fromUtf8(kEvidenceFilter)));
        });
        connect(addFolder, &QPushButton::clicked, this, [this] {
            const QString folder =
                QFileDialog::getExistingDirectory(this, QStringLiteral("Add folder"));
            if (!folder.isEmpty()) {
                sources_->addItem(folder);
            }
        });
        connect(remove, &QPushButton::clicked, this,
                [this] { qDeleteAll(sources_->selectedItems()); });
        connect(choose, &QPushButton::clicked, this, [this] {
            const QString folder =
                QFileDialog::getExistingDirectory(this, QStringLiteral("Destination folder"));
            if (!folder.isEmpty()) {
                destination_->setText(folder);
            }
        });
        layOut(addFiles, addFolder, remove, choose);
    }

    ImportRequest request() const {
        ImportRequest request;
        for (int i = 0; i < sources_->count(); ++i) {
            request.sources.push_back(pathFromQt(sources_->item(i)->text()));
        }
        request.destination = pathFromQt(destination_->text());
        request.options.keepEverything = keep_->isChecked();
        return request;
    }

private:
    void layOut(QPushButton* addFiles, QPushButton* addFolder, QPushButton* remove,
                QPushButton* choose) {
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        import_ = buttons->button(QDialogButtonBox::Ok);
        import_->setText(QStringLiteral("&Import"));
        import_->setObjectName(QStringLiteral("cmdImport"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        const auto ready = [this] {
            import_->setEnabled(sources_->count() > 0 && !destination_->text().trimmed().isEmpty());
        };
        connect(sources_->model(), &QAbstractItemModel::rowsInserted, this, ready);
        connect(sources_->model(), &QAbstractItemModel::rowsRemoved, this, ready);
        connect(destination_, &QLineEdit::textChanged, this, ready);
        ready();
        auto* grid = new QGridLayout(this);
        grid->addWidget(
            makeText(this, "captionImportSources",
                     "Documents, PDF, web pages, e-mails (.eml, .mbox) and chat exports "
                     "(.txt), and folders of them:"),
            0, 0, 1, 2);
        grid->addWidget(sources_, 1, 0, 3, 1);
        grid->addWidget(addFiles, 1, 1);
        grid->addWidget(addFolder, 2, 1);
        grid->addWidget(remove, 3, 1, Qt::AlignTop);
        grid->addWidget(
            makeText(this, "captionImportDestination",
                     "The folder the .txt texts, the import log and the metadata go to:"),
            4, 0, 1, 2);
        grid->addWidget(destination_, 5, 0);
        grid->addWidget(choose, 5, 1);
        grid->addWidget(keep_, 6, 0, 1, 2);
        grid->addWidget(buttons, 7, 0, 1, 2);
        fitToScreen(this, {620, 420});
    }

    QListWidget* sources_ = nullptr;
    QLineEdit* destination_ = nullptr;
    QCheckBox* keep_ = nullptr;
    QPushButton* import_ = nullptr;
};

}  // namespace

std::optional<ImportRequest> askForImport(QWidget* parent) {
    ImportDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.request();
}

ImportPanel::ImportPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImportPanel"));
    runner_ = new JobRunner(this);
    progress_ = new JobProgressDialog(runner_, QStringLiteral("Pelmora: Importing documents"), this,
                                      0, [](const JobProgress& p) {
                                          return QStringLiteral("source %1 of %2\n%3")
                                              .arg(p.done + 1)
                                              .arg(p.total)
                                              .arg(toQt(p.step));
                                      });
    progress_->setObjectName(QStringLiteral("importProgress"));
    auto* button = makeButton(this, "cmdImportDocuments", "Import documents…");
    connect(button, &QPushButton::clicked, this, [this] { static_cast<void>(importDocuments()); });
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(button);
    row->addStretch(1);
    chooseImport = [this] { return askForImport(window()); };
    connect(runner_, &JobRunner::failed, this, [this](const QString& message) {
        showBox(QStringLiteral("importProblem"), message, true);
    });
}

QMessageBox* ImportPanel::messageBox() const {
    return box_.data();
}

bool ImportPanel::importDocuments() {
    const std::optional<ImportRequest> request = chooseImport();
    if (!request) {
        return false;
    }
    const QString destination = pathToQt(request->destination);
    Job<ImportReport> job = [request = *request](JobControl& control) -> Result<ImportReport> {
        Result<ImportReport> report = importSources(request, &control);
        if (report.ok() && !report.value().metadata.rows.empty()) {
            const std::string csv = importMetadataCsv(report.value());
            if (std::optional<Error> failed =
                    writeWholeFile(freeMetadataPath(request.destination),
                                   [&csv](const auto& piece) { piece(csv); })) {
                return *failed;
            }
        }
        return report;
    };
    runner_->start<ImportReport>(std::move(job), [this, destination](ImportReport report) {
        finished(report, destination);
    });
    return true;
}

void ImportPanel::finished(const ImportReport& report, const QString& destination) {
    // A box as tall as a long list of sources would run off the screen: it names the first
    // few, and its details hold every one.
    constexpr std::size_t kListed = 10;
    showBox(QStringLiteral("importSummary"), toQt(importSummary(report, kListed)), false,
            report.leftOut.size() > kListed ? toQt(leftOutSources(report)) : QString());
    emit folderWanted(destination);
}

void ImportPanel::showBox(const QString& name, const QString& text, bool problem,
                          const QString& details) {
    auto* box = new QMessageBox(problem ? QMessageBox::Warning : QMessageBox::Information,
                                QStringLiteral("Pelmora: Import documents"), text, QMessageBox::Ok,
                                window());
    box->setObjectName(name);
    box->setDetailedText(details);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    box_ = box;
}

}  // namespace pelmora
