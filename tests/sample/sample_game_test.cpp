// The sample game: complete, readable by our own readers, and its maps fit
// their pictures.
#include "sample/sample_game.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/app/workspace.h"
#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/picture/map_picture.h"
#include "core/settings/tool_settings.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::ReadBytes;
using testing::ScriptedPrompts;
using testing::TempDir;

struct Colour {
  int r, g, b;
};
Colour At(const MapPicture& p, int x, int y) {
  const uint32_t v = p.PixelRgb(x, y);
  return {int(v >> 16), int((v >> 8) & 0xFF), int(v & 0xFF)};
}

class SampleGameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    ScriptedPrompts prompts;
    ASSERT_TRUE(SampleGame(prompts).Write(dir_->str()));
    EXPECT_TRUE(prompts.messages().empty());
  }
  static void TearDownTestSuite() { delete dir_; }
  static TempDir* dir_;
};
TempDir* SampleGameTest::dir_ = nullptr;

TEST_F(SampleGameTest, WritesBothKindsOfS16SetsAndTheOtherPictures) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) {
      const auto tile =
          ReadBytes(*dir_ / ("MAP/MAP05" + std::to_string(c) + std::to_string(r) + ".s16"));
      ASSERT_GT(tile.size(), 44u);
      EXPECT_EQ(GetLe32(tile.data() + 36), 1u) << "packed";
      EXPECT_LT(tile.size(), 44u + 640u * 480u * 2u);
    }
  }
  for (const char* name : {"MAP1200", "MAP1201", "MAP1210", "MAP1211"}) {
    const auto tile = ReadBytes(*dir_ / ("MAP/" + std::string(name) + ".s16"));
    ASSERT_EQ(tile.size(), 44u + 640u * 480u * 2u);
    EXPECT_EQ(GetLe32(tile.data() + 36), 0u) << "plain";
  }
  EXPECT_FALSE(std::filesystem::exists(*dir_ / "MAP/MAP1220.s16"));
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(*dir_ / "ZEB/ZMAP3000.shp"));
  EXPECT_EQ(picture.width, 1280);
  EXPECT_EQ(picture.height, 960);
  ASSERT_TRUE(picture.LoadPicture(*dir_ / "BMP/NEWMAP.bmp"));
  EXPECT_EQ(picture.width, 1600);
  EXPECT_EQ(picture.height, 1200);
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(SampleGameTest, MapsFitWhatTheirPicturesShow) {
  for (const SampleGame::MapEntry& entry : SampleGame::Maps()) {
    SCOPED_TRACE(entry.scenario);
    ScriptedPrompts prompts;
    Workspace ws(prompts);
    ws.settings.gameFolder = dir_->str();
    ws.settings.mapFolder = *dir_ / "MAP/";
    const HexMap& map = ws.map;
    const MapPicture& picture = ws.picture;
    ASSERT_TRUE(ws.OpenMap(*dir_ / ("SCENARIO/" + std::string(entry.scenario) + ".MAP")));
    EXPECT_EQ(map.MapNumber, entry.number);
    ASSERT_TRUE(map.hasS16Picture);
    ASSERT_TRUE(picture.loaded);
    ASSERT_EQ(picture.width, entry.width);
    ASSERT_EQ(picture.height, entry.height);

    std::map<int, int> seen;
    for (int r = 0; r < map.rows; ++r) {
      for (int c = 0; c < map.columns; ++c) {
        const int cx = c * 45 - 15, cy = r * 50 + 25 - (c % 2 == 0 ? 25 : 0);
        if (cx < 0 || cy < 0 || cx >= picture.width || cy >= picture.height) continue;
        const HexCell& cell = map.cell(r, c);
        ++seen[cell.terrain];
        const Colour k = At(picture, cx, cy);
        auto near = [&](auto test) {
          for (int dy = -22; dy <= 22; dy += 2) {
            for (int dx = -22; dx <= 22; dx += 2) {
              if (test(At(picture, cx + dx, cy + dy))) return true;
            }
          }
          return false;
        };
        switch (cell.terrain) {
          case 9:
          case 17: EXPECT_TRUE(k.b > k.r && k.b > k.g) << "water at " << c << "," << r; break;
          case 3:
            // Roads and rivers drawn over a forest hide its trees here and there.
            if (cell.roads == 0) {
              int green = 0;
              for (auto [dx, dy] : {std::pair{0, 0}, {6, 0}, {-6, 0}, {0, 6}, {0, -6}}) {
                const Colour p = At(picture, cx + dx, cy + dy);
                green += p.g > p.r && p.g > p.b;
              }
              EXPECT_GE(green, 3) << "forest at " << c << "," << r;
            }
            break;
          case 1:
          case 12:
            EXPECT_TRUE(near([](Colour p) { return p.r > 140 && p.g < 90 && p.b < 70; }))
                << "town at " << c << "," << r;
            break;
          case 10:
            EXPECT_TRUE(near([](Colour p) { return p.b > 140 && p.r < 100; }))
                << "river at " << c << "," << r;
            break;
          default: break;
        }
        // Roads run both ways between neighbours.
        if (cell.roads & kRoadS) {
          ASSERT_LT(r + 1, kMapRows);
          EXPECT_TRUE(map.cell(r + 1, c).roads & kRoadN) << c << "," << r;
        }
      }
    }
    for (int terrain : {0, 3, 9, 10}) EXPECT_GT(seen[terrain], 3) << "terrain " << terrain;
    EXPECT_GT(seen[1] + seen[12], 3);

    MapNames& names = ws.names;
    names.LoadDefaultNames();
    EXPECT_EQ(names.namesPath, *dir_ / ("MAP/MAP0" + std::to_string(entry.number / 10) +
                                        std::to_string(entry.number % 10) + ".TXT"));
    EXPECT_GT(names.NameTotal(), seen[1] + seen[12]);
    for (int r = 0; r < kMapRows; ++r) {
      for (int c = 0; c < kMapColumns; ++c) {
        const int t = map.cell(r, c).terrain;
        if (t == 1 || t == 12) {
          EXPECT_NE(names.nameIndex[size_t(r)][size_t(c)], 0) << c << "," << r;
        }
      }
    }
    EXPECT_TRUE(prompts.Texts("error").empty());
  }
}

}  // namespace
}  // namespace maptesk
