#include "tests/fuzz/support.h"

#include <cstdio>
#include <cstdlib>

namespace pelmora::fuzz {

namespace {

bool isScalar(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// The scalar value of the well-formed sequence at s[i], with its length; length 0 when none
// starts there. Decoded by its bit pattern alone, then written again: an overlong or
// out-of-range sequence does not come back as the same bytes.
std::pair<char32_t, std::size_t> wellFormedAt(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t length = lead < 0x80         ? 1
                               : lead >> 5 == 0x6  ? 2
                               : lead >> 4 == 0xE  ? 3
                               : lead >> 3 == 0x1E ? 4
                                                   : 0;
    if (length == 0 || i + length > s.size()) {
        return {0, 0};
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (b >> 6 != 0x2) {
            return {0, 0};
        }
        c = c << 6 | (b & 0x3F);
    }
    if (!isScalar(c)) {
        return {0, 0};
    }
    std::string again;
    appendUtf8(again, c);
    return {c, again == s.substr(i, length) ? length : 0};
}

// Which byte strings of two and three bytes begin the encoding of some scalar value, found by
// encoding every one of them.
struct Prefixes {
    std::vector<bool> of2 = std::vector<bool>(1 << 16), of3 = std::vector<bool>(1 << 24);

    Prefixes() {
        for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
            if (!isScalar(c)) {
                continue;
            }
            std::string e;
            appendUtf8(e, c);
            const auto b = [&e](std::size_t k) { return static_cast<unsigned char>(e[k]); };
            if (e.size() > 2) {
                of2[b(0) << 8 | b(1)] = true;
            }
            if (e.size() > 3) {
                of3[b(0) << 16 | b(1) << 8 | b(2)] = true;
            }
        }
    }

    // The longest start of a well-formed sequence at s[i], at least one byte.
    std::size_t maximalSubpart(std::string_view s, std::size_t i) const {
        const auto b = [&s, i](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
        if (i + 2 < s.size() && of3[b(0) << 16 | b(1) << 8 | b(2)]) {
            return 3;
        }
        if (i + 1 < s.size() && of2[b(0) << 8 | b(1)]) {
            return 2;
        }
        return 1;
    }
};

}  // namespace

void fail(const char* condition, const std::string& what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n", file, line, condition, what.c_str());
    std::fflush(stderr);
    std::abort();
}

std::vector<std::string_view> split(std::string_view data, char separator, std::size_t most) {
    std::vector<std::string_view> pieces;
    while (pieces.size() < most) {
        const std::size_t at = data.find(separator);
        pieces.push_back(data.substr(0, at));
        if (at == std::string_view::npos) {
            break;
        }
        data.remove_prefix(at + 1);
    }
    return pieces;
}

std::string shown(std::string_view bytes) {
    std::string out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out.push_back(ch);
        } else if (const char* e = c == '\n'   ? "\\n"
                                   : c == '\t' ? "\\t"
                                   : c == '\r' ? "\\r"
                                   : c == '\\' ? "\\\\"
                                               : nullptr) {
            out += e;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out;
}

bool wellFormedUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = wellFormedAt(bytes, i).second;
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::u32string codePointsOf(std::string_view bytes) {
    static const Prefixes prefixes;
    std::u32string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto [c, length] = wellFormedAt(bytes, i);
        if (length > 0) {
            out.push_back(c);
            i += length;
        } else {
            out.push_back(0xFFFD);
            i += prefixes.maximalSubpart(bytes, i);
        }
    }
    return out;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace pelmora::fuzz
