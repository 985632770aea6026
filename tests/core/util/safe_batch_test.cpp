// A batch that holds its folder's lock resolves names from one listing of
// the folder and checks each target again with one look before it replaces
// it: the names it picks must be those a single save picks, and a target
// that changed after it was written must still stop the whole set.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/util/file_io.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

namespace fs = std::filesystem;
using testing::ListFolder;
using testing::ReadText;
using testing::WriteText;

TEST(SafeBatch, ALockedBatchPicksTheNamesASingleSavePicks) {
  testing::TempDir dir;
  fs::create_directories(dir.path() / "game/sub");
  // Two names that differ only in case: the exact one first, else the
  // first by byte order ("T" before "t").
  WriteText(dir / "game/t00.bmp", "lower");
  WriteText(dir / "game/T00.BMP", "upper");
  WriteText(dir / "game/Only.bmp", "only");
  WriteText(dir / "game/real.bmp", "real");
  fs::create_symlink("real.bmp", dir.path() / "game/link.bmp");
  const std::vector<std::string> names = {"t00.bmp", "T00.bmp",   "only.BMP",
                                          "new.bmp", "SUB/x.bmp", "LINK.BMP"};
  std::vector<std::string> expected;
  for (const std::string& name : names) expected.push_back(SaveTargetFor(dir / ("game/" + name)));
  SafeFileBatch batch(Durability::kToSystem);
  ASSERT_TRUE(batch.UseJournal(dir / "game/T")) << batch.error();
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(batch.Add(dir / ("game/" + name), name.data(), name.size())) << batch.error();
  }
  EXPECT_EQ(batch.targets(), expected);
  ASSERT_TRUE(batch.Commit()) << batch.error();
  EXPECT_EQ(ReadText(dir / "game/t00.bmp"), "t00.bmp");
  EXPECT_EQ(ReadText(dir / "game/T00.BMP"), "T00.bmp");
  EXPECT_EQ(ReadText(dir / "game/Only.bmp"), "only.BMP");
  EXPECT_EQ(ReadText(dir / "game/new.bmp"), "new.bmp");
  EXPECT_EQ(ReadText(dir / "game/sub/x.bmp"), "SUB/x.bmp");
  // The link, named in another case, is written through.
  EXPECT_TRUE(fs::is_symlink(dir.path() / "game/link.bmp"));
  EXPECT_EQ(ReadText(dir / "game/real.bmp"), "LINK.BMP");
  EXPECT_EQ(ListFolder(dir.path() / "game"),
            (std::vector<std::string>{"Only.bmp", "T00.BMP", "link.bmp", "new.bmp", "real.bmp",
                                      "sub", "t00.bmp"}));
}

TEST(SafeBatch, PiecesAreWrittenInOrderHoweverManyThereAre) {
  testing::TempDir dir;
  // More pieces than one system call takes, empty ones among them.
  std::vector<std::string> parts;
  for (int k = 0; k < 2500; ++k) parts.push_back(k % 7 == 0 ? "" : std::to_string(k) + ",");
  std::vector<ByteSpan> pieces;
  std::string whole;
  for (const std::string& part : parts) {
    pieces.push_back({part.data(), part.size()});
    whole += part;
  }
  SafeFileBatch batch(Durability::kToSystem);
  ASSERT_TRUE(batch.Add(dir / "many", pieces));
  ASSERT_TRUE(batch.Add(dir / "none", std::vector<ByteSpan>{}));
  ASSERT_TRUE(batch.Commit()) << batch.error();
  EXPECT_EQ(ReadText(dir / "many"), whole);
  EXPECT_EQ(fs::file_size(dir.path() / "none"), 0u);
}

TEST(SafeBatch, ATargetChangedAfterItWasWrittenStopsTheWholeSet) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> change;
    std::string error;
  } rows[] = {
      {"a link now", [](const std::string& p) { fs::remove(p), fs::create_symlink("/tmp", p); },
       "The file's link changed during the save"},
      {"a second hard link", [](const std::string& p) { fs::create_hard_link(p, p + ".2"); },
       "The file has 2 hard links: a save would give the new content to this name only, so it "
       "was left as it is"},
      {"a FIFO", [](const std::string& p) { fs::remove(p), mkfifo(p.c_str(), 0644); },
       "It is a FIFO, not a regular file: only regular files are replaced"},
      {"a folder", [](const std::string& p) { fs::remove(p), fs::create_directory(p); },
       "Is a directory"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    testing::TempDir dir;
    WriteText(dir / "T00.bmp", "old 0");
    WriteText(dir / "T01.bmp", "old 1");
    SafeFileBatch batch(Durability::kToSystem);
    ASSERT_TRUE(batch.UseJournal(dir / "T"));
    ASSERT_TRUE(batch.Add(dir / "T00.bmp", "new", 3));
    ASSERT_TRUE(batch.Add(dir / "T01.bmp", "new", 3));
    ASSERT_TRUE(batch.Add(dir / "T02.bmp", "new", 3));
    r.change(dir / "T01.bmp");
    EXPECT_FALSE(batch.Commit());
    EXPECT_EQ(batch.failedTarget(), dir / "T01.bmp");
    EXPECT_EQ(batch.error(), r.error);
    EXPECT_EQ(ReadText(dir / "T00.bmp"), "old 0");
    EXPECT_FALSE(fs::exists(dir.path() / "T02.bmp"));
    for (const std::string& name : ListFolder(dir.path())) {
      EXPECT_TRUE(name.rfind(".~", 0) != 0) << name << " was left behind";
    }
  }
}

TEST(SafeBatch, ATargetRemovedOrCreatedAfterItWasWrittenStillCommits) {
  testing::TempDir dir;
  WriteText(dir / "gone.bmp", "old");
  SafeFileBatch batch(Durability::kToSystem);
  ASSERT_TRUE(batch.UseJournal(dir / "T"));
  ASSERT_TRUE(batch.Add(dir / "gone.bmp", "new 1", 5));
  ASSERT_TRUE(batch.Add(dir / "came.bmp", "new 2", 5));
  fs::remove(dir.path() / "gone.bmp");
  WriteText(dir / "came.bmp", "someone else's");
  ASSERT_TRUE(batch.Commit()) << batch.error();
  EXPECT_EQ(ReadText(dir / "gone.bmp"), "new 1");
  EXPECT_EQ(ReadText(dir / "came.bmp"), "new 2");
  EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"came.bmp", "gone.bmp"}));
}

TEST(SafeBatch, AFolderMadeReadOnlyIsRefusedByTheNextBatch) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write any folder";
  testing::TempDir dir;
  fs::create_directory(dir.path() / "out");
  {
    SafeFileBatch batch(Durability::kToSystem);
    ASSERT_TRUE(batch.UseJournal(dir / "out/T"));
    ASSERT_TRUE(batch.Add(dir / "out/T00.bmp", "a", 1));
    ASSERT_TRUE(batch.Commit());
  }
  ASSERT_EQ(chmod((dir / "out").c_str(), 0555), 0);
  SafeFileBatch batch(Durability::kToSystem);
  EXPECT_FALSE(batch.Add(dir / "out/T00.bmp", "b", 1));
  EXPECT_EQ(ReadText(dir / "out/T00.bmp"), "a");
}

}  // namespace
}  // namespace maptesk
#endif  // _WIN32
