// maptesk-cli's autoroads and marks commands, run as a user runs them.
#include <gtest/gtest.h>

#include "core/map/map_file.h"
#include "support/map_fixtures.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::CellOffset;
using testing::ReadBytes;
using testing::RunCli;
using testing::WriteBytes;

class CliRoadsTest : public ::testing::Test {
 protected:
  CliRoadsTest() : bytes(kMapFileSize, 0) {
    bytes[0] = 7;  // map number 7: its picture is MAP/MAP0700.s16
    bytes[2] = 45;
    bytes[4] = 40;
  }
  void SetCell(int r, int c, uint16_t roads, uint16_t flags) {
    const size_t o = CellOffset(r, c);
    bytes[o + 2] = uint8_t(roads);
    bytes[o + 5] = uint8_t(flags);
    bytes[o + 6] = uint8_t(flags >> 8);
  }
  static uint16_t Roads(const std::vector<uint8_t>& b, int r, int c) {
    return uint16_t(b[CellOffset(r, c) + 2] | b[CellOffset(r, c) + 3] << 8);
  }
  static uint16_t Flags(const std::vector<uint8_t>& b, int r, int c) {
    return uint16_t(b[CellOffset(r, c) + 5] | b[CellOffset(r, c) + 6] << 8);
  }
  void WriteMap() { WriteBytes(MapPath(), bytes); }
  // The first tile of a 640 x 480 picture: rows 0..9, columns 0..15.
  void WritePicture() {
    std::vector<uint8_t> tile(44 + 16, 0);
    tile[0] = 1;
    tile[4] = 640 & 0xFF;
    tile[5] = 640 >> 8;
    tile[8] = 480 & 0xFF;
    tile[9] = 480 >> 8;
    WriteBytes(game / "MAP/map0700.S16", tile);
  }
  std::string MapPath() const { return game / "SCENARIO/Demo.MAP"; }

  testing::TempDir game;
  std::vector<uint8_t> bytes;
};

TEST_F(CliRoadsTest, AutoroadsWithoutPictureWorksOverTheWholeGrid) {
  SetCell(38, 44, 0, 0x0200 | 0x0001);
  SetCell(39, 44, 0, 0x0200);
  WriteMap();
  const std::string out = game / "out/Roads.MAP";
  std::filesystem::create_directories(game / "out");
  auto r = RunCli({"autoroads", MapPath(), "--out", out}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2 marked hexes given roads\n");
  EXPECT_EQ(ReadBytes(MapPath()), bytes) << "--out leaves the map as it was";

  SetCell(38, 44, 0x10, 0x0001);
  SetCell(39, 44, 0x01, 0);
  EXPECT_EQ(ReadBytes(out), bytes);
}

TEST_F(CliRoadsTest, AutoroadsKeepsToThePicturesGrid) {
  WritePicture();
  SetCell(8, 15, 0, 0x0200);  // odd column: (9,15) lies below
  SetCell(9, 15, 0, 0x0200);  // the last row and column of a 640 x 480 picture
  SetCell(12, 3, 0, 0x0200);  // below the picture
  SetCell(13, 3, 0x01, 0);
  SetCell(8, 16, 0x01, 0);  // NE of (8,15) but beyond the last column
  WriteMap();
  auto r = RunCli({"autoroads", MapPath(), "--link", "--keep"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<uint8_t> got = ReadBytes(MapPath());
  EXPECT_EQ(Roads(got, 8, 15), 0x10);
  EXPECT_EQ(Roads(got, 9, 15), 0x01);
  EXPECT_EQ(Flags(got, 8, 15), 0x0200) << "--keep";
  EXPECT_EQ(Roads(got, 12, 3), 0);
  EXPECT_EQ(Roads(got, 13, 3), 0x01);
  EXPECT_EQ(Roads(got, 8, 16), 0x01) << "not linked back";
}

TEST_F(CliRoadsTest, MarksLoadAndClearWriteBackOverTheMap) {
  SetCell(4, 4, 0x40, 0x0001);
  SetCell(5, 5, 0, 0x0200);
  WriteMap();
  auto r = RunCli({"marks", MapPath(), "load"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1 hexes marked\n");
  std::vector<uint8_t> got = ReadBytes(MapPath());
  EXPECT_EQ(Flags(got, 4, 4), 0x0201);
  EXPECT_EQ(Flags(got, 5, 5), 0);

  r = RunCli({"marks", MapPath(), "clear"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1 marks cleared\n");
  got = ReadBytes(MapPath());
  EXPECT_EQ(Flags(got, 4, 4), 0x0001) << "other flags stay without --clean";

  r = RunCli({"marks", MapPath(), "load", "--clean"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  got = ReadBytes(MapPath());
  EXPECT_EQ(Flags(got, 4, 4), 0) << "--clean saves without marks";
  EXPECT_EQ(Roads(got, 4, 4), 0x40);
}

TEST_F(CliRoadsTest, BadArgumentsAndMissingMaps) {
  WriteMap();
  EXPECT_EQ(RunCli({"marks", MapPath(), "toggle"}, game).status, 2);
  EXPECT_EQ(RunCli({"marks", MapPath()}, game).status, 2);
  EXPECT_EQ(RunCli({"autoroads", MapPath(), "--bogus"}, game).status, 2);
  auto r = RunCli({"autoroads", game / "SCENARIO/None.MAP"}, game);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not found"), std::string::npos) << r.err;
  EXPECT_EQ(ReadBytes(MapPath()), bytes);
}

}  // namespace
}  // namespace maptesk
