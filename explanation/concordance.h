#pragma once
// The counted words of a run's texts in their context: each text read again (and checked to
// be the bytes the run measured), its occurrences found, and listed as concordance lines.

#include <string>
#include <vector>

#include "analysis/occurrences.h"
#include "formats/csv.h"
#include "formats/output_format.h"
#include "run/run_result.h"
#include "stores/error.h"

namespace pelmora {

struct TextOccurrences {
    std::string text;  // as decoded
    std::vector<Occurrence> occurrences;
};

// An error when the file cannot be read or no longer holds the bytes the run measured.
Result<TextOccurrences> occurrencesOf(const RunResult& run, const TextRecord& text);

// About this many characters either side of an occurrence, line breaks and tabs as spaces.
inline constexpr std::size_t kContextCharacters = 40;
std::string contextBefore(const std::string& text, const Occurrence& o);
std::string contextAfter(const std::string& text, const Occurrence& o);

// Header "text", "measure", "pattern", "form", "start", "end", "left", "right",
// "inside_word", then one row per occurrence of `measure` (every measure when null).
std::vector<TableRow> concordanceTable(const std::string& name, const TextOccurrences& found,
                                       const Measure* measure, bool withHeader,
                                       NameStyle style = NameStyle::Exact);

// The counts of one measure by pattern, and the longer words each was found inside:
// "will 1, need 1 (in needed), should 2 (in shouldn't, shoulders), shouldn't 1".
std::string formsOf(const std::vector<Occurrence>& occurrences, Measure measure);

// The counts of one measure by pattern and, within each, by the form it was found as: the
// longer word when inside one, else the match as written. Spellings that differ only in case
// are one form, shown as first written. Patterns in their counted order, forms by count and
// then first appearance.
struct FormCount {
    std::string form;
    int count = 0;
};
struct PatternForms {
    std::string pattern;
    int count = 0;
    std::vector<FormCount> forms;
};
std::vector<PatternForms> formCounts(const std::vector<Occurrence>& occurrences, Measure measure);
// "should 2: shouldn't 1, shoulders 1; will 1": a pattern found only as itself shows its
// count alone; beyond kNamedForms forms of a pattern, the rest are counted.
inline constexpr std::size_t kNamedForms = 8;
std::string formCountsText(const std::vector<PatternForms>& patterns);

}  // namespace pelmora
