#include "core/view/auto_roads.h"

#include <algorithm>

#include "core/map/hex_map.h"
#include "core/map/hex_topology.h"

namespace maptesk {

AutoRoads::AutoRoads(HexMap& map, int lastRow, int lastColumn)
    : map_(map),
      lastRow_(std::min(lastRow, kMapRows - 1)),
      lastColumn_(std::min(lastColumn, kMapColumns - 1)) {}

int AutoRoads::generate(bool keep, bool linkOption) {
  int marked = 0;
  for (int r = 0; r <= lastRow_; ++r) {
    for (int c = 0; c <= lastColumn_; ++c) {
      if (!map_.cell(r, c).autoRoadMark()) continue;
      ++marked;
      ForEachNeighbour(r, c, lastRow_, lastColumn_,
                       [&](int d, int nr, int nc) { link(r, c, d, nr, nc, linkOption); });
    }
  }
  if (!keep) clearMarks();
  return marked;
}

void AutoRoads::link(int row, int column, int direction, int neighbourRow, int neighbourColumn,
                     bool linkOption) {
  HexCell& h = map_.cell(row, column);
  if (!h.autoRoadMark()) return;
  HexCell& n = map_.cell(neighbourRow, neighbourColumn);
  const uint16_t bit = RoadBitOfDirection(direction);
  const bool roadEnd = n.roads != 0 || n.autoRoadMark() ||
                       (linkOption && (n.terrain == kCity || n.terrain == kPort));
  // The six neighbour bits are recomputed from scratch; E and W stay.
  if (roadEnd) {
    h.roads |= bit;
  } else {
    h.roads &= uint16_t(~bit);
  }
  if (linkOption && n.roads != 0) n.roads |= RoadBitOfDirection(OppositeDirection(direction));
  map_.modified = true;
}

int AutoRoads::loadMarksFromRoads() {
  int marked = 0;
  bool changed = false;
  for (int r = 0; r <= lastRow_; ++r) {
    for (int c = 0; c <= lastColumn_; ++c) {
      HexCell& cell = map_.cell(r, c);
      const uint16_t before = cell.flags;
      if (cell.roads > 0) {
        cell.flags |= kAutoRoadMark;
        ++marked;
      } else {
        cell.flags &= uint16_t(~kAutoRoadMark);
      }
      changed = changed || cell.flags != before;
    }
  }
  // The marks are saved with the map unless "Save clean" is on.
  if (changed) map_.modified = true;
  return marked;
}

int AutoRoads::clearMarks() {
  int cleared = 0;
  for (int r = 0; r <= lastRow_; ++r) {
    for (int c = 0; c <= lastColumn_; ++c) {
      HexCell& cell = map_.cell(r, c);
      if (!cell.autoRoadMark()) continue;
      ++cleared;
      cell.flags &= uint16_t(~kAutoRoadMark);
    }
  }
  if (cleared > 0) map_.modified = true;
  return cleared;
}

}  // namespace maptesk
