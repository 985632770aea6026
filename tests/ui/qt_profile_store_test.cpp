#include "ui/app/qt_profile_store.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/settings/tool_settings.h"

namespace maptesk {
namespace {

TEST(QtProfileStore, SettingsSurviveAFreshStore) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString ini = dir.filePath("MapTesk.ini");

  ToolSettings written;
  written.gameFolder = "/games/norvane/";
  written.scnFolder = "/games/norvane/SCENARIO/";
  written.mapFolder = "/games/norvane/MAP/";
  written.bmpFolder = "/pictures/caf\xE9/";  // Windows-1252 byte survives
  written.lastOpen = "/games/norvane/SCENARIO/m12.MAP";
  written.terrainMask = (1u << 3) | (1u << 19);
  written.displayMode = 3;
  written.setMode = kSetRoads;
  written.viewToggles = kToggleDrawPicture | kToggleAlwaysOn | kToggleGrid | kToggleSaveClean;
  written.recentFiles[0] = "/a/one.MAP";
  written.recentFiles[5] = "/a/six.MAP";
  {
    QtProfileStore store(ini);
    written.SaveSettings(store);
    ASSERT_TRUE(store.Sync());
  }

  QtProfileStore fresh(ini);
  EXPECT_EQ(fresh.ReadInt("Settings", "User defs", 0),
            3u | (2u << 8) | (uint32_t(written.viewToggles) << 16));
  EXPECT_EQ(fresh.ReadInt("Settings", "Terrain", 0), written.terrainMask);
  ToolSettings read;
  read.LoadSettings(fresh);
  EXPECT_EQ(read.gameFolder, written.gameFolder);
  EXPECT_EQ(read.scnFolder, written.scnFolder);
  EXPECT_EQ(read.mapFolder, written.mapFolder);
  EXPECT_EQ(read.bmpFolder, written.bmpFolder);
  EXPECT_EQ(read.lastOpen, written.lastOpen);
  EXPECT_EQ(read.terrainMask, written.terrainMask);
  EXPECT_EQ(read.displayMode, 0);  // always starts in a window
  EXPECT_EQ(read.setMode, kSetRoads);
  EXPECT_EQ(read.viewToggles, written.viewToggles);
  EXPECT_EQ(read.recentFiles, written.recentFiles);
}

TEST(QtProfileStore, UserDefs515ComesBackAs197120) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("p.ini");
  {
    QtProfileStore store(ini);
    store.WriteInt("Settings", "User defs", 515);
    store.Sync();
  }
  QtProfileStore store(ini);
  ToolSettings s;
  s.LoadSettings(store);
  s.SaveSettings(store);
  store.Sync();
  EXPECT_EQ(QtProfileStore(ini).ReadInt("Settings", "User defs", 0), 197120u);
}

TEST(QtProfileStore, AbsentValuesTakeTheirDefaults) {
  QTemporaryDir dir;
  QtProfileStore store(dir.filePath("empty.ini"));
  EXPECT_EQ(store.ReadString("Settings", "LastOpen", "dflt"), "dflt");
  EXPECT_EQ(store.ReadInt("Settings", "Terrain", 7), 7u);
}

}  // namespace
}  // namespace maptesk
