#include "help/further_help.h"

#include <QVBoxLayout>

#include "explanation/captions.h"
#include "help/window_parts.h"

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
    layout->addWidget(makeText(section, "helpDetails", detailsHelpText().c_str()));
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
        "choose where. 'Windows and exports' describes every export and window; 'Words "
        "counted' lists the words behind each measure."));
    layout->addWidget(makeText(section, "helpWarnings", warningsHelpText().c_str()));
    layout->addStretch();
    return section;
}

}  // namespace pelmora
