// Every reader over the folder of broken picture files (tests/data/broken,
// written by its make_broken.py): each gives its message or a defined
// picture, and nothing is read or written out of bounds.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/picture/map_picture.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace maptesk {
namespace {

using testing::ScriptedPrompts;
using testing::TempDir;

std::string Broken(const std::string& name) {
  return std::string(MAPTESK_TEST_DATA) + "/broken/" + name;
}

const std::string kSizeRule = " (1 to 16384 pixels each way, bottom-up rows)";

// What each BMP gives: its error, or "" when it loads.
const std::map<std::string, std::string> kBmpErrors = {
    {"empty.bmp", "Invalid BMP FileHeader size"},
    {"header_only.bmp", "Invalid BMP pixel data offset: 0"},
    {"zero_width.bmp", "Unsupported BMP size: 0 x 4" + kSizeRule},
    {"zero_height.bmp", "Unsupported BMP size: 4 x 0" + kSizeRule},
    {"negative_width.bmp", "Unsupported BMP size: -4 x 4" + kSizeRule},
    {"top_down.bmp", "Unsupported BMP size: 4 x -4" + kSizeRule},
    {"huge.bmp", "Unsupported BMP size: 2147483647 x 2147483647" + kSizeRule},
    {"offset_in_header.bmp", "Invalid BMP pixel data offset: 20"},
    {"offset_far.bmp", "Invalid BMP pixel data offset: 2147483632"},
    {"no_colour_table.bmp",
     "Invalid BMP header: 256 colours do not fit before the pixel data at 62"},
    {"colours_used_huge.bmp",
     "Invalid BMP header: 4294967295 colours do not fit before the pixel data at 1078"},
    {"short_pixels.bmp", ""},
    {"cut_info_header.bmp", "Invalid BMP: the file ends inside its info header (16 of 40 bytes)"},
    {"cut_colour_table.bmp", "Invalid BMP: the file ends inside its colour table"},
    {"v5_header.bmp", "Invalid BMP Header size: 124 <> 40"},
    {"bitfields.bmp", "No compressed BMP are supported"},
    {"bit_count_0.bmp", "Unsupported BMP bit count: 0"},
    {"claims_16384_1bit.bmp", Broken("claims_16384_1bit.bmp") +
                                  " claims 16384 x 16384 pixels but holds only 65474 of their "
                                  "33554432 bytes:\nit is not read"},
    {"claims_16384_8bit.bmp", Broken("claims_16384_8bit.bmp") +
                                  " claims 16384 x 16384 pixels but holds only 64458 of their "
                                  "268435456 bytes:\nit is not read"},
};

// The size each S16 or SHP set assembles to.
const std::map<std::string, std::pair<int, int>> kSetSizes = {
    {"BIGS0000.s16", {1920, 1920}}, {"CUTS0000.s16", {640, 480}}, {"RLES0000.s16", {640, 480}},
    {"NEGS0000.s16", {0, 0}},       {"ZERS0000.s16", {0, 480}},   {"GAPS0000.s16", {64, 64}},
    {"GAPF0000.s16", {64, 64}},     {"SIGS0000.s16", {0, 0}},     {"OFFSHP00.shp", {0, 0}},
    {"CUTSHP00.shp", {0, 0}},       {"RUNSHP00.shp", {640, 480}}, {"BIGSHP00.shp", {1920, 1920}},
    {"NEGSHP00.shp", {0, 0}},       {"TWOSHP00.shp", {0, 0}},     {"ENDSHP00.shp", {640, 480}},
};

TEST(BrokenInputs, EveryFileOfTheFolderIsKnownHere) {
  for (const auto& entry : std::filesystem::directory_iterator(Broken(""))) {
    const std::string name = entry.path().filename().string();
    if (name == "make_broken.py") continue;
    // Map and names files are tested with the map document.
    const std::string ext = entry.path().extension().string();
    if (ext == ".MAP" || ext == ".TXT") continue;
    // A tile of a set counts through the set's first tile.
    std::string first = name;
    if (first.size() > 6) first.replace(first.size() - 6, 2, "00");
    EXPECT_TRUE(kBmpErrors.count(name) || kSetSizes.count(first)) << name << " is not tested";
  }
}

TEST(BrokenInputs, BmpFilesGiveTheirMessages) {
  for (const auto& [name, error] : kBmpErrors) {
    SCOPED_TRACE(name);
    for (bool throughPicture : {false, true}) {
      ScriptedPrompts prompts;
      MapPicture picture(prompts);
      const bool ok =
          throughPicture ? picture.LoadPicture(Broken(name)) : picture.Load(Broken(name));
      EXPECT_EQ(ok, error.empty());
      EXPECT_EQ(prompts.Texts("error"),
                error.empty() ? std::vector<std::string>{} : std::vector<std::string>{error});
      if (!ok) {
        EXPECT_FALSE(picture.loaded);
        EXPECT_TRUE(picture.header.empty());
      }
    }
  }
}

TEST(BrokenInputs, ShortBmpRowsAreBlack) {
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(Broken("short_pixels.bmp")));
  EXPECT_EQ(prompts.Texts("note").size(), 1u);
  ASSERT_EQ(picture.ownedBits.size(), 64u * 64u * 3u);
  EXPECT_EQ(picture.ownedBits[99], 0x80);
  EXPECT_TRUE(std::all_of(picture.ownedBits.begin() + 100, picture.ownedBits.end(),
                          [](uint8_t b) { return b == 0; }));
}

TEST(BrokenInputs, SetsAssembleClippedAndSilent) {
  for (const auto& [name, size] : kSetSizes) {
    SCOPED_TRACE(name);
    ScriptedPrompts prompts;
    MapPicture picture(prompts);
    ASSERT_TRUE(picture.LoadPicture(Broken(name)));
    EXPECT_EQ(picture.width, size.first);
    EXPECT_EQ(picture.height, size.second);
    EXPECT_TRUE(prompts.messages().empty());
    // Whatever was read, the picture writes out and cuts into tiles.
    if (picture.width > 0 && picture.height > 0) {
      TempDir out;
      EXPECT_TRUE(picture.Save(out / "picture.bmp"));
      EXPECT_TRUE(picture.SplitToS16Tiles(out / "MAP01"));
    }
  }
}

#ifndef _WIN32
// Opening a FIFO nobody writes to waits for ever: a reader that opened
// one would hang the test.
TEST(BrokenInputs, AFifoAmongTheTilesIsSkippedLikeAMissingTile) {
  TempDir dir;
  testing::WriteBytes(dir / "MAPF0000.s16",
                      testing::S16Plain(64, 48, [](int, int) { return uint16_t(0xF800); }));
  ASSERT_EQ(mkfifo((dir / "MAPF0010.s16").c_str(), 0600), 0);
  testing::WriteBytes(dir / "SHPF0000.shp", testing::ShpFile(47, 63, 0, 0, 0, {2, 1, 0}));
  ASSERT_EQ(mkfifo((dir / "SHPF0001.shp").c_str(), 0600), 0);
  for (const char* first : {"MAPF0000.s16", "SHPF0000.shp"}) {
    SCOPED_TRACE(first);
    ScriptedPrompts prompts;
    MapPicture picture(prompts);
    ASSERT_TRUE(picture.LoadPicture(dir / first));
    EXPECT_EQ(picture.width, 64);
    EXPECT_EQ(picture.height, 48);
    EXPECT_TRUE(prompts.messages().empty());
  }
}
#endif

TEST(BrokenInputs, PixelsNoTileCoversKeepTheFillValue) {
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(Broken("GAPF0000.s16")));
  const uint8_t* begin = picture.bits;
  const uint8_t* end = begin + picture.HeaderImageSize();
  EXPECT_TRUE(std::all_of(begin, end, [](uint8_t b) { return b == 0xDC; }));
  ASSERT_TRUE(picture.LoadPicture(Broken("CUTS0000.s16")));
  EXPECT_EQ(picture.PixelRgb(332, 0), 0x0000F8u);
  EXPECT_EQ(picture.PixelRgb(333, 0), 0xDCDCDCu);
  EXPECT_EQ(picture.PixelRgb(639, 479), 0xDCDCDCu);
}

}  // namespace
}  // namespace maptesk
