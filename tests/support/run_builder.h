#pragma once
// Run results put together by hand, for tests of what reads them.

#include <array>
#include <string>
#include <vector>

#include "run/run_result.h"

namespace pelmora::test {

// One text of a run made without reading files: its name, code and what the record states.
struct BuiltText {
    std::string name{};
    std::string code{};
    std::string words = "500";  // the text length
    TextEncoding encoding = TextEncoding::Ascii;
    std::uint64_t size = 1000;  // bytes; 0 makes the file empty
    std::string sha256{};
    std::string nameBytes{};  // the name's own text when empty
};

// The texts in order, every pair of them compared by their codes; pairs of the strengths
// marked in `significant` are off the norm.
RunResult runOf(const std::vector<BuiltText>& texts, std::array<bool, 16> significant = {});

}  // namespace pelmora::test
