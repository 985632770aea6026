// One hex of the map: the 7-byte record of the MAP file.
#pragma once

#include <cstdint>
#include <ostream>

#include "core/map/terrain_table.h"

namespace maptesk {

/// Road bits of HexCell::roads, one per compass direction.
enum RoadBit : uint16_t {
  kRoadN = 0x01,
  kRoadNE = 0x02,
  kRoadE = 0x04,
  kRoadSE = 0x08,
  kRoadS = 0x10,
  kRoadSW = 0x20,
  kRoadW = 0x40,
  kRoadNW = 0x80,
};

/// Bits of HexCell::flags.
inline constexpr uint16_t kRiverSideMask = 0x003F;
inline constexpr uint16_t kAutoRoadMark = 0x0200;
inline constexpr uint16_t kSelectionMark = 0x0800;
/// Bits 12..15 carry the SetMode, in the editor's data-to-set record only.
inline constexpr uint16_t kSetModeMask = 0xF000;

/// River, Stream and Impassable River keep their river sides in the flags.
constexpr bool IsRiverLike(int terrain) {
  return terrain == kRiver || terrain == kStream || terrain == kImpassableRiver;
}

struct HexCell {
  uint16_t terrain = 0;
  uint16_t roads = 0;
  uint8_t extra = 0;
  uint16_t flags = 0;

  static constexpr int kFileSize = 7;

  /// Sets the terrain; for river-like terrains a side below 6 adds that river
  /// side, any other side goes into the extra byte.
  void SetTerrain(int type, int side);
  /// Sets the roads; real roads replace an Auto mark.
  void SetRoads(uint16_t bits);
  /// Applies this record, used as the data to set, to `target` by its SetMode.
  bool ApplyBrush(HexCell& target) const;

  int setMode() const { return (flags & kSetModeMask) >> 12; }
  void setSetMode(int mode) { flags = uint16_t((flags & ~kSetModeMask) | ((mode & 0x0F) << 12)); }
  bool autoRoadMark() const { return (flags & kAutoRoadMark) != 0; }

  friend bool operator==(const HexCell&, const HexCell&) = default;
};

std::ostream& operator<<(std::ostream& out, const HexCell& cell);

}  // namespace maptesk
