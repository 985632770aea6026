// The fixed 256-colour table of the sibling game's SHP pictures.
#pragma once

#include <array>
#include <cstdint>

namespace maptesk {

/// Colour of each palette index as 0xRRGGBB. Index 5 is transparent.
extern const std::array<uint32_t, 256> kShpColours;
inline constexpr int kShpTransparentIndex = 5;

}  // namespace maptesk
