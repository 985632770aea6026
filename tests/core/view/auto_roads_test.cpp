#include "core/view/auto_roads.h"

#include <gtest/gtest.h>

#include "core/map/hex_map.h"
#include "core/settings/tool_settings.h"
#include "core/view/hex_grid.h"
#include "support/scripted_prompts.h"

namespace maptesk {
namespace {

class AutoRoadsTest : public ::testing::Test {
 protected:
  AutoRoadsTest() : map(settings, prompts) {
    grid.setMapSize(1000, 800);  // rows 0..16, columns 0..23
    grid.setCurrent(7, 9);
  }
  void Mark(int row, int column) { map.cell(row, column).flags |= kAutoRoadMark; }
  int Generate(bool keep, bool link) {
    return AutoRoads(map, grid.lastRow(), grid.lastColumn()).generate(keep, link);
  }

  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map;
  HexGrid grid;
};

TEST_F(AutoRoadsTest, AdjacentMarksInAColumnJoinAndLoseTheirMarks) {
  Mark(3, 6);
  Mark(4, 6);
  map.cell(3, 6).roads = kRoadNE | kRoadSW;  // stale neighbour bits are recomputed
  const HexPos before = grid.current;
  EXPECT_EQ(Generate(false, false), 2);
  EXPECT_EQ(map.cell(3, 6).roads, kRoadS);
  EXPECT_EQ(map.cell(4, 6).roads, kRoadN);
  EXPECT_FALSE(map.cell(3, 6).autoRoadMark());
  EXPECT_FALSE(map.cell(4, 6).autoRoadMark());
  EXPECT_TRUE(map.modified);
  EXPECT_EQ(grid.current, before);
}

TEST_F(AutoRoadsTest, KeepLeavesTheMarks) {
  Mark(3, 6);
  Mark(4, 6);
  Generate(true, false);
  EXPECT_TRUE(map.cell(3, 6).autoRoadMark());
  EXPECT_TRUE(map.cell(4, 6).autoRoadMark());
}

TEST_F(AutoRoadsTest, LinkBringsTheNeighboursRoadBack) {
  Mark(5, 4);  // even column: the NE neighbour is row 4 of column 5
  map.cell(4, 5).roads = kRoadS;
  Generate(false, false);
  EXPECT_EQ(map.cell(5, 4).roads, kRoadNE);
  EXPECT_EQ(map.cell(4, 5).roads, kRoadS);

  map.cell(5, 4) = HexCell{};
  Mark(5, 4);
  Generate(false, true);
  EXPECT_EQ(map.cell(5, 4).roads, kRoadNE);
  EXPECT_EQ(map.cell(4, 5).roads, kRoadS | kRoadSW);
}

TEST_F(AutoRoadsTest, CitiesAndPortsAreRoadEndsOnlyWithLink) {
  Mark(6, 7);                   // odd column: S is (7,7), SE is (7,8)
  map.cell(7, 7).terrain = 1;   // City
  map.cell(7, 8).terrain = 12;  // Port
  map.cell(5, 7).terrain = 2;   // Airfield: no road end
  Generate(true, true);
  EXPECT_EQ(map.cell(6, 7).roads, kRoadS | kRoadSE);
  EXPECT_EQ(map.cell(7, 7).roads, 0) << "a city without roads gets none back";
  Generate(true, false);
  EXPECT_EQ(map.cell(6, 7).roads, 0);
}

TEST_F(AutoRoadsTest, EastAndWestBitsSurvive) {
  Mark(8, 8);
  map.cell(8, 8).roads = kRoadE | kRoadN;
  Generate(false, false);
  EXPECT_EQ(map.cell(8, 8).roads, kRoadE);
}

TEST_F(AutoRoadsTest, NoMarksChangeNothing) {
  map.cell(2, 2).roads = kRoadN;
  const CellGrid before = map.cells;
  EXPECT_EQ(Generate(false, true), 0);
  EXPECT_EQ(map.cells, before);
  EXPECT_FALSE(map.modified);
}

TEST_F(AutoRoadsTest, MarksOutsideThePicturesGridAreLeftAlone) {
  Mark(20, 5);   // below maxRow 16
  Mark(16, 23);  // the last hex of the grid, at its corner
  Generate(false, false);
  EXPECT_TRUE(map.cell(20, 5).autoRoadMark());
  EXPECT_FALSE(map.cell(16, 23).autoRoadMark());
  EXPECT_EQ(map.cell(16, 23).roads, 0);

  HexGrid whole;
  whole.useWholeGrid();
  Mark(39, 44);
  Mark(38, 44);  // even column 44: (38,44) lies above (39,44)
  AutoRoads(map, whole.lastRow(), whole.lastColumn()).generate(false, false);
  EXPECT_EQ(map.cell(39, 44).roads, kRoadN);
  EXPECT_EQ(map.cell(38, 44).roads, kRoadS);
  EXPECT_FALSE(map.cell(20, 5).autoRoadMark());
}

TEST_F(AutoRoadsTest, LoadAndClearMarksMarkTheMapModifiedOnlyWhenAHexChanged) {
  map.cell(3, 3).roads = kRoadW;
  map.cell(3, 4).flags = kAutoRoadMark | 0x0001;
  EXPECT_EQ(AutoRoads(map, grid.lastRow(), grid.lastColumn()).loadMarksFromRoads(), 1);
  EXPECT_TRUE(map.cell(3, 3).autoRoadMark());
  EXPECT_EQ(map.cell(3, 4).flags, 0x0001) << "a hex without roads loses its mark";
  EXPECT_EQ(AutoRoads(map, grid.lastRow(), grid.lastColumn()).clearMarks(), 1);
  EXPECT_FALSE(map.cell(3, 3).autoRoadMark());
  EXPECT_EQ(map.cell(3, 3).roads, kRoadW);
  EXPECT_TRUE(map.modified) << "the marks are saved unless Save clean is on";
  map.modified = false;
  EXPECT_EQ(AutoRoads(map, grid.lastRow(), grid.lastColumn()).clearMarks(), 0);
  EXPECT_FALSE(map.modified);
  map.cell(3, 3).flags = kAutoRoadMark;
  EXPECT_EQ(AutoRoads(map, grid.lastRow(), grid.lastColumn()).loadMarksFromRoads(), 1);
  EXPECT_FALSE(map.modified) << "the marks were already as the roads say";
}

}  // namespace
}  // namespace maptesk
