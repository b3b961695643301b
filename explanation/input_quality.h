#pragma once
// The input quality of a run in words and as a table.

#include <string>
#include <vector>

#include "formats/csv.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "run/run_result.h"

namespace pelmora {

// One line for the main form: "3 warnings: see Details", "No input warnings".
std::string qualitySummary(const std::vector<FileQuality>& files);

// Header row "name", "encoding", "size", "words", "same_bytes_as", "warnings"; warnings
// joined by "; ".
std::vector<TableRow> qualityTable(const std::vector<FileQuality>& files,
                                   NameStyle style = NameStyle::Exact);
// Size and words are figures, the rest text.
ColumnKinds qualityColumnKinds();

}  // namespace pelmora
