#include "core/map/hex_topology.h"

#include "core/map/hex_cell.h"

namespace maptesk {

namespace {

constexpr HexOffset kEvenColumnOffsets[kDirections] = {{-1, 0}, {-1, 1}, {0, 1},
                                                       {1, 0},  {0, -1}, {-1, -1}};
constexpr HexOffset kOddColumnOffsets[kDirections] = {{-1, 0}, {0, 1},  {1, 1},
                                                      {1, 0},  {1, -1}, {0, -1}};
constexpr uint16_t kDirectionRoadBits[kDirections] = {kRoadN, kRoadNE, kRoadSE,
                                                      kRoadS, kRoadSW, kRoadNW};

int ClampDirection(int direction) { return direction < 0 ? 5 : (direction > 5 ? 0 : direction); }

}  // namespace

HexOffset NeighbourOffset(int direction, int column) {
  const int d = ClampDirection(direction);
  return column % 2 == 0 ? kEvenColumnOffsets[d] : kOddColumnOffsets[d];
}

int OppositeDirection(int direction) { return (ClampDirection(direction) + 3) % 6; }

uint16_t RoadBitOfDirection(int direction) { return kDirectionRoadBits[ClampDirection(direction)]; }

}  // namespace maptesk
