#include "analysis/normalisation.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "stores/byte_blocks.h"
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

// Eight bytes as a number whose lowest byte is the first.
std::uint64_t load64(const char* p, std::size_t available) {
    std::uint64_t x = 0;
    std::memcpy(&x, p, available < 8 ? available : 8);
    if constexpr (std::endian::native == std::endian::big) {
        x = __builtin_bswap64(x);
    }
    return x;
}

constexpr std::uint64_t kOnes = 0x0101010101010101u;

// The high bit of each byte of x that is a space, exactly: no borrow runs between bytes.
std::uint64_t spaceMask(std::uint64_t x) {
    const std::uint64_t t = x ^ (kOnes * ' ');
    return ~(((t & (kOnes * 0x7F)) + kOnes * 0x7F) | t) & (kOnes * 0x80);
}

// Each repaired spelling as its letters in lower case, one byte each, lowest first, zero after.
struct RepairKeys {
    std::uint64_t of[std::size(kRepairs)] = {};
    constexpr RepairKeys() {
        for (std::size_t k = 0; k < std::size(kRepairs); ++k) {
            for (std::size_t i = 0; i < kRepairs[k].word.size(); ++i) {
                of[k] |= std::uint64_t{static_cast<unsigned char>(kRepairs[k].word[i])} << (8 * i);
            }
        }
    }
};
constexpr RepairKeys kRepairKeys;

// Which repaired spelling the `len` letters at p are, in either case; -1 for none. Setting bit 5
// of every byte folds letters and turns no other byte into a letter; the byte after a shorter
// word is never zero then, so no length check is needed.
[[gnu::always_inline]] inline int repairAt(const char* p, std::size_t len, std::size_t available) {
    // Most words are not one of them: their length or first letter already says so.
    constexpr unsigned kFirst = (1u << ('d' - 'a')) | (1u << ('c' - 'a')) | (1u << ('w' - 'a')) |
                                (1u << ('i' - 'a')) | (1u << ('y' - 'a'));
    const unsigned first = static_cast<unsigned char>(p[0] | 0x20) - 'a';
    if (len < 3 || len > 5 || first >= 26 || ((kFirst >> first) & 1u) == 0) {
        return -1;
    }
    std::uint64_t x = load64(p, available) | kOnes * 0x20;
    if (len < 8) {
        x &= (std::uint64_t{1} << (8 * len)) - 1;
    }
    unsigned hits = 0;
    for (std::size_t k = 0; k < std::size(kRepairs); ++k) {
        hits |= static_cast<unsigned>(x == kRepairKeys.of[k]) << k;
    }
    return hits == 0 ? -1 : std::countr_zero(hits);
}

// Where each byte of a text being cleaned came from in the text as read. The passes that
// clean a text for counting keep nothing; those that find the counted words again keep, for
// every byte, the span of the bytes it was made from.
template <bool kTrack>
struct Trail;

template <>
struct Trail<false> {
    void set(std::size_t, Origin) {}
    void copy(std::size_t, std::size_t) {}
    Origin span(std::size_t, std::size_t) const { return {}; }
    void append(const Trail&, std::size_t, std::size_t) {}
    void repeat(Origin, std::size_t) {}
    void move(std::size_t, std::size_t, std::size_t) {}
    void resize(std::size_t) {}
    void insertFront(Origin) {}
    void eraseFront(std::size_t) {}
    void pushBack(Origin) {}
    void quote(std::size_t) {}
};

template <>
struct Trail<true> {
    std::vector<Origin> at;
    std::vector<Origin> quotes;  // where each double quotation mark stood

    void set(std::size_t w, Origin o) { at[w] = o; }
    void copy(std::size_t w, std::size_t r) { at[w] = at[r]; }
    // Of the bytes [from, to), which came from [first's begin, last's end).
    Origin span(std::size_t from, std::size_t to) const {
        return from < to ? Origin{at[from].begin, at[to - 1].end} : Origin{};
    }
    void append(const Trail& source, std::size_t from, std::size_t count) {
        at.insert(at.end(), source.at.begin() + static_cast<std::ptrdiff_t>(from),
                  source.at.begin() + static_cast<std::ptrdiff_t>(from + count));
    }
    void repeat(Origin o, std::size_t count) { at.insert(at.end(), count, o); }
    void move(std::size_t to, std::size_t from, std::size_t count) {
        std::memmove(at.data() + to, at.data() + from, count * sizeof(Origin));
    }
    void resize(std::size_t n) { at.resize(n); }
    void insertFront(Origin o) { at.insert(at.begin(), o); }
    void eraseFront(std::size_t n) {
        at.erase(at.begin(), at.begin() + static_cast<std::ptrdiff_t>(n));
    }
    void pushBack(Origin o) { at.push_back(o); }
    void quote(std::size_t r) { quotes.push_back(at[r]); }
};

// Calls `visit(s, e)`, in order, for every space s followed by a word of three to five bytes
// that begins with a letter some repaired spelling begins with, and e the space after it: the
// only words a repair can take. Sixteen spaces at a time are looked at.
template <typename Visit>
void forEachRepairCandidate(const char* p, std::size_t n, Visit visit) {
    const auto candidate = [&](std::size_t s) {
        const std::size_t last = std::min(n, s + 7);
        for (std::size_t e = s + 1; e < last; ++e) {
            if (p[e] == ' ') {
                if (e - s >= 4) {
                    visit(s, e);
                }
                return;
            }
        }
    };
    std::size_t i = 0;
    for (; i + sizeof(ByteBlock) + 1 <= n; i += sizeof(ByteBlock)) {
        const ByteBlock space = loadBlock(p + i);
        const ByteBlock first = loadBlock(p + i + 1) | 0x20;
        auto lanes = (space == ' ') & ((first == 'c') | (first == 'd') | (first == 'i') |
                                       (first == 'w') | (first == 'y'));
        while (anyLane(lanes)) {
            const std::size_t k = firstLane(lanes);
            candidate(i + k);
            lanes[k] = 0;
        }
    }
    for (; i < n; ++i) {
        if (p[i] == ' ' && i + 1 < n) {
            candidate(i);
        }
    }
}

// The six repairs " dont " -> " don't " ... " youre " -> " you're " in one pass. Each keeps
// its two spaces and no repaired word is another's spelling, so the steps cannot see each
// other's work; what stays from their order is that one step never takes two words that share
// a space (" dont dont " repairs only the first).
template <bool kTrack>
void repairSpacedWords(std::string& text, Trail<kTrack>& trail) {
    const char* p = text.data();
    const std::size_t n = text.size();
    std::size_t lastEnd[std::size(kRepairs)] = {};
    std::string out;
    Trail<kTrack> outTrail;
    std::size_t copied = 0;
    forEachRepairCandidate(p, n, [&](std::size_t s, std::size_t e) {
        const int k = repairAt(p + s + 1, e - s - 1, n - s - 1);
        if (k < 0 || s < lastEnd[k]) {
            return;
        }
        out.append(p + copied, s + 1 - copied);
        outTrail.append(trail, copied, s + 1 - copied);
        out.append(kRepairs[k].replacement);
        // The repaired word comes, letter by letter, from the whole word as written.
        outTrail.repeat(trail.span(s + 1, e), kRepairs[k].replacement.size());
        copied = e;
        lastEnd[k] = e + 1;
    });
    if (copied == 0) {
        return;
    }
    out.append(p + copied, n - copied);
    outTrail.append(trail, copied, n - copied);
    text = std::move(out);
    trail = std::move(outTrail);
}

// What the single-character steps do with each byte: its replacement, and whether it stays.
struct CharacterMap {
    unsigned char to[256] = {};
    unsigned char stays[256] = {};
    constexpr CharacterMap() {
        for (int c = 0; c < 256; ++c) {
            to[c] = static_cast<unsigned char>(c);
            stays[c] = 1;
        }
        for (unsigned char c : std::string_view("[]-")) {
            to[c] = ' ';
        }
        for (unsigned char c : std::string_view(".,;:?!()")) {
            stays[c] = 0;
        }
    }
};
constexpr CharacterMap kMap;

// "[" and "]" to a space, U+2019 to "'", . , ; : ? ! ( ) dropped, "-" to a space. No step of
// these creates or breaks another's character, so one pass in step order does them all.
// The bytes of [r, r + count) moved to w, where w <= r.
template <bool kTrack>
void keepBytes(char* p, std::size_t w, std::size_t r, std::size_t count, Trail<kTrack>& trail) {
    if (w != r) {
        std::memmove(p + w, p + r, count);
        trail.move(w, r, count);
    }
}

template <bool kTrack>
void mapSingleCharacters(std::string& text, Trail<kTrack>& trail) {
    char* p = text.data();
    const std::size_t n = text.size();
    std::size_t w = 0;
    for (std::size_t r = 0; r < n;) {
        // Bytes no step touches stay as they are, up to the next one that a step does.
        if (r + sizeof(ByteBlock) <= n) {
            const ByteBlock b = loadBlock(p + r);
            const std::size_t plain = firstLane((b == '[') | (b == ']') | (b == '-') | (b == '.') |
                                                (b == ',') | (b == ';') | (b == ':') | (b == '?') |
                                                (b == '!') | (b == '(') | (b == ')') | (b == 0xE2));
            keepBytes(p, w, r, plain, trail);
            w += plain;
            r += plain;
            if (plain == sizeof b) {
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(p[r]);
        if (c == 0xE2 && r + 2 < n && p[r + 1] == '\x80' && p[r + 2] == '\x99') {
            trail.set(w, trail.span(r, r + 3));
            p[w++] = '\'';
            r += 3;
            continue;
        }
        trail.copy(w, r);
        p[w] = static_cast<char>(kMap.to[c]);
        w += kMap.stays[c];
        ++r;
    }
    text.resize(w);
    trail.resize(w);
}

// " '" and "' " to a space, then the double quotation marks counted and made spaces, then
// CR LF made a space. An apostrophe goes when a space stands on either side of it before
// these steps: none of the later steps creates a space next to one in time for them, and a
// deleted apostrophe never had CR and LF on its two sides.
template <bool kTrack>
std::int64_t dropEdgeApostrophesAndQuotes(std::string& text, Trail<kTrack>& trail) {
    char* p = text.data();
    const std::size_t n = text.size();
    std::int64_t quotes = 0;
    std::size_t w = 0;
    // The characters before and at r as they were before these steps (writes go behind r).
    char prev = '\0';
    char seen = '\0';
    for (std::size_t r = 0; r < n; ++r) {
        // Bytes other than apostrophes, quotation marks and CR stay as they are.
        if (r + sizeof(ByteBlock) <= n) {
            const ByteBlock b = loadBlock(p + r);
            const std::size_t plain = firstLane((b == '\'') | (b == '"') | (b == '\r'));
            if (plain > 0) {
                seen = static_cast<char>(b[plain - 1]);
                keepBytes(p, w, r, plain, trail);
                w += plain;
                r += plain - 1;
                continue;
            }
        }
        const char c = p[r];
        prev = std::exchange(seen, c);
        if (c == '\'') {
            if (prev != ' ' && !(r + 1 < n && p[r + 1] == ' ')) {
                trail.copy(w, r);
                p[w++] = c;
            }
        } else if (c == '"') {
            ++quotes;
            trail.quote(r);
            trail.copy(w, r);
            p[w++] = ' ';
        } else if (c == '\r' && r + 1 < n && p[r + 1] == '\n') {
            trail.set(w, trail.span(r, r + 2));
            p[w++] = ' ';
            seen = p[++r];
        } else {
            trail.copy(w, r);
            p[w++] = c;
        }
    }
    text.resize(w);
    trail.resize(w);
    return quotes;
}

// The first position at or after `from` where two spaces follow each other, or npos.
std::size_t findDoubleSpace(const char* p, std::size_t n, std::size_t from) {
    std::size_t i = from;
    for (; i + 9 <= n; i += 8) {
        const std::uint64_t pairs = spaceMask(load64(p + i, 8)) & spaceMask(load64(p + i + 1, 8));
        if (pairs != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(pairs)) / 8;
        }
    }
    for (; i + 1 < n; ++i) {
        if (p[i] == ' ' && p[i + 1] == ' ') {
            return i;
        }
    }
    return std::string::npos;
}

// A pattern found by one byte of it, the anchor, that no letter case changes.
struct Anchored {
    std::string_view pattern, replacement;
    std::size_t anchor;
};

// Every pattern of `rules` replaced left to right, in one pass over the anchors' byte, which
// all of them share. Exact as one pass per pattern only for patterns that never overlap and
// whose replacements make or break no match of another: the callers hold to that.
template <bool kTrack, std::size_t N>
void replaceAllAnchored(std::string& text, const Anchored (&rules)[N], Trail<kTrack>& trail) {
    const char a = rules[0].pattern[rules[0].anchor];
    std::size_t least = rules[0].anchor;
    // When no replacement is longer than its pattern, the text is rewritten in place, behind
    // the search: a long text then needs no second copy of itself.
    bool inPlace = true;
    for (const Anchored& r : rules) {
        assert(r.anchor < r.pattern.size() && r.pattern[r.anchor] == a);
        least = std::min(least, r.anchor);
        inPlace = inPlace && r.replacement.size() <= r.pattern.size();
    }
    assert(foldAscii(a) == a && !(a >= 'a' && a <= 'z'));  // no case to fold
    const std::size_t n = text.size();
    std::string out;
    Trail<kTrack> outTrail;
    std::size_t w = 0;       // in place, the end of what is rewritten
    std::size_t copied = 0;  // the text before this is written; also the end of the last match
    // The bytes [from, from + count) of the text as it was, written next.
    const auto keep = [&](std::size_t from, std::size_t count) {
        if (!inPlace) {
            out.append(text, from, count);
            outTrail.append(trail, from, count);
        } else if (w != from) {
            std::memmove(text.data() + w, text.data() + from, count);
            trail.move(w, from, count);
        }
        w += count;
    };
    bool changed = false;
    std::size_t from = least;
    while (from < n) {
        const void* hit = std::memchr(text.data() + from, a, n - from);
        if (hit == nullptr) {
            break;
        }
        const std::size_t at =
            static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        from = at + 1;
        for (const Anchored& r : rules) {
            if (at < r.anchor) {
                continue;
            }
            const std::size_t start = at - r.anchor;
            if (start < copied || !matchesAt(text, start, r.pattern)) {
                continue;
            }
            keep(copied, start - copied);
            const Origin origin = trail.span(start, start + r.pattern.size());
            if (inPlace) {
                r.replacement.copy(text.data() + w, r.replacement.size());
                for (std::size_t k = 0; k < r.replacement.size(); ++k) {
                    trail.set(w + k, origin);
                }
            } else {
                out.append(r.replacement);
                outTrail.repeat(origin, r.replacement.size());
            }
            w += r.replacement.size();
            copied = start + r.pattern.size();
            changed = true;
            from = std::max(from, copied + least);
            break;
        }
    }
    if (!changed) {
        return;
    }
    keep(copied, n - copied);
    if (inPlace) {
        text.resize(w);
        trail.resize(w);
    } else {
        text = std::move(out);
        trail = std::move(outTrail);
    }
}

template <bool kTrack>
void replaceAllAnchored(std::string& text, std::string_view pattern, std::string_view replacement,
                        std::size_t anchor, Trail<kTrack>& trail) {
    const Anchored rule[] = {{pattern, replacement, anchor}};
    replaceAllAnchored(text, rule, trail);
}

// Whether the text holds « or ».
bool holdsGuillemets(const std::string& text) {
    for (const char* p = text.data();
         (p = static_cast<const char*>(std::memchr(p, '\xC2', text.data() + text.size() - p))) !=
         nullptr;
         ++p) {
        if (p + 1 < text.data() + text.size() && (p[1] == '\xAB' || p[1] == '\xBB')) {
            return true;
        }
    }
    return false;
}

template <bool kTrack>
std::int64_t removePunctuation(std::string& text, Trail<kTrack>& trail) {
    // The three titles never overlap and none of their replacements makes or breaks another
    // title, so they go in one pass; but a « or » made a space can complete "mrs. " or "dr. "
    // after "mr. " has gone, so a text holding them takes the steps in their order.
    constexpr Anchored kMr = {"mr. ", "mr ", 2}, kMrs = {"mrs. ", "mrs ", 3},
                       kDr = {"dr. ", "dr ", 2};
    if (!holdsGuillemets(text)) {
        constexpr Anchored kTitles[] = {kMr, kMrs, kDr};
        replaceAllAnchored(text, kTitles, trail);
    } else {
        constexpr Anchored kMrOnly[] = {kMr};
        replaceAllAnchored(text, kMrOnly, trail);
        // Each is two bytes made one space: neither makes or breaks the other.
        constexpr Anchored kGuillemets[] = {{"\u00AB", " ", 0}, {"\u00BB", " ", 0}};
        replaceAllAnchored(text, kGuillemets, trail);
        constexpr Anchored kMrsAndDr[] = {kMrs, kDr};
        replaceAllAnchored(text, kMrsAndDr, trail);
    }
    repairSpacedWords(text, trail);
    replaceAllAnchored(text, "'st", " ", 0, trail);
    mapSingleCharacters(text, trail);
    return dropEdgeApostrophesAndQuotes(text, trail);
}

template <bool kTrack>
void collapseSpaceRuns(std::string& text, int halvings, Trail<kTrack>& trail) {
    assert(halvings >= 0 && halvings < 63);
    char* p = text.data();
    const std::size_t n = text.size();
    std::size_t r = findDoubleSpace(p, n, 0);
    if (halvings == 0 || r == std::string::npos) {
        return;
    }
    const std::size_t mask = (std::size_t{1} << halvings) - 1;
    std::size_t w = r;
    while (r < n) {
        // A run of spaces: the space at index j of the run stays when j is a multiple of
        // 2^halvings.
        for (std::size_t j = 0; r < n && p[r] == ' '; ++j, ++r) {
            if ((j & mask) == 0) {
                trail.copy(w, r);
                p[w++] = ' ';
            }
        }
        // Up to the next run of two or more spaces, everything stays.
        const std::size_t next = std::min(findDoubleSpace(p, n, r), n);
        std::memmove(p + w, p + r, next - r);
        trail.move(w, r, next - r);
        w += next - r;
        r = next;
    }
    text.resize(w);
    trail.resize(w);
}

template <bool kTrack>
void padWithSingleSpaces(std::string& text, Trail<kTrack>& trail) {
    collapseSpaceRuns(text, 24, trail);
    const std::size_t end = trimTrailingSpaces(text).size();
    const std::size_t begin = end - trimLeadingSpaces(std::string_view(text).substr(0, end)).size();
    // In place: a space left before the words or after them serves as the pad.
    text.resize(end);
    trail.resize(end);
    if (begin == 0) {
        text.insert(text.begin(), ' ');
        trail.insertFront(Origin{});
    } else {
        text.erase(0, begin - 1);
        trail.eraseFront(begin - 1);
        text[0] = ' ';
        trail.set(0, Origin{});
    }
    text += ' ';
    trail.pushBack(Origin{});
}

}  // namespace

void replaceAllAnchored(std::string& text, std::string_view pattern, std::string_view replacement,
                        std::size_t anchor) {
    Trail<false> none;
    replaceAllAnchored(text, pattern, replacement, anchor, none);
}

std::int64_t removePunctuation(std::string& text) {
    Trail<false> none;
    return removePunctuation(text, none);
}

void collapseSpaceRuns(std::string& text, int halvings) {
    Trail<false> none;
    collapseSpaceRuns(text, halvings, none);
}

void padWithSingleSpaces(std::string& text) {
    Trail<false> none;
    padWithSingleSpaces(text, none);
}

TracedText cleanTraced(std::string text) {
    Trail<true> trail;
    trail.at.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        trail.at[i] = Origin{static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i + 1)};
    }
    TracedText out;
    out.quotes = removePunctuation(text, trail);
    padWithSingleSpaces(text, trail);
    out.text = std::move(text);
    out.origins = std::move(trail.at);
    out.quoteOrigins = std::move(trail.quotes);
    return out;
}

bool isRepairedWord(std::string_view word) {
    for (const Repair& r : kRepairs) {
        if (equalsIgnoreCase(word, r.word)) {
            return true;
        }
    }
    return false;
}

std::vector<RepairedSpelling> repairedSpellings() {
    std::vector<RepairedSpelling> out;
    for (const Repair& r : kRepairs) {
        out.push_back({r.word, r.replacement});
    }
    return out;
}

}  // namespace pelmora
