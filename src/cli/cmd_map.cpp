// Map document commands: info, names, save.
#include <cstdio>
#include <map>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "core/map/terrain_table.h"
#include "core/picture/s16_set.h"
#include "core/util/cp1252.h"
#include "core/util/path_utils.h"

namespace maptesk::cli {
namespace {

constexpr char kInfoUsage[] =
    "usage: maptesk-cli info MAP [--json] [--game DIR] [--map-folder DIR] [--scn-folder DIR]\n";
constexpr char kNamesUsage[] =
    "usage: maptesk-cli names MAP [--names FILE] [--json] [--game DIR] [--map-folder DIR] "
    "[--scn-folder DIR]\n";
constexpr char kSaveUsage[] =
    "usage: maptesk-cli save MAP OUT [--clean] [--game DIR] [--map-folder DIR] [--scn-folder "
    "DIR]\n";

std::vector<std::string> With(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Parses, sets the folders and loads the map; the exit status on failure.
int OpenMap(Workspace& ws, const Args& raw, Arguments& args, const std::vector<std::string>& valued,
            const std::vector<std::string>& flags, size_t positional, const char* usage,
            bool withPicture = true) {
  std::string error;
  if (!args.Parse(raw, With(kFolderOptions, valued), flags, error)) return UsageError(error, usage);
  if (args.positional().size() != positional) return UsageError("", usage);
  SetFolders(ws.settings, args, args.positional()[0]);
  if (!ws.OpenMap(AbsolutePath(args.positional()[0]), withPicture)) return kExitFailed;
  return kExitOk;
}

}  // namespace

int CmdInfo(const Args& raw) {
  ConsolePrompts prompts;
  Workspace ws(prompts);
  Arguments args;
  if (int rc = OpenMap(ws, raw, args, {}, {"--json"}, 1, kInfoUsage, false)) return rc;
  const HexMap& m = ws.map;
  // Only the picture's size is shown: its tiles' headers give it, with the
  // messages and remarks that assembling the picture would give.
  int pictureWidth = 0, pictureHeight = 0;
  bool pictureRead = false;
  if (m.hasS16Picture) {
    pictureRead = ws.picture.MeasureS16Set(m.pictureFile, pictureWidth, pictureHeight);
    if (pictureRead) {
      for (const std::string& remark : S16SetHoles(m.pictureFile)) prompts.ShowRemark(remark);
    }
  }
  ws.LoadDefaultNames();

  std::map<int, int> terrain;
  int roadHexes = 0, autoMarks = 0;
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      const HexCell& cell = m.cell(r, c);
      ++terrain[cell.terrain];
      if (cell.roads != 0) ++roadHexes;
      if (cell.autoRoadMark()) ++autoMarks;
    }
  }
  const std::string namesFile = ws.names.DefaultNamesFile();

  if (args.Has("--json")) {
    std::string out = "{" + JsonPathField("path", m.path);
    out += ", \"number\": " + std::to_string(m.MapNumber);
    out += ", \"columns\": " + std::to_string(m.columns);
    out += ", \"rows\": " + std::to_string(m.rows);
    out += ", \"headerExtra\": " + std::to_string(m.headerExtra);
    out += ", \"terrain\": {";
    bool first = true;
    for (auto [value, count] : terrain) {
      out += (first ? "" : ", ") + JsonString(std::to_string(value)) + ": " + std::to_string(count);
      first = false;
    }
    out += "}, \"roadHexes\": " + std::to_string(roadHexes);
    out += ", \"autoMarks\": " + std::to_string(autoMarks);
    out += ", " + JsonPathField("pictureFile", m.pictureFile);
    out += std::string(", \"hasS16Picture\": ") + (m.hasS16Picture ? "true" : "false");
    out += ", \"pictureWidth\": " + std::to_string(pictureWidth);
    out += ", \"pictureHeight\": " + std::to_string(pictureHeight);
    out += ", " + JsonPathField("namesFile", namesFile);
    out += ", \"nameCount\": " + std::to_string(ws.names.NameTotal()) + "}\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
  }

  std::printf("Map file:     %s\n", m.path.c_str());
  std::printf("Map number:   %s\n",
              m.MapNumber == kNoMapNumber ? "none (65535)" : std::to_string(m.MapNumber).c_str());
  std::printf("Size:         %d columns x %d rows\n", m.columns, m.rows);
  std::printf("Header extra: %u\n", m.headerExtra);
  std::printf("Terrain:\n");
  for (auto [value, count] : terrain) {
    std::printf("  %3d %-18s %5d\n", value, TerrainTable::Label(value).c_str(), count);
  }
  std::printf("Road hexes:   %d\n", roadHexes);
  std::printf("Auto marks:   %d\n", autoMarks);
  std::printf("Picture:      %s (%s)\n", m.pictureFile.empty() ? "-" : m.pictureFile.c_str(),
              m.hasS16Picture ? "found" : "missing");
  if (pictureRead) std::printf("Picture size: %d x %d pixels\n", pictureWidth, pictureHeight);
  std::printf("Names file:   %s (%d names)\n", namesFile.c_str(), ws.names.NameTotal());
  return kExitOk;
}

int CmdNames(const Args& raw) {
  ConsolePrompts prompts;
  Workspace ws(prompts);
  Arguments args;
  if (int rc = OpenMap(ws, raw, args, {"--names"}, {"--json"}, 1, kNamesUsage)) return rc;
  MapNames& names = ws.names;
  std::string file =
      args.Value("--names") ? AbsolutePath(*args.Value("--names")) : names.DefaultNamesFile();
  names.ClearNames();
  if (!FileExists(file)) {
    prompts.ShowError(Format("%s not found", file.c_str()));
    return kExitFailed;
  }
  const int errorsBefore = prompts.errorCount;
  if (!names.ReadNamesFile(file)) {
    // One message: the reader may have said why already.
    if (prompts.errorCount == errorsBefore) ErrorCannotOpen(prompts, file);
    return kExitFailed;
  }

  if (args.Has("--json")) {
    std::string out = "{" + JsonPathField("namesFile", names.namesPath) + ", \"names\": [";
    for (int slot = 1; slot < names.nameCount; ++slot) {
      out += (slot > 1 ? ", " : "") + JsonString(Cp1252ToUtf8(names.NameOf(slot)));
    }
    out += "], \"hexes\": [";
    bool first = true;
    for (auto [r, c] : names.lastRead().hexOrder) {
      int slot = names.nameIndex[size_t(r)][size_t(c)];
      out += Format("%s{\"column\": %d, \"row\": %d, \"slot\": %d}", first ? "" : ", ", c, r, slot);
      first = false;
    }
    out += "]}\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
  }
  for (auto [r, c] : names.lastRead().hexOrder) {
    int slot = names.nameIndex[size_t(r)][size_t(c)];
    std::printf("(%d,%d) %s\n", c, r, NameText(names.NameOf(slot)).c_str());
  }
  return kExitOk;
}

int CmdSave(const Args& raw) {
  ConsolePrompts prompts;
  Workspace ws(prompts);
  Arguments args;
  if (int rc = OpenMap(ws, raw, args, {}, {"--clean"}, 2, kSaveUsage)) return rc;
  if (int rc = CheckOutputName(args.positional()[1], kSaveUsage)) return rc;
  SetSaveClean(ws.settings, args);
  return ws.SaveMap(AbsolutePath(args.positional()[1])) ? kExitOk : kExitFailed;
}

}  // namespace maptesk::cli
