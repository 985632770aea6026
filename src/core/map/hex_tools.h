// The hex tools' rules on the map's own topology: the region a fill reaches,
// the hexes a brush covers, the straight hex line a road follows. Each works
// within rows 0..lastRow and columns 0..lastColumn (the hexes the picture
// covers), so no tool reaches a hex the designer cannot see.
#pragma once

#include <vector>

#include "core/map/hex_topology.h"

namespace maptesk {

struct MapRecord;

/// The limits a tool works within: the last row and column it may touch.
struct HexLimits {
  int lastRow = 0;
  int lastColumn = 0;
  bool Contains(int row, int column) const {
    return row >= 0 && row <= lastRow && column >= 0 && column <= lastColumn;
  }
};

/// Every hex connected to (row, column) through neighbours of its terrain,
/// the start first, then in the order they are reached. Empty when the
/// start lies outside the limits.
std::vector<HexOffset> FillRegion(const MapRecord& map, int row, int column, HexLimits limits);

/// The hexes within `radius` steps of (row, column), the centre first: 1,
/// 7 or 19 of them for radius 0, 1 or 2 away from the edges.
std::vector<HexOffset> BrushHexes(int row, int column, int radius, HexLimits limits);

/// The number of steps between two hexes.
int HexDistance(HexOffset from, HexOffset to);

/// The hexes of the straight hex line from `from` to `to`, both included,
/// each a neighbour of the one before. Ties between two hexes equally near
/// the line are always broken the same way.
std::vector<HexOffset> HexLine(HexOffset from, HexOffset to);

/// The direction (0..5) from a hex to its neighbour `to`, or -1 when `to`
/// is not a neighbour.
int DirectionTo(HexOffset from, HexOffset to);

}  // namespace maptesk
