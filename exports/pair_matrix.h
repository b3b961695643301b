#pragma once
// The strengths of a run as a texts-by-texts grid, texts in run order, read cell by cell
// from the run's pairs.

#include <functional>
#include <string>
#include <vector>

#include "formats/csv.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "run/run_result.h"

namespace pelmora {

// The table row by row, numbers only so that a spreadsheet can compute on it: a header row of
// names, then one row per text, each its name and its strength with every text, empty on the
// diagonal and for texts that form no pair. The marks and the statistics are in the pairs
// table and the report.
void forEachMatrixRow(const RunResult& run, NameStyle style,
                      const std::function<void(const TableRow&)>& visit);
std::vector<TableRow> matrixTable(const RunResult& run, NameStyle style = NameStyle::Exact);

// A name, then strengths.
ColumnKinds matrixColumnKinds();

}  // namespace pelmora
