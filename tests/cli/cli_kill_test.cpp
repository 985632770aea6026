// A tile set committed by a program that is killed at each step of its
// commit, and two programs writing one set at once: the next run must find
// one whole set, old or new, and no file of ours left in the folder.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "core/picture/s16_tiles.h"
#include "core/util/save_guard.h"
#include "support/picture_files.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

namespace fs = std::filesystem;
using testing::ListFolder;
using testing::RunCli;
using testing::ShellQuote;
using testing::TempDir;

constexpr uint16_t kOld = 0xF800;    // red
constexpr uint16_t kNew = 0x001F;    // blue
constexpr uint16_t kOther = 0x07E0;  // green

// `columns` x `rows` plain tiles of one colour.
void WriteSet(const std::string& base, uint16_t colour, int columns = 3, int rows = 4) {
  const std::vector<uint8_t> tile =
      testing::S16Plain(640, 480, [colour](int, int) { return colour; });
  for (int c = 0; c < columns; ++c) {
    for (int r = 0; r < rows; ++r) testing::WriteBytes(S16Tiles::TileName(base, c, r), tile);
  }
}

// The colour of each tile's first and last pixel, -1 for a tile missing or
// of two colours: "whole" means every tile of the set has one colour.
int TileColour(const std::string& path) {
  const std::vector<uint8_t> bytes = testing::ReadBytes(path);
  if (bytes.size() != 44 + 640 * 480 * 2) return -1;
  const int first = bytes[44] | bytes[45] << 8;
  const int last = bytes[bytes.size() - 2] | bytes[bytes.size() - 1] << 8;
  return first == last ? first : -1;
}

std::vector<int> SetColours(const std::string& base) {
  std::vector<int> colours;
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 4; ++r) colours.push_back(TileColour(S16Tiles::TileName(base, c, r)));
  }
  return colours;
}

std::vector<std::string> TwelveTiles() {
  std::vector<std::string> names;
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 4; ++r) names.push_back(S16Tiles::TileName("MAP05", c, r));
  }
  std::sort(names.begin(), names.end());
  return names;
}

int RunKilled(const std::string& picture, const std::string& base, int step) {
  const std::string command = ShellQuote(MAPTESK_COMMIT_KILLED) + " " + ShellQuote(picture) + " " +
                              ShellQuote(base) + " " + std::to_string(step) + " 2>/dev/null";
  const int raw = std::system(command.c_str());
  return WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : WEXITSTATUS(raw);
}

class KilledCommit : public ::testing::Test {
 protected:
  TempDir dir;
  std::string maps = dir / "MAP";
  std::string base = dir / "MAP/MAP05";
  std::string source = dir / "SRC/MAP09";
  void SetUp() override {
    WriteSet(base, kOld);
    WriteSet(source, kNew);
  }
};

TEST_F(KilledCommit, AtEveryRenameTheNextRunFindsTheWholeNewSet) {
  for (int step = 0; step <= 12; ++step) {
    SCOPED_TRACE("killed before step " + std::to_string(step));
    WriteSet(base, kOld);
    ASSERT_EQ(RunKilled(source + "00.s16", base, step), 128 + SIGKILL);
    // The kill really came half way: `step` tiles are new, the rest old.
    const std::vector<int> killed = SetColours(base);
    EXPECT_EQ(std::count(killed.begin(), killed.end(), kNew), step);

    // Reading the set finishes the commit.
    const testing::CliResult read = RunCli({"picture", base + "00.s16", dir / "out.bmp"}, dir);
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(SetColours(base), std::vector<int>(12, kNew));
    EXPECT_EQ(ListFolder(maps), TwelveTiles());
  }
}

TEST_F(KilledCommit, AKillBeforeTheRenamesLeavesTheOldSetAndTheNextSaveCleansUp) {
  // Killed after every temporary was written and the journal too, before
  // the first rename, then a second export of another picture.
  ASSERT_EQ(RunKilled(source + "00.s16", base, 0), 128 + SIGKILL);
  WriteSet(dir / "SRC/MAP08", kOther);
  const testing::CliResult again = RunCli({"tiles", "s16", dir / "SRC/MAP0800.s16", base}, dir);
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(SetColours(base), std::vector<int>(12, kOther));
  EXPECT_EQ(ListFolder(maps), TwelveTiles());
}

TEST_F(KilledCommit, ASetThatShrinksIsFinishedWithItsRemovals) {
  // The new picture is 3 x 2 tiles: six old tiles go in the same commit.
  fs::remove_all(dir / "SRC");
  WriteSet(source, kNew, 3, 2);
  for (int step : {0, 3, 7, 11, 12}) {
    SCOPED_TRACE("killed before step " + std::to_string(step));
    WriteSet(base, kOld);
    ASSERT_EQ(RunKilled(source + "00.s16", base, step), 128 + SIGKILL);
    const testing::CliResult read = RunCli({"picture", base + "00.s16", dir / "out.bmp"}, dir);
    EXPECT_EQ(read.status, 0) << read.err;
    std::vector<std::string> expected;
    for (int c = 0; c < 3; ++c) {
      for (int r = 0; r < 2; ++r) {
        expected.push_back(S16Tiles::TileName("MAP05", c, r));
        EXPECT_EQ(TileColour(S16Tiles::TileName(base, c, r)), kNew);
      }
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ListFolder(maps), expected);
  }
}

TEST_F(KilledCommit, TwoWritersOfOneSetLeaveOneWholeSetAndBothSucceed) {
  WriteSet(dir / "SRC/MAP08", kOther);
  for (int pair = 0; pair < 4; ++pair) {
    SCOPED_TRACE("pair " + std::to_string(pair));
    auto command = [&](const std::string& picture, const std::string& err) {
      return ShellQuote(MAPTESK_CLI) + " tiles s16 " + ShellQuote(picture) + " " +
             ShellQuote(base) + " >/dev/null 2>" + ShellQuote(err);
    };
    const std::string both = "(" + command(source + "00.s16", dir / "err1") + "; echo $? >" +
                             ShellQuote(dir / "rc1") + ") & (" +
                             command(dir / "SRC/MAP0800.s16", dir / "err2") + "; echo $? >" +
                             ShellQuote(dir / "rc2") + ") & wait";
    ASSERT_EQ(std::system(both.c_str()), 0);
    EXPECT_EQ(testing::ReadText(dir / "rc1"), "0\n") << testing::ReadText(dir / "err1");
    EXPECT_EQ(testing::ReadText(dir / "rc2"), "0\n") << testing::ReadText(dir / "err2");
    const std::vector<int> colours = SetColours(base);
    EXPECT_TRUE(colours == std::vector<int>(12, kNew) || colours == std::vector<int>(12, kOther));
    EXPECT_EQ(ListFolder(maps), TwelveTiles());
  }
}

TEST_F(KilledCommit, AWriterHeldUpByAnotherWaitsForItsLock) {
  // Another program holds the folder while it writes; it lets go after a
  // moment and the export then goes ahead.
  const int fd = open((maps + "/" + kFolderLockName).c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);
  std::thread release([fd] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    close(fd);
  });
  const testing::CliResult run = RunCli({"tiles", "s16", source + "00.s16", base}, dir);
  release.join();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(SetColours(base), std::vector<int>(12, kNew));
  EXPECT_EQ(ListFolder(maps), TwelveTiles());
}

}  // namespace
}  // namespace maptesk
#endif
