#include "help/further_help.h"

#include <QVBoxLayout>

#include "help/window_parts.h"
#include "rules/rule_book.h"

namespace pelmora {

QWidget* makeFurtherHelp(QWidget* parent) {
    auto* section = new QWidget(parent);
    section->setObjectName(QStringLiteral("furtherHelp"));
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeHeading(section, "helpAroundReport", "Around the report:"));
    layout->addWidget(makeText(
        section, "helpSummary",
        "Run summary: above the report the main form names the folder that was analysed, with "
        "its full path, and gives the figures of the run: texts analysed, texts left out, "
        "pairs, mean, standard deviation, minimal pairs, significant pairs and warnings. When "
        "fewer than two texts were analysed it says that no pair was compared. The summary "
        "stays until you click 'Refresh', which also enables 'Auto-check all files in folder' "
        "again."));
    QLabel* details = makeText(
        section, "helpDetails",
        "Details: for each text, its type code and, for every digit, the rule that decided it, "
        "the measures and thresholds it looked at and by how much; a digit that lies within "
        "%1 of its threshold is marked 'near threshold'. Below, every file with its "
        "encoding, size, number of words and warnings.");
    details->setText(details->text().arg(RuleBook::kNearMargin));
    layout->addWidget(details);
    layout->addWidget(makeText(
        section, "helpMatrix",
        "Matrix: the strength of every pair as a coloured grid, red for a minimal relationship "
        "and green for identical type codes; pairs significantly different from the norm are "
        "outlined and starred. 'Save PNG…' saves the picture."));
    layout->addWidget(makeText(
        section, "helpExports",
        "Exports: 'Copy report' puts the report on the clipboard and 'Save report…' into a text "
        "file. 'Export measures…' (every measure of every text) and 'Export matrix…' write a "
        "spreadsheet file: comma-separated, or tab-separated for a name ending in .tsv. 'Save "
        "run record…' writes the size, the SHA-256 fingerprint and the type code of every "
        "file, to show later that the texts have not changed. Nothing is written unless you "
        "choose where."));
    QLabel* warnings = makeText(
        section, "helpWarnings",
        "Warnings: the line under the report counts the doubts about the input: a file without "
        "words, a file of fewer than %1 words (its densities are unreliable), files with the "
        "same content as another, and files that could not be read. Those are left out of the "
        "run and named at the end of the report. Details lists every warning file by file.");
    warnings->setText(warnings->text().arg(RuleBook::kReliableWords));
    layout->addWidget(warnings);
    layout->addStretch();
    return section;
}

}  // namespace pelmora
