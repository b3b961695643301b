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

// One bit per lane that holds, lane 0 the lowest.
template <typename Lanes>
std::uint32_t laneBits(Lanes lanes) {
    std::uint64_t halves[2];
    __builtin_memcpy(halves, &lanes, sizeof halves);
    const auto bits = [](std::uint64_t x) {
        if constexpr (std::endian::native == std::endian::big) {
            x = __builtin_bswap64(x);
        }
        // Bit 7 of byte k to bit 56 + k: the products of different bytes never carry.
        return static_cast<std::uint32_t>(((x & 0x8080808080808080u) * 0x0002040810204081u) >> 56);
    };
    return bits(halves[0]) | bits(halves[1]) << 8;
}

}  // namespace pelmora
