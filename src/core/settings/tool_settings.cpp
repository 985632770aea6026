#include "core/settings/tool_settings.h"

#include <algorithm>
#include <cstdlib>

#include "core/settings/profile_store.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {

std::string ReleaseTitle() { return Format("Tesk Map Tool %s - %s", kVersion, kBuildDate); }

uint32_t ToolSettings::UserDefs() const {
  return uint32_t(displayMode) | (uint32_t(setMode & 0x0F) << 8) | (uint32_t(viewToggles) << 16);
}

void ToolSettings::ApplyUserDefs(uint32_t userDefs) {
  displayMode = 0;
  setMode = int((userDefs >> 8) & 0x0F);
  viewToggles = uint16_t(userDefs >> 16) | kToggleDrawPicture | kToggleAlwaysOn;
}

void ToolSettings::LoadSettings(ProfileStore& store) {
  gameFolder = store.ReadString(kSettingsSection, "GAME Folder", "");
  scnFolder = store.ReadString(kSettingsSection, "SCN Folder", "");
  mapFolder = store.ReadString(kSettingsSection, "MAP Folder", "");
  bmpFolder = store.ReadString(kSettingsSection, "BMP Folder", "");
  lastOpen = store.ReadString(kSettingsSection, "LastOpen", "");
  terrainMask = store.ReadInt(kSettingsSection, "Terrain", 0) & kAllTerrainMask;
  if (terrainMask == 0) terrainMask = kDefaultTerrainMask;
  ApplyUserDefs(store.ReadInt(kSettingsSection, "User defs", kDefaultUserDefs));
  const uint32_t brush = store.ReadInt(kSettingsSection, "Brush size", 1);
  brushRadius = brush >= 19 ? 2 : (brush >= 7 ? 1 : 0);
  for (int i = 0; i < kRecentFileCount; ++i) {
    recentFiles[size_t(i)] = store.ReadString(kRecentSection, Format("File%d", i + 1), "");
  }
}

void ToolSettings::SaveSettings(ProfileStore& store) const {
  store.WriteString(kSettingsSection, "LastOpen", lastOpen);
  store.WriteString(kSettingsSection, "SCN Folder", scnFolder);
  store.WriteString(kSettingsSection, "MAP Folder", mapFolder);
  store.WriteString(kSettingsSection, "GAME Folder", gameFolder);
  store.WriteString(kSettingsSection, "BMP Folder", bmpFolder);
  store.WriteInt(kSettingsSection, "Terrain", terrainMask & kAllTerrainMask);
  store.WriteInt(kSettingsSection, "User defs", UserDefs());
  store.WriteInt(kSettingsSection, "Brush size",
                 brushRadius == 2 ? 19 : (brushRadius == 1 ? 7 : 1));
  for (int i = 0; i < kRecentFileCount; ++i) {
    store.WriteString(kRecentSection, Format("File%d", i + 1), recentFiles[size_t(i)]);
  }
}

void ToolSettings::CheckFolders(Prompts& prompts, const std::string& firstRunStart) {
  const std::string sep(1, kPathSeparator);
  if (lastOpen.empty()) {
    lastOpen = firstRunStart;
    std::string chosen = prompts.BrowseFolder(lastOpen, "Select norvane game folder");
    if (!chosen.empty()) gameFolder = WithTrailingSeparator(chosen);
    scnFolder = gameFolder + "SCENARIO" + sep;
    bmpFolder = gameFolder + "MAP" + sep;
    mapFolder = bmpFolder;
    lastOpen = scnFolder + "*.map";
  }
  if (scnFolder.empty()) scnFolder = PathPart(lastOpen, kPartFolder);
  if (gameFolder.empty()) gameFolder = ParentFolder(lastOpen);
  if (mapFolder.empty()) mapFolder = gameFolder + "MAP" + sep;
  if (bmpFolder.empty()) bmpFolder = mapFolder;
}

bool ToolSettings::ResetFolders(Prompts& prompts, const std::string& firstRunStart) {
  if (!prompts.AskYesNo("\n   Please confirm you want to reset all folder settings  \n")) {
    return false;
  }
  scnFolder.clear();
  gameFolder.clear();
  mapFolder.clear();
  bmpFolder.clear();
  lastOpen.clear();
  CheckFolders(prompts, firstRunStart);
  return true;
}

void ToolSettings::AddRecentFile(const std::string& path) {
  if (path.empty()) return;
  auto it = std::find_if(recentFiles.begin(), recentFiles.end(),
                         [&](const std::string& f) { return EqualsNoCase(f, path); });
  if (it == recentFiles.end()) it = recentFiles.end() - 1;
  std::rotate(recentFiles.begin(), it, it + 1);
  recentFiles.front() = path;
}

std::string HomeFolder() {
#ifdef _WIN32
  const char* home = std::getenv("USERPROFILE");
#else
  const char* home = std::getenv("HOME");
#endif
  return home && *home ? WithTrailingSeparator(home) : std::string();
}

}  // namespace maptesk
