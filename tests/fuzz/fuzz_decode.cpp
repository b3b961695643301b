// Decoding a text's bytes and a file name's bytes: any bytes give UTF-8, each encoding gives
// what its definition says, read here without the decoder (UTF-8 through tests/fuzz/support,
// UTF-16 unit by unit, Windows-1252 through the C library's iconv), and the characters the
// decoder counts are those of the text it gives.

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "stores/text_encoding.h"
#include "tests/fuzz/support.h"

namespace {

using namespace pelmora;
using namespace pelmora::fuzz;

// Each byte as Windows-1252 by iconv; the five bytes the code page leaves undefined stand for
// the C1 controls of the same value.
const std::array<std::string, 256>& windows1252() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        iconv_t cd = iconv_open("UTF-8", "CP1252");
        FUZZ_CHECK(cd != reinterpret_cast<iconv_t>(-1), "iconv has no CP1252");
        for (int b = 0; b < 256; ++b) {
            char in = static_cast<char>(b);
            char out[8];
            char* from = &in;
            char* to = out;
            std::size_t inLeft = 1, outLeft = sizeof out;
            if (iconv(cd, &from, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) {
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                appendUtf8(t[static_cast<std::size_t>(b)], static_cast<char32_t>(b));
            } else {
                t[static_cast<std::size_t>(b)].assign(out, to);
            }
        }
        iconv_close(cd);
        return t;
    }();
    return table;
}

std::string asWindows1252(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        out += windows1252()[static_cast<unsigned char>(c)];
    }
    return out;
}

// Code units in the given order, each pair of surrogates one code point, any other surrogate
// and an odd last byte U+FFFD.
std::u32string asUtf16(std::string_view bytes, bool bigEndian) {
    std::u32string out;
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? a << 8 | b : b << 8 | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        const bool high = u >= 0xD800 && u < 0xDC00;
        if (high && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            out.push_back(0x10000 + ((u - 0xD800) << 10) + (unit(i + 2) - 0xDC00));
            i += 2;
        } else {
            out.push_back(u >= 0xD800 && u < 0xE000 ? 0xFFFD : u);
        }
    }
    if (i < bytes.size()) {
        out.push_back(0xFFFD);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = bytesOf(data, size);
    const DecodedText d = decodeText(std::string(bytes));
    const std::string input = shown(bytes);
    FUZZ_CHECK(wellFormedUtf8(d.text), "decoded text of " + input);
    FUZZ_CHECK(isValidUtf8(bytes) == wellFormedUtf8(bytes), input);

    const bool valid = wellFormedUtf8(bytes);
    const std::string_view body = bytes.substr(bytes.size() < 2 ? bytes.size() : 2);
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        FUZZ_CHECK(d.encoding == TextEncoding::Utf8 && d.hadByteOrderMark, input);
        FUZZ_CHECK(codePointsOf(d.text) == codePointsOf(bytes.substr(3)), input);
    } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        FUZZ_CHECK(d.encoding == (bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE) &&
                       d.hadByteOrderMark,
                   input);
        FUZZ_CHECK(codePointsOf(d.text) == asUtf16(body, bigEndian), input);
    } else if (valid) {
        const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        FUZZ_CHECK(d.text == bytes && !d.hadByteOrderMark, input);
        FUZZ_CHECK(d.encoding == (ascii ? TextEncoding::Ascii : TextEncoding::Utf8), input);
    } else {
        FUZZ_CHECK(d.encoding == TextEncoding::Windows1252 && !d.hadByteOrderMark, input);
        FUZZ_CHECK(d.text == asWindows1252(bytes), input);
    }

    // The characters it counted as it decoded, counted here in what it gave.
    CharacterCounts counts;
    for (const char32_t c : codePointsOf(d.text)) {
        ++counts.characters;
        counts.nul += c == 0 ? 1 : 0;
        counts.controls += (c < 0x20 && c != '\t' && c != '\n' && c != '\f' && c != '\r') ||
                                   (c >= 0x7F && c <= 0x9F)
                               ? 1
                               : 0;
        counts.replacements += c == 0xFFFD ? 1 : 0;
    }
    FUZZ_CHECK(d.counts == counts, "character counts of " + input);

    // A name has no byte-order mark: its bytes when they are UTF-8, else Windows-1252.
    const std::string name = displayText(bytes);
    FUZZ_CHECK(name == (valid ? std::string(bytes) : asWindows1252(bytes)), "name " + input);
    return 0;
}
