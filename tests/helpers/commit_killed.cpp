// Test helper: cuts a picture into S16 tiles through the real export and
// kills itself with SIGKILL just before step STEP of the commit (the rename
// of tile STEP, or with STEP = the number of tiles, before the journal goes).
// A negative STEP lets the export finish.
//   maptesk_commit_killed PICTURE BASE STEP
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/picture/map_picture.h"
#include "core/util/prompts.h"
#include "core/util/save_guard.h"

namespace {

int g_killAt = -1;

void KillAtStep(int step) {
  if (step == g_killAt) raise(SIGKILL);
}

// Agrees to every question: the export's own questions are not under test.
class AgreeingPrompts : public maptesk::SilentPrompts {
 public:
  bool AskYesNo(const std::string&) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: maptesk_commit_killed PICTURE BASE STEP\n");
    return 2;
  }
  g_killAt = std::atoi(argv[3]);
  maptesk::SetCommitStepHookForTesting(KillAtStep);
  AgreeingPrompts prompts;
  maptesk::MapPicture picture(prompts);
  if (!picture.LoadPicture(argv[1]) || !picture.loaded) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  return picture.SplitToS16Tiles(argv[2]) ? 0 : 1;
}
