#include "core/settings/tool_settings.h"

#include <gtest/gtest.h>

#include "core/settings/profile_store.h"
#include "core/util/path_utils.h"
#include "support/scripted_prompts.h"

namespace maptesk {
namespace {

// A derived folder ends with the system's own separator.
const std::string kSep(1, kPathSeparator);

TEST(ToolSettings, FirstRunAsksForTheGameFolderAndDerivesTheRest) {
  testing::ScriptedPrompts prompts;
  MemoryProfileStore store;
  ToolSettings s;
  s.LoadSettings(store);
  prompts.AnswerPath("/games/x/");
  s.CheckFolders(prompts, "/home/u/");
  EXPECT_EQ(prompts.Texts("folder")[0], "Select norvane game folder|/home/u/");
  EXPECT_EQ(s.gameFolder, "/games/x/");
  EXPECT_EQ(s.scnFolder, "/games/x/SCENARIO" + kSep);
  EXPECT_EQ(s.mapFolder, "/games/x/MAP" + kSep);
  EXPECT_EQ(s.bmpFolder, "/games/x/MAP" + kSep);
  EXPECT_EQ(s.lastOpen, "/games/x/SCENARIO" + kSep + "*.map");
}

TEST(ToolSettings, CancelledFirstRunLeavesRelativeFolders) {
  testing::ScriptedPrompts prompts;
  ToolSettings s;
  prompts.AnswerCancel();
  s.CheckFolders(prompts, "/home/u/");
  EXPECT_EQ(s.gameFolder, "");
  EXPECT_EQ(s.scnFolder, "SCENARIO" + kSep);
  EXPECT_EQ(s.mapFolder, "MAP" + kSep);
  EXPECT_EQ(s.lastOpen, "SCENARIO" + kSep + "*.map");
}

TEST(ToolSettings, OnlyLastOpenGivesEveryFolder) {
  testing::ScriptedPrompts prompts;
  MemoryProfileStore store;
  store.WriteString("Settings", "LastOpen", "e:\\g\\SCENARIO\\m12.map");
  ToolSettings s;
  s.LoadSettings(store);
  s.CheckFolders(prompts, "/home/u/");
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_EQ(s.scnFolder, "e:\\g\\SCENARIO\\");
  EXPECT_EQ(s.gameFolder, "e:\\g\\");
  EXPECT_EQ(s.mapFolder, std::string("e:\\g\\MAP") + kPathSeparator);
  EXPECT_EQ(s.bmpFolder, s.mapFolder);
}

TEST(ToolSettings, UserDefsAreUnpackedAndPackedAsStored) {
  MemoryProfileStore store;
  store.WriteInt("Settings", "User defs", 515);
  ToolSettings s;
  s.LoadSettings(store);
  EXPECT_EQ(s.displayMode, 0);
  EXPECT_EQ(s.setMode, kSetRoads);
  EXPECT_EQ(s.viewToggles, kToggleDrawPicture | kToggleAlwaysOn);
  s.SaveSettings(store);
  EXPECT_EQ(store.ReadInt("Settings", "User defs", 0), 197120u);

  MemoryProfileStore empty;
  ToolSettings d;
  d.LoadSettings(empty);
  EXPECT_EQ(d.setMode, kSetTerrain);
  EXPECT_TRUE(d.saveClean());
  EXPECT_TRUE(d.Toggle(kToggleLinkRoads));
  EXPECT_FALSE(d.Toggle(kToggleGrid));
}

TEST(ToolSettings, TheBrushSizeIsAValueOfItsOwnBesideUserDefs) {
  struct Row {
    uint32_t stored;
    int radius;
    uint32_t written;
  };
  for (Row r : {Row{1, 0, 1}, Row{7, 1, 7}, Row{19, 2, 19}, Row{0, 0, 1}, Row{12, 1, 7},
                Row{4000000000u, 2, 19}}) {
    MemoryProfileStore store;
    store.WriteInt("Settings", "Brush size", r.stored);
    store.WriteInt("Settings", "User defs", 515);
    ToolSettings s;
    s.LoadSettings(store);
    EXPECT_EQ(s.brushRadius, r.radius) << r.stored;
    s.SaveSettings(store);
    EXPECT_EQ(store.ReadInt("Settings", "Brush size", 0), r.written) << r.stored;
    EXPECT_EQ(store.ReadInt("Settings", "User defs", 0), 197120u) << "its layout is kept";
  }
  MemoryProfileStore empty;
  ToolSettings d;
  d.LoadSettings(empty);
  EXPECT_EQ(d.brushRadius, 0) << "one hex without a stored size";
}

TEST(ToolSettings, TerrainMaskZeroMeansTheDefaultSet) {
  MemoryProfileStore store;
  ToolSettings s;
  s.LoadSettings(store);
  uint32_t expected = 0;
  for (int t : {1, 2, 9, 10, 15, 17}) expected |= 1u << t;
  EXPECT_EQ(s.terrainMask, expected);
  store.WriteInt("Settings", "Terrain", 0xFFFFFFFF);
  s.LoadSettings(store);
  EXPECT_EQ(s.terrainMask, (1u << 20) - 1);  // bits beyond the 20 types are dropped
}

TEST(ToolSettings, ResetFoldersAsksFirst) {
  testing::ScriptedPrompts prompts;
  ToolSettings s;
  s.gameFolder = "/g/";
  s.lastOpen = "/g/SCENARIO/a.map";
  prompts.Answer(false);
  EXPECT_FALSE(s.ResetFolders(prompts, "/home/"));
  EXPECT_EQ(s.gameFolder, "/g/");
  prompts.Answer(true);
  prompts.AnswerPath("/h/");
  EXPECT_TRUE(s.ResetFolders(prompts, "/home/"));
  EXPECT_EQ(prompts.Texts("yesno")[0],
            "\n   Please confirm you want to reset all folder settings  \n");
  EXPECT_EQ(s.gameFolder, "/h/");
  EXPECT_EQ(s.mapFolder, "/h/MAP" + kSep);
}

TEST(ToolSettings, RecentFilesKeepSixMostRecentFirst) {
  ToolSettings s;
  for (int i = 1; i <= 8; ++i) s.AddRecentFile("/m/" + std::to_string(i) + ".MAP");
  EXPECT_EQ(s.recentFiles[0], "/m/8.MAP");
  EXPECT_EQ(s.recentFiles[5], "/m/3.MAP");
  s.AddRecentFile("/m/5.MAP");
  EXPECT_EQ(s.recentFiles[0], "/m/5.MAP");
  EXPECT_EQ(s.recentFiles[1], "/m/8.MAP");
  EXPECT_EQ(s.recentFiles[5], "/m/3.MAP");
  EXPECT_EQ(ReleaseTitle(), "Tesk Map Tool 2.01c - Feb 2008");
}

}  // namespace
}  // namespace maptesk
