#include "core/map/hex_cell.h"

#include "core/settings/tool_settings.h"

namespace maptesk {

void HexCell::SetTerrain(int type, int side) {
  terrain = uint16_t(type);
  if (IsRiverLike(type) && side < 6) {
    if (side >= 0) flags |= uint16_t(1u << side);
  } else {
    extra = uint8_t(side);
  }
}

void HexCell::SetRoads(uint16_t bits) {
  roads = bits;
  if (bits != 0) flags &= uint16_t(~kAutoRoadMark);
}

bool HexCell::ApplyBrush(HexCell& target) const {
  switch (setMode()) {
    case kSetTerrain: target.SetTerrain(terrain, 0); return true;
    case kSetRoads:
      if (autoRoadMark()) {
        target.flags |= kAutoRoadMark;
        target.roads = 0;
      } else {
        target.flags &= uint16_t(~kAutoRoadMark);
        target.roads = roads;
      }
      return true;
    default: return false;
  }
}

std::ostream& operator<<(std::ostream& out, const HexCell& cell) {
  return out << "{terrain " << cell.terrain << ", roads 0x" << std::hex << cell.roads
             << ", extra 0x" << int(cell.extra) << ", flags 0x" << cell.flags << std::dec << "}";
}

}  // namespace maptesk
