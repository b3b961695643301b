#include "stores/number_text.h"

#include <locale.h>

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace pelmora {

namespace {

// Length of the longest prefix of `s` that reads as a decimal number, 0 when none.
std::size_t numberPrefixLength(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1;
        std::size_t frac = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            ++j;
            ++frac;
        }
        if (digits + frac > 0) {
            i = j;
            digits += frac;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            ++j;
        }
        const std::size_t expStart = j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            ++j;
        }
        if (j > expStart) {
            i = j;
        }
    }
    return i;
}

// Read as in the C locale: out of range reads as strtod reads it (infinity, or the nearest
// value towards zero).
double parsePrefix(std::string_view s, std::size_t len) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const std::string copy(s.substr(0, len));
    return strtod_l(copy.c_str(), nullptr, c);
}

std::string charsOf(double value, std::chars_format format, int precision) {
    char buf[400];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, value, format, precision);
    assert(r.ec == std::errc());
    return std::string(buf, r.ptr);
}

}  // namespace

std::string intText(std::int64_t value) {
    return std::to_string(value);
}

std::string doubleText(double value) {
    assert(std::isfinite(value));
    if (value == 0.0) {
        return "0";
    }
    // Whole numbers below 10^15 have no exponent in 15 digits; the integer writer is faster.
    if (std::abs(value) < 1e15 && value == std::trunc(value)) {
        return intText(static_cast<std::int64_t>(value));
    }
    return charsOf(value, std::chars_format::general, 15);
}

std::string fixedText(double value, int decimals) {
    assert(std::isfinite(value) && decimals >= 0 && decimals <= 30);
    return charsOf(value, std::chars_format::fixed, decimals);
}

std::string fourDecimalText(double value) {
    assert(std::isfinite(value));
    std::string s = charsOf(value, std::chars_format::fixed, 4);
    while (!s.empty() && s.back() == '0') {
        s.pop_back();
    }
    if (!s.empty() && s.back() == '.') {
        s.pop_back();
    }
    if (s == "-0") {
        s = "0";
    }
    return s;
}

double decimalParse(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return 0.0;
    }
    const std::string_view rest = text.substr(start);
    const std::size_t len = numberPrefixLength(rest);
    return len == 0 ? 0.0 : parsePrefix(rest, len);
}

std::optional<double> strictParse(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t end = text.find_last_not_of(' ');
    const std::string_view core = text.substr(start, end - start + 1);
    const std::size_t len = numberPrefixLength(core);
    if (len == 0 || len != core.size()) {
        return std::nullopt;
    }
    return parsePrefix(core, len);
}

}  // namespace pelmora
