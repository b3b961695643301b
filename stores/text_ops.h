#pragma once
// Text helpers shared by both forms. Texts are UTF-8. Every comparison that ignores case folds
// ASCII letters and the Latin-1 letters (À to Þ, but ×, onto their small forms); a fold keeps
// the length in bytes, since both cases of a Latin-1 letter take two bytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace pelmora {

inline char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Byte i of `s` folded: ASCII capitals, and the second byte of a Latin-1 capital.
inline char foldedByteAt(std::string_view s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80 && c <= 0x9E && c != 0x97 && i > 0 && s[i - 1] == '\xC3') {
        return static_cast<char>(c + 0x20);
    }
    return foldAscii(s[i]);
}

std::string foldCase(std::string_view s);
// Inline: word lists are searched with it many times for every text.
inline bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldedByteAt(a, i) != foldedByteAt(b, i)) {
            return false;
        }
    }
    return true;
}
// Folded text order, then code-point order (UTF-8 bytes sort as their code points).
int compareIgnoreCase(std::string_view a, std::string_view b);
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
