#pragma once
// Every pair of a run as a long table, one row per pair in the order the report lists them:
// the two texts, the strength, and whether the report lists the pair as minimal and as off
// the norm. What the matrix's cells cannot say, a spreadsheet can filter and sort here.

#include <functional>
#include <vector>

#include "formats/csv.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "run/run_result.h"

namespace pelmora {

// The header row "text 1", "text 2", "strength", "minimal", "significant", then a row per
// pair, the flags "yes" or "no". Row by row, since a run of 10,000 texts has 50 million
// pairs; stops early when `visit` returns false.
void forEachPairsRow(const RunResult& run, NameStyle style,
                     const std::function<bool(const TableRow&)>& visit);
std::vector<TableRow> pairsTable(const RunResult& run, NameStyle style = NameStyle::Exact);

ColumnKinds pairsColumnKinds();

}  // namespace pelmora
