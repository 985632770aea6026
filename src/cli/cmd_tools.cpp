// Whole-map and folder tools: filled in with the view and report code.
#include <cstdio>

#include "cli/cli_common.h"
#include "cli/commands.h"

namespace maptesk::cli {
namespace {
int NotYet(const char* name) {
  std::fprintf(stderr, "maptesk-cli: '%s' is not available in this build\n", name);
  return kExitFailed;
}
}  // namespace

int CmdReport(const Args&) { return NotYet("report"); }
int CmdReplaceTerrain(const Args&) { return NotYet("replace-terrain"); }
int CmdRenumber(const Args&) { return NotYet("renumber"); }

}  // namespace maptesk::cli
