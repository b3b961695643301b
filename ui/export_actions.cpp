#include "ui/export_actions.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "evidence/input_quality.h"
#include "evidence/measures_table.h"
#include "evidence/output_format.h"
#include "evidence/pair_matrix.h"
#include "evidence/run_record.h"
#include "ui/details_window.h"
#include "ui/matrix_window.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

// Where save dialogs open: the last folder saved to, else Documents, else home.
QString& lastSaveFolder() {
    static QString folder;
    return folder;
}

QByteArray utf8(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray spreadsheetBytes(const std::vector<TableRow>& rows, const QString& path) {
    return utf8(spreadsheetFile(rows, delimiterForFile(fromQt(QFileInfo(path).fileName()))));
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

bool writeChosenFile(const QString& path, const QByteArray& bytes,
                     const std::function<void(const QString&)>& reportProblem) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        reportProblem(QStringLiteral("Could not save \"%1\": %2.")
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}

EvidencePanel::EvidencePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EvidencePanel"));
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
        matrix_->showRun(run_);
    }
    matrix_->show();
    matrix_->raise();
}

bool EvidencePanel::saveAs(const QString& caption, const QString& fileName, const QString& filter,
                           const std::function<QByteArray(const QString&)>& content) {
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
                  QStringLiteral("Text files (*.txt)"),
                  [this](const QString&) { return utf8(run_->report); });
}

bool EvidencePanel::exportMeasures() {
    return saveAs(
        QStringLiteral("Export measures"), QStringLiteral("pelmora-measures.csv"),
        QStringLiteral("CSV (*.csv);;Tab-separated (*.tsv)"),
        [this](const QString& path) {
            return spreadsheetBytes(measuresTable(*run_, ColumnNames::Readable), path);
        });
}

bool EvidencePanel::exportMatrix() {
    return saveAs(QStringLiteral("Export matrix"), QStringLiteral("pelmora-matrix.csv"),
                  QStringLiteral("CSV (*.csv);;Tab-separated (*.tsv)"),
                  [this](const QString& path) {
                      return spreadsheetBytes(matrixTable(*run_), path);
                  });
}

void EvidencePanel::copyReport() {
    QApplication::clipboard()->setText(shownText(run_ ? run_->report : std::string()));
}

bool EvidencePanel::saveRunRecord() {
    return saveAs(QStringLiteral("Save run record"), QStringLiteral("pelmora-run-record.txt"),
                  QStringLiteral("Text files (*.txt)"), [this](const QString&) {
                      return utf8(recordText(recordOf(*run_, utcTimestamp())));
                  });
}

}  // namespace pelmora
