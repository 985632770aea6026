#include "core/view/auto_roads.h"

#include "core/map/hex_map.h"
#include "core/view/hex_grid.h"

namespace maptesk {

namespace {
constexpr uint16_t kCity = 1;
constexpr uint16_t kPort = 12;
}  // namespace

int AutoRoads::generate(bool keep, bool linkOption) {
  const HexPos saved = grid_.current;
  int marked = 0;
  for (int r = 0; r <= grid_.lastRow(); ++r) {
    for (int c = 0; c <= grid_.lastColumn(); ++c) {
      if (!map_.cell(r, c).autoRoadMark()) continue;
      ++marked;
      grid_.setCurrent(r, c);
      grid_.forEachNeighbour([&](int d, int32_t nr, int32_t nc, const HexPos& from) {
        link(from.row, from.column, d, nr, nc, linkOption);
      });
    }
  }
  if (!keep) clearMarks();
  grid_.current = saved;
  return marked;
}

void AutoRoads::link(int row, int column, int direction, int neighbourRow, int neighbourColumn,
                     bool linkOption) {
  if (!HexMap::InGrid(neighbourRow, neighbourColumn)) return;
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
  for (int r = 0; r <= grid_.lastRow(); ++r) {
    for (int c = 0; c <= grid_.lastColumn(); ++c) {
      HexCell& cell = map_.cell(r, c);
      if (cell.roads > 0) {
        cell.flags |= kAutoRoadMark;
        ++marked;
      } else {
        cell.flags &= uint16_t(~kAutoRoadMark);
      }
    }
  }
  return marked;
}

int AutoRoads::clearMarks() {
  int cleared = 0;
  for (int r = 0; r <= grid_.lastRow(); ++r) {
    for (int c = 0; c <= grid_.lastColumn(); ++c) {
      HexCell& cell = map_.cell(r, c);
      if (cell.autoRoadMark()) ++cleared;
      cell.flags &= uint16_t(~kAutoRoadMark);
    }
  }
  return cleared;
}

}  // namespace maptesk
