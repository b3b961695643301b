#pragma once
// The measures of a run as a table: a header row of column names, then one row per text in
// run order, each value the store text right after the text's full analysis.

#include <vector>

#include "analysis/form1.h"
#include "evidence/csv.h"

namespace pelmora {

std::vector<TableRow> measuresTable(const std::vector<TextMeasures>& texts);

}  // namespace pelmora
