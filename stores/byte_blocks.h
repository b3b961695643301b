#pragma once
// Sixteen bytes at once, in the compiler's vector extension (SSE2, NEON): for the passes over
// long texts that skip the bytes they leave as they are. A comparison gives each lane all
// ones where it holds.

#include <bit>
#include <cstddef>
#include <cstdint>

namespace pelmora {

typedef unsigned char ByteBlock __attribute__((vector_size(16)));

// The block of the 16 bytes at p.
inline ByteBlock loadBlock(const char* p) {
    ByteBlock b;
    __builtin_memcpy(&b, p, sizeof b);
    return b;
}

// Whether any lane of a comparison holds.
template <typename Lanes>
bool anyLane(Lanes lanes) {
    std::uint64_t halves[2];
    __builtin_memcpy(halves, &lanes, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

// The index of the first lane that holds, 16 when none does.
template <typename Lanes>
std::size_t firstLane(Lanes lanes) {
    std::uint64_t halves[2];
    __builtin_memcpy(halves, &lanes, sizeof halves);
    const auto zeros = [](std::uint64_t x) {
        return static_cast<std::size_t>(std::endian::native == std::endian::little
                                            ? std::countr_zero(x)
                                            : std::countl_zero(x)) /
               8;
    };
    return halves[0] != 0 ? zeros(halves[0]) : 8 + zeros(halves[1]);
}

}  // namespace pelmora
