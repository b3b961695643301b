#pragma once
// "Import documents…" of the main form: a dialog for the sources (files and folders), the
// destination folder and whether quotes and the like are kept; the import as a background job
// with its progress and "Cancel"; at the end a summary of the texts written, the sources left
// out and the lines removed, the texts' metadata in the destination's import-metadata.csv,
// and the folder view on the destination.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "import/importer.h"

class QMessageBox;

namespace pelmora {

class JobProgressDialog;
class JobRunner;

class ImportPanel : public QWidget {
    Q_OBJECT

public:
    explicit ImportPanel(QWidget* parent = nullptr);

    // Asks for the sources, destination and options: the import dialog, or nothing when it is
    // cancelled. Tests replace it.
    std::function<std::optional<ImportRequest>()> chooseImport;

    // Asks, then starts the import; false when nothing was chosen.
    bool importDocuments();
    JobRunner* runner() const { return runner_; }
    // The summary or the problem shown last, while it is open.
    QMessageBox* messageBox() const;

signals:
    // The destination of an import that ended, which the main form shows.
    void folderWanted(const QString& folder);

private:
    void finished(const ImportReport& report, const QString& destination);
    // A message box that stays until closed; `details` under its "Show Details..." button.
    void showBox(const QString& name, const QString& text, bool problem,
                 const QString& details = {});

    JobRunner* runner_ = nullptr;
    JobProgressDialog* progress_ = nullptr;
    QPointer<QMessageBox> box_;
};

// The dialog chooseImport shows by default.
std::optional<ImportRequest> askForImport(QWidget* parent);

}  // namespace pelmora
