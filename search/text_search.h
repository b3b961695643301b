#pragma once
// Finding a phrase in a composed text, line by line, a few lines at a time, so that a caller
// can look after other work between steps and a report of millions of lines is searched
// without reading it whole. Case is ignored as everywhere else in the program.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "stores/composed_text.h"

namespace pelmora {

// A place in a composed text: a line (the text split after each LF) and a byte in that line.
struct TextPlace {
    std::int64_t line = 0;
    std::size_t byte = 0;
    auto operator<=>(const TextPlace&) const = default;
};

// A line as it is searched and shown: without its LF and a CR before that.
std::string_view withoutLineEnd(std::string_view line);

// One search for `needle` from `from`: forward, the first match starting at or after it;
// backward, the last match starting before it. Either way it wraps around the text, and the
// part of the start line on the other side of `from` is looked at last, so that every line is
// read once and the match at `from` itself is found only when it is the only one.
class TextSearch {
public:
    // An empty needle finds nothing; the search has then ended.
    TextSearch(ComposedText text, std::string needle, TextPlace from, bool backward);

    // Looks at up to `lines` more lines (at least one); true once the search has ended.
    bool advance(std::int64_t lines);
    bool ended() const { return ended_; }
    // Where the match starts, once the search has ended with one.
    const std::optional<TextPlace>& match() const { return match_; }
    std::size_t needleBytes() const { return needle_.size(); }

private:
    bool forward(std::int64_t budget);
    bool backward(std::int64_t budget);
    // The match a visit of `line` finds, given how many lines were visited before it.
    std::optional<std::size_t> matchIn(std::string_view line) const;
    void finish(std::optional<TextPlace> match);

    ComposedText text_;
    std::string needle_;
    TextPlace from_;
    bool backward_ = false;
    std::int64_t lines_ = 0;
    std::int64_t next_ = 0;     // the next line to look at
    std::int64_t visited_ = 0;  // lines looked at; the start line counts twice
    bool ended_ = false;
    std::optional<TextPlace> match_;
};

// Counting every match of a needle in a text, found as a search finds them (each place it
// starts, overlapping ones too), a few lines at a time; and which of them starts at `at`.
class MatchCount {
public:
    MatchCount(ComposedText text, std::string needle, TextPlace at);

    // Looks at up to `lines` more lines (at least one); true once all were counted.
    bool advance(std::int64_t lines);
    bool ended() const { return next_ >= lines_; }
    std::int64_t total() const { return total_; }
    // The number, from 1, of the match at `at`; 0 when none starts there.
    std::int64_t number() const { return number_; }

private:
    ComposedText text_;
    std::string needle_;
    TextPlace at_;
    std::int64_t lines_ = 0;
    std::int64_t next_ = 0;
    std::int64_t total_ = 0;
    std::int64_t number_ = 0;
};

// The whole search at once: where the next match starts, if any.
std::optional<TextPlace> findInText(const ComposedText& text, std::string_view needle,
                                    TextPlace from, bool backward = false);

}  // namespace pelmora
