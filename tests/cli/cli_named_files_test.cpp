// maptesk-cli on sets with a hole and on names that are not the file they
// seem: each command reads and writes exactly the file it was given.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/map/map_file.h"
#include "support/map_fixtures.h"
#include "support/picture_files.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunCli;
using testing::WriteBytes;

// A whole tile of one colour, packed so that a set of twelve stays small.
std::vector<uint8_t> TileOf(uint16_t colour) {
  return testing::S16Packed(640, 480, std::vector<std::pair<int, uint16_t>>(1280, {240, colour}));
}

// Map 5's set of twelve tiles without MAP0510.s16.
class CliHoleTest : public ::testing::Test {
 protected:
  CliHoleTest() {
    for (int c = 0; c < 3; ++c) {
      for (int r = 0; r < 4; ++r) {
        if (c == 1 && r == 0) continue;
        WriteBytes(Tile(c, r), TileOf(uint16_t(0x0841 * (c + 1) + r)));
      }
    }
    WriteBytes(game / "SCENARIO/FIVE.MAP", testing::PatternMapFile(5, 45, 40));
  }
  std::string Tile(int c, int r) const {
    return game / ("MAP/MAP05" + std::to_string(c) + std::to_string(r) + ".s16");
  }
  testing::TempDir game;
  const std::string hole =
      "MAP05: tile MAP0510.s16 is missing; the picture ends before MAP0520.s16\n";
};

TEST_F(CliHoleTest, LoadingTheSetSaysSoOnceAndTheExportKeepsTheTilesItLeavesOut) {
  auto r = RunCli({"picture", Tile(0, 0), game / "w.bmp"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, hole);
  const std::vector<uint8_t> before = ReadBytes(Tile(2, 0));

  // The 1280 x 1920 picture cut back into MAP05 would delete MAP0520..23.
  r = RunCli({"tiles", "s16", game / "w.bmp", game / "MAP/MAP05"}, game);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "MAP05: the new set does not replace MAP0520.s16, MAP0521.s16, MAP0522.s16, "
            "MAP0523.s16.\nNothing was written: --replace-set removes them with the old set.\n");
  for (int row = 0; row < 4; ++row) EXPECT_TRUE(fs::exists(Tile(2, row))) << row;
  EXPECT_EQ(ReadBytes(Tile(2, 0)), before);
  EXPECT_FALSE(fs::exists(Tile(1, 0)));
  EXPECT_EQ(testing::ListFolder(game / "MAP").size(), 11u);

  r = RunCli({"tiles", "s16", game / "w.bmp", game / "MAP/MAP05", "--replace-set"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(Tile(2, 0)));
  EXPECT_TRUE(fs::exists(Tile(1, 0)));
  EXPECT_EQ(testing::ListFolder(game / "MAP").size(), 8u);

  // Usage names the option.
  r = RunCli({"tiles"}, game);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("[--replace-set]"), std::string::npos) << r.err;
}

TEST_F(CliHoleTest, AMapWhosePictureHasAHoleSaysSoOnce) {
  auto r = RunCli({"info", game / "SCENARIO/FIVE.MAP"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, hole);
}

// info reads only the tiles' headers; the size it gives must be the one the
// assembled picture has, also with a tile too short for its header.
TEST_F(CliHoleTest, InfoGivesTheSizeOfThePictureTheSetAssemblesTo) {
  for (const bool broken : {false, true}) {
    SCOPED_TRACE(broken ? "with a broken tile" : "with a hole");
    if (broken) WriteBytes(Tile(0, 2), {'S', '1', '6'});
    auto r = RunCli({"picture", Tile(0, 0), game / "w.bmp"}, game);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<uint8_t> bmp = ReadBytes(game / "w.bmp");
    ASSERT_GE(bmp.size(), 26u);
    const auto le32 = [&bmp](size_t at) {
      return int(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24);
    };
    auto info = RunCli({"info", game / "SCENARIO/FIVE.MAP", "--json"}, game);
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.err, r.err);
    EXPECT_NE(info.out.find("\"pictureWidth\": " + std::to_string(le32(18)) +
                            ", \"pictureHeight\": " + std::to_string(le32(22))),
              std::string::npos)
        << info.out;
    EXPECT_EQ(le32(18), 1280);
    EXPECT_EQ(le32(22), broken ? 1440 : 1920);
  }
}

class CliNamedFileTest : public ::testing::Test {
 protected:
  CliNamedFileTest() {
    fs::create_directories(game / "BMP");
    WriteBytes(game / "SCENARIO/ARDEN.MAP", arden);
  }
  testing::TempDir game;
  const std::vector<uint8_t> arden = testing::PatternMapFile(5, 45, 40);
};

TEST_F(CliNamedFileTest, AMissingMapIsNotLookedForInTheScenarioFolder) {
  for (const char* command : {"renumber", "info", "save"}) {
    SCOPED_TRACE(command);
    std::vector<std::string> args = {command, game / "BMP/ARDEN.MAP"};
    if (std::string(command) == "renumber") args.push_back("9");
    if (std::string(command) == "save") args.push_back(game / "out.MAP");
    auto r = RunCli(args, game);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("[" + (game / "BMP/ARDEN.MAP") + "]"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("not found"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(ReadBytes(game / "SCENARIO/ARDEN.MAP"), arden);
  EXPECT_FALSE(fs::exists(game / "out.MAP"));
}

#ifndef _WIN32
TEST_F(CliNamedFileTest, InfoJsonOfANameThatIsNotUtf8IsStillJson) {
  const std::string raw = game / "SCENARIO/Caf\xE9.MAP";  // Windows-1252 bytes
  WriteBytes(raw, arden);
  auto r = RunCli({"info", raw, "--json"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string shown = game / "SCENARIO/Caf\\ufffd.MAP";
  std::string hex;
  for (char ch : raw) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(ch));
    hex += buf;
  }
  EXPECT_EQ(r.out.rfind("{\"path\": \"" + shown + "\", \"pathBytes\": \"" + hex + "\", ", 0), 0u)
      << r.out;
  EXPECT_EQ(r.out.find('\xE9'), std::string::npos);
  // A UTF-8 name is written as it is, without the second field.
  const std::string utf8 = game / "SCENARIO/Caf\xC3\xA9.MAP";
  WriteBytes(utf8, arden);
  r = RunCli({"info", utf8, "--json"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("{\"path\": \"" + utf8 + "\", \"number\": 5", 0), 0u) << r.out;
}
#endif

#ifndef _WIN32
// A game folder so deep that its absolute names exceed what the system
// opens: named relative to the current folder, every command reads and
// writes it as it would anywhere else.
TEST(CliDeepFolder, NamesRelativeToTheCurrentFolderWorkBeyondTheLongestAbsoluteName) {
  testing::TempDir top;
  const std::string step(200, 'd');
  // rm walks a tree of any depth; the test folder's own cleanup may not.
  struct RemoveDeep {
    std::string path;
    ~RemoveDeep() { (void)std::system(("rm -rf " + testing::ShellQuote(path)).c_str()); }
  } removeDeep{top / step};
  // Made and entered one step at a time: no absolute name reaches that deep.
  std::string cd = "cd " + testing::ShellQuote(top.str());
  for (int i = 0; i < 22; ++i)
    cd += " && { [ -d " + step + " ] || mkdir " + step + "; } && cd -P " + step;
  ASSERT_GT(top.str().size() + 22 * 201, 4096u);
  auto run = [&](const std::string& args) {
    const std::string command = cd + " && " + testing::ShellQuote(MAPTESK_CLI) + " " + args + " >" +
                                (top / "out") + " 2>" + (top / "err");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  ASSERT_EQ(run("sample game"), 0) << testing::ReadText(top / "err");
  ASSERT_EQ(run("save game/SCENARIO/ARDEN.MAP game/SCENARIO/COPY.MAP"), 0)
      << testing::ReadText(top / "err");
  ASSERT_EQ(run("info game/SCENARIO/COPY.MAP --json"), 0) << testing::ReadText(top / "err");
  EXPECT_NE(testing::ReadText(top / "out").find("\"hasS16Picture\": true, \"pictureWidth\": 1920"),
            std::string::npos)
      << testing::ReadText(top / "out");
  ASSERT_EQ(run("tiles s16 game/MAP/MAP0500.s16 game/MAP/MAP77"), 0)
      << testing::ReadText(top / "err");
  // From inside the SCENARIO folder, the game is its parent.
  ASSERT_EQ(run("renumber game/SCENARIO/COPY.MAP 77"), 0) << testing::ReadText(top / "err");
  cd += " && cd -P game/SCENARIO";
  ASSERT_EQ(run("info COPY.MAP --json"), 0) << testing::ReadText(top / "err");
  EXPECT_NE(testing::ReadText(top / "out").find("\"hasS16Picture\": true"), std::string::npos)
      << testing::ReadText(top / "out");
  // A name that is not there is said as for any name.
  EXPECT_EQ(run("info NONE.MAP"), 1);
  EXPECT_NE(testing::ReadText(top / "err").find("not found"), std::string::npos);
}
#endif

#ifndef _WIN32
TEST_F(CliNamedFileTest, TheExactNameIsTheFileADanglingLinkIncluded) {
  // Two maps whose names differ only in case: each name is its own file.
  WriteBytes(game / "SCENARIO/arden.map", testing::PatternMapFile(6, 45, 40));
  auto r = RunCli({"renumber", game / "SCENARIO/ARDEN.MAP", "9"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadBytes(game / "SCENARIO/ARDEN.MAP")[0], 9);
  EXPECT_EQ(ReadBytes(game / "SCENARIO/arden.map"), testing::PatternMapFile(6, 45, 40));

  // A dangling link out.MAP beside OUT.MAP: the save goes through the link.
  const std::vector<uint8_t> other = testing::PatternMapFile(8, 45, 40);
  WriteBytes(game / "OUT.MAP", other);
  fs::create_directories(game / "elsewhere");
  fs::create_symlink(game / "elsewhere/new.MAP", game / "out.MAP");
  r = RunCli({"save", game / "SCENARIO/ARDEN.MAP", game / "out.MAP"}, game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadBytes(game / "OUT.MAP"), other);
  EXPECT_EQ(ReadBytes(game / "elsewhere/new.MAP"), ReadBytes(game / "SCENARIO/ARDEN.MAP"));
  EXPECT_TRUE(fs::is_symlink(game / "out.MAP"));
}
#endif

}  // namespace
}  // namespace maptesk
