#include "ui/shown_text.h"

#include <algorithm>

#include "ui/measure_colours.h"

namespace pelmora {

namespace {

// The code point whose UTF-8 starts at `i`, and its length in bytes; a byte that starts no
// well-formed sequence reads as U+FFFD on its own.
std::pair<char32_t, std::size_t> codePointAt(const std::string& s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (length == 1) {
        return {lead, 1};
    }
    if (lead < 0xC2 || lead > 0xF4 || i + length > s.size()) {
        return {0xFFFD, 1};
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return {0xFFFD, 1};
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return {0xFFFD, 1};
    }
    return {c, length};
}

// Characters a document starts a new block at, besides the line breaks.
bool breaksBlock(char32_t c) {
    return c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

}  // namespace

ShownText shownTextOf(const std::string& decoded, const std::vector<Occurrence>& occurrences) {
    ShownText shown;
    shown.text.reserve(static_cast<qsizetype>(decoded.size()));
    shown.spans.resize(occurrences.size());

    // Every byte offset an occurrence starts or ends at, visited in text order.
    struct Mark {
        std::size_t offset;
        std::size_t occurrence;
        bool end;
    };
    std::vector<Mark> marks;
    marks.reserve(2 * occurrences.size());
    for (std::size_t k = 0; k < occurrences.size(); ++k) {
        marks.push_back({occurrences[k].byteStart, k, false});
        marks.push_back({occurrences[k].byteEnd, k, true});
    }
    // A start before its own end at the same offset.
    std::stable_sort(marks.begin(), marks.end(),
                     [](const Mark& a, const Mark& b) { return a.offset < b.offset; });
    std::vector<int> lineLengths;
    auto mark = marks.begin();
    qsizetype lineStart = 0;
    const auto place = [&](std::size_t offset) {
        const int block = static_cast<int>(lineLengths.size());
        const int at = static_cast<int>(shown.text.size() - lineStart);
        for (; mark != marks.end() && mark->offset <= offset; ++mark) {
            ShownText::Span& span = shown.spans[mark->occurrence];
            if (!mark->end) {
                span = {block, at, 0};
            } else {
                const int lineEnd = span.block == block ? at : lineLengths[span.block];
                span.length = lineEnd - span.start;
            }
        }
    };
    for (std::size_t i = 0; i < decoded.size();) {
        place(i);
        const auto [c, length] = codePointAt(decoded, i);
        if (c == '\r' || c == '\n') {
            lineLengths.push_back(static_cast<int>(shown.text.size() - lineStart));
            shown.text.append(u'\n');
            lineStart = shown.text.size();
            i += c == '\r' && i + 1 < decoded.size() && decoded[i + 1] == '\n' ? 2 : 1;
            continue;
        }
        if (breaksBlock(c)) {
            shown.text.append(c == 0x2029 ? QChar(0x00B6) : QChar(0xFFFD));
        } else if (c > 0xFFFF) {
            shown.text.append(QChar(QChar::highSurrogate(c)));
            shown.text.append(QChar(QChar::lowSurrogate(c)));
        } else {
            shown.text.append(QChar(static_cast<char16_t>(c)));
        }
        i += length;
    }
    place(decoded.size());
    for (std::size_t k = 0; k < occurrences.size(); ++k) {
        ShownText::Span& span = shown.spans[k];
        span.measure = static_cast<std::uint8_t>(
            countedPosition(occurrences[k].measure).value_or(kCountedMeasures.size()));
        span.insideWord = occurrences[k].insideWord;
        if (shown.lines.empty() || shown.lines.back().block != span.block) {
            shown.lines.push_back({span.block, k, k});
        }
        shown.lines.back().endSpan = k + 1;
    }
    return shown;
}

}  // namespace pelmora
