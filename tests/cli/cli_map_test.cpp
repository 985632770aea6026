// maptesk-cli's map commands, run as a user runs them.
#include <gtest/gtest.h>

#include "core/map/map_file.h"
#include "support/map_fixtures.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::CellOffset;
using testing::JsonPath;
using testing::ReadBytes;
using testing::RunCli;
using testing::WriteBytes;
using testing::WriteText;

class CliMapTest : public ::testing::Test {
 protected:
  CliMapTest() {
    // A small game folder in the standard layout.
    std::vector<uint8_t> bytes(kMapFileSize, 0);
    bytes[0] = 7;
    bytes[2] = 30;
    bytes[4] = 20;
    bytes[6] = 0x78;
    bytes[7] = 0x56;
    auto setCell = [&](int r, int c, uint16_t terrain, uint16_t roads, uint16_t flags) {
      size_t o = CellOffset(r, c);
      bytes[o] = uint8_t(terrain);
      bytes[o + 2] = uint8_t(roads);
      bytes[o + 5] = uint8_t(flags);
      bytes[o + 6] = uint8_t(flags >> 8);
    };
    setCell(0, 0, 9, 0, 0);
    setCell(0, 1, 9, 0, 0);
    setCell(5, 5, 1, 0x11, 0x0200);
    setCell(5, 6, 1, 0, 0x0200);
    setCell(6, 5, 21, 0x01, 0);
    mapBytes = bytes;
    WriteBytes(game / "SCENARIO/Demo.MAP", bytes);
    WriteText(game / "MAP/map0700.S16", "tile");
    WriteText(game / "MAP/MAP007.TXT",
              "[MAP:  7] [Demo                ]\r\n--------------------------------\r\n"
              "(05,05) #Oran\r\n(01,02) #Caf\xE9 \"Bleu\"\r\n(06,05) #Oran\r\n");
  }
  std::string MapPath() const { return game / "SCENARIO/Demo.MAP"; }

  testing::TempDir game;
  std::vector<uint8_t> mapBytes;
};

TEST_F(CliMapTest, InfoJsonDescribesTheMap) {
  auto r = RunCli({"info", MapPath(), "--json"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      r.out,
      "{\"path\": \"" + JsonPath(MapPath()) +
          "\", \"number\": 7, \"columns\": 30, \"rows\": 20, "
          "\"headerExtra\": 22136, \"terrain\": {\"0\": 1795, \"1\": 2, \"9\": 2, \"21\": 1}, "
          "\"roadHexes\": 2, \"autoMarks\": 2, \"pictureFile\": \"" +
          JsonPath(game / "MAP/map0700.S16") +
          "\", \"hasS16Picture\": true, \"pictureWidth\": 0, \"pictureHeight\": 0, \"namesFile\": "
          "\"" +
          JsonPath(game / "MAP/MAP007.TXT") + "\", \"nameCount\": 2}\n");
}

TEST_F(CliMapTest, InfoTextAndFolderOptions) {
  auto r = RunCli({"info", MapPath()}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Map number:   7"), std::string::npos);
  EXPECT_NE(r.out.find("City"), std::string::npos);
  // With another MAP folder, neither picture nor names are found.
  auto other = RunCli(
      {"info", MapPath(), "--json", "--map-folder", game / "elsewhere", "--game", game / "nogame"},
      game);
  ASSERT_EQ(other.status, 0) << other.err;
  EXPECT_NE(other.out.find("\"hasS16Picture\": false"), std::string::npos);
  EXPECT_NE(other.out.find("\"nameCount\": 0"), std::string::npos);
}

TEST_F(CliMapTest, NamesJsonIsUtf8InFileOrder) {
  auto r = RunCli({"names", MapPath(), "--json"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "{\"namesFile\": \"" + JsonPath(game / "MAP/MAP007.TXT") +
                       "\", \"names\": [\"Oran\", \"Caf\xC3\xA9 \\\"Bleu\\\"\"], \"hexes\": ["
                       "{\"column\": 5, \"row\": 5, \"slot\": 1}, "
                       "{\"column\": 1, \"row\": 2, \"slot\": 2}, "
                       "{\"column\": 6, \"row\": 5, \"slot\": 1}]}\n");
  auto text = RunCli({"names", MapPath()}, game);
  EXPECT_EQ(text.out, "(5,5) Oran\n(1,2) Caf\xC3\xA9 \"Bleu\"\n(6,5) Oran\n");

  WriteText(game / "other.txt", "h\n(0,0) #Zero\n");
  auto given = RunCli({"names", MapPath(), "--names", game / "other.txt"}, game);
  EXPECT_EQ(given.out, "(0,0) Zero\n");
}

TEST_F(CliMapTest, SaveRoundTripsAndCleansOnRequest) {
  auto r = RunCli({"save", MapPath(), game / "out/x.map"}, game);
  EXPECT_EQ(r.status, 1);  // no such folder
  EXPECT_EQ(r.err, "Error on creating [" + (game / "out/x.MAP") + "]\nNo such file or directory\n");

  r = RunCli({"save", MapPath(), game / "SCENARIO/copy.map"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadBytes(game / "SCENARIO/copy.MAP"), mapBytes);

  r = RunCli({"save", MapPath(), game / "SCENARIO/clean.MAP", "--clean"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  auto clean = ReadBytes(game / "SCENARIO/clean.MAP");
  EXPECT_EQ(clean[CellOffset(5, 5) + 6], 0);
  EXPECT_EQ(clean[CellOffset(5, 5) + 2], 0x11);
}

TEST_F(CliMapTest, FailuresAndUsageErrorsHaveTheirExitStatus) {
  auto missing = RunCli({"info", game / "SCENARIO/none.MAP"}, game);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "Map file [" + (game / "SCENARIO/none.MAP") + "]\nnot found\n");
  EXPECT_EQ(RunCli({"info"}, game).status, 2);
  EXPECT_EQ(RunCli({"info", MapPath(), "--bogus"}, game).status, 2);
  EXPECT_EQ(RunCli({"save", MapPath()}, game).status, 2);
  EXPECT_EQ(RunCli({"frobnicate"}, game).status, 2);
  EXPECT_EQ(RunCli({}, game).status, 2);
  auto help = RunCli({"--help"}, game);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("info MAP"), std::string::npos);
  auto names = RunCli({"names", MapPath(), "--names", game / "none.txt"}, game);
  EXPECT_EQ(names.status, 1);
  EXPECT_EQ(names.err, game / "none.txt" + std::string(" not found\n"));
}

}  // namespace
}  // namespace maptesk
