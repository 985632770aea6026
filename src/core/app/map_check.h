// Map checks: what the game would trip over in a map, found from the file
// formats and rules the tool already implements, each finding with its hex,
// its severity and a one-line text; the fixable ones can be fixed in one step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/map/hex_tools.h"

namespace maptesk {

class EditSteps;
class MapNames;
struct MapRecord;
class Workspace;

enum class Severity : uint8_t { kNote, kWarning, kError };

enum class CheckKind : uint8_t {
  kOneSidedRoad,     ///< a road bit whose neighbour has no road bit back
  kRoadOffGrid,      ///< a road bit towards no hex: off the grid or the picture
  kRoadEastWest,     ///< the E or W bit, which names no neighbour
  kBadTerrain,       ///< a terrain value the game does not know
  kHiddenHex,        ///< data in a hex beyond the picture
  kAutoMarks,        ///< Auto road marks left while "Save clean" is off
  kRoadDeadEnd,      ///< a road ending in a hex that is no City, Port or edge
  kNameBeyondList,   ///< a hex's name index past the names list
  kNameTooLong,      ///< a name longer than a names file line carries back
  kNamesOfOtherMap,  ///< a names file whose header is another map's
  kNamesLine,        ///< a names file line for no hex of the grid
  kNoPicture,        ///< the map's number has no S16 set
  kPictureTooSmall,  ///< a picture smaller than the map's grid needs
  kPictureHole,      ///< a tile missing from the S16 set's first row or column
  kSameNumber,       ///< two maps of a folder with one number
  kNamesCollide,     ///< two maps of a folder reading one names file
};

struct Finding {
  CheckKind kind = CheckKind::kOneSidedRoad;
  Severity severity = Severity::kNote;
  /// The hex, or -1 for a finding of the whole map.
  int row = -1;
  int column = -1;
  /// The road direction (0..5) a road finding is about, else -1.
  int direction = -1;
  bool fixable = false;
  std::string text;
};

/// "error", "warning" or "note".
const char* SeverityName(Severity severity);

/// "(12,07) warning one-sided road NE: ...", or "warning ..." without a hex.
std::string FindingLine(const Finding& finding);

/// How many findings there are of each severity.
struct FindingCounts {
  int counts[3] = {0, 0, 0};
  void Add(Severity severity) { ++counts[int(severity)]; }
  int of(Severity severity) const { return counts[int(severity)]; }
  int total() const { return counts[0] + counts[1] + counts[2]; }
};
/// "3 findings: 1 errors, 2 warnings, 0 notes".
std::string CountLine(const FindingCounts& counts);

/// The short name of a kind, for JSON: "one-sided-road", ...
const char* KindName(CheckKind kind);

/// What the checks need besides the map.
struct CheckContext {
  /// The hexes the picture covers.
  HexLimits picture{39, 44};
  bool saveClean = true;
  /// The map's number has its S16 set, and the size of the picture.
  bool hasS16Picture = true;
  int pictureWidth = 1920;
  int pictureHeight = 1920;
  /// The first tile of the map's S16 set ("" when unknown).
  std::string pictureFile;
  /// The map file's base name ("ARDEN"), as a names file's header gives it.
  std::string mapName;
  /// The names in memory, or null to check none.
  const MapNames* names = nullptr;
  /// The map's names file and its text, when one was found.
  std::string namesFile;
  std::string namesText;
};

/// The context of the map open in a workspace: its picture, its names and
/// its default names file as it is on the disk.
CheckContext ContextOf(const Workspace& workspace);

/// Every finding of one map, row by row and within a row column by column.
std::vector<Finding> CheckMap(const MapRecord& map, const CheckContext& context);

/// Applies the fixable findings, as one edit step: a one-sided road gets its
/// bit back, a road towards no hex loses it, an unknown terrain becomes
/// Clear, Auto marks go, a name index past the list is cleared (with
/// `names`). Returns how many were applied.
int FixFindings(MapRecord& map, MapNames* names, const std::vector<Finding>& findings,
                EditSteps& steps);

/// One map of a folder as the folder checks see it.
struct FolderMap {
  std::string fileName;
  int number = -1;  ///< -1: no number
};
/// Findings between the maps of a folder: two maps with one number, and
/// maps whose names files collide (1234 and 234 both read MAP234.TXT). Each
/// finding's text names both files.
std::vector<Finding> CheckFolderMaps(const std::vector<FolderMap>& maps);

}  // namespace maptesk
