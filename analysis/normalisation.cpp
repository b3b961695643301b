#include "analysis/normalisation.h"

#include <cassert>
#include <cstring>
#include <string_view>
#include <utility>

#include "stores/text_ops.h"

namespace pelmora {

namespace {

bool matchesAt(const std::string& text, std::size_t start, std::string_view pattern) {
    return start + pattern.size() <= text.size() &&
           equalsIgnoreCase(std::string_view(text).substr(start, pattern.size()), pattern);
}

// The apostrophe-less spellings repaired when they stand between two spaces, in step order.
struct Repair {
    std::string_view word, replacement;
};
constexpr Repair kRepairs[] = {
    {"dont", "don't"},   {"cant", "can't"}, {"wont", "won't"},
    {"didnt", "didn't"}, {"ime", "I'm"},    {"youre", "you're"},
};

// The six repairs " dont " -> " don't " ... " youre " -> " you're " in one pass. Each keeps
// its two spaces and no repaired word is another's spelling, so the steps cannot see each
// other's work; what stays from their order is that one step never takes two words that share
// a space (" dont dont " repairs only the first).
void repairSpacedWords(std::string& text) {
    std::size_t lastEnd[std::size(kRepairs)] = {};
    std::string out;
    std::size_t copied = 0;
    std::size_t s = text.find(' ');
    while (s != std::string::npos) {
        const std::size_t e = text.find(' ', s + 1);
        if (e == std::string::npos) {
            break;
        }
        const std::size_t len = e - s - 1;
        if (len >= 3 && len <= 5) {
            const std::string_view word = std::string_view(text).substr(s + 1, len);
            for (std::size_t k = 0; k < std::size(kRepairs); ++k) {
                if (s >= lastEnd[k] && equalsIgnoreCase(word, kRepairs[k].word)) {
                    out.append(text, copied, s + 1 - copied);
                    out.append(kRepairs[k].replacement);
                    copied = e;
                    lastEnd[k] = e + 1;
                    break;
                }
            }
        }
        s = e;
    }
    if (copied == 0) {
        return;
    }
    out.append(text, copied, std::string::npos);
    text = std::move(out);
}

enum class Action : unsigned char { Keep, Space, Drop, CurlyApostrophe };

struct ActionTable {
    Action of[256] = {};
    constexpr ActionTable() {
        for (unsigned char c : std::string_view("[]-")) {
            of[c] = Action::Space;
        }
        for (unsigned char c : std::string_view(".,;:?!()")) {
            of[c] = Action::Drop;
        }
        of[0xE2] = Action::CurlyApostrophe;  // first byte of U+2019
    }
};
constexpr ActionTable kActions;

// "[" and "]" to a space, U+2019 to "'", . , ; : ? ! ( ) dropped, "-" to a space. No step of
// these creates or breaks another's character, so one pass in step order does them all.
void mapSingleCharacters(std::string& text) {
    const std::size_t n = text.size();
    std::size_t w = 0;
    for (std::size_t r = 0; r < n; ++r) {
        const char c = text[r];
        switch (kActions.of[static_cast<unsigned char>(c)]) {
            case Action::Keep:
                text[w++] = c;
                break;
            case Action::Space:
                text[w++] = ' ';
                break;
            case Action::Drop:
                break;
            case Action::CurlyApostrophe:
                if (r + 2 < n && text[r + 1] == '\x80' && text[r + 2] == '\x99') {
                    text[w++] = '\'';
                    r += 2;
                } else {
                    text[w++] = c;
                }
                break;
        }
    }
    text.resize(w);
}

// " '" and "' " to a space, then the double quotation marks counted and made spaces, then
// CR LF made a space. An apostrophe goes when a space stands on either side of it before
// these steps: none of the later steps creates a space next to one in time for them, and a
// deleted apostrophe never had CR and LF on its two sides.
std::int64_t dropEdgeApostrophesAndQuotes(std::string& text) {
    const std::size_t n = text.size();
    std::int64_t quotes = 0;
    std::size_t w = 0;
    // The characters before and at r as they were before these steps (writes go behind r).
    char prev = '\0';
    char seen = '\0';
    for (std::size_t r = 0; r < n; ++r) {
        const char c = text[r];
        prev = std::exchange(seen, c);
        if (c == '\'') {
            if (prev != ' ' && !(r + 1 < n && text[r + 1] == ' ')) {
                text[w++] = c;
            }
        } else if (c == '"') {
            ++quotes;
            text[w++] = ' ';
        } else if (c == '\r' && r + 1 < n && text[r + 1] == '\n') {
            text[w++] = ' ';
            seen = text[++r];
        } else {
            text[w++] = c;
        }
    }
    text.resize(w);
    return quotes;
}

}  // namespace

void replaceAllAnchored(std::string& text, std::string_view pattern, std::string_view replacement,
                        std::size_t anchor) {
    assert(anchor < pattern.size());
    const char a = pattern[anchor];
    assert(foldAscii(a) == a && !(a >= 'a' && a <= 'z'));  // no case to fold
    const std::size_t n = text.size();
    std::string out;
    std::size_t copied = 0;  // the text before this is in `out`; also the end of the last match
    bool changed = false;
    std::size_t from = anchor;
    while (from < n) {
        const void* hit = std::memchr(text.data() + from, a, n - from);
        if (hit == nullptr) {
            break;
        }
        const std::size_t at =
            static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        from = at + 1;
        const std::size_t start = at - anchor;
        if (start + pattern.size() > n) {
            break;
        }
        if (start < copied || !matchesAt(text, start, pattern)) {
            continue;
        }
        out.append(text, copied, start - copied);
        out.append(replacement);
        copied = start + pattern.size();
        changed = true;
        from = std::max(from, copied + anchor);
    }
    if (!changed) {
        return;
    }
    out.append(text, copied, std::string::npos);
    text = std::move(out);
}

std::int64_t removePunctuation(std::string& text) {
    replaceAllAnchored(text, "mr. ", "mr ", 2);
    replaceAllAnchored(text, "\u00AB", " ", 0);
    replaceAllAnchored(text, "\u00BB", " ", 0);
    replaceAllAnchored(text, "mrs. ", "mrs ", 3);
    replaceAllAnchored(text, "dr. ", "dr ", 2);
    repairSpacedWords(text);
    replaceAllAnchored(text, "'st", " ", 0);
    mapSingleCharacters(text);
    return dropEdgeApostrophesAndQuotes(text);
}

void collapseSpaceRuns(std::string& text, int halvings) {
    assert(halvings >= 0 && halvings < 63);
    const std::size_t n = text.size();
    std::size_t w = 0;
    std::size_t r = 0;
    while (r < n) {
        if (text[r] != ' ') {
            text[w++] = text[r++];
            continue;
        }
        std::size_t run = 0;
        while (r < n && text[r] == ' ') {
            ++run;
            ++r;
        }
        const std::size_t kept = ((run - 1) >> halvings) + 1;
        std::memset(text.data() + w, ' ', kept);
        w += kept;
    }
    text.resize(w);
}

void padWithSingleSpaces(std::string& text) {
    collapseSpaceRuns(text, 24);
    const std::string_view words = trimTrailingSpaces(trimLeadingSpaces(text));
    std::string out;
    out.reserve(words.size() + 2);
    out += ' ';
    out += words;
    out += ' ';
    text = std::move(out);
}

}  // namespace pelmora
