#pragma once
// The strengths of a run as a texts-by-texts grid, texts in run order, read cell by cell
// from the run's pairs.

#include <functional>
#include <string>
#include <vector>

#include "evidence/csv.h"
#include "evidence/output_format.h"
#include "run/run_result.h"

namespace pelmora {

// The table row by row: a header row of names, one row per text (a strength, "*" after one
// off the norm, empty on the diagonal and for texts that form no pair), then the mean, the
// deviation and what the mark means.
void forEachMatrixRow(const RunResult& run, NameStyle style,
                      const std::function<void(const TableRow&)>& visit);
std::vector<TableRow> matrixTable(const RunResult& run, NameStyle style = NameStyle::Exact);

}  // namespace pelmora
