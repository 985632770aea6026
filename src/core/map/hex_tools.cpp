#include "core/map/hex_tools.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "core/map/map_file.h"

namespace maptesk {

namespace {

// Cube coordinates of a hex, in which distances and straight lines are
// plain arithmetic. The columns are offset, the even ones half a row higher.
struct Cube {
  int x;
  int y;
  int z;
};

Cube ToCube(HexOffset h) {
  const int x = h.column;
  const int z = h.row - (h.column - (h.column & 1)) / 2;
  return {x, -x - z, z};
}

HexOffset ToOffset(Cube c) { return {c.z + (c.x - (c.x & 1)) / 2, c.x}; }

Cube Round(double x, double y, double z) {
  int rx = int(std::lround(x));
  int ry = int(std::lround(y));
  int rz = int(std::lround(z));
  const double dx = std::abs(rx - x);
  const double dy = std::abs(ry - y);
  const double dz = std::abs(rz - z);
  if (dx > dy && dx > dz) {
    rx = -ry - rz;
  } else if (dy > dz) {
    ry = -rx - rz;
  } else {
    rz = -rx - ry;
  }
  return {rx, ry, rz};
}

bool InStorage(HexLimits limits) {
  return limits.lastRow >= 0 && limits.lastRow < kMapRows && limits.lastColumn >= 0 &&
         limits.lastColumn < kMapColumns;
}

}  // namespace

std::vector<HexOffset> FillRegion(const MapRecord& map, int row, int column, HexLimits limits) {
  std::vector<HexOffset> region;
  if (!InStorage(limits) || !limits.Contains(row, column)) return region;
  const uint16_t terrain = map.cells[size_t(row)][size_t(column)].terrain;
  std::array<std::array<bool, kMapColumns>, kMapRows> seen{};
  seen[size_t(row)][size_t(column)] = true;
  region.push_back({row, column});
  // Breadth first over the six neighbours: a hex joined to the region only
  // across a column's half-row offset is reached like any other.
  for (size_t next = 0; next < region.size(); ++next) {
    const HexOffset h = region[next];
    ForEachNeighbour(h.row, h.column, limits.lastRow, limits.lastColumn, [&](int, int r, int c) {
      if (seen[size_t(r)][size_t(c)]) return;
      seen[size_t(r)][size_t(c)] = true;
      if (map.cells[size_t(r)][size_t(c)].terrain == terrain) region.push_back({r, c});
    });
  }
  return region;
}

std::vector<HexOffset> BrushHexes(int row, int column, int radius, HexLimits limits) {
  std::vector<HexOffset> hexes;
  if (!InStorage(limits) || !limits.Contains(row, column)) return hexes;
  std::array<std::array<bool, kMapColumns>, kMapRows> seen{};
  seen[size_t(row)][size_t(column)] = true;
  hexes.push_back({row, column});
  size_t ringStart = 0;
  for (int step = 0; step < radius; ++step) {
    const size_t ringEnd = hexes.size();
    for (size_t i = ringStart; i < ringEnd; ++i) {
      const HexOffset h = hexes[i];
      ForEachNeighbour(h.row, h.column, limits.lastRow, limits.lastColumn, [&](int, int r, int c) {
        if (seen[size_t(r)][size_t(c)]) return;
        seen[size_t(r)][size_t(c)] = true;
        hexes.push_back({r, c});
      });
    }
    ringStart = ringEnd;
  }
  return hexes;
}

int HexDistance(HexOffset from, HexOffset to) {
  const Cube a = ToCube(from);
  const Cube b = ToCube(to);
  return (std::abs(a.x - b.x) + std::abs(a.y - b.y) + std::abs(a.z - b.z)) / 2;
}

std::vector<HexOffset> HexLine(HexOffset from, HexOffset to) {
  const int steps = HexDistance(from, to);
  const Cube a = ToCube(from);
  const Cube b = ToCube(to);
  std::vector<HexOffset> line;
  line.reserve(size_t(steps) + 1);
  for (int i = 0; i <= steps; ++i) {
    const double t = steps == 0 ? 0.0 : double(i) / steps;
    // A line through two hexes' corners is equally near both: the nudge
    // sends it to the same side every time.
    line.push_back(ToOffset(Round(a.x + (b.x - a.x) * t + 1e-6, a.y + (b.y - a.y) * t + 2e-6,
                                  a.z + (b.z - a.z) * t - 3e-6)));
  }
  return line;
}

int DirectionTo(HexOffset from, HexOffset to) {
  for (int d = 0; d < kDirections; ++d) {
    const HexOffset step = NeighbourOffset(d, from.column);
    if (from.row + step.row == to.row && from.column + step.column == to.column) return d;
  }
  return -1;
}

}  // namespace maptesk
