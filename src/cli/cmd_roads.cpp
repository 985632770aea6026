// Road commands: autoroads and marks. A placeholder on this branch only, so
// that maptesk-cli links; the branch with the automatic roads replaces this
// file with the real commands.
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

int CmdAutoroads(const Args&) { return NotYet("autoroads"); }
int CmdMarks(const Args&) { return NotYet("marks"); }

}  // namespace maptesk::cli
