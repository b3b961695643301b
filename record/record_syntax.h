#pragma once
// What the writer, the reader and the verifier of run records share: the fixed lines and the
// form of a text's digit counts.

#include <array>
#include <string>
#include <string_view>

namespace pelmora::record_syntax {

// A record written before records ended in a line that shows them whole started so.
constexpr std::string_view kOldFirstLine = "Pelmora run record";
constexpr std::string_view kFirstLine = "Pelmora run record, format 2";
constexpr std::string_view kEndComment =
    "# end, the number of lines above this one, the SHA-256 of every byte above this one";

// "0:13 1:187": each digit some resample gave, with how many gave it; "-" for none.
std::string digitCounts(const std::array<int, 10>& counts);

}  // namespace pelmora::record_syntax
