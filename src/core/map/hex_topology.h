// Which hexes neighbour which. Columns are offset: even columns sit half a
// row higher than odd ones, so the row step to a sideways neighbour depends on
// the column's parity. The road bits of HexCell follow the same directions.
#pragma once

#include <cstdint>

namespace maptesk {

/// Neighbour directions: 0 N, 1 NE, 2 SE, 3 S, 4 SW, 5 NW.
inline constexpr int kDirections = 6;

struct HexOffset {
  int row;
  int column;
};

/// The (row, column) step to the neighbour in `direction` (0..5) of a hex in `column`.
HexOffset NeighbourOffset(int direction, int column);
/// The direction back: (d + 3) % 6, a negative d counting as 5 and one above 5 as 0.
int OppositeDirection(int direction);
/// The road bit of HexCell::roads that points to the neighbour in `direction` (0..5).
uint16_t RoadBitOfDirection(int direction);

/// The last row and column of the grid laid over a picture of that size at
/// the normal scale (hexes 45 pixels apart across, 50 down), never beyond
/// the map's 40 x 45 storage.
void GridLimitsForPicture(int32_t pixelWidth, int32_t pixelHeight, int32_t& lastRow,
                          int32_t& lastColumn);

/// Calls visit(direction, row, column) for each neighbour of (row, column)
/// that lies within rows 0..lastRow and columns 0..lastColumn, N first, clockwise.
template <typename Visit>
void ForEachNeighbour(int row, int column, int lastRow, int lastColumn, Visit&& visit) {
  for (int d = 0; d < kDirections; ++d) {
    const HexOffset step = NeighbourOffset(d, column);
    const int r = row + step.row;
    const int c = column + step.column;
    if (r >= 0 && r <= lastRow && c >= 0 && c <= lastColumn) visit(d, r, c);
  }
}

}  // namespace maptesk
