// Whole-map and folder tools: report, replace-terrain, renumber.
#include <cstdio>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "core/app/global_change.h"
#include "core/app/maps_report.h"
#include "core/map/map_number_model.h"
#include "core/map/terrain_table.h"
#include "core/util/path_utils.h"

namespace maptesk::cli {
namespace {

constexpr char kReportUsage[] =
    "usage: maptesk-cli report FOLDER [--sort name|number|both] [--out FILE]\n";
constexpr char kReplaceUsage[] =
    "usage: maptesk-cli replace-terrain MAP FROM TO [--out OUT] [--clean] [--game DIR] "
    "[--map-folder DIR] [--scn-folder DIR]\n"
    "FROM and TO: a terrain value 0..19 or its name (\"Swamp\", \"Rough\", ...)\n";
constexpr char kRenumberUsage[] =
    "usage: maptesk-cli renumber MAP N [--out OUT] [--clean] [--game DIR] [--map-folder DIR] "
    "[--scn-folder DIR]\n"
    "N: the new map number, 0..65535 (65535 means none)\n";

std::vector<std::string> With(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Parses the map commands' words, sets the folders and loads the map; the
// exit status on failure.
int OpenMap(Workspace& ws, const Args& raw, Arguments& args, size_t positional, const char* usage) {
  std::string error;
  if (!args.Parse(raw, With(kFolderOptions, {"--out"}), {"--clean"}, error)) {
    return UsageError(error, usage);
  }
  if (args.positional().size() != positional) return UsageError("", usage);
  if (int rc = CheckOutOption(args, usage)) return rc;
  SetFolders(ws.settings, args, args.positional()[0]);
  if (!ws.OpenMap(AbsolutePath(args.positional()[0]))) return kExitFailed;
  return kExitOk;
}

// Writes the map to --out, else back over the file it was read from; marks
// are kept unless --clean.
int SaveMap(Workspace& ws, const Arguments& args) {
  SetSaveClean(ws.settings, args);
  std::string out = args.Value("--out") ? AbsolutePath(*args.Value("--out")) : std::string();
  return ws.SaveMap(out) ? kExitOk : kExitFailed;
}

}  // namespace

int CmdReport(const Args& raw) {
  Arguments args;
  std::string error;
  if (!args.Parse(raw, {"--sort", "--out"}, {}, error)) return UsageError(error, kReportUsage);
  if (args.positional().size() != 1) return UsageError("", kReportUsage);
  if (int rc = CheckOutOption(args, kReportUsage)) return rc;

  MapsReport report;
  const std::string sort = args.Value("--sort").value_or("number");
  if (sort == "name") {
    report.sortChoice = kSortByName;
  } else if (sort == "number") {
    report.sortChoice = kSortByNumber;
  } else if (sort == "both") {
    report.sortChoice = kSortBoth;
  } else {
    return UsageError("--sort takes name, number or both", kReportUsage);
  }

  ConsolePrompts prompts;
  report.folder = WithTrailingSeparator(AbsolutePath(args.positional()[0]));
  report.reportFile =
      args.Value("--out") ? AbsolutePath(*args.Value("--out")) : report.folder + kReportFileName;
  if (!report.ScanFolder(prompts) || !report.Report(prompts)) return kExitFailed;
  std::printf("%s written to %s\n", report.countText().c_str(), report.reportFile.c_str());
  return kExitOk;
}

int CmdReplaceTerrain(const Args& raw) {
  ConsolePrompts prompts;
  Workspace ws(prompts);
  Arguments args;
  if (int rc = OpenMap(ws, raw, args, 3, kReplaceUsage)) return rc;
  int types[2] = {-1, -1};
  for (int i = 0; i < 2; ++i) {
    const std::string& word = args.positional()[size_t(i + 1)];
    std::optional<int> type = TerrainTable::Find(word);
    if (!type) return UsageError("unknown terrain type '" + word + "'", kReplaceUsage);
    types[i] = *type;
  }
  if (types[0] == types[1]) {
    return UsageError("FROM and TO are the same terrain type", kReplaceUsage);
  }
  prompts.notesToStdout = true;
  prompts.holdNotes = true;
  ws.ReplaceTerrain(types[0], types[1]);
  if (int rc = SaveMap(ws, args)) return rc;
  prompts.ReleaseNotes();
  return kExitOk;
}

int CmdRenumber(const Args& raw) {
  ConsolePrompts prompts;
  Workspace ws(prompts);
  Arguments args;
  if (int rc = OpenMap(ws, raw, args, 2, kRenumberUsage)) return rc;
  const std::string& word = args.positional()[1];
  std::optional<int> number = MapNumberModel::ParseMapNumber(word);
  if (!number) {
    return UsageError("[" + word + "] is not a map number: give a number from 0 to 65535",
                      kRenumberUsage);
  }
  const int old = ws.map.MapNumber;
  ws.Renumber(uint16_t(*number));
  if (int rc = SaveMap(ws, args)) return rc;
  std::printf("Map number %d -> %d\n", old, *number);
  return kExitOk;
}

}  // namespace maptesk::cli
