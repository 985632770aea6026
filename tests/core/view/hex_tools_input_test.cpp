// The hex tools as the keys and the right button work them on the view:
// fill, brush sizes, roads along a path and selecting by terrain.
#include <gtest/gtest.h>

#include "core/map/hex_topology.h"
#include "core/map/terrain_table.h"
#include "core/view/edit_input.h"
#include "support/view_fixture.h"

namespace maptesk {
namespace {

using testing::ViewTest;

class HexToolsInputTest : public ViewTest {
 protected:
  int CountTerrain(uint16_t terrain) const {
    int n = 0;
    for (const auto& row : map.cells) {
      for (const HexCell& c : row) n += c.terrain == terrain;
    }
    return n;
  }
};

TEST_F(HexToolsInputTest, FillTakesTheRegionInOneStepAndAnIdleFillLeavesNone) {
  // A lake of three hexes joined across a column's half-row offset.
  for (auto [r, c] : {std::pair{3, 4}, {3, 5}, {4, 6}}) map.cell(r, c).terrain = kLake;
  view->dataToSet.terrain = kSwamp;
  Hover(3, 5);
  Type("F");
  EXPECT_EQ(CountTerrain(kSwamp), 3);
  EXPECT_EQ(CountTerrain(kLake), 0);
  EXPECT_TRUE(map.modified);
  ASSERT_TRUE(history.CanUndo());
  EXPECT_EQ(history.UndoName(), "Fill region");
  const size_t steps = history.StepCount();
  Type("f");  // the region is Swamp already
  EXPECT_EQ(history.StepCount(), steps) << "a fill that changes nothing leaves no step";
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(CountTerrain(kLake), 3);

  // The rest of the map is one Clear region, as far as the picture goes.
  view->dataToSet.terrain = kHill;
  Hover(1, 1);
  Type("F");
  EXPECT_EQ(CountTerrain(kHill), 17 * 24 - 3) << "rows 0..16, columns 0..23";
  EXPECT_EQ(map.cell(20, 30).terrain, 0) << "beyond the picture";

  // Name mode names the region; roads mode does nothing.
  const int slot = names.AddName("Deep Lake");
  view->setSetMode(kSetName);
  view->nameToSet = slot;
  Hover(3, 4);
  Type("F");
  EXPECT_EQ(names.nameIndex[4][6], slot);
  EXPECT_EQ(names.nameIndex[0][0], 0);
  view->setSetMode(kSetRoads);
  const size_t before = history.StepCount();
  Type("F");
  EXPECT_EQ(history.StepCount(), before);
}

TEST_F(HexToolsInputTest, TheBrushSetsItsHexesAsIfEachWereDoneAndTheSelectionStillWins) {
  EXPECT_EQ(view->brushRadius(), 0);
  Type("[");
  EXPECT_EQ(view->brushRadius(), 0) << "no smaller brush";
  Type("]]]");
  EXPECT_EQ(view->brushRadius(), 2) << "no larger brush";
  EXPECT_EQ(settings.brushRadius, 2) << "kept with the settings";
  Type("[");
  view->dataToSet.terrain = kForest;
  RightClick(6, 6);
  input->buttonUp(At(6, 6));
  EXPECT_EQ(CountTerrain(kForest), 7);
  for (int d = 0; d < kDirections; ++d) {
    const HexOffset step = NeighbourOffset(d, 6);
    EXPECT_EQ(map.cell(6 + step.row, 6 + step.column).terrain, kForest) << d;
  }
  EXPECT_EQ(history.StepCount(), 1u);

  // 'T' goes by the brush too, once the click's one-hex selection is gone.
  map.ClearSelection();
  view->dataToSet.terrain = kHill;
  Hover(1, 1);
  Type("T");
  EXPECT_EQ(CountTerrain(kHill), 7);

  // With a selection of several hexes, the keys work on the selection.
  Click(10, 10, true);
  Click(12, 12, true);
  view->dataToSet.terrain = kSand;
  Hover(10, 10);
  Type("T");
  EXPECT_EQ(CountTerrain(kSand), 2);
  EXPECT_EQ(map.cell(10, 11).terrain, 0) << "no brush around a selection";
}

TEST_F(HexToolsInputTest, RoadsAlongAPathLinkEachHexToTheNextBothWays) {
  Hover(2, 2);
  Type("P");
  ASSERT_TRUE(view->pathStart.has_value());
  Hover(2, 6);
  Type("P");
  EXPECT_FALSE(view->pathStart.has_value());
  int roadHexes = 0;
  for (const auto& row : map.cells) {
    for (const HexCell& c : row) roadHexes += c.roads != 0;
  }
  EXPECT_EQ(roadHexes, 5) << "a straight line of five hexes";
  EXPECT_NE(map.cell(2, 2).roads, 0);
  EXPECT_NE(map.cell(2, 6).roads, 0);
  // Every bit has its partner in the neighbour.
  for (int r = 0; r < 17; ++r) {
    for (int c = 0; c < 24; ++c) {
      for (int d = 0; d < kDirections; ++d) {
        if ((map.cell(r, c).roads & RoadBitOfDirection(d)) == 0) continue;
        const HexOffset step = NeighbourOffset(d, c);
        EXPECT_NE(map.cell(r + step.row, c + step.column).roads &
                      RoadBitOfDirection(OppositeDirection(d)),
                  0)
            << r << "," << c << " direction " << d;
      }
    }
  }
  EXPECT_EQ(history.UndoName(), "Road along a path");
  EXPECT_EQ(history.StepCount(), 1u);

  // Roads already there stay; Esc drops a path waiting for its end.
  map.cell(8, 8).roads = kRoadE;
  Hover(8, 8);
  Type("P");
  input->keyDown(ViewKey::kEscape);
  EXPECT_FALSE(view->pathStart.has_value());
  Hover(8, 9);
  Type("P");
  EXPECT_TRUE(view->pathStart.has_value()) << "a new first hex";
  Hover(8, 8);
  Type("P");
  EXPECT_EQ(map.cell(8, 8).roads & kRoadE, kRoadE);
  EXPECT_NE(map.cell(8, 8).roads & ~kRoadE, 0);
}

TEST_F(HexToolsInputTest, SelectByTerrainSelectsEveryHexOfItAndShiftAdds) {
  for (auto [r, c] : {std::pair{1, 1}, {5, 9}, {16, 23}}) map.cell(r, c).terrain = kCity;
  map.cell(20, 30).terrain = kCity;  // beyond the picture
  map.cell(7, 7).terrain = kPort;
  Hover(5, 9);
  Type("s");
  EXPECT_EQ(SelectedCount(), 3);
  EXPECT_TRUE(map.selectionActive);
  Hover(7, 7);
  Type("S");
  EXPECT_EQ(SelectedCount(), 4) << "Ports added to the Cities";
  Type("s");
  EXPECT_EQ(SelectedCount(), 1) << "a new selection";
  view->dataToSet.terrain = kAirfield;
  Type("T");
  EXPECT_EQ(map.cell(7, 7).terrain, kAirfield);
}

}  // namespace
}  // namespace maptesk
