// maptesk-cli: the map tool's operations without a window, for batch work.
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "core/util/path_utils.h"
#include "core/util/save_guard.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const maptesk::cli::Args&);
  const char* summary;
};

constexpr Command kCommands[] = {
    {"info", maptesk::cli::CmdInfo, "info MAP [--json]                  what a map holds"},
    {"names", maptesk::cli::CmdNames, "names MAP [--names FILE] [--json]  the names of a map"},
    {"save", maptesk::cli::CmdSave, "save MAP OUT [--clean]             load and save a map"},
    {"picture", maptesk::cli::CmdPicture,
     "picture PICTURE OUT.bmp            write a picture as BMP"},
    {"tiles", maptesk::cli::CmdTiles,
     "tiles bmp|s16 PICTURE BASE [--replace-set]\n"
     "                                     cut a picture into tiles (--replace-set: also\n"
     "                                     remove old tiles of BASE the new set leaves out)"},
    {"sample", maptesk::cli::CmdSample,
     "sample DIR                         write the sample game folder"},
    {"report", maptesk::cli::CmdReport, "report FOLDER [--sort name|number|both] [--out FILE]"},
    {"replace-terrain", maptesk::cli::CmdReplaceTerrain, "replace-terrain MAP FROM TO [--out OUT]"},
    {"autoroads", maptesk::cli::CmdAutoroads, "autoroads MAP [--link] [--keep] [--out OUT]"},
    {"marks", maptesk::cli::CmdMarks, "marks MAP load|clear [--out OUT]"},
    {"renumber", maptesk::cli::CmdRenumber, "renumber MAP N [--out OUT]"},
    {"check", maptesk::cli::CmdCheck,
     "check MAP|FOLDER [--json] [--min error|warning|note] [--fix]   what the game trips over"},
    {"render", maptesk::cli::CmdRender,
     "render MAP OUT.png [--size WxH] [--zoom] [--grid] [--terrain] [--roads] [--names]\n"
     "         [--labels] [--scroll X,Y] [--mode 800|1024]   one frame of the editor\n"
     "         (runs maptesk-render, from this program's folder)"},
};

int Usage(FILE* out) {
  std::fprintf(out, "usage: maptesk-cli COMMAND ...\n\ncommands:\n");
  for (const Command& c : kCommands) std::fprintf(out, "  %s\n", c.summary);
  std::fprintf(out,
               "\nFolder options of the commands that read a map: --game DIR, --map-folder DIR,\n"
               "--scn-folder DIR (default: the map's folder's parent is the game folder).\n");
  return out == stdout ? 0 : maptesk::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 0) maptesk::SetProgramPath(argv[0]);
  maptesk::RemoveTemporariesOnSignals();
  if (argc < 2) return Usage(stderr);
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") return Usage(stdout);
  maptesk::cli::Args args(argv + 2, argv + argc);
  for (const Command& c : kCommands) {
    if (name != c.name) continue;
    // The core checks every size a file claims before reserving memory, so
    // running out is the machine's limit, not a file's doing: say so and
    // fail rather than abort.
    try {
      return c.run(args);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    std::fprintf(stderr, "Not enough memory to finish the %s command\n", c.name);
    return maptesk::cli::kExitFailed;
  }
  std::fprintf(stderr, "maptesk-cli: unknown command '%s'\n", name.c_str());
  return Usage(stderr);
}
