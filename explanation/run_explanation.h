#pragma once
// The evidence of a whole run as plain text: every text's digits, every pair's agreeing and
// differing digits, and the files left out.

#include <string>

#include "formats/output_format.h"
#include "run/run_result.h"

namespace pelmora {

// LF line ends; texts in run order, pairs in report order. With `withForms`, every text is
// read again for the words behind its counts.
std::string runExplanation(const RunResult& run, NameStyle style = NameStyle::Exact,
                           bool withForms = false);

}  // namespace pelmora
