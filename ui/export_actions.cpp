#include "ui/export_actions.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include "explanation/input_quality.h"
#include "exports/measures_table.h"
#include "exports/pair_matrix.h"
#include "exports/pairs_table.h"
#include "exports/run_names.h"
#include "exports/workbook.h"
#include "formats/output_format.h"
#include "record/run_record.h"
#include "ui/evidence_panel.h"
#include "ui/job_progress.h"
#include "ui/job_runner.h"
#include "ui/stability_task.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

// The last folder a file was saved to or read from.
QString& lastSaveFolder() {
    static QString folder;
    return folder;
}

// The folder a file dialog opens in: the last one saved to, else Documents, else home.
QString dialogFolder() {
    QString folder = lastSaveFolder();
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    return folder;
}

// Calls its argument with every row of a table, the header first, until it returns false.
using TableRows = std::function<void(const std::function<bool(const TableRow&)>& row)>;

// Rows written between two reports of an export's progress.
constexpr std::int64_t kRowsPerStep = 4096;

// The writer of a table for a spreadsheet, row by row, tab-separated or CSV by the file's
// name: a run's pairs do not fit in memory as one text. It stops once the job is cancelled.
ContentWriter spreadsheetContent(const QString& path, ColumnKinds kinds, std::int64_t rowCount,
                                 TableRows rows, JobControl& control) {
    const char delimiter = delimiterForFile(fromQt(QFileInfo(path).fileName()));
    return [delimiter, kinds = std::move(kinds), rowCount, rows = std::move(rows),
            &control](const std::function<void(std::string_view)>& piece) {
        SpreadsheetWriter writer(delimiter, kinds, piece);
        std::int64_t written = 0;
        rows([&](const TableRow& row) {
            if (control.cancelled()) {
                return false;
            }
            writer.row(row);
            if (++written % kRowsPerStep == 0) {
                control.report(
                    written, rowCount,
                    std::to_string(written) + " of " + std::to_string(rowCount) + " rows");
            }
            return true;
        });
        writer.finish();
    };
}

}  // namespace

QString chooseSavePath(QWidget* parent, const QString& caption, const QString& fileName,
                       const QString& filter) {
    const QString folder = dialogFolder();
    // QFileDialog asks before it lets the user pick a file that exists.
    const QString path =
        QFileDialog::getSaveFileName(parent, caption, QDir(folder).filePath(fileName), filter);
    if (!path.isEmpty()) {
        lastSaveFolder() = QFileInfo(path).absolutePath();
    }
    return path;
}

QString chooseOpenPath(QWidget* parent, const QString& caption, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, caption, dialogFolder(), filter);
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

QString EvidencePanel::fileNameFor(const char* what, const char* extension) const {
    return run_ ? toQt(runFileName(*run_, what, extension)) : QString();
}

bool EvidencePanel::saveAs(const QString& caption, const QString& fileName, const QString& filter,
                           const FileJob& content) {
    if (!run_) {
        return false;
    }
    const QString path = choosePath(caption, fileName, filter);
    if (path.isEmpty()) {
        return false;
    }
    return writeInBackground(path, [path, content](JobControl& control) {
        return writeWholeFile(pathFromQt(path), content(path, control), &control.token());
    });
}

bool EvidencePanel::writeInBackground(const QString& path,
                                      std::function<std::optional<Error>(JobControl&)> write) {
    saving_ = QFileInfo(path).fileName();
    runner_->start<bool>(
        [write = std::move(write)](JobControl& control) -> Result<bool> {
            if (std::optional<Error> failed = write(control)) {
                return *std::move(failed);
            }
            return true;
        },
        {});
    const JobRunner::End end = runner_->wait();
    if (end == JobRunner::End::Failed) {
        reportProblem(runner_->problem());
    }
    return end == JobRunner::End::Done;
}

bool EvidencePanel::saveReport() {
    return saveAs(QStringLiteral("Save report"), fileNameFor("report", ".txt"),
                  QStringLiteral("Text files (*.txt)"),
                  [run = run_](const QString&, JobControl&) -> ContentWriter {
                      return [run](const std::function<void(std::string_view)>& piece) {
                          run->report.forEachPiece(piece);
                      };
                  });
}

bool EvidencePanel::exportMeasures() {
    return saveAs(QStringLiteral("Export measures"), fileNameFor("measures", ".csv"),
                  QStringLiteral("CSV (*.csv);;Tab-separated (*.tsv)"),
                  [run = run_](const QString& path, JobControl& control) {
                      return spreadsheetContent(
                          path, measuresColumnKinds(), run->analysedCount() + 1,
                          [run](const auto& row) {
                              for (const TableRow& r : measuresTable(*run, ColumnNames::Readable)) {
                                  if (!row(r)) {
                                      return;
                                  }
                              }
                          },
                          control);
                  });
}

bool EvidencePanel::exportMatrix() {
    return saveAs(
        QStringLiteral("Export matrix"), fileNameFor("matrix", ".csv"),
        QStringLiteral("CSV (*.csv);;Tab-separated (*.tsv)"),
        [run = run_](const QString& path, JobControl& control) {
            return spreadsheetContent(
                path, matrixColumnKinds(), static_cast<std::int64_t>(run->texts.size()) + 1,
                [run](const auto& row) {
                    forEachMatrixRow(*run, NameStyle::Exact, [&row](const TableRow& r) { row(r); });
                },
                control);
        });
}

bool EvidencePanel::exportPairs() {
    return saveAs(QStringLiteral("Export pairs"), fileNameFor("pairs", ".csv"),
                  QStringLiteral("CSV (*.csv);;Tab-separated (*.tsv)"),
                  [run = run_](const QString& path, JobControl& control) {
                      return spreadsheetContent(
                          path, pairsColumnKinds(), run->pairs.count() + 1,
                          [run](const auto& row) { forEachPairsRow(*run, NameStyle::Exact, row); },
                          control);
                  });
}

bool EvidencePanel::exportWorkbook() {
    if (!run_) {
        return false;
    }
    const QString path =
        choosePath(QStringLiteral("Export workbook"), fileNameFor("workbook", ".xlsx"),
                   QStringLiteral("Excel workbook (*.xlsx)"));
    if (path.isEmpty()) {
        return false;
    }
    // With the stability figures when they were measured for this run.
    return writeInBackground(
        path, [run = run_, path, stability = stability_->stability()](JobControl& control) {
            return writeWorkbook(*run, pathFromQt(path), utcTimestampOf(run->startedAt), {},
                                 &control, stability.get());
        });
}

void EvidencePanel::copyReport() {
    if (run_ && refusedAsTooLongToCopy(this, run_->report.lineCount())) {
        return;
    }
    QApplication::clipboard()->setText(shownText(run_ ? run_->report.text() : std::string()));
}

bool EvidencePanel::saveRunRecord() {
    return saveAs(QStringLiteral("Save run record"), fileNameFor("run-record", ".txt"),
                  QStringLiteral("Text files (*.txt)"),
                  // With the stability figures when they were measured for this run. Timed when
                  // the run started: without them, the digest ending it is the run's identity.
                  [run = run_, stability = stability_->stability()](const QString&, JobControl&) {
                      return wholeText(recordText(
                          recordOf(*run, utcTimestampOf(run->startedAt), stability.get())));
                  });
}

}  // namespace pelmora
