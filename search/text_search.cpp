#include "search/text_search.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "stores/text_ops.h"

namespace pelmora {

std::string_view withoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
    }
    return line;
}

TextSearch::TextSearch(ComposedText text, std::string needle, TextPlace from, bool backward)
    : text_(std::move(text)),
      needle_(std::move(needle)),
      from_(from),
      backward_(backward),
      lines_(text_.lineCount()) {
    if (needle_.empty() || lines_ == 0) {
        finish(std::nullopt);
        return;
    }
    // From beyond the last line (the empty row after a last LF) the lines are read in the
    // same order as from the start of the text, or from the end of its last line.
    if (from_.line < 0 || from_.line >= lines_) {
        from_ = backward_ ? TextPlace{lines_ - 1, std::numeric_limits<std::size_t>::max()}
                          : TextPlace{0, 0};
    }
    next_ = from_.line;
}

bool TextSearch::advance(std::int64_t lines) {
    if (ended_) {
        return true;
    }
    return backward_ ? backward(std::max<std::int64_t>(1, lines))
                     : forward(std::max<std::int64_t>(1, lines));
}

std::optional<std::size_t> TextSearch::matchIn(std::string_view line) const {
    const bool first = visited_ == 0;
    if (!backward_) {
        const std::size_t start = first ? from_.byte : 0;
        if (start > line.size()) {
            return std::nullopt;
        }
        const std::size_t at = findIgnoreCase(line, needle_, start);
        return at == std::string_view::npos ? std::nullopt : std::optional(at);
    }
    // Backward: the last match starting before `from` on the first visit, anywhere after.
    const std::size_t limit = first ? from_.byte : std::numeric_limits<std::size_t>::max();
    std::optional<std::size_t> last;
    for (std::size_t at = findIgnoreCase(line, needle_); at != std::string_view::npos && at < limit;
         at = findIgnoreCase(line, needle_, at + 1)) {
        last = at;
    }
    return last;
}

bool TextSearch::forward(std::int64_t budget) {
    const std::int64_t total = lines_ + 1;
    std::int64_t looked = 0;
    std::optional<TextPlace> hit;
    while (!hit && visited_ < total && looked < budget) {
        text_.forEachLine(next_, [&](std::string_view line) {
            if (const std::optional<std::size_t> at = matchIn(withoutLineEnd(line))) {
                hit = TextPlace{next_, *at};
            }
            ++visited_;
            ++looked;
            ++next_;
            return !hit && visited_ < total && looked < budget;
        });
        if (next_ >= lines_) {
            next_ = 0;
        }
    }
    if (hit || visited_ >= total) {
        finish(hit);
    }
    return ended_;
}

// Lines are read forward in chunks and looked at from the last of each chunk up.
bool TextSearch::backward(std::int64_t budget) {
    const std::int64_t total = lines_ + 1;
    std::int64_t looked = 0;
    std::vector<std::string> chunk;
    while (visited_ < total && looked < budget) {
        const std::int64_t count = std::min({budget - looked, next_ + 1, total - visited_});
        const std::int64_t first = next_ - count + 1;
        chunk.clear();
        text_.forEachLine(first, [&](std::string_view line) {
            chunk.emplace_back(withoutLineEnd(line));
            return static_cast<std::int64_t>(chunk.size()) < count;
        });
        for (std::int64_t line = next_; line >= first; --line) {
            const std::optional<std::size_t> at =
                matchIn(chunk[static_cast<std::size_t>(line - first)]);
            ++visited_;
            ++looked;
            if (at) {
                finish(TextPlace{line, *at});
                return true;
            }
        }
        next_ = first > 0 ? first - 1 : lines_ - 1;
    }
    if (visited_ >= total) {
        finish(std::nullopt);
    }
    return ended_;
}

void TextSearch::finish(std::optional<TextPlace> match) {
    ended_ = true;
    match_ = match;
}

MatchCount::MatchCount(ComposedText text, std::string needle, TextPlace at)
    : text_(std::move(text)), needle_(std::move(needle)), at_(at), lines_(text_.lineCount()) {
    if (needle_.empty()) {
        next_ = lines_;
    }
}

bool MatchCount::advance(std::int64_t lines) {
    if (ended()) {
        return true;
    }
    std::int64_t looked = 0;
    text_.forEachLine(next_, [&](std::string_view line) {
        line = withoutLineEnd(line);
        for (std::size_t at = findIgnoreCase(line, needle_); at != std::string_view::npos;
             at = findIgnoreCase(line, needle_, at + 1)) {
            ++total_;
            if (TextPlace{next_, at} == at_) {
                number_ = total_;
            }
        }
        ++next_;
        return ++looked < std::max<std::int64_t>(1, lines);
    });
    return ended();
}

std::optional<TextPlace> findInText(const ComposedText& text, std::string_view needle,
                                    TextPlace from, bool backward) {
    TextSearch search(text, std::string(needle), from, backward);
    while (!search.advance(1 << 16)) {
    }
    return search.match();
}

}  // namespace pelmora
