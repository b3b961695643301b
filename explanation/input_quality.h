#pragma once
// Doubtful input of a run, per file: what was read, and why its figures may not be trusted.
// Files with the same bytes form one group, warned of once.

#include <string>
#include <vector>

#include "formats/csv.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "run/run_result.h"

namespace pelmora {

struct FileQuality {
    int position = -1;  // the text's position in the run; -1 for a file left out
    std::string name;
    std::string encoding;      // empty for a file left out
    std::string size;          // bytes, empty for a file left out
    std::string words;         // the text length the densities divide by; empty when left out
    std::string sameBytesAs;   // the first file of its group of identical files, if not itself
    bool empty = false;        // 0 bytes
    bool looksBinary = false;  // by the rule book's share of unusual characters, or a NUL
    std::vector<std::string> warnings;
};

// The analysed files in run order, then the files left out. A file's text is analysed
// whatever it holds: its warnings say what its figures rest on.
std::vector<FileQuality> assessQuality(const RunResult& run);

int warningCount(const std::vector<FileQuality>& files);

// One line for the main form: "3 warnings: see Details", "No input warnings".
std::string qualitySummary(const std::vector<FileQuality>& files);

// Header row "name", "encoding", "size", "words", "same_bytes_as", "warnings"; warnings
// joined by "; ".
std::vector<TableRow> qualityTable(const std::vector<FileQuality>& files,
                                   NameStyle style = NameStyle::Exact);
// Size and words are figures, the rest text.
ColumnKinds qualityColumnKinds();

}  // namespace pelmora
