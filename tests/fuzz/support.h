#pragma once
// What every fuzz target shares: a check that aborts with what failed (libFuzzer and the seed
// runner both catch an abort; an assert vanishes from a release build), the input cut into
// pieces, and a reading of UTF-8 that owes nothing to the decoder under test.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::fuzz {

[[noreturn]] void fail(const char* condition, const std::string& what, const char* file, int line);

#define FUZZ_CHECK(condition, what) \
    ((condition) ? (void)0 : ::pelmora::fuzz::fail(#condition, (what), __FILE__, __LINE__))

// The input as bytes.
inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The first `most` pieces of the input cut at each `separator`; none holds the separator.
std::vector<std::string_view> split(std::string_view data, char separator, std::size_t most);

// Bytes as C escapes, for a message: "a\x00\n".
std::string shown(std::string_view bytes);

// Whether `bytes` are UTF-8 as the Unicode standard defines it: every sequence the shortest
// encoding of a scalar value (no surrogates, nothing above U+10FFFF).
bool wellFormedUtf8(std::string_view bytes);

// The code points of well-formed UTF-8, or of any bytes with every maximal ill-formed subpart
// (the longest start of some well-formed sequence, at least one byte) as one U+FFFD.
std::u32string codePointsOf(std::string_view bytes);

// A code point as UTF-8.
void appendUtf8(std::string& out, char32_t c);

}  // namespace pelmora::fuzz
