#include "core/map/hex_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>

#include "core/map/map_file.h"
#include "core/map/terrain_table.h"

namespace maptesk {

bool operator==(HexOffset a, HexOffset b) { return a.row == b.row && a.column == b.column; }
bool operator<(HexOffset a, HexOffset b) {
  return a.row != b.row ? a.row < b.row : a.column < b.column;
}
void PrintTo(HexOffset h, std::ostream* out) {
  *out << "(row " << h.row << ", col " << h.column << ")";
}

namespace {

constexpr HexLimits kWholeGrid{kMapRows - 1, kMapColumns - 1};

std::vector<HexOffset> Sorted(std::vector<HexOffset> hexes) {
  std::sort(hexes.begin(), hexes.end());
  return hexes;
}

struct BrushRow {
  const char* what;
  HexOffset centre;
  int radius;
  HexLimits limits;
  size_t count;
  std::vector<HexOffset> ring;  // the hexes besides the centre, when listed
};

TEST(HexTools, BrushesCoverTheHexesWithinTheirRadiusOnEvenAndOddColumns) {
  const BrushRow rows[] = {
      {"one hex", {10, 10}, 0, kWholeGrid, 1, {}},
      {"seven on an even column",
       {10, 10},
       1,
       kWholeGrid,
       7,
       {{9, 9}, {9, 10}, {9, 11}, {10, 9}, {10, 11}, {11, 10}}},
      {"seven on an odd column",
       {5, 5},
       1,
       kWholeGrid,
       7,
       {{4, 5}, {5, 4}, {5, 6}, {6, 4}, {6, 5}, {6, 6}}},
      {"nineteen", {10, 10}, 2, kWholeGrid, 19, {}},
      {"nineteen on an odd column", {10, 11}, 2, kWholeGrid, 19, {}},
      {"the top left corner", {0, 0}, 1, kWholeGrid, 3, {{0, 1}, {1, 0}}},
      {"the bottom right corner, an even column",
       {39, 44},
       1,
       kWholeGrid,
       4,
       {{38, 43}, {38, 44}, {39, 43}}},
      {"clipped by the picture's last column", {10, 7}, 1, {39, 7}, 5, {}},
      {"a centre beyond the picture", {10, 9}, 1, {39, 7}, 0, {}},
  };
  for (const BrushRow& r : rows) {
    const std::vector<HexOffset> hexes =
        BrushHexes(r.centre.row, r.centre.column, r.radius, r.limits);
    EXPECT_EQ(hexes.size(), r.count) << r.what;
    if (hexes.empty()) continue;
    EXPECT_EQ(hexes.front(), r.centre) << r.what;
    for (HexOffset h : hexes) {
      EXPECT_TRUE(r.limits.Contains(h.row, h.column)) << r.what;
      EXPECT_LE(HexDistance(r.centre, h), r.radius) << r.what;
    }
    if (!r.ring.empty()) {
      std::vector<HexOffset> expected = r.ring;
      expected.push_back(r.centre);
      EXPECT_EQ(Sorted(hexes), Sorted(expected)) << r.what;
    }
  }
}

TEST(HexTools, AFillFollowsNeighboursAcrossTheOffsetRows) {
  auto map = std::make_unique<MapRecord>();
  // A chain that only hex neighbours join: each step goes to the next
  // column, one row down every other step, as the offsets have it. A fill
  // by rows and columns alone would stop at the first step down.
  const std::vector<HexOffset> chain = {{2, 2}, {2, 3}, {3, 4}, {3, 5}, {4, 6}, {4, 7}};
  for (HexOffset h : chain) map->cells[size_t(h.row)][size_t(h.column)].terrain = kSwamp;
  map->cells[3][3].terrain = kSwamp;  // S of (2,3): joined
  std::vector<HexOffset> expected = chain;
  expected.push_back({3, 3});
  EXPECT_EQ(Sorted(FillRegion(*map, 2, 2, kWholeGrid)), Sorted(expected));
  // Diagonal to (2,2) by rows and columns, but no hex neighbour of the chain.
  map->cells[3][1].terrain = kSwamp;
  EXPECT_EQ(FillRegion(*map, 2, 2, kWholeGrid).size(), expected.size());

  // The Clear land around it is one region, up to the picture's limits.
  const HexLimits picture{9, 9};
  const std::vector<HexOffset> land = FillRegion(*map, 0, 0, picture);
  EXPECT_EQ(land.size(), size_t(10 * 10 - 8)) << "every hex of 10 x 10 but the Swamps";
  for (HexOffset h : land) EXPECT_TRUE(picture.Contains(h.row, h.column));
  EXPECT_TRUE(FillRegion(*map, 20, 20, picture).empty()) << "beyond the picture";
}

TEST(HexTools, LinesAreStraightUnbrokenAndTheSameEveryTime) {
  struct Row {
    const char* what;
    HexOffset from, to;
    int distance;
  };
  const Row rows[] = {
      {"down one column", {1, 3}, {6, 3}, 5},
      {"along a row, even to even", {0, 0}, {0, 4}, 4},
      {"a long diagonal", {2, 1}, {30, 40}, 47},
      {"back up and left", {30, 40}, {2, 1}, 47},
      {"one hex", {7, 7}, {7, 7}, 0},
      {"neighbours", {7, 7}, {7, 8}, 1},
  };
  for (const Row& r : rows) {
    const std::vector<HexOffset> line = HexLine(r.from, r.to);
    EXPECT_EQ(HexDistance(r.from, r.to), r.distance) << r.what;
    ASSERT_EQ(line.size(), size_t(r.distance) + 1) << r.what;
    EXPECT_EQ(line.front(), r.from) << r.what;
    EXPECT_EQ(line.back(), r.to) << r.what;
    for (size_t i = 1; i < line.size(); ++i) {
      EXPECT_NE(DirectionTo(line[i - 1], line[i]), -1) << r.what << " step " << i;
    }
    EXPECT_EQ(HexLine(r.from, r.to), line) << r.what;
  }
  const std::vector<HexOffset> column = HexLine({1, 3}, {6, 3});
  for (HexOffset h : column) EXPECT_EQ(h.column, 3);
  EXPECT_EQ(DirectionTo({7, 7}, {7, 8}), 1) << "NE of an odd column is on its row";
  EXPECT_EQ(DirectionTo({7, 6}, {6, 7}), 1) << "NE of an even column is a row up";
  EXPECT_EQ(DirectionTo({7, 7}, {9, 7}), -1);
}

}  // namespace
}  // namespace maptesk
