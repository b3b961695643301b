#pragma once
// The strengths of a run as a texts-by-texts grid, texts in run order.

#include <string>
#include <vector>

#include "evidence/csv.h"
#include "evidence/run_snapshot.h"

namespace pelmora {

struct PairMatrix {
    static constexpr int kNone = -1;  // a text with itself, or a pair never compared

    std::vector<std::string> names;
    std::vector<std::vector<int>> strength;      // [row][column], symmetric
    std::vector<std::vector<bool>> significant;  // off the norm in the report
    std::string mean, stdev;

    int size() const { return static_cast<int>(names.size()); }
};

PairMatrix pairMatrix(const RunSnapshot& run);

// Header row of names, one row per text (a strength, "*" after one off the norm, empty on
// the diagonal), then the mean and the deviation and what the mark means.
std::vector<TableRow> matrixTable(const PairMatrix& matrix);

}  // namespace pelmora
