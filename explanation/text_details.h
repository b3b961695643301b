#pragma once
// What Details shows for one text in words: the evidence of each digit, its stability under
// resampling when measured, and each of its pairs with the digits they share (and how often
// the pair held when resampled).

#include <string>

#include "run/run_result.h"
#include "stability/stability.h"

namespace pelmora {

// `stability` may be null: the figures were not measured for this run.
std::string textDetailsText(const RunResult& run, int position, const RunStability* stability);

}  // namespace pelmora
