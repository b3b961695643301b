#pragma once
// A small table of the core's rows in a table widget: the first row is the header.

#include <vector>

#include "formats/csv.h"

class QTableWidget;

namespace pelmora {

// Replaces what `table` shows; columns fit their contents.
void showRows(QTableWidget* table, const std::vector<TableRow>& rows);

}  // namespace pelmora
