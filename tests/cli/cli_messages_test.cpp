// What maptesk-cli tells the user: results only once they are saved, paths
// and names in UTF-8, one message per failure.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/util/fs_path.h"
#include "support/map_fixtures.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::PatternMapFile;
using testing::RunCli;
using testing::TempDir;
using testing::WriteBytes;
using testing::WriteText;

class CliMessagesTest : public ::testing::Test {
 protected:
  // Every hex clear, map 7, in GAME/SCENARIO with its names in GAME/MAP.
  std::string WriteMap(const std::string& game) {
    std::vector<uint8_t> bytes(kMapFileSize, 0);
    bytes[0] = 7;
    bytes[2] = 45;
    bytes[4] = 40;
    // With the system's separators, as the tool prints paths back.
    const std::string map = FsName(FsPath(game + "/SCENARIO/a.MAP").make_preferred());
    WriteBytes(map, bytes);
    std::filesystem::create_directories(FsPath(game + "/MAP"));
    return map;
  }
  TempDir dir;
};

TEST_F(CliMessagesTest, DoneIsPrintedOnlyOnceTheMapIsSaved) {
  const std::string map = WriteMap(dir / "game");
  auto failed =
      RunCli({"replace-terrain", map, "Clear", "Swamp", "--out", dir / "no/such/b.MAP"}, dir);
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "");
  EXPECT_NE(failed.err.find("Error on creating"), std::string::npos) << failed.err;

  auto saved = RunCli({"replace-terrain", map, "Clear", "Swamp", "--out", dir / "b.MAP"}, dir);
  EXPECT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(saved.out, "Done !\n1800 Terrain types changed\nfrom: Clear\nto Swamp\n");
}

TEST_F(CliMessagesTest, PathsAndNamesArePrintedInUtf8WithControlsEscaped) {
  const std::string game = dir / "\xC3\xA9t\xC3\xA9";  // "été"
  const std::string map = WriteMap(game);
  // Names files hold Windows-1252 bytes: 0xE9 is "é"; 0x01, and 0x81 which
  // the code page leaves undefined, are controls.
  WriteText(game + "/MAP/MAP007.TXT", "header\n(1,2) #Cr\xE9te\n(3,4) #Bad\x01Name\x81\n");
  auto info = RunCli({"info", map}, dir);
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("Map file:     " + map + "\n"), std::string::npos) << info.out;
  EXPECT_EQ(info.out.find("\xC3\x83"), std::string::npos) << "no double encoding: " << info.out;

  auto names = RunCli({"names", map}, dir);
  ASSERT_EQ(names.status, 0) << names.err;
  EXPECT_EQ(names.out, "(1,2) Cr\xC3\xA9te\n(3,4) Bad\\x01Name\\x81\n");
}

TEST_F(CliMessagesTest, ANamesFileThatCannotBeReadIsOneMessage) {
  const std::string map = WriteMap(dir / "game");
  std::filesystem::create_directories(dir / "folder.txt");
  auto folder = RunCli({"names", map, "--names", dir / "folder.txt"}, dir);
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.err.find(dir / "folder.txt"), std::string::npos) << folder.err;
  // Exactly one message: it may span lines, but names the file once.
  EXPECT_EQ(folder.err.find(dir / "folder.txt"), folder.err.rfind(dir / "folder.txt"))
      << folder.err;
}

TEST_F(CliMessagesTest, AReportOfAPlainFileSaysItIsNotAFolder) {
  WriteBytes(dir / "plain.map", {1, 0});
  auto r = RunCli({"report", dir / "plain.map"}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "[" + (dir / "plain.map") + "] is not a folder\n");
}

}  // namespace
}  // namespace maptesk
