// Assembling map pictures from S16 tiles.
#include <gtest/gtest.h>

#include "core/picture/map_picture.h"
#include "core/picture/s16_tiles.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::S16Head;
using testing::S16Packed;
using testing::S16Plain;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteBytes;

constexpr uint32_t kGrey = 0xDCDCDC;

// A colour that says which tile and pixel it came from, as 5-6-5.
uint16_t Marker(int c, int r, int x, int y) {
  return uint16_t(((c * 4 + r) & 0x1F) << 11 | ((x + y) & 0x3F) << 5 | (y & 0x1F));
}
uint32_t ReadBack(uint16_t v) {
  uint8_t bgr[3];
  S16Tiles::ToBgr(v, bgr);
  return uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | bgr[0];
}

void WriteTile(const TempDir& dir, const std::string& base, int c, int r, int w, int h) {
  WriteBytes(dir / S16Tiles::TileName(base, c, r),
             S16Plain(w, h, [c, r](int x, int y) { return Marker(c, r, x, y); }));
}

TEST(S16Colours, ConvertBothWaysKeepingTheHighBits) {
  struct Row {
    uint16_t v;
    uint32_t rgb;
  } rows[] = {{0xFFFF, 0xF8FCF8}, {0xF800, 0xF80000}, {0x07E0, 0x00FC00},
              {0x001F, 0x0000F8}, {0x0000, 0x000000}, {0x8410, 0x808080}};
  for (const Row& row : rows) {
    EXPECT_EQ(ReadBack(row.v), row.rgb) << std::hex << row.v;
    const uint8_t bgr[3] = {uint8_t(row.rgb), uint8_t(row.rgb >> 8), uint8_t(row.rgb >> 16)};
    EXPECT_EQ(S16Tiles::FromBgr(bgr), row.v);
  }
  const uint8_t white[3] = {255, 255, 255}, odd[3] = {7, 3, 9};
  EXPECT_EQ(S16Tiles::FromBgr(white), 0xFFFF);
  EXPECT_EQ(S16Tiles::FromBgr(odd), 0x0800);  // red 9 -> 1, green 3 -> 0, blue 7 -> 0
}

TEST(S16Tiles, BaseFromAnyTileName) {
  EXPECT_EQ(S16Tiles::BaseOf("/g/MAP/MAP0521.s16"), "MAP05");
  EXPECT_EQ(S16Tiles::BaseOf("C:\\g\\MAP1200.S16"), "MAP12");
  EXPECT_EQ(S16Tiles::BaseOf("MAP5.s16"), "MAP5");
  EXPECT_EQ(S16Tiles::BaseOf("MAP05.s16"), "MAP05");
  EXPECT_EQ(S16Tiles::TileName("/g/MAP05", 2, 1), "/g/MAP0521.s16");
}

TEST(S16Picture, TwelveTilesMakeTheFullPictureWithEveryPixelInPlace) {
  TempDir dir;
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 4; ++r) WriteTile(dir, "MAP05", c, r, 640, 480);
  }
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0500.s16"));
  EXPECT_TRUE(picture.loaded);
  EXPECT_EQ(picture.width, 1920);
  EXPECT_EQ(picture.height, 1920);
  EXPECT_EQ(picture.stride, 5760);
  EXPECT_EQ(picture.HeaderBitCount(), 24);
  EXPECT_EQ(picture.HeaderImageSize(), 5760u * 1920u);
  EXPECT_EQ(picture.fileName, "MAP05");
  EXPECT_EQ(picture.extension, ".S16");
  EXPECT_EQ(picture.folder, dir.str());
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 4; ++r) {
      for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}, {123, 321}}) {
        ASSERT_EQ(picture.PixelRgb(c * 640 + x, r * 480 + y), ReadBack(Marker(c, r, x, y)))
            << "tile " << c << r << " at " << x << "," << y;
      }
    }
  }
  // Any tile of the set opens the whole set.
  MapPicture other(prompts);
  ASSERT_TRUE(other.LoadPicture(dir / "map0521.S16"));
  EXPECT_EQ(other.width, 1920);
  EXPECT_TRUE(std::equal(other.bits, other.bits + other.HeaderImageSize(), picture.bits));
  EXPECT_EQ(prompts.messages().size(), 0u);
  EXPECT_EQ(prompts.waitCursorDepth, 0);
}

TEST(S16Picture, PartialSetsKeepTheFillValueWhereTilesAreMissing) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  WriteTile(dir, "MAP07", 0, 0, 640, 480);
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0700.s16"));
  EXPECT_EQ(picture.width, 640);
  EXPECT_EQ(picture.height, 480);

  WriteTile(dir, "MAP07", 1, 0, 640, 480);
  WriteTile(dir, "MAP07", 0, 1, 640, 480);
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0700.s16"));
  EXPECT_EQ(picture.width, 1280);
  EXPECT_EQ(picture.height, 960);
  for (auto [x, y] : {std::pair{640, 480}, {1279, 959}, {900, 700}}) {
    EXPECT_EQ(picture.PixelRgb(x, y), kGrey);
  }
  EXPECT_EQ(picture.PixelRgb(640, 479), ReadBack(Marker(1, 0, 0, 479)));
  EXPECT_EQ(picture.PixelRgb(639, 480), ReadBack(Marker(0, 1, 639, 0)));

  // A tile whose first word is not 1 is left out of sizes and pixels.
  auto notATile = S16Plain(640, 480, [](int, int) { return uint16_t(0); });
  notATile[0] = 2;
  WriteBytes(dir / "MAP0710.s16", notATile);
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0700.s16"));
  EXPECT_EQ(picture.width, 640);
  EXPECT_EQ(picture.PixelRgb(0, 600), ReadBack(Marker(0, 1, 0, 120)));
}

TEST(S16Picture, ShortNamesAreTheirOwnBaseAndAnEmptySetIsLoadedButEmpty) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  WriteBytes(dir / "MAP5.s16", S16Plain(2, 2, [](int, int) { return uint16_t(0); }));
  // MAP5.s16 names the set MAP5: its tiles would be MAP500.s16 and so on.
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP5.s16"));
  EXPECT_TRUE(picture.loaded);
  EXPECT_EQ(picture.width, 0);
  EXPECT_EQ(picture.height, 0);
  EXPECT_FALSE(picture.LoadPicture(dir / "MAP9900.s16"));
  EXPECT_FALSE(picture.loaded);
  EXPECT_TRUE(prompts.messages().empty());
}

TEST(S16Picture, RunLengthPacketsRunOnAcrossRowsAndPastTheEnd) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  // 200 x 1, one packet of 200 red pixels.
  WriteBytes(dir / "RLEA00.s16", S16Packed(200, 1, {{200, 0xF800}}));
  ASSERT_TRUE(picture.LoadPicture(dir / "RLEA00.s16"));
  EXPECT_EQ(picture.width, 200);
  EXPECT_EQ(picture.height, 1);
  for (int x = 0; x < 200; ++x) ASSERT_EQ(picture.PixelRgb(x, 0), 0xF80000u) << x;

  // 4 x 3: a run of 6 fills row 0 and half of row 1; the last run of 5
  // starts at pixel 10 and paints past the tile's end, where nothing shows.
  WriteBytes(dir / "RLEB00.s16", S16Packed(4, 3, {{6, 0x001F}, {4, 0x07E0}, {5, 0xFFFF}}));
  ASSERT_TRUE(picture.LoadPicture(dir / "RLEB00.s16"));
  const uint32_t b = 0x0000F8, g = 0x00FC00, w = 0xF8FCF8;
  const uint32_t expected[3][4] = {{b, b, b, b}, {b, b, g, g}, {g, g, w, w}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(picture.PixelRgb(x, y), expected[y][x]) << x << "," << y;
  }
  // Runs of zero and a packet cut short change nothing and end cleanly.
  auto packed = S16Packed(2, 1, {{0, 0xF800}, {1, 0x001F}});
  packed.push_back(1);
  WriteBytes(dir / "RLEC00.s16", packed);
  ASSERT_TRUE(picture.LoadPicture(dir / "RLEC00.s16"));
  EXPECT_EQ(picture.PixelRgb(0, 0), b);
  EXPECT_EQ(picture.PixelRgb(1, 0), kGrey);
}

TEST(S16Picture, PlainTileEndingEarlyDecodesWhatItHolds) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  auto tile = S16Plain(640, 480, [](int x, int y) { return uint16_t(x + y); });
  tile.resize(44 + 2 * 1000 + 1);  // 1,000 pixels and half of the next
  WriteBytes(dir / "MAP0800.s16", tile);
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0800.s16"));
  EXPECT_EQ(picture.PixelRgb(639, 0), ReadBack(639));
  EXPECT_EQ(picture.PixelRgb(359, 1), ReadBack(360));  // pixel 999
  EXPECT_EQ(picture.PixelRgb(360, 1), kGrey);
  EXPECT_EQ(picture.PixelRgb(0, 479), kGrey);
}

TEST(S16Picture, GapBytesMoveThePixelData) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  auto tile = S16Head(2, 1, 0, 3);
  for (uint8_t v : {9, 9, 9, 0x1F, 0x00, 0x00, 0xF8}) tile.push_back(v);
  WriteBytes(dir / "GAPS00.s16", tile);
  ASSERT_TRUE(picture.LoadPicture(dir / "GAPS00.s16"));
  EXPECT_EQ(picture.PixelRgb(0, 0), 0x0000F8u);
  EXPECT_EQ(picture.PixelRgb(1, 0), 0xF80000u);
}

TEST(S16Picture, OversizedHeadersAreClippedIntoTheBlock) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  // Row 0 announces 3 x 1000 pixels across and column 0 4 x 900 down; the
  // data holds 640 x 480 pixels of each.
  for (int c = 0; c < 3; ++c) {
    auto tile = S16Head(1000, 900);
    auto body = S16Plain(640, 480, [c](int, int) { return uint16_t(c + 1); });
    tile.insert(tile.end(), body.begin() + 44, body.end());
    WriteBytes(dir / S16Tiles::TileName("HUGE00", c, 0), tile);
    if (c == 0) {
      for (int r = 1; r < 4; ++r) WriteBytes(dir / S16Tiles::TileName("HUGE00", 0, r), tile);
    }
  }
  ASSERT_TRUE(picture.LoadPicture(dir / "HUGE0000.s16"));
  EXPECT_EQ(picture.width, 1920);
  EXPECT_EQ(picture.height, 1920);
  // Rows of 1000 pixels put their extra pixels on the last column of the cell.
  EXPECT_EQ(picture.PixelRgb(0, 0), ReadBack(1));
  EXPECT_EQ(picture.PixelRgb(1280, 0), ReadBack(3));
  EXPECT_EQ(picture.PixelRgb(1919, 1919), kGrey);
}

TEST(S16Picture, EveryPictureOwnsItsPixels) {
  TempDir dir;
  WriteTile(dir, "MAP05", 0, 0, 640, 480);
  WriteBytes(dir / "MAP0600.s16", S16Plain(640, 480, [](int, int) { return uint16_t(0xF800); }));
  ScriptedPrompts prompts;
  MapPicture main(prompts), preview(prompts);
  ASSERT_TRUE(main.LoadPicture(dir / "MAP0500.s16"));
  ASSERT_TRUE(preview.LoadPicture(dir / "MAP0600.s16"));
  EXPECT_TRUE(main.loaded);
  EXPECT_NE(main.bits, preview.bits);
  EXPECT_EQ(main.PixelRgb(10, 10), ReadBack(Marker(0, 0, 10, 10)));
  EXPECT_EQ(preview.PixelRgb(10, 10), 0xF80000u);
  // Reloading the same picture reuses its block.
  const uint8_t* block = main.bits;
  ASSERT_TRUE(main.LoadPicture(dir / "MAP0500.s16"));
  EXPECT_EQ(main.bits, block);
}

TEST(S16Picture, BmpAfterAnAssemblyAndBack) {
  TempDir dir;
  WriteTile(dir, "MAP05", 0, 0, 640, 480);
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  BmpImage bmp(prompts);
  ASSERT_TRUE(bmp.CreateRgb24(3, 2));
  bmp.bits[0] = 0x11;
  ASSERT_TRUE(bmp.Save(dir / "pic.BMP"));
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0500.s16"));
  ASSERT_TRUE(picture.LoadPicture(dir / "pic.BMP"));
  EXPECT_FALSE(picture.assembled());
  EXPECT_EQ(picture.width, 3);
  EXPECT_EQ(picture.fileName, dir / "pic.BMP");
  EXPECT_EQ(picture.PixelRgb(0, 1), 0x000011u);
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0500.s16"));
  EXPECT_TRUE(picture.assembled());
  EXPECT_EQ(picture.PixelRgb(3, 3), ReadBack(Marker(0, 0, 3, 3)));
}

}  // namespace
}  // namespace maptesk
