#include "core/util/path_utils.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/util/file_io.h"
#include "core/util/fs_path.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

TEST(PathPart, SplitsDriveFolderNameAndExtension) {
  const std::string p = "C:\\Games\\MAP\\map012.s16";
  EXPECT_EQ(PathPart(p, -1), "");
  EXPECT_EQ(PathPart(p, 0), "C:\\Games\\MAP\\");
  EXPECT_EQ(PathPart(p, 1), "map012");
  EXPECT_EQ(PathPart(p, 2), ".s16");
  EXPECT_EQ(PathPart(p, 3), "map012.s16");
  EXPECT_EQ(PathPart(p, 4), "C:\\Games\\MAP\\map012");
  EXPECT_EQ(PathPart(p, 9), p);
  EXPECT_EQ(PathPart("map012.s16", 0), "");
  EXPECT_EQ(PathPart("map012.s16", 3), "map012.s16");
  EXPECT_EQ(PathPart("", 9), "");
  // Forward slashes, dots in folders and several dots in the name.
  EXPECT_EQ(PathPart("/home/u/a.b/c", 2), "");
  EXPECT_EQ(PathPart("/home/u/a.b/c.d.MAP", 1), "c.d");
  EXPECT_EQ(PathPart("/home/u/a.b/c.d.MAP", 0), "/home/u/a.b/");
  EXPECT_EQ(PathPart("D:x.map", 0), "D:");
}

TEST(ParentFolder, CutsBackOneFolder) {
  EXPECT_EQ(ParentFolder("C:\\a\\b\\"), "C:\\a\\");
  EXPECT_EQ(ParentFolder("C:\\a\\b\\file.txt"), "C:\\a\\");
  EXPECT_EQ(ParentFolder("C:\\"), "C:");
  EXPECT_EQ(ParentFolder("/g/SCENARIO/x.map"), "/g/");
  EXPECT_EQ(ParentFolder("SCENARIO/*.map"), "");
  EXPECT_EQ(ParentFolder(""), "");
}

TEST(TrailingNumber, ReadsTheDigitsAtTheEnd) {
  EXPECT_EQ(TrailingNumber("Map 12 ", 0), 12);
  EXPECT_EQ(TrailingNumber("Map", -1), -1);
  EXPECT_EQ(TrailingNumber("2008", 0), 2008);
  EXPECT_EQ(TrailingNumber("", 5), 5);
  EXPECT_EQ(TrailingNumber("MAP1200", 0), 1200);
  // A run too long for any number does not overflow.
  EXPECT_GE(TrailingNumber("x99999999999999999999999999", 0), 0);
}

TEST(Padding, FillsToTheWidthAndNeverCuts) {
  EXPECT_EQ(PadNumber(7, 3, '0', true), "007");
  EXPECT_EQ(PadNumber(7, 3, ' ', false), "7  ");
  EXPECT_EQ(PadNumber(1234, 3, '0', true), "1234");
  EXPECT_EQ(PadText("MAP", 6, '.', true), "...MAP");
  EXPECT_EQ(PadText("abc", -4, ' ', false), "abc");
}

TEST(Wildcards, MatchIgnoringCase) {
  EXPECT_TRUE(WildcardMatch("*.map", "ABC.MAP"));
  EXPECT_TRUE(WildcardMatch("MAP*.s16", "map0500.S16"));
  EXPECT_FALSE(WildcardMatch("MAP*.s16", "map0500.s16.bak"));
  EXPECT_TRUE(WildcardMatch("a?c*", "aXc"));
  EXPECT_FALSE(WildcardMatch("a?c", "ac"));
  EXPECT_TRUE(WildcardMatch("*", ""));
}

// Folder and file names in UTF-8 name the same entries on the way in and out:
// created, listed, found case-blind and saved over under the bytes given.
TEST(FsPath, Utf8NamesAreTheSameBytesInAndOut) {
  testing::TempDir dir;
  const std::string folder = "\xC3\xA9t\xC3\xA9";                 // "été"
  const std::string file = dir / (folder + "/Cr\xC3\xA8te.MAP");  // "Crète.MAP"
  testing::WriteText(file, "old");
  EXPECT_EQ(FsName(FsPath(file)), file);
  EXPECT_EQ(testing::ListFolder(dir.path()), std::vector<std::string>{folder});
  EXPECT_EQ(FindFiles(dir / folder, "*.map"), std::vector<std::string>{file});
  const auto found = FindFileNoCase(dir / (folder + "/CR\xC3\xA8TE.map"));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, file);
  std::string error;
  ASSERT_TRUE(SaveFileSafely(file, "new", &error)) << error;
  EXPECT_EQ(testing::ReadText(file), "new");
  EXPECT_EQ(testing::ListFolder(FsPath(dir / folder)),
            std::vector<std::string>{"Cr\xC3\xA8te.MAP"});
}

#ifdef _WIN32
TEST(FsPath, WindowsNamesAreReadAsUtf8ElseAsTheGamesCodePage) {
  EXPECT_EQ(FsPath("\xC3\xA9t\xC3\xA9").native(), L"\u00e9t\u00e9");
  // Not UTF-8: a name the game wrote in Windows-1252.
  EXPECT_EQ(FsPath("Cr\xE8te\x80").native(), L"Cr\u00e8te\u20ac");
  EXPECT_EQ(FsPath("").native(), L"");
  // A lone surrogate has no UTF-8 form.
  EXPECT_EQ(FsName(std::filesystem::path(std::wstring(L"a") + wchar_t(0xD800))), "a\xEF\xBF\xBD");
  EXPECT_EQ(FsName(std::filesystem::path(L"\u20ac")), "\xE2\x82\xAC");
}
#endif

TEST(FindFileNoCase, FindsGameFilesWhateverTheirCase) {
  testing::TempDir dir;
  testing::WriteText(dir / "Map/map0700.S16", "x");
  auto found = FindFileNoCase(dir.str() + "MAP/MAP0700.s16");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, dir / "Map/map0700.S16");
  EXPECT_TRUE(FileExists(dir.str() + "map\\MAP0700.S16"));
  EXPECT_FALSE(FileExists(dir.str() + "MAP/MAP0800.s16"));
  EXPECT_FALSE(FileExists(""));
  auto files = FindFiles(dir.str() + "MAP", "map*.s16");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0], dir / "Map/map0700.S16");
  EXPECT_TRUE(FindFiles(dir.str() + "nowhere", "*").empty());
}

#ifndef _WIN32
TEST(FindFileNoCase, AnEntryOfTheExactNameWinsEvenADanglingLink) {
  testing::TempDir dir;
  testing::WriteText(dir / "g/arden.map", "first");
  testing::WriteText(dir / "g/arden.MAP", "second");
  testing::WriteText(dir / "g/OUT.MAP", "other");
  std::filesystem::create_symlink(dir / "gone/out.MAP", dir / "g/out.MAP");
  std::filesystem::create_symlink(dir / "gone", dir / "g/Sub");
  struct Case {
    const char* asked;
    const char* found;  // "" for none
    bool exists;
  };
  const Case cases[] = {
      {"g/arden.map", "g/arden.map", true},
      {"g/arden.MAP", "g/arden.MAP", true},
      // No exact entry: of the two case-blind matches, the first by byte order.
      {"g/ARDEN.MAP", "g/arden.MAP", true},
      {"G/Arden.Map", "g/arden.MAP", true},
      // A dangling link is the name's entry: the name is not another file's.
      {"g/out.MAP", "g/out.MAP", false},
      {"g/Out.MAP", "g/OUT.MAP", true},
      {"g/sub/x.MAP", "", false},
      {"g/none.MAP", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    const auto found = FindFileNoCase(dir / c.asked);
    if (*c.found == 0) {
      EXPECT_FALSE(found.has_value());
    } else {
      ASSERT_TRUE(found.has_value());
      EXPECT_EQ(*found, dir / c.found);
    }
    EXPECT_EQ(FileExists(dir / c.asked), c.exists);
  }
}
#endif

}  // namespace
}  // namespace maptesk
