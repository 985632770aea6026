// maptesk-cli's folder and whole-map tools, run as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/map/map_file.h"
#include "support/map_fixtures.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::CellOffset;
using testing::PatternMapFile;
using testing::ReadBytes;
using testing::ReadText;
using testing::RunCli;
using testing::TempDir;
using testing::WriteBytes;

const char kNumberSection[] =
    "Mapno     Mapname\r\n"
    "=======================================\r\n"
    "    5     B.MAP\r\n"
    "   12     A.MAP ; C.map\r\n"
    "\r\n";

class CliReportTest : public ::testing::Test {
 protected:
  CliReportTest() {
    WriteBytes(dir / "maps/A.MAP", PatternMapFile(12, 45, 40));
    WriteBytes(dir / "maps/B.MAP", PatternMapFile(5, 45, 40));
    WriteBytes(dir / "maps/C.map", {12, 0});
    WriteBytes(dir / "maps/notes.txt", {1, 2});
  }
  std::string Maps() const { return dir / "maps/"; }
  TempDir dir;
};

TEST_F(CliReportTest, DefaultsToNumbersInMapsReportTxt) {
  auto r = RunCli({"report", dir / "maps"}, dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadText(Maps() + "MapsReport.txt"),
            "Map files on folder: " + Maps() + "\r\n\r\n" + kNumberSection);
  EXPECT_EQ(r.out, "3 mapfiles written to " + Maps() + "MapsReport.txt\n");
}

TEST_F(CliReportTest, BothSortsToAChosenFile) {
  auto r = RunCli({"report", Maps(), "--sort", "both", "--out", dir / "r.txt"}, dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadText(dir / "r.txt"), "Map files on folder: " + Maps() +
                                         "\r\n\r\n"
                                         "Mapname                       Mapnumber\r\n"
                                         "=======================================\r\n"
                                         "A.MAP............................12\r\n"
                                         "B.MAP.............................5\r\n"
                                         "C.map............................12\r\n"
                                         "\r\n" +
                                         kNumberSection);
  EXPECT_FALSE(std::filesystem::exists(Maps() + "MapsReport.txt"));
}

TEST_F(CliReportTest, RefusesBadSortMissingFolderAndEmptyFolder) {
  EXPECT_EQ(RunCli({"report", Maps(), "--sort", "size"}, dir).status, 2);
  auto missing = RunCli({"report", dir / "nowhere"}, dir);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "[" + dir / "nowhere/" + "] Not found\n");
  std::filesystem::create_directories(dir.path() / "empty");
  auto empty = RunCli({"report", dir / "empty"}, dir);
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "There is nothing to do !\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "empty/MapsReport.txt"));
}

class CliMapToolsTest : public ::testing::Test {
 protected:
  CliMapToolsTest() {
    bytes = PatternMapFile(7, 30, 20);
    // Every hex Clear with no marks, then a few rivers with river sides,
    // an extra byte and an Auto mark.
    for (int r = 0; r < kMapRows; ++r) {
      for (int c = 0; c < kMapColumns; ++c) {
        for (int i = 0; i < HexCell::kFileSize; ++i) bytes[CellOffset(r, c) + size_t(i)] = 0;
      }
    }
    for (auto [r, c] : {std::pair{0, 0}, {12, 30}, {39, 44}}) {
      size_t o = CellOffset(r, c);
      bytes[o] = 10;        // River
      bytes[o + 4] = 3;     // extra
      bytes[o + 5] = 0x05;  // river sides
      bytes[o + 6] = 0x02;  // Auto mark
    }
    WriteBytes(MapPath(), bytes);
  }
  std::string MapPath() const { return game / "SCENARIO/Demo.MAP"; }

  TempDir game;
  std::vector<uint8_t> bytes;
};

TEST_F(CliMapToolsTest, ReplaceTerrainByNameWritesBackKeepingMarks) {
  auto r = RunCli({"replace-terrain", MapPath(), "river", "Swamp"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Done !\n3 Terrain types changed\nfrom: River\nto Swamp\n");
  std::vector<uint8_t> expected = bytes;
  for (auto [row, col] : {std::pair{0, 0}, {12, 30}, {39, 44}}) expected[CellOffset(row, col)] = 8;
  EXPECT_EQ(ReadBytes(MapPath()), expected);
}

TEST_F(CliMapToolsTest, ReplaceTerrainByValueToAnotherFileAndClean) {
  auto r =
      RunCli({"replace-terrain", MapPath(), "0", "16", "--out", game / "out.map", "--clean"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Done !\n1797 Terrain types changed\nfrom: Clear\nto Rough\n");
  EXPECT_EQ(ReadBytes(MapPath()), bytes);
  std::vector<uint8_t> out = ReadBytes(game / "out.MAP");
  ASSERT_EQ(out.size(), kMapFileSize);
  EXPECT_EQ(out[CellOffset(0, 1)], 16);
  EXPECT_EQ(out[CellOffset(0, 0)], 10);
  for (int i = 4; i < 7; ++i) EXPECT_EQ(out[CellOffset(0, 0) + size_t(i)], 0) << i;
}

TEST_F(CliMapToolsTest, ReplaceTerrainRefusesUnknownAndSameTypes) {
  for (auto [from, to] : {std::pair{"Lava", "Clear"}, {"River", "20"}, {"River", "10"}}) {
    auto r = RunCli({"replace-terrain", MapPath(), from, to}, game);
    EXPECT_EQ(r.status, 2) << from << " " << to;
  }
  EXPECT_EQ(ReadBytes(MapPath()), bytes);
}

TEST_F(CliMapToolsTest, RenumberTakesOnlyMapNumbers) {
  for (const char* bad : {"70000", "65536", "-1", "seven"}) {
    auto r = RunCli({"renumber", MapPath(), bad}, game);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_NE(r.err.find("is not a map number: give a number from 0 to 65535"), std::string::npos);
  }
  EXPECT_EQ(ReadBytes(MapPath()), bytes);

  auto r = RunCli({"renumber", MapPath(), "65535", "--out", game / "none.MAP"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Map number 7 -> 65535\n");
  std::vector<uint8_t> expected = bytes;
  expected[0] = expected[1] = 0xFF;
  EXPECT_EQ(ReadBytes(game / "none.MAP"), expected);

  r = RunCli({"renumber", MapPath(), "300"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  expected[0] = 300 & 0xFF;
  expected[1] = 300 >> 8;
  EXPECT_EQ(ReadBytes(MapPath()), expected);
}

}  // namespace
}  // namespace maptesk
