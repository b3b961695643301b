#pragma once
// Text helpers shared by both forms. Texts are UTF-8; comparisons fold ASCII letters only,
// which is safe on UTF-8 because no byte of a multi-byte sequence is an ASCII letter.

#include <cstdint>
#include <string>
#include <string_view>

namespace pelmora {

inline char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLowerAscii(std::string_view s);

// Position of the first case-insensitive occurrence of `pattern` at or after `from`,
// or npos. `pattern` must not be empty.
std::size_t findIgnoreCase(std::string_view text, std::string_view pattern, std::size_t from = 0);

// Left-to-right, non-overlapping, case-insensitive replacement; the replacement is
// inserted as written. An empty replacement deletes the occurrences.
std::string replaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement);

// Number of left-to-right, non-overlapping, case-insensitive occurrences of `pattern`
// anywhere in `text` (inside words too). An empty text has none.
std::int32_t SplitCount(std::string_view text, std::string_view pattern);

// Length in code points (continuation bytes of UTF-8 are not counted).
std::int64_t utf8Length(std::string_view s);

// The first `n` code points of `s` (all of `s` when it is shorter).
std::string firstChars(std::string_view s, std::size_t n);

// Removes leading / trailing space characters (code 32 only).
std::string_view trimLeadingSpaces(std::string_view s);
std::string_view trimTrailingSpaces(std::string_view s);

}  // namespace pelmora
