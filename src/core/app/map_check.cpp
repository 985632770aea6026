#include "core/app/map_check.h"

#include <array>
#include <cstdio>
#include <map>
#include <optional>

#include "core/app/workspace.h"
#include "core/map/edit_steps.h"
#include "core/map/map_file.h"
#include "core/map/map_names.h"
#include "core/map/terrain_table.h"
#include "core/picture/s16_set.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/text_format.h"

namespace maptesk {

namespace {

constexpr const char* kDirectionNames[kDirections] = {"N", "NE", "SE", "S", "SW", "NW"};
constexpr uint16_t kEastWestBits = kRoadE | kRoadW;

const HexCell& Cell(const MapRecord& map, int row, int column) {
  return map.cells[size_t(row)][size_t(column)];
}

bool InStorage(int row, int column) {
  return row >= 0 && row < kMapRows && column >= 0 && column < kMapColumns;
}

// Whether the road bit of direction `d` leads to a hex of the picture that
// has the bit back: a road link the game can follow. `to` is that hex.
bool Linked(const MapRecord& map, int row, int column, int d, HexLimits picture, HexOffset& to) {
  if ((Cell(map, row, column).roads & RoadBitOfDirection(d)) == 0) return false;
  const HexOffset step = NeighbourOffset(d, column);
  to = {row + step.row, column + step.column};
  return picture.Contains(to.row, to.column) &&
         (Cell(map, to.row, to.column).roads & RoadBitOfDirection(OppositeDirection(d))) != 0;
}

int LinkCount(const MapRecord& map, int row, int column, HexLimits picture) {
  int links = 0;
  HexOffset to{};
  for (int d = 0; d < kDirections; ++d) links += Linked(map, row, column, d, picture, to) ? 1 : 0;
  return links;
}

bool IsRoadEnd(uint16_t terrain) { return terrain == kCity || terrain == kPort; }

void CheckRoads(const MapRecord& map, const CheckContext& context, int row, int column,
                std::vector<Finding>& out) {
  const HexCell& cell = Cell(map, row, column);
  for (int d = 0; d < kDirections; ++d) {
    if ((cell.roads & RoadBitOfDirection(d)) == 0) continue;
    const HexOffset step = NeighbourOffset(d, column);
    const int r = row + step.row;
    const int c = column + step.column;
    Finding f{CheckKind::kRoadOffGrid, Severity::kWarning, row, column, d, true, {}};
    if (!InStorage(r, c)) {
      f.text = Format("road %s leads off the map", kDirectionNames[d]);
    } else if (!context.picture.Contains(r, c)) {
      f.text = Format("road %s leads beyond the picture", kDirectionNames[d]);
    } else if ((Cell(map, r, c).roads & RoadBitOfDirection(OppositeDirection(d))) == 0) {
      f.kind = CheckKind::kOneSidedRoad;
      f.text = Format("one-sided road %s: (%02d,%02d) has no road back", kDirectionNames[d], c, r);
    } else {
      continue;
    }
    out.push_back(std::move(f));
  }
  if ((cell.roads & kEastWestBits) != 0) {
    out.push_back({CheckKind::kRoadEastWest, Severity::kNote, row, column, -1, false,
                   Format("road bit %s names no neighbour (the editor never sets it)",
                          (cell.roads & kEastWestBits) == kEastWestBits ? "E and W"
                          : (cell.roads & kRoadE) != 0                  ? "E"
                                                                        : "W")});
  }
}

// Road pieces: the hexes joined by two-sided road links. A piece that
// reaches no City or Port leads nowhere the game cares about.
void CheckRoadPieces(const MapRecord& map, HexLimits picture, std::vector<Finding>& out) {
  std::array<std::array<bool, kMapColumns>, kMapRows> seen{};
  for (int row = 0; row <= picture.lastRow; ++row) {
    for (int column = 0; column <= picture.lastColumn; ++column) {
      if (seen[size_t(row)][size_t(column)] || LinkCount(map, row, column, picture) == 0) continue;
      std::vector<HexOffset> piece{{row, column}};
      seen[size_t(row)][size_t(column)] = true;
      bool reachesTown = false;
      for (size_t next = 0; next < piece.size(); ++next) {
        const HexOffset h = piece[next];
        reachesTown = reachesTown || IsRoadEnd(Cell(map, h.row, h.column).terrain);
        for (int d = 0; d < kDirections; ++d) {
          HexOffset to{};
          if (!Linked(map, h.row, h.column, d, picture, to)) continue;
          if (seen[size_t(to.row)][size_t(to.column)]) continue;
          seen[size_t(to.row)][size_t(to.column)] = true;
          piece.push_back(to);
        }
      }
      if (!reachesTown) {
        out.push_back({CheckKind::kRoadDeadEnd, Severity::kNote, row, column, -1, false,
                       Format("a road of %d hexes reaches no City or Port", int(piece.size()))});
      }
    }
  }
}

// A names file line carries at most this many characters back.
constexpr size_t kNamesLineLimit = 999;
// "(cc,rr) #" before the name.
constexpr size_t kNameLinePrefix = 9;

void CheckNames(const MapRecord& map, const CheckContext& context, std::vector<Finding>& out) {
  const MapNames* names = context.names;
  if (names != nullptr) {
    for (int row = 0; row < kMapRows; ++row) {
      for (int column = 0; column < kMapColumns; ++column) {
        const int slot = names->nameIndex[size_t(row)][size_t(column)];
        if (slot == 0) continue;
        if (slot >= names->nameCount) {
          out.push_back(
              {CheckKind::kNameBeyondList, Severity::kError, row, column, -1, true,
               Format("name %d is beyond the %d names of the list", slot, names->NameTotal())});
        } else if (!context.picture.Contains(row, column)) {
          out.push_back({CheckKind::kHiddenHex, Severity::kWarning, row, column, -1, false,
                         "hex beyond the picture has a name the game may show"});
        }
      }
    }
    for (int slot = 1; slot < names->nameCount; ++slot) {
      const std::string& name = names->NameOf(slot);
      if (name.size() + kNameLinePrefix <= kNamesLineLimit) continue;
      out.push_back({CheckKind::kNameTooLong, Severity::kWarning, -1, -1, -1, false,
                     Format("name %d has %d characters: a names file line carries %d back", slot,
                            int(name.size()), int(kNamesLineLimit - kNameLinePrefix))});
    }
  }
  if (context.namesText.empty()) return;
  NamesFileLines lines(context.namesText);
  std::string_view line;
  const std::string file = PathPart(context.namesFile, kPartFileName);
  if (lines.Next(line)) {
    // "[MAP:%3d] [%-20s]": the map this file was written for.
    int number = -1;
    char name[64] = {};
    const std::string header(line.substr(0, 200));
    if (std::sscanf(header.c_str(), "[MAP:%d] [%63[^]]", &number, name) == 2) {
      std::string written = name;
      while (!written.empty() && written.back() == ' ') written.pop_back();
      if (number != map.MapNumber || !EqualsNoCase(written, context.mapName)) {
        out.push_back(
            {CheckKind::kNamesOfOtherMap, Severity::kWarning, -1, -1, -1, false,
             Format("names file %s was written for map %d (%s), not map %d (%s)", file.c_str(),
                    number, written.c_str(), int(map.MapNumber), context.mapName.c_str())});
      }
    }
  }
  NameLine parsed;
  while (lines.Next(line)) {
    if (ParseNameLine(line, parsed) != NameLineKind::kMalformed) continue;
    int column = 0, row = 0;
    const std::string text(line.substr(0, 200));
    const bool hexLine = std::sscanf(text.c_str(), " (%d,%d)", &column, &row) == 2;
    out.push_back({CheckKind::kNamesLine, hexLine ? Severity::kWarning : Severity::kNote, -1, -1,
                   -1, false,
                   hexLine ? Format("names file %s names hex (%d,%d), outside the grid",
                                    file.c_str(), column, row)
                           : Format("names file %s has a line the game cannot read: %s",
                                    file.c_str(), text.substr(0, 40).c_str())});
  }
}

void CheckPicture(const MapRecord& map, const CheckContext& context, std::vector<Finding>& out) {
  if (!context.hasS16Picture) {
    out.push_back(
        {CheckKind::kNoPicture, Severity::kWarning, -1, -1, -1, false,
         map.MapNumber == kNoMapNumber
             ? std::string("the map has no number, so no S16 picture")
             : Format("map %d has no S16 picture in the MAP folder", int(map.MapNumber))});
    return;
  }
  // The picture's size comes from its first row and first column of tiles:
  // a hole there ends the picture early, and the tiles beyond it are lost.
  for (const std::string& hole : S16SetHoles(context.pictureFile)) {
    out.push_back({CheckKind::kPictureHole, Severity::kWarning, -1, -1, -1, false, hole});
  }
  // The grid the map's header asks for, against the one the picture gives.
  if (map.columns - 1 > context.picture.lastColumn || map.rows - 1 > context.picture.lastRow) {
    out.push_back(
        {CheckKind::kPictureTooSmall, Severity::kWarning, -1, -1, -1, false,
         Format("the map's grid of %d x %d hexes needs a larger picture than %d x %d",
                int(map.columns), int(map.rows), context.pictureWidth, context.pictureHeight)});
  }
}

}  // namespace

const char* KindName(CheckKind kind) {
  switch (kind) {
    case CheckKind::kOneSidedRoad: return "one-sided-road";
    case CheckKind::kRoadOffGrid: return "road-off-grid";
    case CheckKind::kRoadEastWest: return "road-east-west";
    case CheckKind::kBadTerrain: return "bad-terrain";
    case CheckKind::kHiddenHex: return "hidden-hex";
    case CheckKind::kAutoMarks: return "auto-marks";
    case CheckKind::kRoadDeadEnd: return "road-dead-end";
    case CheckKind::kNameBeyondList: return "name-beyond-list";
    case CheckKind::kNameTooLong: return "name-too-long";
    case CheckKind::kNamesOfOtherMap: return "names-of-other-map";
    case CheckKind::kNamesLine: return "names-line";
    case CheckKind::kNoPicture: return "no-picture";
    case CheckKind::kPictureTooSmall: return "picture-too-small";
    case CheckKind::kPictureHole: return "picture-hole";
    case CheckKind::kSameNumber: return "same-number";
    case CheckKind::kNamesCollide: return "names-collide";
  }
  return "finding";
}

CheckContext ContextOf(const Workspace& ws) {
  CheckContext context;
  if (std::optional<PictureSize> size = ws.PictureSizeOf()) {
    int32_t lastRow = 0, lastColumn = 0;
    GridLimitsForPicture(size->width, size->height, lastRow, lastColumn);
    context.picture = {lastRow, lastColumn};
    context.pictureWidth = size->width;
    context.pictureHeight = size->height;
  }
  context.hasS16Picture = ws.map.hasS16Picture;
  if (ws.map.hasS16Picture) context.pictureFile = ws.map.pictureFile;
  context.saveClean = ws.settings.saveClean();
  context.mapName = PathPart(ws.map.path, kPartName);
  context.names = &ws.names;
  context.namesFile = ws.names.namesPath.empty() ? ws.names.DefaultNamesFile() : ws.names.namesPath;
  std::vector<uint8_t> bytes;
  if (ReadFileBytes(context.namesFile, bytes, MapNames::kMaxFileSize, true) == ReadStatus::kOk) {
    context.namesText.assign(bytes.begin(), bytes.end());
  }
  return context;
}

std::vector<Finding> CheckFolderMaps(const std::vector<FolderMap>& maps) {
  std::vector<Finding> out;
  // Each map against the first of its number and the first of its names
  // file: one finding for each map too many, however many share.
  std::map<int, const FolderMap*> byNumber;
  std::map<std::string, const FolderMap*> byNames;
  for (const FolderMap& m : maps) {
    if (m.number < 0) continue;
    const auto [first, fresh] = byNumber.emplace(m.number, &m);
    if (!fresh) {
      out.push_back({CheckKind::kSameNumber, Severity::kError, -1, -1, -1, false,
                     Format("%s and %s are both map %d", first->second->fileName.c_str(),
                            m.fileName.c_str(), m.number)});
      continue;
    }
    const std::string part = MapNames::NumberPart(m.number);
    const auto [other, freshNames] = byNames.emplace(part, &m);
    if (!freshNames) {
      out.push_back({CheckKind::kNamesCollide, Severity::kWarning, -1, -1, -1, false,
                     Format("%s (map %d) and %s (map %d) both read MAP%s.TXT",
                            other->second->fileName.c_str(), other->second->number,
                            m.fileName.c_str(), m.number, part.c_str())});
    }
  }
  return out;
}

std::string FindingLine(const Finding& f) {
  const std::string hex = f.row >= 0 ? Format("(%02d,%02d) ", f.column, f.row) : std::string();
  return hex + SeverityName(f.severity) + " " + f.text;
}

std::string CountLine(const FindingCounts& c) {
  return Format("%d findings: %d errors, %d warnings, %d notes", c.total(), c.of(Severity::kError),
                c.of(Severity::kWarning), c.of(Severity::kNote));
}

const char* SeverityName(Severity severity) {
  switch (severity) {
    case Severity::kError: return "error";
    case Severity::kWarning: return "warning";
    case Severity::kNote: return "note";
  }
  return "note";
}

std::vector<Finding> CheckMap(const MapRecord& map, const CheckContext& context) {
  std::vector<Finding> out;
  const HexLimits& picture = context.picture;
  int marks = 0;
  for (int row = 0; row < kMapRows; ++row) {
    for (int column = 0; column < kMapColumns; ++column) {
      const HexCell& cell = Cell(map, row, column);
      if (cell.terrain >= TerrainTable::kCount) {
        out.push_back({CheckKind::kBadTerrain, Severity::kError, row, column, -1, true,
                       Format("terrain %d is not one of the game's 20", int(cell.terrain))});
      }
      if (!picture.Contains(row, column)) {
        if (cell.terrain != 0 || cell.roads != 0 || cell.autoRoadMark()) {
          out.push_back({CheckKind::kHiddenHex, Severity::kWarning, row, column, -1, false,
                         "hex beyond the picture holds data the game may show"});
        }
        continue;
      }
      if (cell.autoRoadMark()) ++marks;
      CheckRoads(map, context, row, column, out);
      // An end of a road: one link only, in a hex that is no town and not
      // on the picture's edge, where roads may go on into the next map.
      const bool edge =
          row == 0 || column == 0 || row == picture.lastRow || column == picture.lastColumn;
      if (!edge && !IsRoadEnd(cell.terrain) && LinkCount(map, row, column, picture) == 1) {
        out.push_back({CheckKind::kRoadDeadEnd, Severity::kNote, row, column, -1, false,
                       "road ends in a hex that is no City, Port or edge"});
      }
    }
  }
  CheckRoadPieces(map, picture, out);
  CheckNames(map, context, out);
  CheckPicture(map, context, out);
  if (marks > 0 && !context.saveClean) {
    out.push_back({CheckKind::kAutoMarks, Severity::kNote, -1, -1, -1, true,
                   Format("%d hexes keep an Auto R.M. mark, and \"Save clean\" is off", marks)});
  }
  return out;
}

int FixFindings(MapRecord& map, MapNames* names, const std::vector<Finding>& findings,
                EditSteps& steps) {
  EditStep step(steps, "Fix map findings");
  int fixed = 0;
  for (const Finding& f : findings) {
    if (!f.fixable) continue;
    switch (f.kind) {
      case CheckKind::kOneSidedRoad: {
        const HexOffset s = NeighbourOffset(f.direction, f.column);
        map.cells[size_t(f.row + s.row)][size_t(f.column + s.column)].roads |=
            RoadBitOfDirection(OppositeDirection(f.direction));
        break;
      }
      case CheckKind::kRoadOffGrid:
        map.cells[size_t(f.row)][size_t(f.column)].roads &=
            uint16_t(~RoadBitOfDirection(f.direction));
        break;
      case CheckKind::kBadTerrain: map.cells[size_t(f.row)][size_t(f.column)].terrain = 0; break;
      case CheckKind::kNameBeyondList:
        if (names == nullptr) continue;
        names->nameIndex[size_t(f.row)][size_t(f.column)] = 0;
        names->namesModified = true;
        break;
      case CheckKind::kAutoMarks:
        for (auto& row : map.cells) {
          for (HexCell& cell : row) cell.flags &= uint16_t(~kAutoRoadMark);
        }
        break;
      default: continue;
    }
    ++fixed;
  }
  return fixed;
}

}  // namespace maptesk
