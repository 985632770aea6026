#include "core/view/hex_grid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "core/map/hex_cell.h"

namespace maptesk {
namespace {

// A grid over a large picture at the origin, at one of the three scales.
HexGrid GridAt(const HexMetrics& metrics, bool zoomed) {
  HexGrid g;
  g.setMapSize(1920, 1920);
  g.metrics = metrics;
  g.fitToView = zoomed ? 1 : 0;
  g.maxScrollX = g.maxScrollY = 1920;
  return g;
}

struct PickRow {
  const char* what;
  HexMetrics metrics;
  bool zoomed;
  int x, y;
  int row, column;
};

void PrintTo(const PickRow& r, std::ostream* out) { *out << r.what; }

class HexPick : public ::testing::TestWithParam<PickRow> {};

TEST_P(HexPick, PicksTheHexUnderThePoint) {
  const PickRow& p = GetParam();
  HexGrid g = GridAt(p.metrics, p.zoomed);
  HexPos got = g.pixelToHex(p.x, p.y);
  EXPECT_EQ(got.row, p.row);
  EXPECT_EQ(got.column, p.column);
  EXPECT_EQ(got, g.hexToPixel(p.row, p.column)) << "position fields come from the picked hex";
}

// Points are map pixels: the box of column c starts at x = (c - 1) * column
// step, even columns half a row step higher.
INSTANTIATE_TEST_SUITE_P(
    ThreeScales, HexPick,
    ::testing::Values(
        PickRow{"normal centre of (5,5)", kNormalMetrics, false, 210, 275, 5, 5},
        PickRow{"normal centre of even (5,4)", kNormalMetrics, false, 165, 250, 5, 4},
        PickRow{"normal upper-left corner, even column 4", kNormalMetrics, false, 137, 228, 4, 3},
        PickRow{"normal upper-left corner, odd column 5", kNormalMetrics, false, 182, 253, 5, 4},
        PickRow{"normal lower-left corner, odd column 5", kNormalMetrics, false, 182, 295, 6, 4},
        PickRow{"normal lower-left corner, even column 4", kNormalMetrics, false, 137, 270, 5, 3},
        PickRow{"normal left strip outside both corners", kNormalMetrics, false, 182, 275, 5, 5},
        PickRow{"column 0 through the upper corner of column 1", kNormalMetrics, false, 2, 100, 2,
                0},
        PickRow{"column 0 through the lower corner of column 1", kNormalMetrics, false, 2, 140, 3,
                0},
        PickRow{"column 0 at the top clamps the row to 0", kNormalMetrics, false, 2, 2, 0, 0},
        PickRow{"above the top row of an even column clamps to row 0", kNormalMetrics, false, 47,
                -20, 0, 1},
        PickRow{"large zoom centre of (5,5)", kZoomedLargeMetrics, true, 80, 88, 5, 5},
        PickRow{"large zoom lower-left strip below half height", kZoomedLargeMetrics, true, 70, 92,
                6, 4},
        PickRow{"large zoom upper-left fires at the very corner", kZoomedLargeMetrics, true, 68, 81,
                5, 4},
        PickRow{"large zoom upper-left misses one pixel in", kZoomedLargeMetrics, true, 69, 81, 5,
                5},
        PickRow{"small zoom centre of (5,5)", kZoomedSmallMetrics, true, 61, 66, 5, 5},
        PickRow{"small zoom lower-left, even column 4", kZoomedSmallMetrics, true, 40, 64, 5, 3}));

TEST(HexPick, FollowsOriginAndScrollInTheNormalViewOnly) {
  HexGrid g = GridAt(kNormalMetrics, false);
  g.originX = 10;
  g.originY = 30;
  g.scrollX = 100;
  g.scrollY = 50;
  // Map pixel (210, 275) is the centre of (5,5).
  EXPECT_EQ(g.pixelToHex(210 + 10 - 100, 275 + 30 - 50).column, 5);
  EXPECT_EQ(g.pixelToHex(210 + 10 - 100, 275 + 30 - 50).row, 5);
  HexPos p = g.hexToPixel(5, 5);
  EXPECT_EQ(p.screenX, 180 + 10 - 100);
  EXPECT_EQ(p.screenY, 250 + 30 - 50);
  g.fitToView = 1;
  EXPECT_EQ(g.hexToPixel(5, 5).screenX, 180 + 10);
}

// At the normal scale the corner lines are the true slanted edges, so every
// point well inside a hexagon picks that hexagon.
TEST(HexPick, NormalScaleMatchesTheHexagonShapes) {
  HexGrid g = GridAt(kNormalMetrics, false);
  auto inside = [&](int row, int column, int px, int py) {
    HexPos h = g.hexToPixel(row, column);
    const double lx = px - h.x, ly = py - h.y;
    const double slant = 15.0 * std::abs(ly - 25.0) / 25.0;
    return ly > 1 && ly < 49 && lx > slant + 1 && lx < 60 - slant - 1;
  };
  int checked = 0;
  for (int py = 0; py < 400; ++py) {
    for (int px = 0; px < 450; ++px) {
      HexPos got = g.pixelToHex(px, py);
      for (int r = 0; r <= 9; ++r) {
        for (int c = 0; c <= 11; ++c) {
          if (!inside(r, c, px, py)) continue;
          ASSERT_EQ(got.row, r) << "point " << px << "," << py;
          ASSERT_EQ(got.column, c) << "point " << px << "," << py;
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 140000);
}

TEST(HexPick, EveryHexCentreRoundTripsAtEachScale) {
  for (const HexMetrics& m : {kNormalMetrics, kZoomedLargeMetrics, kZoomedSmallMetrics}) {
    HexGrid g = GridAt(m, m != kNormalMetrics);
    for (int r = 0; r < 40; ++r) {
      for (int c = 1; c < 45; ++c) {  // column 0's centre lies left of the picture
        HexPos h = g.hexToPixel(r, c);
        HexPos got = g.pixelToHex(h.screenX + m.hexWidth / 2, h.screenY + m.hexHeight / 2);
        ASSERT_EQ(got.row, r) << "column " << c << " step " << m.columnStep;
        ASSERT_EQ(got.column, c) << "row " << r << " step " << m.columnStep;
      }
    }
  }
}

struct SizeRow {
  int width, height, maxRow, maxColumn;
};

TEST(HexGridSize, LimitsFollowThePictureAndStopAtTheStorage) {
  const SizeRow rows[] = {
      {1000, 800, 16, 23},  {990, 800, 16, 23},   {1035, 800, 16, 23},  {1080, 800, 16, 25},
      {1920, 1920, 38, 43}, {1979, 1999, 39, 43}, {1980, 2000, 39, 44}, {5000, 9000, 39, 44},
      {0, 0, 0, 1},         {-5, -5, 0, 1},
  };
  for (const SizeRow& s : rows) {
    HexGrid g;
    g.setMapSize(s.width, s.height);
    EXPECT_EQ(g.maxRow, s.maxRow) << s.width << "x" << s.height;
    EXPECT_EQ(g.maxColumn, s.maxColumn) << s.width << "x" << s.height;
    EXPECT_TRUE(g.mapLoaded);
    EXPECT_EQ(g.fitToView, 1);
    EXPECT_EQ(g.viewRect, (ScreenRect{0, 0, std::max(s.width, 0), std::max(s.height, 0)}));
  }
}

TEST(HexGridVisible, WidensTheViewByAHexAndColumnZeroByHalfMore) {
  HexGrid g;
  g.setMapSize(1000, 800);
  g.fitToView = 0;
  g.viewRect = {100, 100, 500, 400};
  auto at = [&](int row, int column, int sx, int sy) {
    HexPos p;
    p.row = row;
    p.column = column;
    p.screenX = sx;
    p.screenY = sy;
    return g.isVisible(p);
  };
  EXPECT_TRUE(at(3, 3, 100 - 59, 100 - 49));
  EXPECT_FALSE(at(3, 3, 100 - 60, 200));
  EXPECT_TRUE(at(3, 0, 100 - 89, 200));
  EXPECT_FALSE(at(3, 0, 100 - 90, 200));
  EXPECT_TRUE(at(3, 3, 500 + 58, 400 + 48));
  EXPECT_FALSE(at(3, 3, 500 + 59, 200));  // right edge exclusive
  EXPECT_FALSE(at(3, 3, 200, 400 + 49));  // bottom edge exclusive
  EXPECT_FALSE(at(17, 3, 200, 200));      // beyond maxRow 16
  EXPECT_FALSE(at(3, 24, 200, 200));      // beyond maxColumn 23
  g.fitToView = 1;
  EXPECT_TRUE(at(3, 3, -5000, -5000));
  g.mapLoaded = false;
  EXPECT_FALSE(at(3, 3, 200, 200));
}

// Compass sign of each road bit: (dx, dy) with y growing downwards.
struct Compass {
  uint16_t bit;
  int dx, dy;
};
constexpr Compass kCompass[8] = {{kRoadN, 0, -1}, {kRoadNE, 1, -1}, {kRoadE, 1, 0},
                                 {kRoadSE, 1, 1}, {kRoadS, 0, 1},   {kRoadSW, -1, 1},
                                 {kRoadW, -1, 0}, {kRoadNW, -1, -1}};

int CompassIndex(uint16_t bit) {
  for (int i = 0; i < 8; ++i) {
    if (kCompass[i].bit == bit) return i;
  }
  return -1;
}

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(HexNeighbours, RoadBitsPointWhereTheNeighboursLie) {
  HexGrid g = GridAt(kNormalMetrics, false);
  std::set<uint16_t> bits;
  for (int column : {4, 5}) {
    const HexPos from = g.hexToPixel(10, column);
    for (int d = 0; d < kDirections; ++d) {
      HexOffset step = NeighbourOffset(d, column);
      const HexPos to = g.hexToPixel(10 + step.row, column + step.column);
      const int dx = to.x - from.x, dy = to.y - from.y;
      // Neighbours touch: a column step sideways and half a row, or a row up or down.
      EXPECT_TRUE((std::abs(dx) == 45 && std::abs(dy) == 25) || (dx == 0 && std::abs(dy) == 50))
          << "direction " << d << " column " << column;
      const uint16_t bit = RoadBitOfDirection(d);
      const int k = CompassIndex(bit);
      ASSERT_GE(k, 0);
      EXPECT_EQ(Sign(dx), kCompass[k].dx) << "direction " << d << " column " << column;
      EXPECT_EQ(Sign(dy), kCompass[k].dy) << "direction " << d << " column " << column;
      // The way back is the opposite compass point.
      EXPECT_EQ(CompassIndex(RoadBitOfDirection(OppositeDirection(d))), (k + 4) % 8);
      HexOffset back = NeighbourOffset(OppositeDirection(d), column + step.column);
      EXPECT_EQ(step.row + back.row, 0);
      EXPECT_EQ(step.column + back.column, 0);
      bits.insert(bit);
    }
  }
  EXPECT_EQ(bits.size(), 6u);
  EXPECT_EQ(bits.count(kRoadE) + bits.count(kRoadW), 0u);
  // Directions out of range count as the nearest end.
  EXPECT_EQ(OppositeDirection(-1), 2);
  EXPECT_EQ(OppositeDirection(6), 3);
}

TEST(HexNeighbours, VisitsOnlyHexesInTheGridInDirectionOrder) {
  HexGrid g;
  g.setMapSize(1000, 800);  // rows 0..16, columns 0..23
  auto visit = [&](int row, int column) {
    g.setCurrent(row, column);
    std::vector<std::vector<int>> seen;
    g.forEachNeighbour([&](int d, int r, int c, const HexPos& from) {
      EXPECT_EQ(from, g.current);
      seen.push_back({d, r, c});
    });
    return seen;
  };
  EXPECT_EQ(visit(0, 0), (std::vector<std::vector<int>>{{2, 0, 1}, {3, 1, 0}}));
  EXPECT_EQ(visit(16, 23), (std::vector<std::vector<int>>{{0, 15, 23}, {5, 16, 22}}));
  EXPECT_EQ(visit(5, 4).size(), 6u);
}

struct MoveRow {
  char digit;
  int row, column, toRow, toColumn;
};

TEST(HexGridMove, KeypadDigitsStepWithinTheGrid) {
  const MoveRow rows[] = {
      {'5', 5, 5, 5, 5},   {'x', 5, 5, 5, 5}, {'4', 5, 0, 5, 0},   {'6', 5, 23, 5, 23},
      {'1', 5, 5, 6, 4},   {'1', 5, 4, 5, 3}, {'3', 5, 5, 6, 6},   {'3', 5, 4, 5, 5},
      {'7', 5, 4, 4, 3},   {'7', 5, 5, 5, 4}, {'9', 0, 4, 0, 5},   {'9', 5, 4, 4, 5},
      {'2', 16, 5, 16, 5}, {'8', 0, 5, 0, 5}, {'1', 16, 5, 16, 4}, {'7', 0, 0, 0, 0},
      {'8', 3, 3, 2, 3},   {'2', 3, 3, 4, 3},
  };
  for (const MoveRow& m : rows) {
    HexGrid g;
    g.setMapSize(1000, 800);
    g.setCurrent(m.row, m.column);
    g.moveCurrent(m.digit);
    EXPECT_EQ(g.current.row, m.toRow) << m.digit << " from " << m.row << "," << m.column;
    EXPECT_EQ(g.current.column, m.toColumn) << m.digit << " from " << m.row << "," << m.column;
  }
}

TEST(HexGridScroll, KeepsTheCurrentHexInViewAndClamps) {
  HexGrid g;
  g.setMapSize(1800, 1500);
  g.fitToView = 0;
  g.viewWidth = 800;
  g.viewHeight = 600;
  g.maxScrollX = 1000;
  g.maxScrollY = 900;
  g.setCurrent(20, 30);  // even column: map pixel (1305, 975)
  g.moveCurrent('6');    // odd column 31: (1350, 1000), centre (1380, 1025)
  EXPECT_EQ(g.scrollX, 1380 - 800 + 60 + 10);
  EXPECT_EQ(g.scrollY, 1025 - 600 + 50 + 20);
  EXPECT_EQ(g.current.screenX, g.current.x - g.scrollX) << "the screen position follows";
  g.scrollTo(-50, 5000);
  EXPECT_EQ(g.scrollX, 0);
  EXPECT_EQ(g.scrollY, 900);
  g.centreOnCurrent();
  EXPECT_EQ(g.scrollX, 1000) << "1350 - 400 + 60, clamped";
  EXPECT_EQ(g.scrollY, 1000 - 300 + 50);
  g.centreOn(100, 100);
  EXPECT_EQ(g.scrollX, 0);
  EXPECT_EQ(g.scrollY, 0);
  g.edgeScroll(1, 300, 1023, 767);
  EXPECT_EQ(g.scrollX, 0);
  g.edgeScroll(1022, 766, 1023, 767);
  EXPECT_EQ(g.scrollX, 5);
  EXPECT_EQ(g.scrollY, 5);
  g.edgeScroll(500, 1, 1023, 767);
  EXPECT_EQ(g.scrollX, 5);
  EXPECT_EQ(g.scrollY, 0);
}

}  // namespace
}  // namespace maptesk
