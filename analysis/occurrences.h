#pragma once
// Every occurrence a text's measures counted, found in the cleaned text exactly as the
// counters count them and placed back in the text as read: for each, the measure it feeds,
// the pattern, where it stands (in code points of the decoded text) and how it is written.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form1.h"

namespace pelmora {

struct Occurrence {
    Measure measure;       // an occurrence that feeds two measures (it's) is listed for each
    std::string pattern;   // "should", "it's", "-ed", "n't", "\""
    int patternIndex = 0;  // its place among the counted patterns, which orders them
    std::int64_t start = 0, end = 0;         // code points of the decoded text
    std::size_t byteStart = 0, byteEnd = 0;  // the same in bytes
    std::string form;                        // the text between them
    bool insideWord = false;                 // counted inside a longer word
    std::string word;                        // that word, as written, when inside one
};

// In text order; the occurrences of each measure are as many as its count.
std::vector<Occurrence> findOccurrences(std::string_view decoded);

// The measures occurrences can feed, in the order of the measures table.
extern const std::array<Measure, 12> kCountedMeasures;

}  // namespace pelmora
