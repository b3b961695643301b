#pragma once
// The measures of a run as a table: a header row of column names, then one row per text the
// run analysed, in run order, each value the store text right after the text's full analysis.

#include <vector>

#include "formats/csv.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "run/run_result.h"

namespace pelmora {

enum class ColumnNames {
    Short,     // "text_length", "d0": for programs reading the table
    Readable,  // "text length", "contraction density": for a linguist's spreadsheet
};

std::vector<TableRow> measuresTable(const RunResult& run, ColumnNames names = ColumnNames::Short,
                                    NameStyle style = NameStyle::Exact);

// The name, the code, the class, each measure a figure, then the five categories in words.
ColumnKinds measuresColumnKinds();

}  // namespace pelmora
