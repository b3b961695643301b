#include "stores/text_encoding.h"

#include <utility>

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

Utf8Step utf8Step(std::string_view s, std::size_t i) {
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

void tally(CharacterCounts& counts, char32_t c) {
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
void tallySequence(CharacterCounts& counts, std::string_view s, std::size_t i, std::size_t length) {
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

// Sixteen bytes at once, in the compiler's vector extension (SSE2, NEON); a comparison gives
// each lane all ones where it holds.
typedef unsigned char Block __attribute__((vector_size(16)));

template <typename Lanes>
bool anyLane(Lanes lanes) {
    std::uint64_t halves[2];
    __builtin_memcpy(halves, &lanes, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

struct Utf8Scan {
    bool valid = true;
    bool multiByte = false;
    CharacterCounts counts;
};

// Counting is asked for texts only, not for names.
template <bool kCount>
Utf8Scan scanUtf8(std::string_view s) {
    Utf8Scan scan;
    std::size_t i = 0;
    while (i < s.size()) {
        // Runs of ASCII are the common case, line ends their only controls: a block at a time.
        while (i + sizeof(Block) <= s.size()) {
            Block b;
            __builtin_memcpy(&b, s.data() + i, sizeof b);
            const auto nonAscii = b >= 0x80;
            if constexpr (kCount) {
                const auto rare = ((b < 0x20) & (b != '\n') & (b != '\r')) | (b == 0x7F);
                if (anyLane(nonAscii | rare)) {
                    if (anyLane(nonAscii)) {
                        break;
                    }
                    for (std::size_t k = 0; k < sizeof b; ++k) {
                        tally(scan.counts, b[k]);
                    }
                    i += sizeof b;
                    continue;
                }
                scan.counts.characters += sizeof b;
            } else if (anyLane(nonAscii)) {
                break;
            }
            i += sizeof b;
        }
        if (i >= s.size()) {
            break;
        }
        const Utf8Step step = utf8Step(s, i);
        if (!step.wellFormed) {
            scan.valid = false;
            return scan;
        }
        if constexpr (kCount) {
            tallySequence(scan.counts, s, i, step.length);
        }
        scan.multiByte = scan.multiByte || step.length > 1;
        i += step.length;
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

// Counts into `counts` when given one.
std::string decodeWindows1252(std::string_view s, CharacterCounts* counts) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (const char ch : s) {
        const auto byte = static_cast<unsigned char>(ch);
        const char32_t c = (byte >= 0x80 && byte < 0xA0) ? kWindows1252High[byte - 0x80] : byte;
        if (counts != nullptr) {
            tally(*counts, c);
        }
        if (byte < 0x80) {
            out += ch;
        } else {
            appendUtf8(out, c);
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
        if (Utf8Scan scan = scanUtf8<true>(body); scan.valid) {
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
    } else if (const Utf8Scan scan = scanUtf8<true>(bytes); scan.valid) {
        out.encoding = scan.multiByte ? TextEncoding::Utf8 : TextEncoding::Ascii;
        out.counts = scan.counts;
        out.text = std::move(bytes);
    } else {
        out.encoding = TextEncoding::Windows1252;
        out.text = decodeWindows1252(bytes, &out.counts);
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
