#pragma once
// The evidence of a whole run as plain text: every text's digits, every pair's agreeing and
// differing digits, and the files left out.

#include <string>

#include "evidence/run_snapshot.h"

namespace pelmora {

// LF line ends; texts in run order, pairs in report order.
std::string runExplanation(const RunSnapshot& run);

}  // namespace pelmora
