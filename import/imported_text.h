#pragma once
// What a reader makes of one source: each text its author wrote, with what was cut out of it
// and the metadata the source states; or the reason the source cannot be made into text.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stores/error.h"

namespace pelmora {

// Lines cut out of a text, by kind: "quoted lines", "signature", "system lines", "footnotes".
struct Removal {
    std::string what;
    int lines = 0;
    // Lines of the whole source, which no text of it holds (a chat's system lines): listed
    // with each of its texts, counted once.
    bool ofSource = false;

    bool operator==(const Removal&) const = default;
};

struct ImportedText {
    std::string part;    // the message number or participant; empty for a whole document
    std::string suffix;  // what the output name adds for the part: "-0007", "-Alice"
    std::string text;    // UTF-8, LF line ends
    std::string author;  // as the source states it; empty when it does not
    std::string date;    // YYYY-MM-DD as the source states it; empty when it does not
    std::vector<Removal> removals;
    std::vector<std::string> warnings;
    std::string leftOut;  // why no file is written for this part; empty when one is
};

struct ImportOptions {
    // Quotes, signatures, system lines, footnotes and comments stay in the text.
    bool keepEverything = false;
};

// Takes each text a reader makes, in the source's order.
using TextSink = std::function<void(ImportedText&& text)>;

// A source left out: the Unconvertible error with `reason` as its message.
[[nodiscard]] Error unconvertible(std::string reason);

// The lines of `text`, each without its LF or CR LF.
[[nodiscard]] std::vector<std::string_view> linesOf(std::string_view text);

// The lines of `text` (LF line ends), counted as an editor shows them: a last line without its
// line end counts, an empty text has none.
[[nodiscard]] int lineCount(std::string_view text);

// Words as runs of characters between white space.
[[nodiscard]] long long wordCount(std::string_view text);

// `text` without white space at either end of each line, runs of empty lines as one, and no
// empty line at the start or end; LF line ends (CR LF, and CR alone, become LF).
[[nodiscard]] std::string tidyLines(std::string_view text);

// Adds `lines` to the removal of kind `what`, or a new one; nothing for no lines.
void addRemoval(std::vector<Removal>& removals, std::string_view what, int lines,
                bool ofSource = false);

}  // namespace pelmora
