#include "ui/export_actions.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "explanation/input_quality.h"
#include "exports/measures_table.h"
#include "exports/pair_matrix.h"
#include "exports/pairs_table.h"
#include "exports/workbook.h"
#include "formats/output_format.h"
#include "record/run_record.h"
#include "ui/details_window.h"
#include "ui/matrix_window.h"
#include "ui/stability_task.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

// Where save dialogs open: the last folder saved to, else Documents, else home.
QString& lastSaveFolder() {
    static QString folder;
    return folder;
}

// Calls its argument with every row of a table, the header first.
using TableRows = std::function<void(const std::function<void(const TableRow&)>& row)>;

// The writer of a table for a spreadsheet, row by row, tab-separated or CSV by the file's
// name: a run's pairs do not fit in memory as one text.
ContentWriter spreadsheetContent(const QString& path, ColumnKinds kinds, TableRows rows) {
    const char delimiter = delimiterForFile(fromQt(QFileInfo(path).fileName()));
    return [delimiter, kinds = std::move(kinds),
            rows = std::move(rows)](const std::function<void(std::string_view)>& piece) {
        SpreadsheetWriter writer(delimiter, kinds, piece);
        rows([&writer](const TableRow& row) { writer.row(row); });
        writer.finish();
    };
}

}  // namespace

QString chooseSavePath(QWidget* parent, const QString& caption, const QString& fileName,
                       const QString& filter) {
    QString folder = lastSaveFolder();
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    // QFileDialog asks before it lets the user pick a file that exists.
    const QString path =
        QFileDialog::getSaveFileName(parent, caption, QDir(folder).filePath(fileName), filter);
    if (!path.isEmpty()) {
        lastSaveFolder() = QFileInfo(path).absolutePath();
    }
    return path;
}

void showProblem(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Pelmora"), text);
}

bool writeChosenFile(const QString& path, const ContentWriter& write,
                     const std::function<void(const QString&)>& reportProblem) {
    if (const std::optional<Error> failed = writeWholeFile(pathFromQt(path), write)) {
        reportProblem(toQt(failed->message));
        return false;
    }
    return true;
}

bool writeChosenFile(const QString& path, const QByteArray& bytes,
                     const std::function<void(const QString&)>& reportProblem) {
    return writeChosenFile(
        path,
        [&bytes](const std::function<void(std::string_view)>& piece) {
            piece(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        },
        reportProblem);
}

// The writer of a text made whole.
ContentWriter wholeText(std::string text) {
    return [text = std::move(text)](const std::function<void(std::string_view)>& piece) {
        piece(text);
    };
}

EvidencePanel::EvidencePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EvidencePanel"));
    stability_ = new StabilityTask(this);
    quality_ = new QLabel(this);
    quality_->setObjectName(QStringLiteral("lblQuality"));
    const auto button = [this](const char* name, const char* caption, std::function<void()> press) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, std::move(press));
        runButtons_.push_back(b);
        return b;
    };
    auto* firstRow = new QHBoxLayout;
    firstRow->addWidget(button("cmdDetails", "Details", [this] { openDetails(); }));
    firstRow->addWidget(button("cmdMatrix", "Matrix", [this] { openMatrix(); }));
    firstRow->addWidget(button("cmdCopyReport", "Copy report", [this] { copyReport(); }));
    firstRow->addWidget(button("cmdSaveReport", "Save report…", [this] { saveReport(); }));
    auto* secondRow = new QHBoxLayout;
    secondRow->addWidget(
        button("cmdExportMeasures", "Export measures…", [this] { exportMeasures(); }));
    secondRow->addWidget(button("cmdExportMatrix", "Export matrix…", [this] { exportMatrix(); }));
    secondRow->addWidget(button("cmdExportPairs", "Export pairs…", [this] { exportPairs(); }));
    secondRow->addWidget(
        button("cmdExportWorkbook", "Export workbook…", [this] { exportWorkbook(); }));
    secondRow->addWidget(
        button("cmdSaveRunRecord", "Save run record…", [this] { saveRunRecord(); }));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(quality_);
    layout->addLayout(firstRow);
    layout->addLayout(secondRow);

    choosePath = [this](const QString& caption, const QString& fileName, const QString& filter) {
        return chooseSavePath(window(), caption, fileName, filter);
    };
    reportProblem = [this](const QString& text) { showProblem(window(), text); };
    for (QPushButton* b : runButtons_) {
        b->setEnabled(false);
    }
}

EvidencePanel::~EvidencePanel() = default;

DetailsWindow* EvidencePanel::detailsWindow() const {
    return details_.data();
}

MatrixWindow* EvidencePanel::matrixWindow() const {
    return matrix_.data();
}

void EvidencePanel::showRun(std::shared_ptr<const RunResult> run) {
    if (run == run_) {
        return;
    }
    run_ = std::move(run);
    stability_->setRun(run_);
    if (run_) {
        quality_->setText(toQt(qualitySummary(assessQuality(*run_))));
        if (details_) {
            details_->showRun(run_);
        }
        if (matrix_) {
            matrix_->showRun(run_);
        }
    } else {
        quality_->clear();
        for (QWidget* w :
             {static_cast<QWidget*>(details_.data()), static_cast<QWidget*>(matrix_.data())}) {
            if (w != nullptr) {
                w->hide();
            }
        }
    }
    for (QPushButton* b : runButtons_) {
        b->setEnabled(run_ != nullptr);
    }
}

void EvidencePanel::openDetails() {
    if (!run_) {
        return;
    }
    if (!details_) {
        details_ = new DetailsWindow(window());
        details_->setStabilityTask(stability_);
        details_->showRun(run_);
    }
    details_->show();
    details_->raise();
}

void EvidencePanel::openMatrix() {
    if (!run_) {
        return;
    }
    if (!matrix_) {
        matrix_ = new MatrixWindow(window());
        matrix_->setStabilityTask(stability_);
        matrix_->showRun(run_);
    }
    matrix_->show();
    matrix_->raise();
}

bool EvidencePanel::saveAs(const QString& caption, const QString& fileName, const QString& filter,
                           const std::function<ContentWriter(const QString&)>& content) {
    if (!run_) {
        return false;
    }
    const QString path = choosePath(caption, fileName, filter);
    if (path.isEmpty()) {
        return false;
    }
    return writeChosenFile(path, content(path), reportProblem);
}

bool EvidencePanel::saveReport() {
    return saveAs(QStringLiteral("Save report"), QStringLiteral("pelmora-report.txt"),
                  QStringLiteral("Text files (*.txt)"), [this](const QString&) -> ContentWriter {
                      return [run = run_](const std::function<void(std::string_view)>& piece) {
                          run->report.forEachPiece(piece);
                      };
                  });
}

bool EvidencePanel::exportMeasures() {
    return saveAs(
        QStringLiteral("Export measures"), QStringLiteral("pelmora-measures.csv"),
        QStringLiteral("CSV (*.csv);;Tab-separated (*.tsv)"), [this](const QString& path) {
            return spreadsheetContent(path, measuresColumnKinds(), [run = run_](const auto& row) {
                for (const TableRow& r : measuresTable(*run, ColumnNames::Readable)) {
                    row(r);
                }
            });
        });
}

bool EvidencePanel::exportMatrix() {
    return saveAs(
        QStringLiteral("Export matrix"), QStringLiteral("pelmora-matrix.csv"),
        QStringLiteral("CSV (*.csv);;Tab-separated (*.tsv)"), [this](const QString& path) {
            return spreadsheetContent(path, matrixColumnKinds(), [run = run_](const auto& row) {
                forEachMatrixRow(*run, NameStyle::Exact, row);
            });
        });
}

bool EvidencePanel::exportPairs() {
    return saveAs(
        QStringLiteral("Export pairs"), QStringLiteral("pelmora-pairs.csv"),
        QStringLiteral("CSV (*.csv);;Tab-separated (*.tsv)"), [this](const QString& path) {
            return spreadsheetContent(path, pairsColumnKinds(), [run = run_](const auto& row) {
                forEachPairsRow(*run, NameStyle::Exact, [&](const TableRow& r) {
                    row(r);
                    return true;
                });
            });
        });
}

bool EvidencePanel::exportWorkbook() {
    if (!run_) {
        return false;
    }
    const QString path =
        choosePath(QStringLiteral("Export workbook"), QStringLiteral("pelmora-workbook.xlsx"),
                   QStringLiteral("Excel workbook (*.xlsx)"));
    if (path.isEmpty()) {
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);  // a large run takes a while
    const std::optional<Error> failed = writeWorkbook(*run_, pathFromQt(path), utcTimestamp());
    QApplication::restoreOverrideCursor();
    if (failed) {
        reportProblem(toQt(failed->message));
        return false;
    }
    return true;
}

void EvidencePanel::copyReport() {
    if (run_ && refusedAsTooLongToCopy(this, run_->report.lineCount())) {
        return;
    }
    QApplication::clipboard()->setText(shownText(run_ ? run_->report.text() : std::string()));
}

bool EvidencePanel::saveRunRecord() {
    return saveAs(
        QStringLiteral("Save run record"), QStringLiteral("pelmora-run-record.txt"),
        QStringLiteral("Text files (*.txt)"), [this](const QString&) {
            // With the stability figures when they were measured for this run.
            const std::shared_ptr<const RunStability>& stability = stability_->stability();
            return wholeText(recordText(recordOf(*run_, utcTimestamp(), stability.get())));
        });
}

}  // namespace pelmora
