// Run-length S16 tiles against a pixel-by-pixel model of the packing: every
// byte of the assembled block, row padding included, for runs that end on,
// cross and overrun rows, cells and the data itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/picture/map_picture.h"
#include "core/picture/s16_tiles.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::S16Packed;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteBytes;

using Packets = std::vector<std::pair<int, uint16_t>>;

struct Tile {
  int column, row, w, h;
  Packets packets;
  int strayBytes = 0;  // a packet cut short after the last whole one
};

struct Case {
  const char* name;
  std::vector<Tile> tiles;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

constexpr uint16_t A = 0xF800, B = 0x07E0, C = 0x001F, D = 0xFFFF, E = 0x1234, K = 0x0000;

// Runs of `run` pixels of `colour` until `pixels` are covered.
Packets Runs(int pixels, int run, uint16_t colour) {
  Packets out;
  for (; pixels > 0; pixels -= run) out.push_back({std::min(run, pixels), colour});
  return out;
}

Packets Join(std::vector<Packets> parts) {
  Packets out;
  for (const Packets& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Alternating one-pixel runs.
Packets Singles(int pixels) {
  Packets out;
  for (int i = 0; i < pixels; ++i) out.push_back({1, uint16_t(i % 2 ? E : K)});
  return out;
}

// The picture as the loader defines it: sizes summed from the first row and
// column, each pixel of a run at its place in the tile, piled on the cell's
// last column and row beyond them, clipped to the picture.
std::vector<uint8_t> Model(const std::vector<Tile>& tiles, int& width, int& height, int& stride) {
  auto find = [&](int c, int r) -> const Tile* {
    for (const Tile& t : tiles) {
      if (t.column == c && t.row == r) return &t;
    }
    return nullptr;
  };
  width = height = 0;
  for (int c = 0; c < 3; ++c) {
    if (const Tile* t = find(c, 0)) width += t->w;
  }
  for (int r = 0; r < 4; ++r) {
    if (const Tile* t = find(0, r)) height += t->h;
  }
  width = std::min(width, 1920);
  height = std::min(height, 1920);
  stride = int(BmpImage::RowBytes(width, 24));
  std::vector<uint8_t> block(size_t(stride) * size_t(height), MapPicture::kFillValue);
  for (const Tile& t : tiles) {
    const int64_t n = std::min<int64_t>(int64_t(t.w) * t.h, 640 * 480);
    int64_t i = 0;
    for (const auto& [run, colour] : t.packets) {
      if (i >= n) break;
      uint8_t bgr[3];
      S16Tiles::ToBgr(colour, bgr);
      for (int k = 0; k < run; ++k, ++i) {
        const int64_t x = t.column * 640 + std::min<int64_t>(i % t.w, 639);
        const int64_t y = t.row * 480 + std::min<int64_t>(i / t.w, 479);
        if (x >= width || y >= height) continue;
        std::copy(bgr, bgr + 3, block.begin() + (height - 1 - y) * stride + x * 3);
      }
    }
  }
  return block;
}

const Case kCases[] = {
    {"RunsEndingOnRowEnds", {{0, 0, 5, 3, {{5, A}, {5, B}, {5, C}}}}},
    {"RunsCrossingRows", {{0, 0, 4, 3, {{3, A}, {3, B}, {6, C}}}}},
    {"OnePixelRuns", {{0, 0, 7, 3, Singles(21)}}},
    {"DataEndingInsideARow", {{0, 0, 6, 2, {{2, A}, {1, B}}}}},
    {"DataEndingAfterOnePixel", {{0, 0, 9, 1, {{1, D}}}}},
    {"DataEndingInsideAWideRow", {{0, 0, 40, 2, {{3, A}, {2, B}}}}},
    {"DataEndingAfterLongRuns", {{0, 0, 100, 3, {{100, A}, {37, B}, {12, C}, {0, D}}}}},
    {"PixelCountReachedInsideARow", {{0, 0, 700, 500, Runs(310000, 7, E)}}},
    {"RunsOfZeroBetweenOthers", {{0, 0, 5, 1, {{0, A}, {2, B}, {0, C}, {3, D}}}}},
    {"LongestRunsOverManyRows", {{0, 0, 100, 6, {{255, A}, {255, B}, {90, C}}}}},
    {"PacketCutShort", {{0, 0, 3, 1, {{1, A}}, 2}}},
    {"PacketCutShortInsideARow", {{0, 0, 80, 2, {{3, A}, {2, K}}, 1}}},
    {"LastRunOverrunningTheTile", {{0, 0, 4, 3, {{6, C}, {4, B}, {5, D}}}}},
    {"RowsWiderThanACell",
     {{0,
       0,
       650,
       2,
       {{255, A}, {255, B}, {90, C}, {3, D}, {40, E}, {7, K}, {255, A}, {255, B}, {140, C}}}}},
    {"RowsWiderThanACellInShortRuns", {{0, 0, 643, 2, Singles(1286)}}},
    {"ColumnsTallerThanACell", {{0, 0, 2, 483, Join({Runs(900, 7, A), Runs(66, 3, B)})}}},
    {"OverrunPaintedBelowTheTileInsideItsCell",
     {{0, 0, 4, 2, {{6, A}, {5, B}, {3, C}}}, {0, 1, 4, 480, {{255, D}, {2, E}}}}},
    {"CellsSideBySide",
     {{0, 0, 640, 2, Join({Runs(639, 5, A), {{1, B}}, Runs(640, 1, C)})},
      {1, 0, 3, 2, {{2, D}, {1, E}, {2, K}}}}},
    {"NarrowerPictureClipsTheTileBelow",
     {{0, 0, 3, 480, Runs(1440, 255, A)}, {0, 1, 10, 2, {{2, B}, {5, C}, {13, D}}}}},
    {"PictureClippedOnTheRight",
     {{0, 0, 700, 1, Runs(700, 9, A)},
      {1, 0, 700, 1, Runs(700, 4, B)},
      {2, 0, 700, 1, Join({Runs(634, 2, C), Runs(66, 1, D)})}}},
};

class S16Runs : public ::testing::TestWithParam<Case> {};

TEST_P(S16Runs, AssembleAsThePixelModelSays) {
  const Case& c = GetParam();
  TempDir dir;
  for (const Tile& t : c.tiles) {
    std::vector<uint8_t> bytes = S16Packed(t.w, t.h, t.packets);
    bytes.insert(bytes.end(), size_t(t.strayBytes), uint8_t(0x7F));
    WriteBytes(dir / S16Tiles::TileName("RUNS", t.column, t.row), bytes);
  }
  int width = 0, height = 0, stride = 0;
  const std::vector<uint8_t> expected = Model(c.tiles, width, height, stride);
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(dir / "RUNS00.s16"));
  ASSERT_EQ(picture.width, width);
  ASSERT_EQ(picture.height, height);
  ASSERT_EQ(picture.stride, stride);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = picture.bits + size_t(height - 1 - y) * size_t(stride);
    for (int b = 0; b < stride; ++b) {
      ASSERT_EQ(row[b], expected[size_t(height - 1 - y) * size_t(stride) + size_t(b)])
          << "pixel " << b / 3 << " byte " << b % 3 << " of row " << y;
    }
  }
  // Every byte after the picture's rows is still the fill value.
  const uint8_t* rest = picture.bits + size_t(height) * size_t(stride);
  const size_t restBytes = MapPicture::kStoreSize - size_t(height) * size_t(stride);
  EXPECT_EQ(std::count(rest, rest + restBytes, MapPicture::kFillValue), int64_t(restBytes));
}

INSTANTIATE_TEST_SUITE_P(Packets, S16Runs, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace maptesk
