// The tool's settings: working folders, the last map opened, the marked
// terrain types and the packed display word, with the rules that derive the
// folders from the game folder.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace maptesk {

class Prompts;
class ProfileStore;

/// Bits of the 16-bit view toggles word (the upper half of "User defs").
enum ViewToggle : uint16_t {
  kToggleDrawPicture = 0x0001,
  kToggleAlwaysOn = 0x0002,
  kToggleLabels = 0x0004,
  kToggleGrid = 0x0008,
  kToggleZoom = 0x0010,
  kToggleTerrainMarks = 0x0020,
  kToggleRoads = 0x0040,
  kToggleNamedHexes = 0x0080,
  kToggleKeepAutoMarks = 0x0200,
  kToggleLinkRoads = 0x0400,
  kToggleSaveClean = 0x0800,
};

/// What the right mouse button sets.
enum SetMode : int { kSetTerrain = 1, kSetRoads = 2, kSetName = 4 };

inline constexpr char kProfileKey[] = "Orsk_Tools";
inline constexpr char kProfileApplication[] = "MapTesk";
inline constexpr char kSettingsSection[] = "Settings";
inline constexpr char kRecentSection[] = "Recent File List";
inline constexpr int kRecentFileCount = 6;

/// Terrain types marked when the stored mask is 0: City, Airfield, Ocean,
/// River, Impassable River and Lake.
inline constexpr uint32_t kDefaultTerrainMask =
    (1u << 1) | (1u << 2) | (1u << 9) | (1u << 10) | (1u << 15) | (1u << 17);
inline constexpr uint32_t kAllTerrainMask = (1u << 20) - 1;

/// "User defs" when the profile has none: SetMode terrain, picture, link
/// roads and save clean on.
inline constexpr uint32_t kDefaultUserDefs =
    (uint32_t(kSetTerrain) << 8) |
    (uint32_t(kToggleDrawPicture | kToggleLinkRoads | kToggleSaveClean) << 16);

inline constexpr char kVersion[] = "2.01c";
inline constexpr char kBuildDate[] = "Feb 2008";
/// "Tesk Map Tool 2.01c - Feb 2008".
std::string ReleaseTitle();

struct ToolSettings {
  std::string gameFolder;
  std::string mapFolder;
  std::string scnFolder;
  std::string bmpFolder;
  std::string lastOpen;
  /// Bit i: terrain type i is marked in the view (never 0 once read).
  uint32_t terrainMask = kDefaultTerrainMask;
  /// Byte 0 of "User defs": the display mode, written at exit, ignored at start.
  uint8_t displayMode = 0;
  /// What the editor sets (1 terrain, 2 roads, 4 names).
  int setMode = kSetTerrain;
  uint16_t viewToggles = uint16_t(kDefaultUserDefs >> 16);
  /// The hex tools' brush: 0 one hex, 1 seven hexes, 2 nineteen hexes. Kept
  /// in a value of its own ("Brush size", in hexes) beside "User defs".
  int brushRadius = 0;
  /// The recent-file list, most recent first; "" for unused entries.
  std::array<std::string, kRecentFileCount> recentFiles;

  bool Toggle(uint16_t bit) const { return (viewToggles & bit) != 0; }
  bool saveClean() const { return Toggle(kToggleSaveClean); }

  /// The packed "User defs" word as written at exit.
  uint32_t UserDefs() const;
  /// Unpacks a stored "User defs" word the way start-up does: the display
  /// mode is dropped and the picture toggles forced on.
  void ApplyUserDefs(uint32_t userDefs);

  void LoadSettings(ProfileStore& store);
  void SaveSettings(ProfileStore& store) const;

  /// Fills empty folder settings; on a first run (no last file) asks for the
  /// game folder, starting at `firstRunStart`.
  void CheckFolders(Prompts& prompts, const std::string& firstRunStart);
  /// "Reset folders settings": after confirmation empties the folders and
  /// asks again at once. Returns whether the folders were reset.
  bool ResetFolders(Prompts& prompts, const std::string& firstRunStart);

  /// Puts `path` at the top of the recent-file list.
  void AddRecentFile(const std::string& path);
};

/// The user's home folder, with a trailing separator ("" when unknown).
std::string HomeFolder();

}  // namespace maptesk
