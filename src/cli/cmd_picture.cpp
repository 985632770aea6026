// Picture commands: picture, tiles, sample.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "core/picture/map_picture.h"
#include "core/picture/s16_set.h"
#include "core/picture/tile_export.h"
#include "core/util/path_utils.h"
#include "sample/sample_game.h"

namespace maptesk::cli {
namespace {

constexpr char kPictureUsage[] = "usage: maptesk-cli picture PICTURE OUT.bmp\n";
constexpr char kTilesUsage[] = "usage: maptesk-cli tiles bmp|s16 PICTURE BASE [--replace-set]\n";
constexpr char kSampleUsage[] = "usage: maptesk-cli sample DIR\n";

// Loads any picture the tool reads; the exit status on failure.
int LoadAnyPicture(ConsolePrompts& prompts, MapPicture& picture, const std::string& path) {
  if (!FileExists(path)) {
    prompts.ShowError(Format("%s not found", path.c_str()));
    return kExitFailed;
  }
  if (!picture.LoadPicture(path)) {
    // A refused BMP has said why; a missing SHP set says nothing by itself.
    if (prompts.errorCount == 0) {
      prompts.ShowError(Format("No picture could be read from %s", path.c_str()));
    }
    return kExitFailed;
  }
  if (picture.width <= 0 || picture.height <= 0) {
    prompts.ShowError(Format("No picture could be read from %s", path.c_str()));
    return kExitFailed;
  }
  for (const std::string& remark : PictureRemarks(picture)) prompts.ShowRemark(remark);
  return kExitOk;
}

}  // namespace

int CmdPicture(const Args& raw) {
  Arguments args;
  std::string error;
  if (!args.Parse(raw, {}, {}, error)) return UsageError(error, kPictureUsage);
  if (args.positional().size() != 2) return UsageError("", kPictureUsage);
  if (int rc = CheckOutputName(args.positional()[1], kPictureUsage)) return rc;
  ConsolePrompts prompts;
  MapPicture picture(prompts);
  if (int rc = LoadAnyPicture(prompts, picture, AbsolutePath(args.positional()[0]))) return rc;
  return picture.Save(AbsolutePath(args.positional()[1])) ? kExitOk : kExitFailed;
}

int CmdTiles(const Args& raw) {
  Arguments args;
  std::string error;
  if (!args.Parse(raw, {}, {"--replace-set"}, error)) return UsageError(error, kTilesUsage);
  const auto& pos = args.positional();
  if (pos.size() != 3 || (pos[0] != "bmp" && pos[0] != "s16")) return UsageError("", kTilesUsage);
  if (int rc = CheckOutputName(pos[2], kTilesUsage, true)) return rc;
  ConsolePrompts prompts;
  MapPicture picture(prompts);
  if (int rc = LoadAnyPicture(prompts, picture, AbsolutePath(pos[1]))) return rc;
  const std::string base = AbsolutePath(pos[2]);
  if (PathPart(base, kPartFileName).empty() || IsSeparator(pos[2].back())) {
    prompts.ShowError("The tile base needs a file name, as in out/MAP05");
    return kExitFailed;
  }
  if (pos[0] == "bmp") {
    if (picture.SplitToBmpTiles(base)) return prompts.errorCount == 0 ? kExitOk : kExitFailed;
    if (prompts.errorCount == 0) {
      prompts.ShowError(
          Format("A picture of %d x %d is not cut into BMP tiles: it must be larger "
                 "than 640 x 480 both ways",
                 picture.width, picture.height));
    }
    return kExitFailed;
  }
  // Old tiles of the base beyond the new set go only when asked for: they
  // may hold the part of a picture that did not load.
  prompts.answerYes = args.Has("--replace-set");
  if (!prompts.answerYes) {
    const std::vector<std::string> leftOut =
        S16TilesLeftOut(base, TileGrid{picture.width, picture.height});
    if (!leftOut.empty()) {
      std::string names;
      for (const std::string& file : leftOut) {
        names += (names.empty() ? "" : ", ") + PathPart(file, kPartFileName);
      }
      prompts.ShowError(
          Format("%s: the new set does not replace %s.\nNothing was written: "
                 "--replace-set removes them with the old set.",
                 PathPart(base, kPartFileName).c_str(), names.c_str()));
      return kExitFailed;
    }
  }
  return picture.SplitToS16Tiles(base) ? kExitOk : kExitFailed;
}

int CmdSample(const Args& raw) {
  Arguments args;
  std::string error;
  if (!args.Parse(raw, {}, {}, error)) return UsageError(error, kSampleUsage);
  if (args.positional().size() != 1) return UsageError("", kSampleUsage);
  ConsolePrompts prompts;
  SampleGame sample(prompts);
  const std::string folder = AbsolutePath(args.positional()[0]);
  if (!sample.Write(folder)) return kExitFailed;
  std::printf("Sample game written to %s\n", folder.c_str());
  for (const SampleGame::MapEntry& m : SampleGame::Maps()) {
    std::printf("  SCENARIO/%s.MAP  map %d, %d x %d picture\n", m.scenario, m.number, m.width,
                m.height);
  }
  return kExitOk;
}

}  // namespace maptesk::cli
