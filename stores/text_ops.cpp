#include "stores/text_ops.h"

#include <cassert>

namespace pelmora {

std::string foldCase(std::string_view s) {
    std::string out(s.size(), '\0');
    for (std::size_t i = 0; i < s.size(); ++i) {
        out[i] = foldedByteAt(s, i);
    }
    return out;
}

int compareIgnoreCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(foldedByteAt(a, i));
        const auto y = static_cast<unsigned char>(foldedByteAt(b, i));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string toLowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        c = foldAscii(c);
    }
    return out;
}

std::size_t findIgnoreCase(std::string_view text, std::string_view pattern, std::size_t from) {
    assert(!pattern.empty());
    if (pattern.size() > text.size()) {
        return std::string_view::npos;
    }
    const char first = foldedByteAt(pattern, 0);
    const std::size_t last = text.size() - pattern.size();
    for (std::size_t i = from; i <= last; ++i) {
        if (foldedByteAt(text, i) != first) {
            continue;
        }
        std::size_t k = 1;
        while (k < pattern.size() && foldedByteAt(text, i + k) == foldedByteAt(pattern, k)) {
            ++k;
        }
        if (k == pattern.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string replaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement) {
    std::size_t hit = findIgnoreCase(text, pattern);
    if (hit == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (hit != std::string_view::npos) {
        out.append(text.substr(pos, hit - pos));
        out.append(replacement);
        pos = hit + pattern.size();
        hit = findIgnoreCase(text, pattern, pos);
    }
    out.append(text.substr(pos));
    return out;
}

std::int32_t SplitCount(std::string_view text, std::string_view pattern) {
    std::int32_t n = 0;
    std::size_t hit = findIgnoreCase(text, pattern);
    while (hit != std::string_view::npos) {
        ++n;
        hit = findIgnoreCase(text, pattern, hit + pattern.size());
    }
    return n;
}

std::int64_t utf8Length(std::string_view s) {
    std::int64_t n = 0;
    for (unsigned char c : s) {
        n += (c & 0xC0) != 0x80;
    }
    return n;
}

std::string firstChars(std::string_view s, std::size_t n) {
    std::size_t i = 0;
    std::size_t seen = 0;
    while (i < s.size()) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (seen == n) {
                break;
            }
            ++seen;
        }
        ++i;
    }
    return std::string(s.substr(0, i));
}

std::string_view trimLeadingSpaces(std::string_view s) {
    const std::size_t p = s.find_first_not_of(' ');
    return p == std::string_view::npos ? std::string_view{} : s.substr(p);
}

std::string_view trimTrailingSpaces(std::string_view s) {
    const std::size_t p = s.find_last_not_of(' ');
    return p == std::string_view::npos ? std::string_view{} : s.substr(0, p + 1);
}

}  // namespace pelmora
