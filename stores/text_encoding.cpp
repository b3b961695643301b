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

struct Utf8Scan {
    bool valid = true;
    bool multiByte = false;
};

Utf8Scan scanUtf8(std::string_view s) {
    Utf8Scan scan;
    std::size_t i = 0;
    while (i < s.size()) {
        // Runs of ASCII are the common case: eight bytes at a time.
        while (i + 8 <= s.size()) {
            std::uint64_t x;
            __builtin_memcpy(&x, s.data() + i, 8);
            if ((x & 0x8080808080808080ull) != 0) {
                break;
            }
            i += 8;
        }
        if (i >= s.size()) {
            break;
        }
        const Utf8Step step = utf8Step(s, i);
        if (!step.wellFormed) {
            scan.valid = false;
            return scan;
        }
        scan.multiByte = scan.multiByte || step.length > 1;
        i += step.length;
    }
    return scan;
}

std::string repairUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const Utf8Step step = utf8Step(s, i);
        if (step.wellFormed) {
            out.append(s.substr(i, step.length));
        } else {
            appendUtf8(out, kReplacement);
        }
        i += step.length;
    }
    return out;
}

std::string decodeWindows1252(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (const char ch : s) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80) {
            out += ch;
        } else if (byte < 0xA0) {
            appendUtf8(out, kWindows1252High[byte - 0x80]);
        } else {
            appendUtf8(out, byte);
        }
    }
    return out;
}

std::string decodeUtf16(std::string_view s, bool bigEndian) {
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
                i += 2;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    if (i < s.size()) {
        appendUtf8(out, kReplacement);  // a stray last byte
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
        if (scanUtf8(body).valid) {
            bytes.erase(0, 3);
            out.text = std::move(bytes);
        } else {
            out.text = repairUtf8(body);
        }
    } else if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        out.hadByteOrderMark = true;
        out.encoding = bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
        out.text = decodeUtf16(std::string_view(bytes).substr(2), bigEndian);
    } else if (const Utf8Scan scan = scanUtf8(bytes); scan.valid) {
        out.encoding = scan.multiByte ? TextEncoding::Utf8 : TextEncoding::Ascii;
        out.text = std::move(bytes);
    } else {
        out.encoding = TextEncoding::Windows1252;
        out.text = decodeWindows1252(bytes);
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    return scanUtf8(bytes).valid;
}

std::string displayText(std::string_view bytes) {
    return scanUtf8(bytes).valid ? std::string(bytes) : decodeWindows1252(bytes);
}

}  // namespace pelmora
