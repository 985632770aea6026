#include "core/app/map_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/map/edit_steps.h"
#include "core/map/hex_map.h"
#include "core/map/map_file.h"
#include "core/map/map_names.h"
#include "core/map/terrain_table.h"
#include "core/settings/tool_settings.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

// A picture covering rows 0..lastRow and columns 0..lastColumn.
CheckContext Picture(int lastRow, int lastColumn, bool saveClean = true) {
  CheckContext context;
  context.picture = {lastRow, lastColumn};
  context.saveClean = saveClean;
  return context;
}

class MapCheckTest : public ::testing::Test {
 protected:
  MapCheckTest() : map(std::make_unique<MapRecord>()) {}
  HexCell& At(int row, int column) { return map->cells[size_t(row)][size_t(column)]; }
  // A road of two-sided links from a hex in a direction.
  void Link(int row, int column, int direction) {
    At(row, column).roads |= RoadBitOfDirection(direction);
    const HexOffset s = NeighbourOffset(direction, column);
    At(row + s.row, column + s.column).roads |= RoadBitOfDirection(OppositeDirection(direction));
  }
  std::vector<std::string> Texts(CheckKind kind, const CheckContext& context = {}) {
    std::vector<std::string> out;
    for (const Finding& f : CheckMap(*map, context)) {
      if (f.kind == kind)
        out.push_back(Format(f.row, f.column) + SeverityName(f.severity) + " " + f.text);
    }
    return out;
  }
  static std::string Format(int row, int column) {
    return "(" + std::to_string(column) + "," + std::to_string(row) + ") ";
  }
  std::unique_ptr<MapRecord> map;
};

TEST_F(MapCheckTest, OneSidedRoadsAreFoundOnEvenAndOddColumnsAndTwoSidedOnesAreNot) {
  struct Row {
    int row, column, direction;
    const char* expected;
  };
  const Row rows[] = {
      {5, 4, 1, "(4,5) warning one-sided road NE: (05,04) has no road back"},  // even: a row up
      {5, 5, 1, "(5,5) warning one-sided road NE: (06,05) has no road back"},  // odd: same row
      {5, 5, 2, "(5,5) warning one-sided road SE: (06,06) has no road back"},
      {8, 8, 4, "(8,8) warning one-sided road SW: (07,08) has no road back"},
  };
  for (const Row& r : rows) {
    map = std::make_unique<MapRecord>();
    At(r.row, r.column).roads = RoadBitOfDirection(r.direction);
    EXPECT_EQ(Texts(CheckKind::kOneSidedRoad), std::vector<std::string>{r.expected});
    map = std::make_unique<MapRecord>();
    Link(r.row, r.column, r.direction);
    EXPECT_TRUE(Texts(CheckKind::kOneSidedRoad).empty()) << r.expected;
  }
}

TEST_F(MapCheckTest, RoadsTowardsNoHexAndTheEastWestBitsAreSaid) {
  At(0, 3).roads = kRoadN;           // off the top
  At(7, 0).roads = kRoadNW;          // off the left, from an even column
  At(9, 3).roads = kRoadS | kRoadE;  // beyond a picture of 10 rows
  const CheckContext picture = Picture(9, 9);
  EXPECT_EQ(Texts(CheckKind::kRoadOffGrid, picture),
            (std::vector<std::string>{"(3,0) warning road N leads off the map",
                                      "(0,7) warning road NW leads off the map",
                                      "(3,9) warning road S leads beyond the picture"}));
  EXPECT_EQ(Texts(CheckKind::kRoadEastWest, picture),
            std::vector<std::string>{
                "(3,9) note road bit E names no neighbour (the editor never sets it)"});
}

TEST_F(MapCheckTest, UnknownTerrainsHiddenHexesAndMarksAreFoundAndFixed) {
  At(2, 2).terrain = 23;
  At(12, 12).terrain = kForest;  // beyond a 10 x 10 picture
  At(3, 3).flags = kAutoRoadMark;
  At(4, 4).roads = kRoadN;  // one-sided
  At(0, 1).roads = kRoadN;  // off the map
  CheckContext context = Picture(9, 9, false);
  EXPECT_EQ(Texts(CheckKind::kBadTerrain, context),
            std::vector<std::string>{"(2,2) error terrain 23 is not one of the game's 20"});
  EXPECT_EQ(Texts(CheckKind::kHiddenHex, context),
            std::vector<std::string>{
                "(12,12) warning hex beyond the picture holds data the game may show"});
  EXPECT_EQ(Texts(CheckKind::kAutoMarks, context),
            std::vector<std::string>{
                "(-1,-1) note 1 hexes keep an Auto R.M. mark, and \"Save clean\" is off"});
  EXPECT_TRUE(Texts(CheckKind::kAutoMarks, Picture(9, 9)).empty()) << "saving cleans them";

  const std::vector<Finding> findings = CheckMap(*map, context);
  EXPECT_EQ(FixFindings(*map, nullptr, findings, EditSteps::None()), 4);
  EXPECT_EQ(At(2, 2).terrain, 0);
  EXPECT_EQ(At(3, 4).roads, kRoadS) << "the road bit back, in the even column's N neighbour";
  EXPECT_EQ(At(0, 1).roads, 0);
  EXPECT_EQ(At(3, 3).flags, 0);
  for (const Finding& f : CheckMap(*map, context)) {
    EXPECT_FALSE(f.fixable) << f.text;
  }
}

TEST_F(MapCheckTest, RoadEndsAwayFromTownsAndPiecesThatReachNoTownAreNoted) {
  // A town with a road of two hexes north of it: one end in the open.
  At(10, 5).terrain = kCity;
  Link(10, 5, 0);
  Link(9, 5, 0);
  EXPECT_EQ(
      Texts(CheckKind::kRoadDeadEnd),
      std::vector<std::string>{"(5,8) note road ends in a hex that is no City, Port or edge"});
  // A piece of its own, between two hexes of open land, leads nowhere.
  Link(20, 20, 2);
  const std::vector<std::string> texts = Texts(CheckKind::kRoadDeadEnd);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts.back(), "(20,20) note a road of 2 hexes reaches no City or Port");
  // Roads that run to the picture's edge go on into the next map.
  map = std::make_unique<MapRecord>();
  At(5, 0).terrain = kPort;
  Link(5, 0, 2);
  Link(5, 1, 2);
  EXPECT_TRUE(Texts(CheckKind::kRoadDeadEnd, Picture(9, 2)).empty());
}

TEST_F(MapCheckTest, NamesBeyondTheListTooLongOrOfAnotherMapAreFound) {
  ToolSettings settings;
  testing::ScriptedPrompts prompts;
  HexMap hexMap(settings, prompts);
  MapNames names(hexMap, settings, prompts);
  names.nameIndex[1][1] = uint8_t(names.AddName("Oran"));
  names.nameIndex[2][2] = 5;    // no name 5
  names.nameIndex[30][30] = 1;  // beyond a 10 x 10 picture
  names.AddName(std::string(991, 'x'));
  CheckContext context = Picture(9, 9);
  context.names = &names;
  context.mapName = "ARDEN";
  context.namesFile = "/g/MAP/MAP005.TXT";
  context.namesText =
      "[MAP:  7] [MERROW              ]\r\n----\r\n(01,01) #Oran\r\n(50,03) #Far\r\n(x\r\n";
  map->MapNumber = 5;
  EXPECT_EQ(Texts(CheckKind::kNameBeyondList, context),
            std::vector<std::string>{"(2,2) error name 5 is beyond the 2 names of the list"});
  EXPECT_EQ(Texts(CheckKind::kHiddenHex, context),
            std::vector<std::string>{
                "(30,30) warning hex beyond the picture has a name the game may show"});
  EXPECT_EQ(Texts(CheckKind::kNameTooLong, context),
            std::vector<std::string>{
                "(-1,-1) warning name 2 has 991 characters: a names file line carries 990 back"});
  EXPECT_EQ(Texts(CheckKind::kNamesOfOtherMap, context),
            std::vector<std::string>{"(-1,-1) warning names file MAP005.TXT was written for map 7 "
                                     "(MERROW), not map 5 (ARDEN)"});
  EXPECT_EQ(Texts(CheckKind::kNamesLine, context),
            (std::vector<std::string>{
                "(-1,-1) warning names file MAP005.TXT names hex (50,3), outside the grid",
                "(-1,-1) note names file MAP005.TXT has a line the game cannot read: (x"}));
  context.namesText = "[MAP:  5] [arden               ]\r\n";
  EXPECT_TRUE(Texts(CheckKind::kNamesOfOtherMap, context).empty())
      << "the case of a name may differ";

  EXPECT_EQ(FixFindings(*map, &names, CheckMap(*map, context), EditSteps::None()), 1);
  EXPECT_EQ(names.nameIndex[2][2], 0);
  EXPECT_TRUE(names.namesModified);
}

TEST_F(MapCheckTest, APictureMissingOrTooSmallForTheGridIsSaid) {
  map->MapNumber = 12;
  map->columns = 45;
  map->rows = 40;
  CheckContext context = Picture(28, 42);  // 1920 x 1440
  context.pictureWidth = 1920;
  context.pictureHeight = 1440;
  EXPECT_EQ(Texts(CheckKind::kPictureTooSmall, context),
            std::vector<std::string>{"(-1,-1) warning the map's grid of 45 x 40 hexes needs a "
                                     "larger picture than 1920 x 1440"});
  map->rows = 29;
  map->columns = 43;
  EXPECT_TRUE(Texts(CheckKind::kPictureTooSmall, context).empty());
  context.hasS16Picture = false;
  EXPECT_EQ(
      Texts(CheckKind::kNoPicture, context),
      std::vector<std::string>{"(-1,-1) warning map 12 has no S16 picture in the MAP folder"});
}

TEST_F(MapCheckTest, AHoleInTheFirstRowOrColumnOfTilesIsSaid) {
  testing::TempDir dir;
  for (const char* name :
       {"MAP0500.s16", "MAP0501.s16", "MAP0520.s16", "MAP0502.s16", "MAP0503.s16"}) {
    testing::WriteText(dir / name, "tile");
  }
  CheckContext context;
  context.pictureFile = dir / "MAP0500.s16";
  EXPECT_EQ(Texts(CheckKind::kPictureHole, context),
            std::vector<std::string>{
                "(-1,-1) warning MAP05: tile MAP0510.s16 is missing; the picture ends before "
                "MAP0520.s16"});
  testing::WriteText(dir / "MAP0510.s16", "tile");
  EXPECT_TRUE(Texts(CheckKind::kPictureHole, context).empty());
  std::filesystem::remove(dir / "MAP0502.s16");
  EXPECT_EQ(Texts(CheckKind::kPictureHole, context),
            std::vector<std::string>{
                "(-1,-1) warning MAP05: tile MAP0502.s16 is missing; the picture ends before "
                "MAP0503.s16"});
}

TEST(MapCheckFolder, MapsSharingANumberOrANamesFileAreSaid) {
  const std::vector<FolderMap> maps = {{"A.MAP", 5},   {"B.MAP", 1234}, {"C.MAP", 5},
                                       {"D.MAP", 234}, {"E.MAP", -1},   {"F.MAP", -1}};
  std::vector<std::string> texts;
  for (const Finding& f : CheckFolderMaps(maps)) {
    texts.push_back(std::string(SeverityName(f.severity)) + " " + KindName(f.kind) + " " + f.text);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "error same-number A.MAP and C.MAP are both map 5",
                       "warning names-collide B.MAP (map 1234) and D.MAP (map 234) both read "
                       "MAP234.TXT"}));
}

}  // namespace
}  // namespace maptesk
