#pragma once
// Gives the author pair columns their values from a finished run: the strength of every pair
// the report lists whose texts are by the column's two authors (in the order of the pair).

#include "forms/program_context.h"
#include "run/run_result.h"

namespace pelmora {

// Appends each pair's strength to the value list of column "x y", where x and y are the
// author codes of the pair's first and second text, when Command5 made that column.
void fillAuthorPairColumns(Form2& form, const RunResult& run);

// After a batch run: gathers the authors of File1 once each with their text counts, makes
// the pair columns, fills them as above and writes the mean strength per pair to Text4.
void assignAuthorResults(ProgramContext& context, const RunResult& run);

}  // namespace pelmora
