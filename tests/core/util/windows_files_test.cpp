// Saving and finding files on Windows: drive letters, network paths, both
// separators, a case-blind file system, read-only and open targets.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

namespace fs = std::filesystem;
using testing::ListFolder;
using testing::ReadText;
using testing::TempDir;
using testing::WriteText;

TEST(WindowsPaths, DriveNetworkAndMixedSeparatorsSplit) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
    const char* extension;
    const char* parent;
  } rows[] = {
      {"C:\\a\\b.MAP", "C:\\a\\", "b", ".MAP", "C:\\"},
      {"\\\\srv\\share\\MAP\\x.s16", "\\\\srv\\share\\MAP\\", "x", ".s16", "\\\\srv\\share\\"},
      {"C:/a\\b", "C:/a\\", "b", "", "C:/"},
      {"C:b.txt", "C:", "b", ".txt", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.path);
    const PathPieces p = SplitPath(r.path);
    EXPECT_EQ(p.folder, r.folder);
    EXPECT_EQ(p.name, r.name);
    EXPECT_EQ(p.extension, r.extension);
    EXPECT_EQ(PathPart(r.path, kPartFolder), r.folder);
    EXPECT_EQ(PathPart(r.path, kPartFileName), std::string(r.name) + r.extension);
    EXPECT_EQ(ParentFolder(r.path), r.parent);
  }
  EXPECT_EQ(NativeSeparators("C:/a\\b/c"), "C:\\a\\b\\c");
  EXPECT_EQ(WithTrailingSeparator("C:\\maps"), "C:\\maps\\");
  EXPECT_EQ(WithTrailingSeparator("C:/maps/"), "C:/maps/");
}

TEST(WindowsPaths, CaseBlindLookupsGiveTheStoredNameWhateverTheSeparators) {
  TempDir dir;
  WriteText(dir / "Map/map0700.S16", "tile");
  const std::string stored = dir / "Map/map0700.S16";
  for (const std::string& asked :
       {dir / "MAP/MAP0700.s16", dir.str() + "map/MAP0700.S16", dir / "Map/map0700.S16"}) {
    SCOPED_TRACE(asked);
    const auto found = FindFileNoCase(asked);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, stored);
    EXPECT_TRUE(FileExists(asked));
    EXPECT_EQ(ResolveExisting(asked), stored);
  }
  EXPECT_FALSE(FindFileNoCase(dir / "MAP/map0701.s16").has_value());
  EXPECT_FALSE(FindFileNoCase(dir / "MAP/map07*.s16").has_value());  // a pattern is no name
  EXPECT_EQ(FindFiles(dir / "MAP", "*.s16"), std::vector<std::string>{stored});
}

TEST(WindowsFiles, SavingOverAFileOfAnotherCaseKeepsItsName) {
  TempDir dir;
  WriteText(dir / "A.MAP", "old");
  std::string error;
  ASSERT_TRUE(SaveFileSafely(dir / "a.map", "new", &error)) << error;
  EXPECT_EQ(ReadText(dir / "A.MAP"), "new");
  EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"A.MAP"});
  EXPECT_EQ(SaveTargetFor(dir / "a.map"), dir / "A.MAP");
}

TEST(WindowsFiles, AReadOnlyTargetIsRefusedAndKept) {
  TempDir dir;
  const std::string target = dir / "locked.MAP";
  WriteText(target, "old");
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
  std::string error;
  EXPECT_FALSE(SaveFileSafely(target, "new", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(CheckSaveTarget(target));
  EXPECT_EQ(ReadText(target), "old");
  EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"locked.MAP"});
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFiles, AFileHeldOpenByAnotherProgramIsReplacedWholeOrKept) {
  TempDir dir;
  const std::string target = dir / "open.MAP";
  WriteText(target, "old");
  // Shared for reading and writing but not for deletion, as many editors
  // and viewers hold a file: the old name cannot be renamed over.
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::string error;
  const bool saved = SaveFileSafely(target, "new", &error);
  CloseHandle(held);
  if (saved) {
    EXPECT_EQ(ReadText(target), "new");
  } else {
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadText(target), "old");
  }
  EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"open.MAP"});  // no temporary left
}

TEST(WindowsFiles, FolderNamedWithEitherSeparatorTakesTheSave) {
  TempDir dir;
  fs::create_directories(dir.path() / "maps");
  std::string error;
  ASSERT_TRUE(SaveFileSafely(dir.str() + "maps/a.txt", "one\r\ntwo\r\n", &error)) << error;
  EXPECT_EQ(ReadText(dir / "maps/a.txt"), "one\r\ntwo\r\n");  // bytes as given, no CR added
  EXPECT_FALSE(SaveFileSafely(dir.str() + "maps\\", "x", &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace maptesk

#endif  // _WIN32
