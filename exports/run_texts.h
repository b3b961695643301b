#pragma once
// The report box and the results box of a run as an output shows them: the stores' own text,
// or with every file name written in the given style.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/csv.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "run/run_result.h"

namespace pelmora {

// Calls `visit` with the report piece by piece.
void writeReport(const RunResult& run, NameStyle style,
                 const std::function<void(std::string_view)>& visit);
std::string typesShown(const RunResult& run, NameStyle style);

// The results box as a table: a header row "code", "name", then every text in run order.
std::vector<TableRow> typesTable(const RunResult& run, NameStyle style = NameStyle::Exact);
ColumnKinds typesColumnKinds();

}  // namespace pelmora
