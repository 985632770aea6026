// Cutting pictures into BMP and S16 tiles.
#include "core/picture/tile_export.h"

#include <gtest/gtest.h>

#include "core/picture/map_picture.h"
#include "core/util/path_utils.h"
#include "support/locked_file.h"
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

// A 24-bit BMP of w x h whose pixel (x, y from the top) encodes its place.
uint32_t Place(int x, int y) { return uint32_t(x & 0xFFF) << 12 | uint32_t(y & 0xFFF); }
std::string WritePlaces(const TempDir& dir, int w, int h) {
  ScriptedPrompts prompts;
  BmpImage image(prompts);
  EXPECT_TRUE(image.CreateRgb24(w, h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = image.bits + size_t(h - 1 - y) * size_t(image.stride) + size_t(x) * 3;
      const uint32_t v = Place(x, y);
      p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16);
    }
  }
  const std::string path = dir / "places.bmp";
  EXPECT_TRUE(image.Save(path));
  return path;
}

TEST(TileGrid, CellsAtTheRightAndBottomEdgesAreSmaller) {
  struct Row {
    int w, h, columns, rows;
    std::vector<int> widths, heights;
  } rows[] = {{1920, 1920, 3, 4, {640, 640, 640}, {480, 480, 480, 480}},
              {1300, 500, 3, 2, {640, 640, 20}, {480, 20}},
              {1280, 480, 2, 1, {640, 640}, {480}},
              {641, 481, 2, 2, {640, 1}, {480, 1}},
              {1, 1, 1, 1, {1}, {1}}};
  for (const Row& r : rows) {
    const TileGrid grid{r.w, r.h};
    EXPECT_EQ(grid.columns(), r.columns);
    EXPECT_EQ(grid.rows(), r.rows);
    for (int c = 0; c < r.columns; ++c) EXPECT_EQ(grid.CellWidth(c), r.widths[size_t(c)]);
    for (int k = 0; k < r.rows; ++k) EXPECT_EQ(grid.CellHeight(k), r.heights[size_t(k)]);
  }
}

TEST(BmpTiles, EachTileIsAReal24BitBmpOfItsCell) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(WritePlaces(dir, 1300, 500)));
  std::filesystem::create_directory(dir / "out");
  ASSERT_TRUE(picture.SplitToBmpTiles(dir / "out" + "/T"));
  EXPECT_EQ(prompts.Texts("note"),
            std::vector<std::string>{"Done !\nLoaded file has been splitted to 6 BMP tiles"});
  EXPECT_EQ(ListFolder(dir / "out"), (std::vector<std::string>{"T00.bmp", "T01.bmp", "T10.bmp",
                                                               "T11.bmp", "T20.bmp", "T21.bmp"}));
  // The 20 x 20 corner tile: rows of 60 bytes, bottom row first.
  const std::vector<uint8_t> corner = ReadBytes(dir / "out/T21.bmp");
  ASSERT_EQ(corner.size(), 54u + 60u * 20u);
  EXPECT_EQ(corner[0], 'B');
  EXPECT_EQ(GetLe32(corner.data() + 2), corner.size());
  EXPECT_EQ(GetLe32(corner.data() + 10), 54u);
  const uint32_t info[] = {40, 20, 20};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(GetLe32(corner.data() + 14 + 4 * i), info[i]);
  EXPECT_EQ(GetLe16(corner.data() + 26), 1);
  EXPECT_EQ(GetLe16(corner.data() + 28), 24);
  EXPECT_EQ(GetLe32(corner.data() + 30), 0u);
  EXPECT_EQ(GetLe32(corner.data() + 34), 1200u);
  const uint8_t* bottomLeft = corner.data() + 54;
  EXPECT_EQ(uint32_t(bottomLeft[2]) << 16 | uint32_t(bottomLeft[1]) << 8 | bottomLeft[0],
            Place(1280, 499));
  // Every tile loads back with the pixels of its cell.
  TileGrid grid{1300, 500};
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 2; ++r) {
      BmpImage tile(prompts);
      ASSERT_TRUE(tile.Load(dir / "out" + "/T" + std::to_string(c) + std::to_string(r) + ".bmp"));
      ASSERT_EQ(tile.width, grid.CellWidth(c));
      ASSERT_EQ(tile.height, grid.CellHeight(r));
      for (auto [x, y] :
           {std::pair{0, 0}, {tile.width - 1, tile.height - 1}, {7, 11 % tile.height}}) {
        EXPECT_EQ(tile.PixelRgb(x, y), Place(c * 640 + x, r * 480 + y)) << c << r;
      }
    }
  }
}

TEST(BmpTiles, RefusedUnlessLargerThanOneCellBothWays) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(WritePlaces(dir, 1280, 480)));
  EXPECT_FALSE(picture.SplitToBmpTiles(dir / "T"));
  ASSERT_TRUE(picture.LoadPicture(WritePlaces(dir, 641, 481)));
  EXPECT_FALSE(picture.SplitToBmpTiles(dir.str()));  // no file name in the base
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"places.bmp"});
}

TEST(BmpTiles, PicturesOfOtherDepthsAreCutAs24Bits) {
  TempDir dir;
  ScriptedPrompts prompts;
  // 8 bits, 700 x 490, a colour table of two entries: left half red.
  std::vector<uint8_t> pixels(size_t(BmpImage::RowBytes(700, 8)) * 490, 0);
  for (int y = 0; y < 490; ++y) {
    for (int x = 0; x < 350; ++x) pixels[size_t(y) * 700 + size_t(x)] = 1;
  }
  WriteBytes(dir / "eight.bmp", testing::BmpFile({.width = 700,
                                                  .height = 490,
                                                  .bitCount = 8,
                                                  .clrUsed = 2,
                                                  .colours = {0x00FF00, 0xFF0000},
                                                  .pixels = pixels}));
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(dir / "eight.bmp"));
  ASSERT_TRUE(picture.SplitToBmpTiles(dir / "E"));
  BmpImage tile(prompts);
  ASSERT_TRUE(tile.Load(dir / "E10.bmp"));
  EXPECT_EQ(tile.bitCount, 24);
  EXPECT_EQ(tile.width, 60);
  EXPECT_EQ(tile.PixelRgb(0, 0), 0x00FF00u);
  ASSERT_TRUE(tile.Load(dir / "E01.bmp"));
  EXPECT_EQ(tile.height, 10);
  EXPECT_EQ(tile.PixelRgb(349, 9), 0xFF0000u);
  EXPECT_EQ(tile.PixelRgb(350, 9), 0x00FF00u);
  // The picture itself keeps its depth and table when saved.
  ASSERT_TRUE(picture.Save(dir / "again.bmp"));
  EXPECT_EQ(ReadBytes(dir / "again.bmp").size(), 54u + 8u + pixels.size());
}

TEST(S16Tiles, WrittenTilesReadBackWithTheLowBitsCleared) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(WritePlaces(dir, 1300, 500)));
  ASSERT_TRUE(picture.SplitToS16Tiles(dir / "MAP09"));
  EXPECT_EQ(prompts.Texts("note"),
            std::vector<std::string>{"Done !\nLoaded file has been splitted to 6 S16 Tiles"});
  const std::vector<uint8_t> corner = ReadBytes(dir / "MAP0921.s16");
  ASSERT_EQ(corner.size(), 44u + 20u * 20u * 2u);
  const uint32_t head[] = {1, 20, 20, 0, 0, 20, 20, 0, 800, 0, 0};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(GetLe32(corner.data() + 4 * i), head[i]) << i;
  // Top-left pixel of the tile first: picture pixel (1280, 480).
  const uint32_t v = Place(1280, 480);
  const uint8_t bgr[3] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)};
  EXPECT_EQ(GetLe16(corner.data() + 44), S16Tiles::FromBgr(bgr));

  MapPicture back(prompts);
  ASSERT_TRUE(back.LoadPicture(dir / "MAP0900.s16"));
  EXPECT_EQ(back.width, 1300);
  EXPECT_EQ(back.height, 500);
  for (auto [x, y] : {std::pair{0, 0}, {1299, 499}, {641, 481}, {639, 479}}) {
    EXPECT_EQ(back.PixelRgb(x, y), Place(x, y) & 0xF8FCF8) << x << "," << y;
  }
}

TEST(S16Tiles, WhiteBecomesTheHighBitsOnly) {
  TempDir dir;
  ScriptedPrompts prompts;
  BmpImage white(prompts);
  ASSERT_TRUE(white.CreateRgb24(1280, 480));
  std::fill(white.ownedBits.begin(), white.ownedBits.end(), 0xFF);
  ASSERT_TRUE(white.Save(dir / "white.bmp"));
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(dir / "white.bmp"));
  EXPECT_FALSE(picture.SplitToBmpTiles(dir / "W"));
  ASSERT_TRUE(picture.SplitToS16Tiles(dir / "MAP03"));
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0300.s16"));
  EXPECT_EQ(picture.width, 1280);
  EXPECT_EQ(picture.PixelRgb(700, 100), 0xF8FCF8u);
}

TEST(S16Tiles, OlderTilesOfTheBaseNotReplacedAreRemoved) {
  TempDir dir;
  ScriptedPrompts prompts;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 5; ++c) {
      WriteBytes(dir / S16Tiles::TileName("MAP04", c, r), {1, 2, 3});
    }
  }
  WriteBytes(dir / "map0451.S16", {1});  // outside the 5 x 4 grid: kept
  WriteBytes(dir / "MAP0411.bak", {1});
  // Copies whose names differ only in case would be read as tiles too.
  WriteBytes(dir / "map0400.S16", {1});
  WriteBytes(dir / "Map0431.S16", {1});
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(WritePlaces(dir, 100, 100)));
  prompts.Answer(true);  // the tiles beyond the new set go only when agreed
  ASSERT_TRUE(picture.SplitToS16Tiles(dir / "MAP04"));
  ASSERT_EQ(prompts.Texts("yesno").size(), 1u);
#ifdef _WIN32
  // A case-blind file system wrote Map0431.S16 into the tile already there,
  // which keeps the spelling it was made with.
  EXPECT_NE(prompts.Texts("yesno")[0].find("\nMAP0431.s16\n"), std::string::npos);
#else
  EXPECT_NE(prompts.Texts("yesno")[0].find("\nMap0431.S16\n"), std::string::npos);
#endif
  EXPECT_EQ(ListFolder(dir.path()),
            (std::vector<std::string>{"MAP0400.s16", "MAP0411.bak", "map0451.S16", "places.bmp"}));
  EXPECT_EQ(ReadBytes(dir / "MAP0400.s16").size(), 44u + 100u * 100u * 2u);
}

TEST(S16Tiles, AFailedWriteLeavesTheOldSetWhole) {
  TempDir dir;
  ScriptedPrompts prompts;
  for (int c = 0; c < 3; ++c) WriteBytes(dir / S16Tiles::TileName("MAP06", c, 0), {7, 7});
  // The place of the last new tile is taken by a folder: that tile fails.
  std::filesystem::create_directory(dir / "MAP0611.s16");
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(WritePlaces(dir, 1280, 960)));
  prompts.Answer(true);  // MAP0620.s16 lies beyond the new set
  EXPECT_FALSE(picture.SplitToS16Tiles(dir / "MAP06"));
  EXPECT_EQ(
      prompts.Texts("error"),
      std::vector<std::string>{"Error on creating " + dir / "MAP0611.s16" + "\nIs a directory"});
  EXPECT_TRUE(prompts.Texts("note").empty());
  // No new tile and no temporary file is left; the old tiles are as they were.
  EXPECT_EQ(ListFolder(dir.path()),
            (std::vector<std::string>{"MAP0600.s16", "MAP0610.s16", "MAP0611.s16", "MAP0620.s16",
                                      "places.bmp"}));
  EXPECT_EQ(ReadBytes(dir / "MAP0600.s16"), (std::vector<uint8_t>{7, 7}));
  EXPECT_EQ(ReadBytes(dir / "MAP0610.s16"), (std::vector<uint8_t>{7, 7}));
  EXPECT_EQ(ReadBytes(dir / "MAP0620.s16"), (std::vector<uint8_t>{7, 7}));
}

TEST(S16Tiles, AnOldTileThatCannotBeRemovedLeavesTheWholeOldSet) {
  TempDir dir;
  ScriptedPrompts prompts;
  for (const char* name : {"MAP0800.s16", "MAP0801.s16", "map0820.S16"}) {
    WriteBytes(dir / name, {8, 8});
  }
  // Removed at the end of the commit, after the new tiles went in.
  testing::LockedFile stuck(dir / "map0820.S16");
  if (!stuck.immutable()) GTEST_SKIP() << "needs root and chattr: a file that cannot be removed";
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(WritePlaces(dir, 1280, 960)));
  prompts.Answer(true);  // map0820.S16 lies beyond the new set
  EXPECT_FALSE(picture.SplitToS16Tiles(dir / "MAP08"));
  EXPECT_EQ(prompts.Texts("error"),
            std::vector<std::string>{"Error on creating " + dir / "map0820.S16" +
                                     "\nOperation not permitted"});
  EXPECT_EQ(ListFolder(dir.path()),
            (std::vector<std::string>{"MAP0800.s16", "MAP0801.s16", "map0820.S16", "places.bmp"}));
  for (const char* name : {"MAP0800.s16", "MAP0801.s16", "map0820.S16"}) {
    EXPECT_EQ(ReadBytes(dir / name), (std::vector<uint8_t>{8, 8})) << name;
  }
}

TEST(S16Tiles, PicturesTooLargeToNameAreRefused) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(WritePlaces(dir, 6401, 10)));
  EXPECT_FALSE(picture.SplitToS16Tiles(dir / "MAP01"));
  EXPECT_EQ(prompts.Texts("error"),
            std::vector<std::string>{"The picture (6401 x 10) is too large to be cut into tiles:\n"
                                     "at most 10 x 10 tiles of 640 x 480 can be named"});
}

TEST(PictureForNumber, TilesGetTheBaseOfTheMapNumber) {
  EXPECT_EQ(PictureBaseForNumber("/g/MAP/", 7), "/g/MAP/MAP07");
  // A folder without its separator gets the system's own.
  EXPECT_EQ(PictureBaseForNumber("/g/MAP", 12), std::string("/g/MAP") + kPathSeparator + "MAP12");
  EXPECT_EQ(PictureBaseForNumber("/g/MAP/", 123), "/g/MAP/MAP123");
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(WritePlaces(dir, 10, 10)));
  ASSERT_TRUE(picture.SplitToS16Tiles(PictureBaseForNumber(dir.str(), 7)));
  EXPECT_TRUE(std::filesystem::exists(dir / "MAP0700.s16"));
}

}  // namespace
}  // namespace maptesk
