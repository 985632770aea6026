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

  // Each message ends with the system's `reason`.
  void ExpectAllFail(testing::FullDisk& disk, const std::string& reason) {
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
      EXPECT_TRUE(r.err.ends_with("\n" + reason + "\n")) << r.err;
      if (!c.target.empty()) {
        EXPECT_EQ(ReadText(disk / c.target), "old " + c.target);
      }
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
  ExpectAllFail(disk, "No space left on device");
}

TEST_F(CliSaveFaults, ReadOnlyFolder) {
  testing::FullDisk disk(256);
  MAPTESK_REQUIRE_FULL_DISK(disk);
  fs::create_directories(fs::path(disk / "maps"));
  PlaceOldFiles(disk);
  ASSERT_TRUE(disk.MakeReadOnly());
  ExpectAllFail(disk, "Read-only file system");
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

TEST_F(CliSaveFaults, EmptyOrFolderOutputsWriteNothing) {
  const std::string map = game / "SCENARIO/MERROW.MAP", picture = game / "MAP/MAP1200.s16";
  fs::create_directories(game.path() / "out");
  const struct {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"save", map, ""}, 2},
      {{"replace-terrain", map, "Swamp", "Rough", "--out", ""}, 2},
      {{"renumber", map, "7", "--out", ""}, 2},
      {{"autoroads", map, "--out", ""}, 2},
      {{"marks", map, "load", "--out", ""}, 2},
      {{"report", game / "SCENARIO", "--out", ""}, 2},
      {{"picture", picture, ""}, 2},
      {{"tiles", "bmp", picture, ""}, 2},
      {{"save", map, game / "out/"}, 1},
      {{"save", map, game / "out"}, 1},
      {{"renumber", map, "7", "--out", game / "out/"}, 1},
      {{"picture", picture, game / "out/"}, 1},
      {{"report", game / "SCENARIO", "--out", game / "out/"}, 1},
  };
  const auto before = std::pair(testing::ListFolder(game.path()), fs::last_write_time(map));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    auto r = RunCli(c.args, game);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.status == 1) {
      EXPECT_TRUE(r.err.starts_with("Error on creating [")) << r.err;
    }
  }
  EXPECT_EQ(std::pair(testing::ListFolder(game.path()), fs::last_write_time(map)), before);
  EXPECT_TRUE(testing::ListFolder(game.path() / "out").empty());
}

TEST_F(CliSaveFaults, PictureToStandardOutputLeavesItAlone) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no /dev/stdout: standard output is not a file that can be named";
#endif
  const bool wasLink = fs::is_symlink("/dev/stdout");
  auto r = RunCli({"picture", game / "MAP/MAP1200.s16", "/dev/stdout"}, game);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");  // a pipe, here
  EXPECT_EQ(r.err,
            "Error creating /dev/stdout\n"
            "It is a FIFO, not a regular file: only regular files are replaced\n");
  EXPECT_EQ(fs::is_symlink("/dev/stdout"), wasLink);
}

}  // namespace
}  // namespace maptesk
