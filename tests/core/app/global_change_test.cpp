#include "core/app/global_change.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/map/edit_steps.h"
#include "core/map/map_file.h"
#include "support/scripted_prompts.h"

namespace maptesk {
namespace {

using testing::ScriptedPrompts;

class GlobalChangeTest : public ::testing::Test {
 protected:
  GlobalChangeTest() : map(std::make_unique<MapRecord>()) {
    map->columns = 10;
    map->rows = 10;
    // Rivers with river sides, roads and an extra byte; one beyond the
    // stated size of the map; a value outside the table.
    map->cells[0][0] = {10, 0x11, 7, 0x0205};
    map->cells[3][4] = {10, 0, 0, 0x0003};
    map->cells[39][44] = {10, 0x80, 1, 0x0800};
    map->cells[1][1] = {20, 0, 0, 0};
    map->cells[2][2] = {9, 0, 0, 0};
  }
  std::unique_ptr<MapRecord> map;
  ScriptedPrompts prompts;
  GlobalChange change;
};

TEST_F(GlobalChangeTest, ChangesOnlyTheTerrainOfEveryMatchingHex) {
  change.fromType = 10;
  change.toType = 0;
  EXPECT_EQ(change.MakeChanges(*map, prompts, EditSteps::None()), 3);
  EXPECT_TRUE(change.changed);
  EXPECT_EQ(map->cells[0][0], (HexCell{0, 0x11, 7, 0x0205}));
  EXPECT_EQ(map->cells[3][4], (HexCell{0, 0, 0, 0x0003}));
  EXPECT_EQ(map->cells[39][44], (HexCell{0, 0x80, 1, 0x0800}));
  EXPECT_EQ(map->cells[1][1].terrain, 20);
  EXPECT_EQ(map->cells[2][2].terrain, 9);
  EXPECT_EQ(prompts.Texts("note"),
            std::vector<std::string>{"Done !\n3 Terrain types changed\nfrom: River\nto Clear"});
}

TEST_F(GlobalChangeTest, RepeatReportsZeroAndKeepsChanged) {
  change.fromType = 8;
  change.toType = 16;
  EXPECT_EQ(change.MakeChanges(*map, prompts, EditSteps::None()), 0);
  EXPECT_FALSE(change.changed);
  map->cells[5][5].terrain = 8;
  EXPECT_EQ(change.MakeChanges(*map, prompts, EditSteps::None()), 1);
  EXPECT_EQ(change.MakeChanges(*map, prompts, EditSteps::None()), 0);
  EXPECT_TRUE(change.changed);
  EXPECT_EQ(prompts.Texts("note"),
            (std::vector<std::string>{"Done !\n0 Terrain types changed\nfrom: Swamp\nto Rough",
                                      "Done !\n1 Terrain types changed\nfrom: Swamp\nto Rough",
                                      "Done !\n0 Terrain types changed\nfrom: Swamp\nto Rough"}));
}

TEST_F(GlobalChangeTest, IncompleteSameOrUnlistedChoiceDoesNothingSilently) {
  prompts.allowMessages = false;
  const auto before = map->cells;
  for (auto [from, to] : {std::pair{-1, 0}, {10, -1}, {10, 10}, {20, 0}, {0, 20}, {-1, -1}}) {
    change.fromType = from;
    change.toType = to;
    EXPECT_EQ(change.MakeChanges(*map, prompts, EditSteps::None()), -1) << from << " -> " << to;
  }
  EXPECT_EQ(map->cells, before);
  EXPECT_FALSE(change.changed);
  EXPECT_TRUE(prompts.messages().empty());
}

}  // namespace
}  // namespace maptesk
