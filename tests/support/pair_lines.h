#pragma once
// The lines of a pair list as texts, for tests that compare stores whole.

#include <string>
#include <vector>

#include "stores/pair_list.h"

namespace pelmora::test {

// Every line, read in order; also read one by one at its position, which must agree.
std::vector<std::string> linesOf(const PairList& list);

}  // namespace pelmora::test
