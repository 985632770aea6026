// Holes in an S16 set and the old tiles an export would remove.
#include "core/picture/s16_set.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/workspace.h"
#include "core/picture/map_picture.h"
#include "core/picture/s16_tiles.h"
#include "core/picture/tile_export.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::ListFolder;
using testing::ReadBytes;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteBytes;

// A whole tile of one colour, packed so that a set of twelve stays small.
std::vector<uint8_t> FullTile(uint16_t colour) {
  return testing::S16Packed(640, 480, std::vector<std::pair<int, uint16_t>>(1280, {240, colour}));
}

// The tiles of MAP05 at the given places ("00 10 20 ..."), each of its own colour.
void WriteSet(const TempDir& dir, const std::vector<std::string>& places) {
  for (const std::string& p : places) {
    WriteBytes(dir / ("MAP05" + p + ".s16"),
               FullTile(uint16_t(0x0841 * (p[0] - '0' + 1) + 0x20 * (p[1] - '0'))));
  }
}

const std::vector<std::string> kAll = {"00", "01", "02", "03", "10", "11",
                                       "12", "13", "20", "21", "22", "23"};

std::vector<std::string> Without(std::vector<std::string> places, const std::string& gone) {
  std::erase(places, gone);
  return places;
}

TEST(S16SetHoles, AreSaidOnlyWhereTilesLieBeyondThem) {
  struct Case {
    std::vector<std::string> places;
    std::vector<std::string> holes;
  };
  const std::string row10 = "MAP05: tile MAP0510.s16 is missing; the picture ends before ";
  const Case cases[] = {
      {kAll, {}},
      {Without(kAll, "10"), {row10 + "MAP0520.s16"}},
      // The whole middle column gone: the third is still beyond the hole.
      {{"00", "01", "02", "03", "20", "21", "22", "23"}, {row10 + "MAP0520.s16"}},
      // Only a later row of a later column beyond the hole.
      {{"00", "01", "02", "03", "23"}, {row10 + "MAP0523.s16"}},
      // A set that simply ends is whole.
      {{"00", "01", "10", "11"}, {}},
      {{"00"}, {}},
      {Without(kAll, "02"),
       {"MAP05: tile MAP0502.s16 is missing; the picture ends before MAP0503.s16"}},
      {Without(Without(kAll, "10"), "01"),
       {row10 + "MAP0520.s16",
        "MAP05: tile MAP0501.s16 is missing; the picture ends before MAP0502.s16"}},
      // The first tile is said once, for the row.
      {Without(kAll, "00"),
       {"MAP05: tile MAP0500.s16 is missing; the picture ends before MAP0510.s16"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    for (const std::string& p : c.places) testing::WriteText(dir / ("MAP05" + p + ".s16"), "t");
    std::string placesText;
    for (const std::string& p : c.places) placesText += p + " ";
    SCOPED_TRACE(placesText);
    EXPECT_EQ(S16SetHoles(dir / "MAP0511.s16"), c.holes);
  }
}

TEST(S16SetHoles, MatchTileNamesIgnoringCaseAsTheLoaderDoes) {
  TempDir dir;
  for (const char* name : {"map0500.S16", "MAP0520.s16", "Map0501.S16"}) {
    testing::WriteText(dir / name, "t");
  }
  EXPECT_EQ(S16SetHoles(dir / "MAP0500.s16"),
            std::vector<std::string>{
                "MAP05: tile MAP0510.s16 is missing; the picture ends before MAP0520.s16"});
  testing::WriteText(dir / "map0510.s16", "t");
  EXPECT_TRUE(S16SetHoles(dir / "MAP0500.s16").empty());
}

TEST(S16TilesLeftOut, AreTheOldTilesAtPlacesTheNewSetDoesNotWrite) {
  TempDir dir;
  for (const char* name : {"MAP0500.s16", "map0500.S16", "MAP0511.s16", "map0520.S16",
                           "MAP0543.s16", "MAP0551.s16", "MAP0520.bak", "MAP05.s16"}) {
    testing::WriteText(dir / name, "t");
  }
  // Two columns, one row: 00 and 10 are written; the duplicate of 00 is not
  // "left out" (the export drops it without asking), 51 is no tile name.
  EXPECT_EQ(
      S16TilesLeftOut(dir / "MAP05", TileGrid{1280, 480}),
      (std::vector<std::string>{dir / "MAP0511.s16", dir / "MAP0543.s16", dir / "map0520.S16"}));
  EXPECT_EQ(S16TilesLeftOut(dir / "MAP05", TileGrid{3200, 1920}), std::vector<std::string>{});
  EXPECT_TRUE(S16TilesLeftOut(dir / "", TileGrid{10, 10}).empty());
}

// The set of twelve with MAP0510.s16 missing loads narrower (1280 x 1920):
// the third column is not in the picture, and cutting it back would delete
// the only copy of it unless the user agrees.
class NarrowedSet : public ::testing::Test {
 protected:
  NarrowedSet() { WriteSet(dir, Without(kAll, "10")); }
  TempDir dir;
  ScriptedPrompts prompts;
};

TEST_F(NarrowedSet, LoadingItSaysSoOnceAndKeepsTheSizeRule) {
  Workspace ws(prompts);
  ASSERT_TRUE(ws.LoadPicture(dir / "MAP0500.s16"));
  EXPECT_EQ(ws.picture.width, 1280);
  EXPECT_EQ(ws.picture.height, 1920);
  EXPECT_EQ(ws.pictureRemarks,
            std::vector<std::string>{
                "MAP05: tile MAP0510.s16 is missing; the picture ends before MAP0520.s16"});
  EXPECT_TRUE(prompts.messages().empty());  // a remark, no box
  // A whole set, and a BMP, say nothing.
  WriteSet(dir, {"10"});
  ASSERT_TRUE(ws.LoadPicture(dir / "MAP0500.s16"));
  EXPECT_EQ(ws.picture.width, 1920);
  EXPECT_TRUE(ws.pictureRemarks.empty());
  std::filesystem::remove(dir / "MAP0510.s16");
  ASSERT_TRUE(ws.picture.Save(dir / "w.bmp"));
  ASSERT_TRUE(ws.LoadPicture(dir / "w.bmp"));
  EXPECT_TRUE(ws.pictureRemarks.empty());
}

TEST_F(NarrowedSet, AnExportAsksBeforeRemovingTheTilesItLeavesOut) {
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0500.s16"));
  ASSERT_TRUE(picture.Save(dir / "w.bmp"));
  ASSERT_TRUE(picture.LoadPicture(dir / "w.bmp"));
  const std::vector<uint8_t> before = ReadBytes(dir / "MAP0520.s16");
  const std::string question =
      "The new tiles of MAP05 do not replace:\nMAP0520.s16\nMAP0521.s16\nMAP0522.s16\n"
      "MAP0523.s16\nThey would be read as part of the new picture.\nRemove them ?";

  prompts.Answer(false);
  EXPECT_FALSE(picture.SplitToS16Tiles(dir / "MAP05"));
  EXPECT_EQ(prompts.Texts("yesno"), std::vector<std::string>{question});
  EXPECT_TRUE(prompts.Texts("error").empty());
  // Nothing written, nothing removed, no temporary file left.
  EXPECT_EQ(ListFolder(dir.path()).size(), 12u);
  EXPECT_EQ(ReadBytes(dir / "MAP0520.s16"), before);
  EXPECT_FALSE(std::filesystem::exists(dir / "MAP0510.s16"));

  prompts.ClearMessages();
  prompts.Answer(true);
  ASSERT_TRUE(picture.SplitToS16Tiles(dir / "MAP05"));
  EXPECT_EQ(prompts.Texts("yesno"), std::vector<std::string>{question});
  EXPECT_FALSE(std::filesystem::exists(dir / "MAP0520.s16"));
  EXPECT_TRUE(std::filesystem::exists(dir / "MAP0510.s16"));
  EXPECT_EQ(ListFolder(dir.path()).size(), 9u);  // 8 tiles and w.bmp

  // The same set again replaces every tile: nothing to ask.
  prompts.ClearMessages();
  ASSERT_TRUE(picture.SplitToS16Tiles(dir / "MAP05"));
  EXPECT_TRUE(prompts.Texts("yesno").empty());
}

}  // namespace
}  // namespace maptesk
