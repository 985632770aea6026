// Automatic roads from the command line: generate roads from the Auto marks,
// or load and clear the marks, over the grid the editor would show.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/view/auto_roads.h"
#include "core/view/hex_grid.h"

namespace maptesk::cli {
namespace {

constexpr char kAutoroadsUsage[] =
    "usage: maptesk-cli autoroads MAP [--link] [--keep] [--out OUT] [--clean] [--game DIR] "
    "[--map-folder DIR] [--scn-folder DIR]\n";
constexpr char kMarksUsage[] =
    "usage: maptesk-cli marks MAP load|clear [--out OUT] [--clean] [--game DIR] [--map-folder DIR] "
    "[--scn-folder DIR]\n";

// The grid the editor has once the map is open: the one over its S16
// picture, or the whole grid when it has none.
// The rows and columns the roads are worked over: those the picture covers,
// or the whole grid for a map without one.
void GridOfMap(const Workspace& ws, HexGrid& grid) {
  if (std::optional<PictureSize> size = ws.PictureSizeOf()) {
    grid.setMapSize(size->width, size->height);
  } else {
    grid.useWholeGrid();
  }
}

// Parses, loads the map and sets the grid; the exit status on failure.
int OpenForRoads(Workspace& ws, const Args& raw, Arguments& args,
                 const std::vector<std::string>& flags, size_t positional, const char* usage,
                 HexGrid& grid) {
  std::vector<std::string> valued = kFolderOptions;
  valued.push_back("--out");
  std::string error;
  if (!args.Parse(raw, valued, flags, error)) return UsageError(error, usage);
  if (args.positional().size() != positional) return UsageError("", usage);
  if (int rc = CheckOutOption(args, usage)) return rc;
  SetFolders(ws.settings, args, args.positional()[0]);
  if (!ws.OpenMap(AbsolutePath(args.positional()[0]))) return kExitFailed;
  GridOfMap(ws, grid);
  SetSaveClean(ws.settings, args);
  return kExitOk;
}

int SaveResult(Workspace& ws, const Arguments& args) {
  const std::string out = args.Value("--out") ? AbsolutePath(*args.Value("--out")) : std::string();
  return ws.SaveMap(out) ? kExitOk : kExitFailed;
}

}  // namespace

int CmdAutoroads(const Args& raw) {
  ConsolePrompts prompts;
  Workspace ws(prompts);
  Arguments args;
  HexGrid grid;
  if (int rc =
          OpenForRoads(ws, raw, args, {"--link", "--keep", "--clean"}, 1, kAutoroadsUsage, grid)) {
    return rc;
  }
  int marked = AutoRoads(ws.map, grid.lastRow(), grid.lastColumn())
                   .generate(args.Has("--keep"), args.Has("--link"));
  if (int rc = SaveResult(ws, args)) return rc;
  std::printf("%d marked hexes given roads\n", marked);
  return kExitOk;
}

int CmdMarks(const Args& raw) {
  ConsolePrompts prompts;
  Workspace ws(prompts);
  Arguments args;
  HexGrid grid;
  if (int rc = OpenForRoads(ws, raw, args, {"--clean"}, 2, kMarksUsage, grid)) return rc;
  const std::string& action = args.positional()[1];
  AutoRoads roads(ws.map, grid.lastRow(), grid.lastColumn());
  int count = 0;
  if (action == "load") {
    count = roads.loadMarksFromRoads();
  } else if (action == "clear") {
    count = roads.clearMarks();
  } else {
    return UsageError("unknown action " + action, kMarksUsage);
  }
  if (int rc = SaveResult(ws, args)) return rc;
  std::printf(action == "load" ? "%d hexes marked\n" : "%d marks cleared\n", count);
  return kExitOk;
}

}  // namespace maptesk::cli
