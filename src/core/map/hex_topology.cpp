#include "core/map/hex_topology.h"

#include <algorithm>

#include "core/map/hex_cell.h"
#include "core/map/map_file.h"

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

void GridLimitsForPicture(int32_t pixelWidth, int32_t pixelHeight, int32_t& lastRow,
                          int32_t& lastColumn) {
  lastRow = std::max(pixelHeight, 0) / 50;
  lastColumn = std::max(pixelWidth, 0) / 45;
  // The grid always ends on an odd column.
  if (lastColumn % 2 == 0) lastColumn += 1;
  // A larger picture shows its extra hexes without grid: the map holds no more.
  lastRow = std::min(lastRow, kMapRows - 1);
  lastColumn = std::min(lastColumn, kMapColumns - 1);
}

}  // namespace maptesk
