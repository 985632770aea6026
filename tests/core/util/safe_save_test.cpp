// Saving under faults: a full disk, a folder that cannot be written, a
// target that is a folder. The previous file must survive byte for byte and
// no temporary file may be left behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/tool_settings.h"
#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "support/full_disk.h"
#include "support/map_fixtures.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "core/util/file_io.h"

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
            (std::vector<std::string>{"Error on creating [" + (disk / "a.MAP") + "]",
                                      "Error on creating [" + (disk / "MAP003.TXT") + "]"}));
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
  EXPECT_EQ(prompts.Texts("error").back(), "Error on creating [" + (disk / "a.MAP") + "]");
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
