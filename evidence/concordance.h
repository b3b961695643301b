#pragma once
// The counted words of a run's texts in their context: each text read again (and checked to
// be the bytes the run measured), its occurrences found, and listed as concordance lines.

#include <string>
#include <vector>

#include "analysis/occurrences.h"
#include "evidence/csv.h"
#include "evidence/output_format.h"
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

}  // namespace pelmora
