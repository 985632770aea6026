// maptesk-cli check: the map checks over one map or every map of a folder.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "core/app/map_check.h"
#include "core/util/path_utils.h"
#include "core/util/text_format.h"

namespace maptesk::cli {

namespace {

constexpr char kCheckUsage[] =
    "usage: maptesk-cli check MAP|FOLDER [--json] [--min error|warning|note] [--fix] [--game DIR] "
    "[--map-folder DIR] [--scn-folder DIR]\n";

struct Found {
  std::string file;  ///< the map's file name, "" for a finding of the folder
  Finding finding;
};

// Checks one map file (and with `fix` mends and saves it); false when it
// could not be read, which the folder's report then says.
bool CheckOne(const std::string& path, const Arguments& args, bool fix, std::vector<Found>& out,
              std::vector<FolderMap>& folderMaps, int& fixed) {
  ConsolePrompts prompts;
  Workspace ws(prompts);
  SetFolders(ws.settings, args, path);
  // The checks need the picture's size, not its pixels, unless a fix saves.
  if (!ws.OpenMapWithNames(path, fix)) return false;
  const std::string name = PathPart(path, kPartFileName);
  folderMaps.push_back({name, ws.map.MapNumber == kNoMapNumber ? -1 : int(ws.map.MapNumber)});
  std::vector<Finding> findings = CheckMap(ws.map, ContextOf(ws));
  if (fix) {
    const bool namesBefore = ws.names.namesModified;
    const int n = FixFindings(ws.map, &ws.names, findings, ws.history);
    if (n > 0) {
      if (ws.map.modified && !ws.SaveMap("")) return true;
      if (ws.names.namesModified && !namesBefore) {
        const std::string namesFile =
            ws.names.namesPath.empty() ? ws.names.DefaultNamesFile() : ws.names.namesPath;
        ws.SaveNames(namesFile);
      }
      fixed += n;
      findings = CheckMap(ws.map, ContextOf(ws));
    }
  }
  for (Finding& f : findings) out.push_back({name, std::move(f)});
  return true;
}

std::string LineOf(const Found& f) {
  return f.file.empty() ? FindingLine(f.finding) : f.file + " " + FindingLine(f.finding);
}

}  // namespace

int CmdCheck(const Args& raw) {
  Arguments args;
  std::string error;
  std::vector<std::string> valued = kFolderOptions;
  valued.push_back("--min");
  if (!args.Parse(raw, valued, {"--json", "--fix"}, error)) return UsageError(error, kCheckUsage);
  if (args.positional().size() != 1) return UsageError("", kCheckUsage);
  Severity min = Severity::kWarning;
  if (std::optional<std::string> m = args.Value("--min")) {
    if (*m == "error") {
      min = Severity::kError;
    } else if (*m == "warning") {
      min = Severity::kWarning;
    } else if (*m == "note") {
      min = Severity::kNote;
    } else {
      return UsageError("--min takes error, warning or note", kCheckUsage);
    }
  }
  const bool fix = args.Has("--fix");
  const std::string target = AbsolutePath(args.positional()[0]);

  std::vector<Found> found;
  std::vector<FolderMap> folderMaps;
  int fixed = 0;
  std::error_code e;
  if (std::filesystem::is_directory(target, e)) {
    for (const std::string& file : FindFiles(WithTrailingSeparator(target), "*.map")) {
      if (!CheckOne(file, args, fix, found, folderMaps, fixed)) {
        found.push_back({PathPart(file, kPartFileName),
                         {CheckKind::kNoPicture, Severity::kError, -1, -1, -1, false,
                          "cannot be read as a map"}});
      }
    }
    for (Finding& f : CheckFolderMaps(folderMaps)) found.push_back({"", std::move(f)});
  } else if (!CheckOne(target, args, fix, found, folderMaps, fixed)) {
    return kExitFailed;
  }

  FindingCounts counts;
  bool failing = false;
  for (const Found& f : found) {
    counts.Add(f.finding.severity);
    failing = failing || f.finding.severity >= min;
  }
  if (args.Has("--json")) {
    std::string out = "{\"findings\": [";
    for (size_t i = 0; i < found.size(); ++i) {
      const Finding& f = found[i].finding;
      out += i == 0 ? "" : ", ";
      out += "{\"file\": " + JsonString(NameText(found[i].file)) +
             ", \"kind\": " + JsonString(KindName(f.kind)) +
             ", \"severity\": " + JsonString(SeverityName(f.severity));
      if (f.row >= 0) out += Format(", \"column\": %d, \"row\": %d", f.column, f.row);
      out += std::string(", \"fixable\": ") + (f.fixable ? "true" : "false") +
             ", \"text\": " + JsonString(NameText(f.text)) + "}";
    }
    out += Format("], \"errors\": %d, \"warnings\": %d, \"notes\": %d, \"fixed\": %d}\n",
                  counts.of(Severity::kError), counts.of(Severity::kWarning),
                  counts.of(Severity::kNote), fixed);
    std::fputs(out.c_str(), stdout);
  } else {
    for (const Found& f : found) std::printf("%s\n", NameText(LineOf(f)).c_str());
    std::printf("%s", CountLine(counts).c_str());
    if (fix) std::printf("; %d fixed", fixed);
    std::printf("\n");
  }
  return failing ? kExitFailed : kExitOk;
}

}  // namespace maptesk::cli
