#include "stores/text_encoding.h"

#include <algorithm>
#include <bit>
#include <thread>
#include <utility>
#include <vector>

#include "stores/byte_blocks.h"
#include "stores/large_buffer.h"

namespace pelmora {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code points of the bytes 0x80 to 0x9F; the undefined five keep their own value (C1).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The sequence at s[i]: how many bytes it takes, and whether they form a character. An
// ill-formed one takes its maximal subpart: the bytes that begin some well-formed sequence
// (at least one).
struct Utf8Step {
    std::size_t length;
    bool wellFormed;
};

[[gnu::always_inline]] inline Utf8Step utf8Step(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
        return {1, true};
    }
    std::size_t need = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, false};
    }
    for (std::size_t k = 1; k <= need; ++k) {
        if (i + k >= s.size()) {
            return {k, false};
        }
        const auto b = static_cast<unsigned char>(s[i + k]);
        const unsigned char lo = k == 1 ? low : 0x80;
        const unsigned char hi = k == 1 ? high : 0xBF;
        if (b < lo || b > hi) {
            return {k, false};
        }
    }
    return {need + 1, true};
}

[[gnu::always_inline]] inline void tally(CharacterCounts& counts, char32_t c) {
    ++counts.characters;
    if (c < 0x20) {
        counts.nul += c == 0 ? 1 : 0;
        counts.controls += (c == '\t' || c == '\n' || c == '\f' || c == '\r') ? 0 : 1;
    } else if (c >= 0x7F && c <= 0x9F) {
        ++counts.controls;
    } else if (c == kReplacement) {
        ++counts.replacements;
    }
}

// A well-formed sequence of `length` bytes at s[i], told by its bytes alone.
[[gnu::always_inline]] inline void tallySequence(CharacterCounts& counts, std::string_view s,
                                                 std::size_t i, std::size_t length) {
    if (length == 1) {
        tally(counts, static_cast<unsigned char>(s[i]));
        return;
    }
    ++counts.characters;
    if (length == 2 && s[i] == '\xC2' && static_cast<unsigned char>(s[i + 1]) < 0xA0) {
        ++counts.controls;  // C1
    } else if (length == 3 && s.substr(i, 3) == "\xEF\xBF\xBD") {
        ++counts.replacements;
    }
}

using Block = ByteBlock;

struct Utf8Scan {
    bool valid = true;
    bool multiByte = false;
    CharacterCounts counts;
};

// Counting is asked for texts only, not for names. ASCII goes a block at a time; a block
// holding more goes to its first such byte, whose sequence is checked on its own.
template <bool kCount>
Utf8Scan scanUtf8(std::string_view s) {
    Utf8Scan scan;
    std::size_t i = 0;
    const auto sequence = [&](std::size_t at) {
        const Utf8Step step = utf8Step(s, at);
        if (!step.wellFormed) {
            scan.valid = false;
            return std::size_t{0};
        }
        if constexpr (kCount) {
            tallySequence(scan.counts, s, at, step.length);
        }
        scan.multiByte = scan.multiByte || step.length > 1;
        return step.length;
    };
    while (i + sizeof(Block) <= s.size()) {
        Block b;
        __builtin_memcpy(&b, s.data() + i, sizeof b);
        const auto nonAscii = b >= 0x80;
        const std::size_t ascii = anyLane(nonAscii) ? firstLane(nonAscii) : sizeof b;
        if constexpr (kCount) {
            // Line ends are the only controls common in a text.
            const auto rare = ((b < 0x20) & (b != '\n') & (b != '\r')) | (b == 0x7F);
            if (anyLane(rare)) {
                for (std::size_t k = 0; k < ascii; ++k) {
                    tally(scan.counts, b[k]);
                }
            } else {
                scan.counts.characters += ascii;
            }
        }
        i += ascii;
        if (ascii < sizeof b) {
            const std::size_t length = sequence(i);
            if (length == 0) {
                return scan;
            }
            i += length;
        }
    }
    while (i < s.size()) {
        const std::size_t length = sequence(i);
        if (length == 0) {
            return scan;
        }
        i += length;
    }
    return scan;
}

// A text this long is scanned and decoded in pieces, one per core, each at least this long.
constexpr std::size_t kPieceBytes = std::size_t{4} << 20;

// Where the pieces of `s` begin, and its end: cut where no UTF-8 sequence goes on, so that a
// well-formed sequence never spans two pieces (four continuation bytes in a row are
// ill-formed in any piece).
std::vector<std::size_t> pieceBounds(std::string_view s) {
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t pieces = std::clamp<std::size_t>(s.size() / kPieceBytes, 1, cores);
    std::vector<std::size_t> bounds{0};
    for (std::size_t k = 1; k < pieces; ++k) {
        std::size_t b = k * s.size() / pieces;
        for (int moved = 0; moved < 3 && (static_cast<unsigned char>(s[b]) & 0xC0) == 0x80;
             ++moved) {
            ++b;
        }
        bounds.push_back(b);
    }
    bounds.push_back(s.size());
    return bounds;
}

// Calls `work(k, begin, end)` for each piece k, the first on this thread, the others on
// threads of their own.
template <typename Work>
void forEachPiece(const std::vector<std::size_t>& bounds, Work work) {
    std::vector<std::thread> threads;
    for (std::size_t k = 1; k + 1 < bounds.size(); ++k) {
        threads.emplace_back([&work, &bounds, k] { work(k, bounds[k], bounds[k + 1]); });
    }
    work(0, bounds[0], bounds[1]);
    for (std::thread& t : threads) {
        t.join();
    }
}

void add(CharacterCounts& to, const CharacterCounts& from) {
    to.characters += from.characters;
    to.nul += from.nul;
    to.controls += from.controls;
    to.replacements += from.replacements;
}

Utf8Scan scanUtf8InPieces(std::string_view s) {
    const std::vector<std::size_t> bounds = pieceBounds(s);
    std::vector<Utf8Scan> scans(bounds.size() - 1);
    forEachPiece(bounds, [&](std::size_t k, std::size_t begin, std::size_t end) {
        scans[k] = scanUtf8<true>(s.substr(begin, end - begin));
    });
    Utf8Scan scan;
    for (const Utf8Scan& piece : scans) {
        scan.valid = scan.valid && piece.valid;
        scan.multiByte = scan.multiByte || piece.multiByte;
        add(scan.counts, piece.counts);
    }
    return scan;
}

std::string repairUtf8(std::string_view s, CharacterCounts& counts) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const Utf8Step step = utf8Step(s, i);
        if (step.wellFormed) {
            out.append(s.substr(i, step.length));
            tallySequence(counts, s, i, step.length);
        } else {
            appendUtf8(out, kReplacement);
            tally(counts, kReplacement);
        }
        i += step.length;
    }
    return out;
}

// What each Windows-1252 byte becomes in UTF-8, and whether it is a control.
struct Windows1252Table {
    char utf8[256][3] = {};
    unsigned char length[256] = {};
    unsigned char control[256] = {};
    constexpr Windows1252Table() {
        for (int b = 0; b < 256; ++b) {
            const char32_t c =
                (b >= 0x80 && b < 0xA0) ? kWindows1252High[b - 0x80] : static_cast<char32_t>(b);
            if (c < 0x80) {
                utf8[b][0] = static_cast<char>(c);
                length[b] = 1;
            } else if (c < 0x800) {
                utf8[b][0] = static_cast<char>(0xC0 | (c >> 6));
                utf8[b][1] = static_cast<char>(0x80 | (c & 0x3F));
                length[b] = 2;
            } else {
                utf8[b][0] = static_cast<char>(0xE0 | (c >> 12));
                utf8[b][1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                utf8[b][2] = static_cast<char>(0x80 | (c & 0x3F));
                length[b] = 3;
            }
            control[b] = (c < 0x20 && c != '\t' && c != '\n' && c != '\f' && c != '\r') ||
                                 (c >= 0x7F && c <= 0x9F)
                             ? 1
                             : 0;
        }
    }
};
constexpr Windows1252Table kWindows1252;

// The UTF-8 length of the bytes of s, counting into `counts`. A block goes at once to each
// byte in it other than printable ASCII, tab, LF and CR.
std::size_t windows1252Length(std::string_view s, CharacterCounts& counts) {
    std::size_t length = 0;
    std::size_t i = 0;
    const auto one = [&](unsigned char b) {
        length += kWindows1252.length[b];
        counts.controls += kWindows1252.control[b];
        counts.nul += b == 0 ? 1 : 0;
    };
    for (; i + sizeof(Block) <= s.size(); i += sizeof(Block)) {
        const Block b = loadBlock(s.data() + i);
        std::uint32_t uncommon = laneBits(
            (b >= 0x80) | ((b < 0x20) & (b != '\n') & (b != '\r') & (b != '\t')) | (b == 0x7F));
        length += sizeof b;
        for (; uncommon != 0; uncommon &= uncommon - 1) {
            one(b[std::countr_zero(uncommon)]);
            --length;  // counted once among the block
        }
    }
    for (; i < s.size(); ++i) {
        one(static_cast<unsigned char>(s[i]));
    }
    counts.characters += s.size();
    return length;
}

// The bytes of s as UTF-8 from `out` on. Blocks and characters are copied whole, the bytes
// after them overwriting what is not their own: so the last bytes of s are written one by
// one, and nothing is written beyond the piece's place.
void writeWindows1252(std::string_view s, char* out) {
    std::size_t i = 0;
    while (i + sizeof(Block) + 2 <= s.size()) {
        const Block b = loadBlock(s.data() + i);
        __builtin_memcpy(out, &b, sizeof b);
        const std::size_t ascii = firstLane(b >= 0x80);
        out += ascii;
        i += ascii;
        if (ascii < sizeof b) {
            const auto c = static_cast<unsigned char>(s[i++]);
            __builtin_memcpy(out, kWindows1252.utf8[c], 3);
            out += kWindows1252.length[c];
        }
    }
    for (; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        for (unsigned char k = 0; k < kWindows1252.length[c]; ++k) {
            *out++ = kWindows1252.utf8[c][k];
        }
    }
}

// Counts into `counts` when given one. In pieces on every core for a long text: each piece's
// length first, then each piece written at its place.
std::string decodeWindows1252(std::string_view s, CharacterCounts* counts) {
    const std::vector<std::size_t> bounds = pieceBounds(s);  // any cut suits single bytes
    std::vector<CharacterCounts> pieceCounts(bounds.size() - 1);
    std::vector<std::size_t> at(bounds.size(), 0);  // where each piece's output begins
    forEachPiece(bounds, [&](std::size_t k, std::size_t begin, std::size_t end) {
        at[k + 1] = windows1252Length(s.substr(begin, end - begin), pieceCounts[k]);
    });
    for (std::size_t k = 1; k < at.size(); ++k) {
        at[k] += at[k - 1];
    }
    std::string out = largeString(at.back());
    forEachPiece(bounds, [&](std::size_t k, std::size_t begin, std::size_t end) {
        writeWindows1252(s.substr(begin, end - begin), out.data() + at[k]);
    });
    out.resize(at.back());
    if (counts != nullptr) {
        for (const CharacterCounts& c : pieceCounts) {
            add(*counts, c);
        }
    }
    return out;
}

std::string decodeUtf16(std::string_view s, bool bigEndian, CharacterCounts& counts) {
    std::string out;
    out.reserve(s.size());
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto hi = static_cast<unsigned char>(s[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(s[bigEndian ? i + 1 : i]);
        return static_cast<char32_t>(hi << 8 | lo);
    };
    std::size_t i = 0;
    for (; i + 1 < s.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < s.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++counts.characters;
                i += 2;
                continue;
            }
        }
        const char32_t c = (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u;
        appendUtf8(out, c);
        tally(counts, c);
    }
    if (i < s.size()) {
        appendUtf8(out, kReplacement);  // a stray last byte
        tally(counts, kReplacement);
    }
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

const char* encodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ascii:
            return "ASCII";
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Utf16LE:
            return "UTF-16LE";
        case TextEncoding::Utf16BE:
            return "UTF-16BE";
        case TextEncoding::Windows1252:
            return "Windows-1252";
    }
    return "";
}

DecodedText decodeText(std::string bytes) {
    DecodedText out;
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        out.hadByteOrderMark = true;
        out.encoding = TextEncoding::Utf8;
        const std::string_view body = std::string_view(bytes).substr(3);
        if (Utf8Scan scan = scanUtf8InPieces(body); scan.valid) {
            out.counts = scan.counts;
            bytes.erase(0, 3);
            out.text = std::move(bytes);
        } else {
            out.text = repairUtf8(body, out.counts);
        }
    } else if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        out.hadByteOrderMark = true;
        out.encoding = bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
        out.text = decodeUtf16(std::string_view(bytes).substr(2), bigEndian, out.counts);
    } else if (const Utf8Scan scan = scanUtf8InPieces(bytes); scan.valid) {
        out.encoding = scan.multiByte ? TextEncoding::Utf8 : TextEncoding::Ascii;
        out.counts = scan.counts;
        out.text = std::move(bytes);
    } else {
        out.encoding = TextEncoding::Windows1252;
        out.text = decodeWindows1252(bytes, &out.counts);
        std::string().swap(bytes);  // before the text is cleaned, which takes room of its own
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    return scanUtf8<false>(bytes).valid;
}

std::string displayText(std::string_view bytes) {
    return scanUtf8<false>(bytes).valid ? std::string(bytes) : decodeWindows1252(bytes, nullptr);
}

}  // namespace pelmora
