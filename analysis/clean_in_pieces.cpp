#include <algorithm>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "analysis/normalisation.h"
#include "analysis/pattern_counter.h"
#include "stores/large_buffer.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The plain word of letters that ends just before `end` (exclusive), or an empty view when the
// word holds anything but letters.
std::string_view wordBefore(const std::string& text, std::size_t end) {
    std::size_t start = end;
    while (start > 0 && isAsciiLetter(text[start - 1])) {
        --start;
    }
    if (start == end || (start > 0 && text[start - 1] != ' ')) {
        return {};
    }
    return std::string_view(text).substr(start, end - start);
}

std::string_view wordAfter(const std::string& text, std::size_t start) {
    std::size_t end = start;
    while (end < text.size() && isAsciiLetter(text[end])) {
        ++end;
    }
    if (end == start || (end < text.size() && text[end] != ' ')) {
        return {};
    }
    return std::string_view(text).substr(start, end - start);
}

// Where a piece may end: at a space between two different plain words that no step rewrites.
std::size_t cutAtOrAfter(const std::string& text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] != ' ' || i == 0 || !isAsciiLetter(text[i - 1]) || i + 1 >= text.size() ||
            !isAsciiLetter(text[i + 1])) {
            continue;
        }
        const std::string_view before = wordBefore(text, i);
        const std::string_view after = wordAfter(text, i + 1);
        if (!before.empty() && !after.empty() && !equalsIgnoreCase(before, after) &&
            !isRepairedWord(before) && !isRepairedWord(after)) {
            return i;
        }
    }
    return std::string::npos;
}

CleanedText cleanAndCountWhole(std::string& text, const PatternCounter& counter) {
    CleanedText out;
    out.quotes = removePunctuation(text);
    padWithSingleSpaces(text);
    out.counts = counter.count(text);
    return out;
}

}  // namespace

CleanedText cleanAndCount(std::string& text, const PatternCounter& counter, int pieces,
                          std::size_t minimum) {
    const std::size_t wanted =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(pieces, 1)),
                              text.size() / std::max<std::size_t>(minimum, 1));
    std::vector<std::size_t> cuts;  // each piece but the last ends at a cut, the space after it
    for (std::size_t k = 1; k < wanted; ++k) {
        const std::size_t from =
            std::max(k * text.size() / wanted, cuts.empty() ? 0 : cuts.back() + 1);
        const std::size_t cut = cutAtOrAfter(text, from);
        if (cut == std::string::npos) {
            break;
        }
        cuts.push_back(cut);
    }
    if (cuts.empty()) {
        return cleanAndCountWhole(text, counter);
    }
    // The pieces after the first go into texts of their own; the first stays in place, and the
    // others are put back behind it, each without the space it starts with.
    std::vector<std::string> rest;
    for (std::size_t k = 0; k < cuts.size(); ++k) {
        const std::size_t end = k + 1 < cuts.size() ? cuts[k + 1] : text.size();
        std::string piece = largeString(end - cuts[k]);
        text.copy(piece.data(), piece.size(), cuts[k]);
        rest.push_back(std::move(piece));
    }
    text.resize(cuts.front());
    std::vector<CleanedText> cleaned(rest.size() + 1);
    std::vector<std::thread> threads;
    for (std::size_t k = 0; k < rest.size(); ++k) {
        threads.emplace_back([&, k] { cleaned[k + 1] = cleanAndCountWhole(rest[k], counter); });
    }
    cleaned[0] = cleanAndCountWhole(text, counter);
    for (std::thread& t : threads) {
        t.join();
    }
    CleanedText out = std::move(cleaned[0]);
    out.pieces = static_cast<int>(cleaned.size());
    for (std::size_t k = 1; k < cleaned.size(); ++k) {
        out.quotes += cleaned[k].quotes;
        for (std::size_t p = 0; p < out.counts.size(); ++p) {
            out.counts[p] += cleaned[k].counts[p];
        }
        text.append(rest[k - 1], 1, std::string::npos);
        std::string().swap(rest[k - 1]);
    }
    return out;
}

}  // namespace pelmora
