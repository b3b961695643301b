#include "help/button_tips.h"

#include <QPushButton>
#include <utility>

namespace pelmora {

namespace {

constexpr std::pair<const char*, const char*> kTips[] = {
    {"cmdRefresh",
     "Clears the report and the run, and goes back to the sample folder for a new run."},
    {"cmdAuto", "Classifies every .txt text of the folder chosen and compares every pair of them."},
    {"Command1", "Ends Pelmora."},
    {"cmdHelp", "Opens the help: what each window, figure, warning and export means."},
    {"cmdDetails",
     "Opens Details: the rule, measures and thresholds behind every digit of each text's "
     "code, the texts themselves and the input quality."},
    {"cmdMatrix", "Opens the matrix of every pair's strength, coloured from minimal to identical."},
    {"cmdCopyReport", "Copies the whole report to the clipboard."},
    {"cmdSaveReport", "Saves the report as a text file."},
    {"cmdExportMeasures", "Saves every text's measures as a CSV or tab-separated table."},
    {"cmdExportMatrix", "Saves every pair's strength as a table of texts by texts, numbers only."},
    {"cmdExportPairs",
     "Saves a row per pair: its two texts, its strength and whether it is minimal or "
     "significant."},
    {"cmdExportWorkbook",
     "Saves every table of the run in one Excel workbook, a summary of the run first."},
    {"cmdSaveRunRecord",
     "Saves a record of every file and code, to check the folder against later."},
    {"cmdNewCase",
     "Keeps the folder shown, its roles, its metadata and the run shown in a new case file."},
    {"cmdOpenCase", "Opens a case file, naming every file changed since the case's last run."},
    {"cmdRecentCases", "Opens one of the case files last opened or saved."},
    {"cmdSaveCase", "Stores the roles, the metadata and a new run in the open case file."},
    {"cmdCaseDetails",
     "Edits the case number, examiner, question and notes, and sequential unmasking."},
    {"cmdCase",
     "Opens the Case window: the questioned texts against the known and reference texts."},
    {"cmdImportMetadata", "Reads the texts' roles and other metadata from a CSV table."},
    {"cmdExportMetadata", "Writes the texts' roles and other metadata as a CSV table."},
    {"cmdImportDocuments",
     "Makes Word, OpenDocument, PDF, web page, e-mail and chat files into texts."},
};

}  // namespace

QString buttonTip(const QString& objectName) {
    for (const auto& [name, tip] : kTips) {
        if (objectName == QLatin1String(name)) {
            return QString::fromUtf8(tip);
        }
    }
    return {};
}

void addButtonTips(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->toolTip().isEmpty()) {
            button->setToolTip(buttonTip(button->objectName()));
        }
    }
}

}  // namespace pelmora
