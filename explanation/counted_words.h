#pragma once
// The words and patterns each counted measure adds up, composed from the analysis form's word
// lists and the counters' patterns as a fresh analysis form loads them, so that Help's table
// and the tooltips in Details say what the counting does and cannot drift from it.

#include <string>
#include <vector>

#include "forms/form1.h"

namespace pelmora {

struct CountedWords {
    Measure measure;
    std::vector<std::string> words;       // whole words, in any letter case
    std::vector<std::string> inside;      // counted wherever the letters stand, in words too
    std::vector<std::string> notCounted;  // near forms a reader might expect, not counted
    std::vector<std::string> notes;       // how the counting reads, in sentences
};

// One row for each of kCountedMeasures, in that order.
[[nodiscard]] std::vector<CountedWords> countedWordTable();
// The row of a measure; a measure nothing counts (text length, a density) has an empty row.
[[nodiscard]] CountedWords countedWordsOf(Measure measure);
// How words are found for every measure: the cleaning before the counting, in sentences.
[[nodiscard]] std::vector<std::string> wordCountingNotes();
// A short tooltip: the words counted (a long list cut), what is not, and where Help says more.
[[nodiscard]] std::string countedWordsTip(Measure measure);
// Where the tooltips send the reader for a measure's whole list in Help.
[[nodiscard]] std::string wordsHelpPointer();

}  // namespace pelmora
