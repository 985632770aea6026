// The frame maptesk-render draws: the editor's view of a map as a PNG.
#pragma once

#include <string>
#include <vector>

namespace maptesk::cli {

/// Draws one frame for the words after the program's name (MAP OUT.png and
/// options) and returns the exit status: 0 written, 1 failed (message on
/// standard error), 2 usage error.
int RenderFrame(const std::vector<std::string>& args);

}  // namespace maptesk::cli
