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

constexpr int kLargestPicture = 1920;

// Width and height from the header of one S16 tile; false when the tile is
// missing or its signature is not 1.
bool ReadTileSize(const std::string& path, int& width, int& height) {
  std::vector<uint8_t> header;
  if (ReadFileBytes(path, header, 44) != ReadStatus::kOk || header.size() < 44) return false;
  auto word = [&](size_t offset) {
    return int32_t(uint32_t(header[offset]) | uint32_t(header[offset + 1]) << 8 |
                   uint32_t(header[offset + 2]) << 16 | uint32_t(header[offset + 3]) << 24);
  };
  if (word(0) != 1) return false;
  width = word(4);
  height = word(8);
  return true;
}

// The size of the picture a set of S16 tiles assembles to: the widths of the
// first row's tiles and the heights of the first column's, as the picture
// loader sums them, cut to the largest picture it can hold.
void S16PictureSize(const std::string& anyTile, int& width, int& height) {
  const std::string folder = PathPart(anyTile, kPartFolder);
  std::string base = PathPart(anyTile, kPartName);
  if (base.size() > 5) base.resize(base.size() - 2);
  auto tile = [&](int c, int r) {
    return Format("%s%s%d%d.s16", folder.c_str(), base.c_str(), c, r);
  };
  width = 0;
  height = 0;
  for (int c = 0; c < 3; ++c) {
    int w = 0, h = 0;
    if (!ReadTileSize(tile(c, 0), w, h)) continue;
    width += std::clamp(w, 0, kLargestPicture);
    if (c == 0) height += std::clamp(h, 0, kLargestPicture);
  }
  for (int r = 1; r < 4; ++r) {
    int w = 0, h = 0;
    if (!ReadTileSize(tile(0, r), w, h)) continue;
    height += std::clamp(h, 0, kLargestPicture);
  }
  width = std::min(width, kLargestPicture);
  height = std::min(height, kLargestPicture);
}

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
