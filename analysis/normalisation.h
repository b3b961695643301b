#pragma once
// The text passes of the analysis form's normalisation, each giving exactly what the
// step-by-step replace-all reading gives, in a few passes over the text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

// Every replacement of the punctuation clean-up, in order, up to and including the
// CR LF step. Returns the number of double quotation marks the text held when they were
// counted (after the apostrophe steps, before they became spaces).
std::int64_t removePunctuation(std::string& text);

// Left-to-right, non-overlapping, case-insensitive replace-all, fast when the byte
// `pattern[anchor]` is rare in `text`; the result equals replaceAll's.
void replaceAllAnchored(std::string& text, std::string_view pattern, std::string_view replacement,
                        std::size_t anchor);

// Turns every run of k spaces into ceil(k / 2^halvings) spaces: what `halvings` replace-alls
// of a double space by one space leave.
void collapseSpaceRuns(std::string& text, int halvings);

// Collapses runs of spaces as 24 halvings do, trims spaces at both ends and puts one space
// before and after the rest.
void padWithSingleSpaces(std::string& text);

// The bytes [begin, end) of the text as read that a byte of a cleaned text was made from; an
// empty span for a pad space.
struct Origin {
    std::uint32_t begin = 0, end = 0;
};

// A text cleaned for counting as removePunctuation and padWithSingleSpaces clean it, with the
// origin of every byte and of every double quotation mark it counted.
struct TracedText {
    std::string text;
    std::vector<Origin> origins;  // parallel to text
    std::vector<Origin> quoteOrigins;
    std::int64_t quotes = 0;
};
TracedText cleanTraced(std::string text);

// Whether the cleaning rewrites `word` (ignoring case) when it stands between two spaces, as
// "dont" becomes "don't".
bool isRepairedWord(std::string_view word);

// Each spelling the cleaning rewrites when it stands alone, and what it becomes, in step order.
struct RepairedSpelling {
    std::string_view word, replacement;
};
std::vector<RepairedSpelling> repairedSpellings();

class PatternCounter;

struct CleanedText {
    std::int64_t quotes = 0;           // as removePunctuation counts them
    std::vector<std::int64_t> counts;  // of each pattern, in the padded text
    int pieces = 1;                    // how many pieces the text was done in
};

// removePunctuation, padWithSingleSpaces, then the counts of the counter's patterns, none of
// which holds a space. A long text is done in up to `pieces` pieces of at least `minimum`
// bytes at once, cut between two different words of plain letters: no step can then reach
// across a cut, and no pattern occurrence either, so the pieces give the text and the counts
// the whole would.
CleanedText cleanAndCount(std::string& text, const PatternCounter& counter, int pieces,
                          std::size_t minimum);

}  // namespace pelmora
