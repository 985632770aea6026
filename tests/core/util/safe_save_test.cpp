// Saving under faults: a full disk, a folder that cannot be written, a
// target that is a folder, a special file, a file with other hard links or
// one the user may not write, a set that fails half way. The previous file
// must survive byte for byte and no temporary file may be left behind. And
// what a save keeps: links, permission bits and owner.
#include <gtest/gtest.h>

#include <sys/stat.h>
#ifndef _WIN32
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/settings/tool_settings.h"
#include "core/util/file_io.h"
#include "core/util/text_format.h"
#include "support/full_disk.h"
#include "support/locked_file.h"
#include "support/map_fixtures.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ReadText;

TEST(SafeSave, ReplacesTheTargetOnlyWhenEverythingWasWritten) {
  testing::TempDir dir;
  testing::WriteText(dir / "a.txt", "old");
  std::string error;
  ASSERT_TRUE(SaveFileSafely(dir / "a.txt", std::string_view("new contents"), &error)) << error;
  EXPECT_EQ(ReadText(dir / "a.txt"), "new contents");
  EXPECT_EQ(testing::ListFolder(dir.path()), std::vector<std::string>{"a.txt"});

  fs::create_directories(dir.path() / "folder");
  EXPECT_FALSE(SaveFileSafely(dir / "folder", std::string_view("x"), &error));
  EXPECT_FALSE(SaveFileSafely(dir / "missing/a.txt", std::string_view("x"), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
}

TEST(SafeSave, ABatchThatFailsLeavesEveryTargetAlone) {
  testing::TempDir dir;
  testing::WriteText(dir / "one", "1");
  fs::create_directories(dir.path() / "two");
  {
    SafeFileBatch batch;
    ASSERT_TRUE(batch.Add(dir / "one", "NEW", 3));
    EXPECT_FALSE(batch.Add(dir / "two", "NEW", 3));
    EXPECT_EQ(batch.failedTarget(), dir / "two");
  }  // dropped without Commit
  EXPECT_EQ(ReadText(dir / "one"), "1");
  EXPECT_EQ(testing::ListFolder(dir.path()), (std::vector<std::string>{"one", "two"}));
}

TEST(SafeSave, UnwritableFolderKeepsTheOldMapAndNames) {
  // A read-only file system stops root too, where permission bits do not.
  testing::FullDisk disk(256);
  MAPTESK_REQUIRE_FULL_DISK(disk);
  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map(settings, prompts);
  MapNames names(map, settings, prompts);
  auto bytes = testing::PatternMapFile(3, 45, 40);
  testing::WriteBytes(disk / "a.MAP", bytes);
  testing::WriteText(disk / "MAP003.TXT", "names\r\n");
  ASSERT_TRUE(map.MapFileLoad(disk / "a.MAP"));
  ASSERT_TRUE(disk.MakeReadOnly());
  EXPECT_FALSE(map.MapFileSave(""));
  EXPECT_FALSE(names.WriteNamesFile(disk / "MAP003.TXT"));
  EXPECT_EQ(prompts.Texts("error"),
            (std::vector<std::string>{
                "Error on creating [" + (disk / "a.MAP") + "]\nRead-only file system",
                "Error on creating [" + (disk / "MAP003.TXT") + "]\nRead-only file system"}));
  EXPECT_EQ(ReadBytes(disk / "a.MAP"), bytes);
  EXPECT_EQ(ReadText(disk / "MAP003.TXT"), "names\r\n");
  EXPECT_EQ(disk.Files(), (std::vector<std::string>{"MAP003.TXT", "a.MAP"}));
}

TEST(SafeSave, FullDiskKeepsTheOldMapFile) {
  testing::FullDisk disk(64);
  MAPTESK_REQUIRE_FULL_DISK(disk);
  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  settings.viewToggles &= uint16_t(~kToggleSaveClean);
  HexMap map(settings, prompts);
  auto bytes = testing::PatternMapFile(3, 45, 40);
  testing::WriteBytes(disk / "a.MAP", bytes);
  ASSERT_TRUE(map.MapFileLoad(disk / "a.MAP"));
  map.cell(0, 0).terrain = 19;
  map.modified = true;
  disk.Fill();

  EXPECT_FALSE(map.MapFileSave(""));
  EXPECT_EQ(prompts.Texts("error").back(),
            "Error on creating [" + (disk / "a.MAP") + "]\nNo space left on device");
  EXPECT_TRUE(map.modified);
  EXPECT_EQ(ReadBytes(disk / "a.MAP"), bytes);
  EXPECT_EQ(disk.Files(), std::vector<std::string>{"a.MAP"});
}

TEST(SafeSave, FullDiskKeepsTheOldNamesFile) {
  testing::FullDisk disk(64);
  MAPTESK_REQUIRE_FULL_DISK(disk);
  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map(settings, prompts);
  MapNames names(map, settings, prompts);
  testing::WriteText(disk / "MAP007.TXT", "old names\r\n");
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      names.nameIndex[size_t(r)][size_t(c)] =
          uint8_t(names.AddName("A long name for every hex " + std::to_string(r)));
    }
  }
  disk.Fill();
  names.namesModified = true;
  EXPECT_FALSE(names.WriteNamesFile(disk / "MAP007.TXT"));
  EXPECT_TRUE(names.namesModified);
  EXPECT_EQ(ReadText(disk / "MAP007.TXT"), "old names\r\n");
  EXPECT_EQ(disk.Files(), std::vector<std::string>{"MAP007.TXT"});
}

}  // namespace
}  // namespace maptesk

namespace maptesk {
namespace {

TEST(SafeSave, ExportsReplaceAnExistingFileWholeToo) {
  testing::TempDir dir;
  testing::WriteText(dir / "tile.bmp", "old tile");
  SafeFileBatch batch(Durability::kToSystem);
  ASSERT_TRUE(batch.Add(dir / "TILE.BMP", "new", 3));  // the existing name, whatever its case
  ASSERT_TRUE(batch.Commit());
  EXPECT_EQ(testing::ReadText(dir / "tile.bmp"), "new");
  EXPECT_EQ(testing::ListFolder(dir.path()), std::vector<std::string>{"tile.bmp"});
}

}  // namespace
}  // namespace maptesk

namespace maptesk {
namespace {

namespace fs = std::filesystem;
using testing::ListFolder;
using testing::ReadText;

TEST(SafeSave, WritesThroughSymbolicLinks) {
  testing::TempDir dir;
  testing::WriteText(dir / "real/a.txt", "old");
  fs::create_directories(dir.path() / "links");
  const struct {
    std::string link, to, file;
  } rows[] = {
      {"links/relative", "../real/a.txt", "real/a.txt"},
      {"links/absolute", dir / "real/a.txt", "real/a.txt"},
      {"links/chain", "relative", "real/a.txt"},
      {"links/dangling", "../real/new.txt", "real/new.txt"},  // its file is created
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.link);
    std::error_code linkError;
    fs::create_symlink(r.to, dir.path() / r.link, linkError);
#ifdef _WIN32
    // Making a link takes a privilege most Windows users lack, and Wine has none.
    if (linkError) GTEST_SKIP() << "symbolic links cannot be made here: " << linkError.message();
#endif
    ASSERT_FALSE(linkError) << linkError.message();
    std::string error;
    ASSERT_TRUE(SaveFileSafely(dir / r.link, std::string_view(r.link), &error)) << error;
    EXPECT_EQ(fs::read_symlink(dir.path() / r.link), fs::path(r.to));
    EXPECT_EQ(ReadText(dir / r.file), r.link);
  }
  EXPECT_EQ(ListFolder(dir.path() / "real"), (std::vector<std::string>{"a.txt", "new.txt"}));
  EXPECT_EQ(ListFolder(dir.path() / "links").size(), 4u);
}

// Special files, hard links, modes and owners: the POSIX side of a save.
#ifndef _WIN32
TEST(SafeSave, OnlyARegularFileTheUserMayWriteIsReplaced) {
  testing::TempDir dir;
  testing::WriteText(dir / "linked", "old");
  fs::create_hard_link(dir.path() / "linked", dir.path() / "second");
  testing::WriteText(dir / "locked", "old");
  testing::LockedFile locked(dir / "locked");
  fs::create_directory(dir.path() / "folder");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
  const bool deviceMade = mknod((dir / "device").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0;
  const char* special = "It is %s, not a regular file: only regular files are replaced";
  const std::string noName = "The name ends with a folder separator: a file name is needed";
  const struct {
    std::string name, reason;
    bool made;
  } rows[] = {
      {"fifo", Format(special, "a FIFO"), true},
      {"device", Format(special, "a device"), deviceMade},  // needs root
      {"folder", "Is a directory", true},
      {"folder/", noName, true},
      {"missing/", noName, true},
      {"missing/a.txt", "No such file or directory", true},
      {"linked",
       "The file has 2 hard links: a save would give the new content to this name only, so it "
       "was left as it is",
       true},
      {"locked", locked.reason(), locked.locked()},
  };
  const std::vector<std::string> before = ListFolder(dir.path());
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    if (!r.made) continue;
    std::string error;
    EXPECT_FALSE(SaveFileSafely(dir / r.name, std::string_view("new"), &error));
    EXPECT_EQ(error, r.reason);
  }
  std::string error;
  EXPECT_FALSE(SaveFileSafely("", std::string_view("new"), &error));
  EXPECT_EQ(error, "No file name given");
  EXPECT_EQ(ListFolder(dir.path()), before);
  for (const char* name : {"linked", "second", "locked"}) EXPECT_EQ(ReadText(dir / name), "old");
  EXPECT_TRUE(fs::is_fifo(dir.path() / "fifo"));
}

TEST(SafeSave, TheReplacedFileKeepsItsModeAndOwner) {
  testing::TempDir dir;
  const std::string path = dir / "a.txt";
  for (mode_t mode : {0600, 0640, 0751, 0604}) {
    testing::WriteText(path, "old");
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    // Only root may give a file to someone else.
    const bool chowned = geteuid() == 0 && chown(path.c_str(), 4321, 4322) == 0;
    ASSERT_TRUE(SaveFileSafely(path, std::string_view("new")));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
    if (chowned) {
      EXPECT_EQ(std::pair(st.st_uid, st.st_gid), std::pair(uid_t(4321), gid_t(4322)));
    }
  }
  EXPECT_EQ(ReadText(path), "new");
}

#endif  // _WIN32

TEST(SafeSave, ANewFileGoesIntoTheFolderThatDiffersOnlyInCase) {
  testing::TempDir dir;
  fs::create_directories(dir.path() / "GAME/map");
  ASSERT_TRUE(SaveFileSafely(dir / "GAME/MAP/MAP0700.TXT", std::string_view("names")));
  EXPECT_EQ(ReadText(dir / "GAME/map/MAP0700.TXT"), "names");
  EXPECT_EQ(ListFolder(dir.path() / "GAME"), std::vector<std::string>{"map"});
  EXPECT_EQ(SaveTargetFor(dir / "game/MAP/x.MAP"), dir / "GAME/map/x.MAP");
}

TEST(SafeSave, ANameAsLongAsTheSystemAllowsStillSaves) {
  testing::TempDir dir;
  const std::string name(255, 'n');
  for (const char* text : {"created", "replaced"}) {
    std::string error;
    ASSERT_TRUE(SaveFileSafely(dir / name, std::string_view(text), &error)) << error;
    EXPECT_EQ(ReadText(dir / name), text);
  }
  EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{name});
}

TEST(SafeSave, AFailedCommitPutsEveryOldFileBack) {
  testing::TempDir dir;
  for (const char* name : {"replaced", "removed", "late"}) testing::WriteText(dir / name, name);
  SafeFileBatch batch;
  ASSERT_TRUE(batch.Add(dir / "replaced", "NEW", 3));
  ASSERT_TRUE(batch.Add(dir / "created", "NEW", 3));
  ASSERT_TRUE(batch.Remove(dir / "removed"));
  ASSERT_TRUE(batch.Add(dir / "late", "NEW", 3));
  // The last file's place is taken by a folder after it was written.
  fs::remove(dir.path() / "late");
  fs::create_directory(dir.path() / "late");
  EXPECT_FALSE(batch.Commit());
  EXPECT_EQ(batch.failedTarget(), dir / "late");
  EXPECT_EQ(batch.error(), "Is a directory");
  EXPECT_EQ(ReadText(dir / "replaced"), "replaced");
  EXPECT_EQ(ReadText(dir / "removed"), "removed");
  EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"late", "removed", "replaced"}));

  SafeFileBatch again;
  ASSERT_TRUE(again.Add(dir / "replaced", "NEW", 3));
  ASSERT_TRUE(again.Remove(dir / "removed"));
  ASSERT_TRUE(again.Commit()) << again.error();
  EXPECT_EQ(ReadText(dir / "replaced"), "NEW");
  EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"late", "replaced"}));
}

}  // namespace
}  // namespace maptesk
