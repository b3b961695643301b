#include "help/help_pages.h"

#include <QStringList>
#include <string>
#include <vector>

#include "app/recent_places.h"
#include "explanation/captions.h"
#include "explanation/counted_words.h"
#include "exports/workbook.h"
#include "stores/number_text.h"

namespace pelmora {

namespace {

QString escaped(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

struct Section {
    const char* anchor;
    const char* title;
    std::vector<std::string> paragraphs;
};

// The sections under a list of links to them.
QString page(const std::vector<Section>& sections) {
    QString contents;
    QString body;
    for (const Section& s : sections) {
        const QString anchor = QString::fromLatin1(s.anchor);
        const QString title = QString::fromUtf8(s.title).toHtmlEscaped();
        contents += QStringLiteral("<a href=\"#%1\">%2</a> &nbsp; ").arg(anchor, title);
        body += QStringLiteral("<h3><a name=\"%1\"></a>%2</h3>").arg(anchor, title);
        for (const std::string& p : s.paragraphs) {
            body += QStringLiteral("<p>%1</p>").arg(escaped(p));
        }
    }
    return QStringLiteral("<p>%1</p>").arg(contents) + body;
}

std::vector<Section> mainWindowSections() {
    return {
        {"main",
         "Main form",
         {"Choose the folder of texts in the tree, or type or paste its path in the field above "
          "it (~ for the home folder) and press Enter; the field's list keeps the last " +
              std::to_string(kMostRecentFolders) +
              " folders run or typed. The pale blue list shows the folder's .txt files, and "
              "under it what else the folder holds.",
          "'Auto-check all files in folder' runs every text; a progress window names the file "
          "it is on and offers 'Cancel'. Above the report the run summary names the folder and "
          "gives the run's figures; under it one line counts the input warnings. 'Refresh' "
          "goes back to the sample folder and clears the run.",
          "The report box lists every pair with its strength, the minimal pairs, the mean, the "
          "standard deviation and the pairs off the norm. Its context menu copies, selects all, "
          "finds (Ctrl+F) and, on a pair line, shows the pair."}},
        {"analysis",
         "Analysis form",
         {"One text at a time: the working text, its measures and its type code with the five "
          "categories. A file chosen in the list (a click, or Enter) is loaded into it; 'All' "
          "analyses it. 'Reset' clears the text and keeps the codes gathered in the results "
          "box; 'Total Reset' clears those too. 'Further Details' shows how two type codes "
          "compare."}},
        {"case",
         "Case window and roles",
         {"Under the file list, select texts and press Q (questioned), K (known), R "
          "(reference) or 0 (no role), or use the list's context menu. 'Case…' opens the "
          "questioned texts against the known ones with each verdict, the known texts among "
          "themselves, the reference texts and the matched reference set; double-click (or "
          "Enter on) a row to see the pair. 'Texts and roles' edits the metadata, 'Audit log' "
          "lists the case file's log and whether its chain is whole, 'Validation' shows how "
          "well the codes separate the labels of a metadata column.",
          "'New case…', 'Open case…', 'Save case' and 'Recent cases' keep all of it in a case "
          "file; 'Case details…' holds the case number, examiner, question and notes and turns "
          "sequential unmasking on, which shows only the questioned texts until 'Lock "
          "questioned texts'. 'Export case report…' writes the report for a court annex as PDF, "
          "ODT or HTML. 'Import metadata…' and 'Export metadata…' read and write the roles and "
          "labels as a CSV table."}},
        {"import",
         "Import documents…",
         {"Makes Word, OpenDocument, PDF, HTML, e-mail and chat-export files into texts in a "
          "destination folder, keeping quoted lines, signatures, notes and comments only when "
          "asked. It runs in the background with 'Cancel'; at its end a message names the "
          "texts written and every source left out with its reason (past ten, the rest under "
          "'Show Details...'), and the destination gets "
          "import-log.csv and import-metadata.csv (ready for 'Import metadata…')."}},
    };
}

std::vector<Section> evidenceSections() {
    const StatedConstants c;
    return {
        {"details",
         "Details",
         {"The list gives every text's code, its marks, stability and warnings; it sorts by any "
          "column, keeps the names holding what is typed above it, or only the texts near a "
          "threshold, with warnings or unstable. " +
              detailsHelpText(c),
          "Evidence: every digit with the rule that decided it. Text: the text whole, every "
          "counted word coloured by its measure; the legend switches a measure on and off, its "
          "tooltip lists the words counted, a right-click opens all of them on Help's 'Words "
          "counted' page, and a click lists them in context with their counts by form. A click on "
          "a line goes to it in the text. Charts: the text's densities "
          "against the thresholds its rules compare, and the run's strengths with the mean and "
          "the band of " +
              doubleText(c.significanceAbove) +
              " standard deviations either side; each saves as PNG or SVG. Input quality: every "
              "file's encoding, size, words and warnings."}},
        {"stability",
         "Stability",
         {"'Measure stability' (in Details and in the matrix) resamples every text " +
          std::to_string(c.resamples) + " times in blocks of " + std::to_string(c.blockWords) +
          " words, in the background with 'Cancel'. A text is marked \u2248 when " +
          unstableKeyText(c) + "; a pair is " + fragileKeyText(c) +
          " of resamples. A new run drops the figures."}},
        {"sensitivity",
         "Sensitivity",
         {"Details' Sensitivity tab shows how many codes and strengths change, and which pairs "
          "become or stop being minimal, when " +
          sensitivityMovesText(c) + " either way."}},
        {"matrix",
         "Matrix",
         {"Every pair's strength as a coloured grid (" + strengthKeyText(c) +
              "); pairs off the norm are outlined and starred, unstable texts tinted and fragile "
              "pairs given a dark corner. The filters keep texts by name or role and pairs by "
              "strength, only minimal or only off the norm; 'Order by role' groups the texts by "
              "role. Double-click (or Enter on) a cell to see the pair; 'Save PNG…' saves the "
              "picture.",
          "The pair window shows both texts side by side: each digit with both categories and "
          "the checks that decided them, both texts' densities in one chart, stability once "
          "measured, and both texts with their counted words coloured. Left and Right go to the "
          "previous and next pair in the report's order."}},
    };
}

std::vector<Section> exportSections() {
    return {
        {"exports",
         "Exports",
         {"'Copy report' puts the report on the clipboard and 'Save report…' into a text file. "
          "'Export measures…' writes every measure of every text, 'Export matrix…' every pair's "
          "strength texts by texts, 'Export pairs…' one row per pair with its strength and "
          "whether it is minimal or significant: comma-separated, or tab-separated for a name "
          "ending in .tsv.",
          "'Export workbook…' writes every table in one .xlsx workbook: Summary (the run's "
          "figures, the version, when it ran), Report, Types, Measures, Pairs, Matrix, Quality, "
          "Stability (when measured) and Run record. Of a large run " +
              pairSheetsText() +
              ", so that a spreadsheet opens them quickly; a sheet cut short says so in its "
              "first and last rows, and the exports above hold everything.",
          "'Save run record…' writes every file's size, SHA-256 and code, with the stability "
          "figures when measured; pelmora-cli verify checks a folder against it later.",
          "Every saved picture (matrix, charts) carries a caption with the folder, the time the "
          "run started and the run's identity. Nothing is written unless you choose where, and "
          "a file is written whole or not at all."}},
        {"cli",
         "Command line",
         {"pelmora-cli runs the same analysis without a window: report, types, measures, "
          "explain, concordance, matrix, pairs, quality, workbook, stability, sensitivity, "
          "record, verify, authors, compat, validate, case and import. pelmora-cli --help lists "
          "every command, option and exit status."}},
    };
}

QString tableRow(const QStringList& cells, const char* tag = "td") {
    QString row = QStringLiteral("<tr>");
    for (const QString& cell : cells) {
        row += QStringLiteral("<%1 valign=\"top\">%2</%1>").arg(QString::fromLatin1(tag), cell);
    }
    return row + QStringLiteral("</tr>");
}

QString table(const QStringList& header, const QString& rows) {
    return QStringLiteral(
               "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
               "width=\"100%\">") +
           tableRow(header, "th") + rows + QStringLiteral("</table>");
}

QString joinedEscaped(const std::vector<std::string>& items, const QString& between) {
    QStringList out;
    for (const std::string& item : items) {
        out.append(escaped(item));
    }
    return out.join(between);
}

}  // namespace

QString windowsHelpPage() {
    std::vector<Section> sections = mainWindowSections();
    for (auto more : {evidenceSections(), exportSections()}) {
        sections.insert(sections.end(), more.begin(), more.end());
    }
    return page(sections);
}

QString keysHelpPage() {
    const char* keys[][3] = {
        {"Alt + underlined letter", "main form, Import, Case details",
         "presses the button or ticks the box: Alt+A runs the folder, Alt+R refreshes, Alt+D "
         "Details, Alt+M Matrix, Alt+C copies and Alt+S saves the report, Alt+E, Alt+T, Alt+P, "
         "Alt+W and Alt+O the exports, Alt+H Help, Alt+X exits"},
        {"Enter", "folder path field", "opens the folder typed"},
        {"Enter", "file list", "loads the file into the analysis form"},
        {"Q, K, R, 0", "file list", "gives the selected texts a role, or none"},
        {"Ctrl+F", "report box", "opens the find bar"},
        {"F3, Shift+F3", "report box, find bar", "next and previous match"},
        {"Enter, Shift+Enter", "find bar", "next and previous match"},
        {"Escape", "find bar", "closes it"},
        {"Ctrl+C, Ctrl+A", "report box", "copies the selection, selects the whole report"},
        {"arrows, Page Up, Page Down, Home, End", "report box", "move through the report"},
        {"Enter", "matrix cell, Case window row", "opens the pair"},
        {"Left, Right", "pair window", "previous and next pair"},
        {"Escape", "pair window, Help, type-code explanation", "closes the window"},
        {"Escape", "progress window", "cancels the work"},
    };
    QString rows;
    for (const auto& [key, where, what] : keys) {
        rows += tableRow({QString::fromUtf8(key).toHtmlEscaped(),
                          QString::fromUtf8(where).toHtmlEscaped(),
                          QString::fromUtf8(what).toHtmlEscaped()});
    }
    return QStringLiteral("<h3><a name=\"keys\"></a>Keyboard</h3>") +
           table({QStringLiteral("Key"), QStringLiteral("Where"), QStringLiteral("What it does")},
                 rows);
}

QString warningsHelpPage() {
    QString rows;
    for (const HelpEntry& e : warningHelpEntries()) {
        rows += tableRow({QStringLiteral("<b>%1</b>").arg(escaped(e.shown)), escaped(e.meaning)});
    }
    return QStringLiteral("<h3><a name=\"warnings\"></a>Warnings and marks</h3><p>%1</p>")
               .arg(escaped(warningsHelpText())) +
           table({QStringLiteral("Shown"), QStringLiteral("What it means")}, rows);
}

QString wordsAnchor(Measure measure) {
    return QStringLiteral("words-") +
           QString::fromLatin1(kMeasures[static_cast<std::size_t>(measure)].column);
}

QString wordsHelpPage() {
    const QString kComma = QStringLiteral(", ");
    QString rows;
    for (const CountedWords& r : countedWordTable()) {
        QString counted = joinedEscaped(r.words, kComma);
        if (!r.inside.empty()) {
            counted += (counted.isEmpty() ? QString() : QStringLiteral("<br>")) +
                       QStringLiteral("<i>inside words too:</i> ") +
                       joinedEscaped(r.inside, kComma);
        }
        QString notes = joinedEscaped(r.notes, QStringLiteral(" "));
        if (!r.notCounted.empty()) {
            notes = QStringLiteral("<i>Not counted:</i> ") + joinedEscaped(r.notCounted, kComma) +
                    QStringLiteral(". ") + notes;
        }
        rows += tableRow({QStringLiteral("<a name=\"%1\"></a><b>%2</b>")
                              .arg(wordsAnchor(r.measure),
                                   escaped(kMeasures[static_cast<std::size_t>(r.measure)].label)),
                          counted, notes});
    }
    QString notes;
    for (const std::string& n : wordCountingNotes()) {
        notes += QStringLiteral("<li>%1</li>").arg(escaped(n));
    }
    return QStringLiteral("<h3><a name=\"words\"></a>Words counted</h3><ul>%1</ul>").arg(notes) +
           table({QStringLiteral("Measure"), QStringLiteral("Counts"), QStringLiteral("Notes")},
                 rows);
}

}  // namespace pelmora
