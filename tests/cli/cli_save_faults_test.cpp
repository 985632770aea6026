// maptesk-cli writing onto a full and onto a read-only file system: every
// command that writes fails with its message and exit status 1, the files it
// would have replaced stay byte for byte, and no temporary file is left.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/full_disk.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::RunCli;
using testing::WriteText;

class CliSaveFaults : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RunCli({"sample", game.str()}, game).status, 0); }

  // Old versions of every target, then the disk is made unusable.
  void PlaceOldFiles(testing::FullDisk& disk) {
    for (const char* name : {"A.MAP", "MapsReport.txt", "pic.bmp", "T00.s16", "B00.bmp"}) {
      WriteText(disk / name, std::string("old ") + name);
    }
    fs::copy_file(game / "SCENARIO/MERROW.MAP", disk / "maps/MERROW.MAP");
  }

  void ExpectAllFail(testing::FullDisk& disk) {
    const std::string picture = game / "MAP/MAP1200.s16";
    struct Case {
      std::vector<std::string> args;
      std::string target;
    } cases[] = {
        {{"save", game / "SCENARIO/MERROW.MAP", disk / "A.MAP"}, "A.MAP"},
        {{"report", disk / "maps"}, ""},
        {{"report", game / "SCENARIO", "--out", disk / "MapsReport.txt"}, "MapsReport.txt"},
        {{"picture", picture, disk / "pic.bmp"}, "pic.bmp"},
        {{"tiles", "s16", picture, disk / "T"}, "T00.s16"},
        {{"tiles", "bmp", game / "MAP/MAP0500.s16", disk / "B"}, "B00.bmp"},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.args[0] + " " + c.args.back());
      auto r = RunCli(c.args, game);
      EXPECT_EQ(r.status, 1) << r.out << r.err;
      EXPECT_NE(r.err.find("rror"), std::string::npos) << r.err;
      if (!c.target.empty()) EXPECT_EQ(ReadText(disk / c.target), "old " + c.target);
    }
    EXPECT_EQ(disk.Files(), (std::vector<std::string>{"A.MAP", "B00.bmp", "MapsReport.txt",
                                                      "T00.s16", "maps", "pic.bmp"}));
    EXPECT_EQ(testing::ListFolder(fs::path(disk / "maps")), std::vector<std::string>{"MERROW.MAP"});
  }

  testing::TempDir game;
};

TEST_F(CliSaveFaults, FullDisk) {
  testing::FullDisk disk(256);
  MAPTESK_REQUIRE_FULL_DISK(disk);
  fs::create_directories(fs::path(disk / "maps"));
  PlaceOldFiles(disk);
  disk.Fill();
  ExpectAllFail(disk);
}

TEST_F(CliSaveFaults, ReadOnlyFolder) {
  testing::FullDisk disk(256);
  MAPTESK_REQUIRE_FULL_DISK(disk);
  fs::create_directories(fs::path(disk / "maps"));
  PlaceOldFiles(disk);
  ASSERT_TRUE(disk.MakeReadOnly());
  ExpectAllFail(disk);
}

TEST_F(CliSaveFaults, TargetIsAFolder) {
  fs::create_directories(game.path() / "out/A.MAP");
  fs::create_directories(game.path() / "out/pic.bmp");
  EXPECT_EQ(RunCli({"save", game / "SCENARIO/MERROW.MAP", game / "out/A.MAP"}, game).status, 1);
  EXPECT_EQ(RunCli({"picture", game / "MAP/MAP1200.s16", game / "out/pic.bmp"}, game).status, 1);
  EXPECT_EQ(RunCli({"report", game / "SCENARIO", "--out", game / "out"}, game).status, 1);
  EXPECT_TRUE(fs::is_directory(game.path() / "out/A.MAP"));
  EXPECT_EQ(testing::ListFolder(game.path() / "out"),
            (std::vector<std::string>{"A.MAP", "pic.bmp"}));
}

}  // namespace
}  // namespace maptesk
