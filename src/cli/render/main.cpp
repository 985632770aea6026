// maptesk-render: one frame of the editor without a display. A program of its
// own so that maptesk-cli, which runs it for "render", needs no GUI library.
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/render/render_frame.h"
#include "core/util/path_utils.h"

int main(int argc, char** argv) {
  if (argc > 0) maptesk::SetProgramPath(argv[0]);
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    args.clear();  // the usage, on standard error like any usage error
  }
  try {
    return maptesk::cli::RenderFrame(args);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  std::fprintf(stderr, "Not enough memory to finish the render command\n");
  return maptesk::cli::kExitFailed;
}
