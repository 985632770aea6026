#include "core/view/terrain_filter_model.h"

#include <gtest/gtest.h>

#include "core/settings/profile_store.h"
#include "core/settings/tool_settings.h"

namespace maptesk {
namespace {

std::vector<int> Ticked(const TerrainFilterModel& m) {
  std::vector<int> out;
  for (int i = 0; i < TerrainTable::kCount; ++i) {
    if (m.flags[size_t(i)]) out.push_back(i);
  }
  return out;
}

TEST(TerrainFilterModel, StoredZeroOpensWithTheDefaultTypes) {
  MemoryProfileStore store;
  store.WriteInt(kSettingsSection, "Terrain", 0);
  ToolSettings settings;
  settings.LoadSettings(store);
  TerrainFilterModel m(settings);
  // City, Airfield, Ocean, River, Impassable River, Lake.
  EXPECT_EQ(Ticked(m), (std::vector<int>{1, 2, 9, 10, 15, 17}));
}

TEST(TerrainFilterModel, SetAllTicksEverythingButClearAndKeepsLabels) {
  ToolSettings settings;
  settings.terrainMask = 1u;  // only Clear
  settings.viewToggles = kToggleLabels;
  TerrainFilterModel m(settings);
  EXPECT_TRUE(m.labels);
  m.SetAll();
  EXPECT_TRUE(m.labels);
  m.Accept(settings);
  EXPECT_EQ(settings.terrainMask, 0xFFFFEu);
  EXPECT_EQ(settings.viewToggles, kToggleLabels | kToggleTerrainMarks);
}

TEST(TerrainFilterModel, ResetAllSwitchesMarksOnWithNoTypeAndReopensEmpty) {
  ToolSettings settings;
  settings.viewToggles = kToggleGrid;
  TerrainFilterModel m(settings);
  m.labels = true;
  m.ResetAll();
  EXPECT_TRUE(m.labels);
  m.Accept(settings);
  EXPECT_EQ(settings.terrainMask, 0u);
  EXPECT_EQ(settings.viewToggles, kToggleGrid | kToggleTerrainMarks | kToggleLabels);
  EXPECT_TRUE(Ticked(TerrainFilterModel(settings)).empty());
}

TEST(TerrainFilterModel, ClearedLabelsBoxMeansIconsAndShowsClearedAgain) {
  ToolSettings settings;
  settings.viewToggles = kToggleLabels | kToggleRoads;
  settings.terrainMask = (1u << 19) | (1u << 3);
  TerrainFilterModel m(settings);
  EXPECT_EQ(Ticked(m), (std::vector<int>{3, 19}));
  m.labels = false;
  m.flags[19] = 0;
  m.Accept(settings);
  EXPECT_EQ(settings.viewToggles, kToggleRoads | kToggleTerrainMarks);
  EXPECT_EQ(settings.terrainMask, 1u << 3);
  EXPECT_FALSE(TerrainFilterModel(settings).labels);
}

}  // namespace
}  // namespace maptesk
