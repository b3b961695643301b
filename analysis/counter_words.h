#pragma once
// The key words each counter adds up, in its order of lookup, and the measure it writes.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form1.h"

namespace pelmora {

struct CounterWords {
    Measure measure;
    std::vector<std::string_view> words;
};

// "we've" is a key word of the first person but no contraction; "you're" a contraction but
// no second person; the third person is counted from the singular forms only, as the list
// holds no plain "they".
inline const std::array<CounterWords, 8> kCounterWords = {{
    {Measure::Contractions,
     {"it's",  "I'm",  "I'll",    "I've",    "I'd",    "you're", "you'll", "you've",
      "you'd", "he's", "he'll",   "he'd",    "she's",  "she'll", "she'd",  "we're",
      "we'll", "we'd", "they're", "they'll", "they'd", "they've"}},
    {Measure::FirstPerson,
     {"I", "I'll", "I've", "I'd", "I'm", "we", "we'll", "we're", "we'd", "we've"}},
    {Measure::SecondPerson, {"you", "you'll", "you'd", "you've"}},
    {Measure::ThirdPerson, {"he", "he's", "he'll", "he'd", "she", "she's", "she'll", "she'd"}},
    {Measure::PastTenseWords,
     {"knew", "bought", "said", "brought", "took", "went", "was", "were", "thought", "felt"}},
    {Measure::DefiniteArticle, {"the"}},
    {Measure::IndefiniteArticle, {"a", "an"}},
    {Measure::It, {"it", "it's"}},
}};

// Every pattern the cleaning of a text counts, in one list: the modal verbs and the affect
// words (anywhere, inside words too), then each key function word between two spaces, then
// "ed " and "n't".
struct CountedPatterns {
    std::vector<std::string> patterns;
    std::size_t modal = 0, affect = 0, keys = 0;  // how many of each, in that order
};
CountedPatterns countedPatterns(const Form1& form);

// The words of the counter that writes `measure`.
inline const CounterWords& counterWords(Measure measure) {
    for (const CounterWords& c : kCounterWords) {
        if (c.measure == measure) {
            return c;
        }
    }
    return kCounterWords.front();
}

}  // namespace pelmora
