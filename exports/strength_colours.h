#pragma once
// The colours a pair's strength is shown in, wherever the matrix is drawn: the window, its
// picture and the workbook. Red for the minimal strengths 0 to 2, green for identical.

#include <array>
#include <cstdint>

namespace pelmora {

// 0xRRGGBB by strength 0 to 5.
inline constexpr std::array<std::uint32_t, 6> kStrengthRgb = {0xd73027, 0xf46d43, 0xfdae61,
                                                              0xfee08b, 0xa6d96a, 0x1a9850};
// For the diagonal and for texts that form no pair.
inline constexpr std::uint32_t kNoPairRgb = 0xeeeeee;

// The colour of a strength; any value outside 0 to 5 has the colour of no pair.
constexpr std::uint32_t strengthRgb(int strength) {
    return strength < 0 || strength > 5 ? kNoPairRgb
                                        : kStrengthRgb[static_cast<std::size_t>(strength)];
}

}  // namespace pelmora
