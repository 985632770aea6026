// Picture commands: filled in with the picture readers and writers.
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

int CmdPicture(const Args&) { return NotYet("picture"); }
int CmdTiles(const Args&) { return NotYet("tiles"); }
int CmdSample(const Args&) { return NotYet("sample"); }

}  // namespace maptesk::cli
