// Assembling map pictures from the sibling game's SHP tiles.
#include "core/picture/shp_picture.h"

#include <gtest/gtest.h>

#include "core/picture/map_picture.h"
#include "core/picture/shp_palette.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::ScriptedPrompts;
using testing::ShpFile;
using testing::TempDir;
using testing::WriteBytes;

constexpr uint32_t kGrey = 0xDCDCDC;

TEST(ShpPalette, HoldsTheGamesColours) {
  EXPECT_EQ(kShpColours[0], 0x000000u);
  EXPECT_EQ(kShpColours[3], 0xD4D4D4u);
  EXPECT_EQ(kShpColours[7], 0x9C9C9Cu);
  EXPECT_EQ(kShpColours[127], 0x080000u);
  EXPECT_EQ(kShpColours[128], 0xC82C00u);
  EXPECT_EQ(kShpColours[252], 0x0C78FCu);
  EXPECT_EQ(kShpColours[255], 0xB81000u);
}

// Decodes one 640 x 480 tile holding `codes` and gives the picture.
class ShpTile : public ::testing::Test {
 protected:
  MapPicture& Decode(const std::vector<uint8_t>& codes, int32_t top = 0, int32_t bottom = 479,
                     int32_t left = 0) {
    WriteBytes(dir_ / "ZMAP0100.shp", ShpFile(479, 639, left, top, bottom, codes));
    EXPECT_TRUE(picture_.LoadPicture(dir_ / "ZMAP0100.shp"));
    EXPECT_EQ(picture_.width, 640);
    EXPECT_EQ(picture_.height, 480);
    return picture_;
  }
  TempDir dir_;
  ScriptedPrompts prompts_;
  MapPicture picture_{prompts_};
};

TEST_F(ShpTile, RunThenEndOfLine) {
  MapPicture& p = Decode({4, 7, 0, 2, 1});
  EXPECT_EQ(p.PixelRgb(0, 0), 0x9C9C9Cu);
  EXPECT_EQ(p.PixelRgb(1, 0), 0x9C9C9Cu);
  EXPECT_EQ(p.PixelRgb(2, 0), kGrey);
  EXPECT_EQ(p.PixelRgb(0, 1), 0xF0F0F0u);  // the next line starts at the left again
  EXPECT_EQ(p.PixelRgb(1, 1), kGrey);
}

TEST_F(ShpTile, SkipThenLiteral) {
  MapPicture& p = Decode({1, 10, 5, 3, 4});
  for (int x = 0; x < 10; ++x) EXPECT_EQ(p.PixelRgb(x, 0), kGrey) << x;
  EXPECT_EQ(p.PixelRgb(10, 0), 0xD4D4D4u);
  EXPECT_EQ(p.PixelRgb(11, 0), 0xC4C4C4u);
  EXPECT_EQ(p.PixelRgb(12, 0), kGrey);
}

TEST_F(ShpTile, IndexFiveIsTransparentInRunsAndLiterals) {
  MapPicture& p = Decode({6, 5, 2, 1, 7, 9, 5, 9});
  for (int x = 0; x < 3; ++x) EXPECT_EQ(p.PixelRgb(x, 0), kGrey) << x;
  EXPECT_EQ(p.PixelRgb(3, 0), 0xF0F0F0u);
  EXPECT_EQ(p.PixelRgb(4, 0), 0x808080u);
  EXPECT_EQ(p.PixelRgb(5, 0), kGrey);
  EXPECT_EQ(p.PixelRgb(6, 0), 0x808080u);
}

TEST_F(ShpTile, NegativeTopStartsAtLineZeroAndStretchesTheLast) {
  // top -3, bottom 476: lines 0 to 479. Each line paints one pixel.
  std::vector<uint8_t> codes;
  for (int y = 0; y < 481; ++y) codes.insert(codes.end(), {2, 1, 0});
  MapPicture& p = Decode(codes, -3, 476);
  EXPECT_EQ(p.PixelRgb(0, 0), 0xF0F0F0u);
  EXPECT_EQ(p.PixelRgb(0, 479), 0xF0F0F0u);
  // A positive top starts there: lines above keep the fill value.
  MapPicture& q = Decode({2, 1, 0, 2, 1}, 5, 6);
  EXPECT_EQ(q.PixelRgb(0, 4), kGrey);
  EXPECT_EQ(q.PixelRgb(0, 5), 0xF0F0F0u);
  EXPECT_EQ(q.PixelRgb(0, 6), 0xF0F0F0u);
  EXPECT_EQ(q.PixelRgb(0, 7), kGrey);
}

TEST_F(ShpTile, LeftSetsTheStartColumnAndLinesArePlacedWithinTheCell) {
  MapPicture& p = Decode({2, 1, 0, 2, 2}, 0, 1, 100);
  EXPECT_EQ(p.PixelRgb(100, 0), 0xF0F0F0u);
  EXPECT_EQ(p.PixelRgb(100, 1), 0xE0E0E0u);
  EXPECT_EQ(p.PixelRgb(99, 0), kGrey);
}

TEST_F(ShpTile, LinesRunningPastTheCellAreDropped) {
  // A skip to column 638, then a run of 100: only 638 and 639 are painted.
  MapPicture& p = Decode({1, 255, 1, 255, 1, 128, 200, 1});
  EXPECT_EQ(p.PixelRgb(637, 0), kGrey);
  EXPECT_EQ(p.PixelRgb(638, 0), 0xF0F0F0u);
  EXPECT_EQ(p.PixelRgb(639, 0), 0xF0F0F0u);
  EXPECT_EQ(p.PixelRgb(0, 1), kGrey);  // nothing wrapped onto the next line
}

TEST_F(ShpTile, CodesCutShortEndTheShape) {
  MapPicture& p = Decode({9, 1, 2});  // a literal of 4 with 2 indices left
  EXPECT_EQ(p.PixelRgb(0, 0), 0xF0F0F0u);
  EXPECT_EQ(p.PixelRgb(1, 0), 0xE0E0E0u);
  EXPECT_EQ(p.PixelRgb(2, 0), kGrey);
  // A bottom line far past the cell with no codes at all still ends.
  MapPicture& q = Decode({}, 0, 0x7FFFFFFF);
  EXPECT_EQ(q.PixelRgb(0, 0), kGrey);
}

TEST(ShpPicture, SetSizesComeFromRowZeroAndColumnZero) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  for (int c = 0; c < 3; ++c) {
    WriteBytes(dir / S16Tiles::TileName("ZMAP02", c, 0, ".shp"),
               ShpFile(479, 639, 0, 0, 0, {2, uint8_t(c + 1), 0}));
  }
  ASSERT_TRUE(picture.LoadPicture(dir / "zmap0200.SHP"));
  EXPECT_EQ(picture.width, 1920);
  EXPECT_EQ(picture.height, 480);
  EXPECT_EQ(picture.fileName, "zmap02");  // the base as it was given
  EXPECT_EQ(picture.PixelRgb(0, 0), kShpColours[1]);
  EXPECT_EQ(picture.PixelRgb(640, 0), kShpColours[2]);
  EXPECT_EQ(picture.PixelRgb(1280, 0), kShpColours[3]);

  // Two shapes in a file: the tile is skipped; its cell stays grey.
  WriteBytes(dir / "ZMAP0201.shp", ShpFile(479, 639, 0, 0, 0, {2, 1, 0}, 2));
  WriteBytes(dir / "ZMAP0211.shp", ShpFile(99, 99, 0, 0, 0, {2, 9, 0}));
  ASSERT_TRUE(picture.LoadPicture(dir / "ZMAP0200.shp"));
  EXPECT_EQ(picture.height, 480);

  // Without the first tile there is no picture.
  std::filesystem::remove(dir / "ZMAP0200.shp");
  EXPECT_FALSE(picture.LoadPicture(dir / "ZMAP0210.shp"));
  EXPECT_FALSE(picture.loaded);
  EXPECT_TRUE(prompts.messages().empty());
}

TEST(ShpPicture, EncodedShapesDecodeToTheirIndices) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  const int w = 300, h = 4;
  std::vector<uint8_t> indices(size_t(w) * h);
  for (int i = 0; i < w * h; ++i)
    indices[size_t(i)] = uint8_t((i / 7) % 3 == 0 ? 5 : (i / 3) % 250);
  WriteBytes(dir / "ENCODE00.shp", ShpPicture::Encode(indices.data(), w, h));
  ASSERT_TRUE(picture.LoadPicture(dir / "ENCODE00.shp"));
  ASSERT_EQ(picture.width, w);
  for (int i = 0; i < w * h; ++i) {
    const uint8_t index = indices[size_t(i)];
    ASSERT_EQ(picture.PixelRgb(i % w, i / w), index == 5 ? kGrey : kShpColours[index]) << i;
  }
}

// Empty skips ("1 0") pad the first line without painting, so that its run
// of index 9 lies as far into the file as the test wants.
TEST(ShpPicture, TilesAreReadToTheirEndUpToTheCap) {
  struct Case {
    const char* what;
    size_t runAt;  // offset of the run's two bytes in the file
    bool painted;
  };
  const Case cases[] = {
      {"inside a picture's pixel block", 900000, true},
      {"past a picture's pixel block", 1000000, true},
      {"its last byte the cap's last", ShpPicture::kMaxFileSize - 2, true},
      {"past the cap", ShpPicture::kMaxFileSize, false},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const size_t codesAt = 12 + ShpPicture::kShapeHeaderSize;
    std::vector<uint8_t> codes;
    for (size_t i = codesAt; i < c.runAt; i += 2) codes.insert(codes.end(), {1, 0});
    codes.insert(codes.end(), {4, 9, 0});
    WriteBytes(dir / "PADS0000.shp", ShpFile(479, 639, 0, 0, 0, codes));
    ScriptedPrompts prompts;
    MapPicture picture(prompts);
    ASSERT_TRUE(picture.LoadPicture(dir / "PADS0000.shp"));
    EXPECT_EQ(picture.PixelRgb(1, 0), c.painted ? kShpColours[9] : kGrey);
    EXPECT_EQ(picture.PixelRgb(2, 0), kGrey);
  }
}

TEST(ShpPicture, OffsetsPastTheEndMakeTheTileUnreadable) {
  TempDir dir;
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  auto file = ShpFile(479, 639, 0, 0, 0, {2, 1, 0});
  file[8] = 0xF0;  // the shape header offset points far past the end
  WriteBytes(dir / "BADOFF00.shp", file);
  ASSERT_TRUE(picture.LoadPicture(dir / "BADOFF00.shp"));
  EXPECT_EQ(picture.width, 0);
  EXPECT_EQ(picture.height, 0);
}

}  // namespace
}  // namespace maptesk
