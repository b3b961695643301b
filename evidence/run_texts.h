#pragma once
// The report box and the results box of a run as an output shows them: the stores' own text,
// or with every file name written in the given style.

#include <string>

#include "evidence/output_format.h"
#include "run/run_result.h"

namespace pelmora {

std::string reportShown(const RunResult& run, NameStyle style);
std::string typesShown(const RunResult& run, NameStyle style);

}  // namespace pelmora
