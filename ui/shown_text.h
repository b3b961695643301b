#pragma once
// A decoded text as the text view's document holds it, and where each of its occurrences
// stands there. A line ends at CR LF, CR or LF, as the document splits them; a character the
// document would take for a break of its own is shown as a stand-in of the same length.

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/occurrences.h"

namespace pelmora {

struct ShownText {
    // In the document: within one block, in UTF-16 units. An occurrence is cut off at the
    // end of the line it starts in.
    struct Span {
        int block = 0;
        int start = 0;
        int length = 0;
        std::uint8_t measure = 0;  // its position in kCountedMeasures
        bool insideWord = false;
    };
    // A line that holds occurrences, and the spans of them.
    struct Line {
        int block = 0;
        std::size_t firstSpan = 0, endSpan = 0;
    };

    QString text;             // the lines joined by line feeds
    std::vector<Span> spans;  // one per occurrence, in their order
    std::vector<Line> lines;  // in order
};

ShownText shownTextOf(const std::string& decoded, const std::vector<Occurrence>& occurrences);

}  // namespace pelmora
