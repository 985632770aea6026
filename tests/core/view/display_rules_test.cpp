#include "core/view/display_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace maptesk {
namespace {

// Accepts only the modes it lists; records each try with the outputs as
// they stood when it was made.
class ScriptedScreen final : public ModeSetter {
 public:
  ScriptedScreen(std::vector<std::string> accepted, const ScreenRect& rect, const int& bits)
      : accepted_(std::move(accepted)), rect_(rect), bits_(bits) {}

  int32_t SetDisplayMode(int width, int height, int bits) override {
    const std::string mode =
        std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bits);
    const bool outputsMatch = rect_ == ScreenRect{0, 0, width, height} && bits_ == bits;
    tries.push_back(outputsMatch ? mode : mode + " (outputs not set)");
    for (const std::string& ok : accepted_) {
      if (ok == mode) return kOk;
    }
    return kErrFail;
  }
  std::vector<std::string> tries;

 private:
  std::vector<std::string> accepted_;
  const ScreenRect& rect_;
  const int& bits_;
};

struct WalkRow {
  const char* what;
  int requested;
  std::vector<std::string> accepted;
  std::vector<std::string> tries;
  int32_t result;
  ScreenRect rect;
  int bits;
};

void PrintTo(const WalkRow& row, std::ostream* out) { *out << row.what; }

class ModeWalk : public ::testing::TestWithParam<WalkRow> {};

TEST_P(ModeWalk, TriesTheRequestedModeThenEverySmallerOne) {
  const WalkRow& row = GetParam();
  ScreenRect rect{7, 7, 7, 7};
  int bits = 99;
  ScriptedScreen screen(row.accepted, rect, bits);
  EXPECT_EQ(WalkDisplayModes(screen, row.requested, rect, bits), row.result);
  EXPECT_EQ(screen.tries, row.tries);
  EXPECT_EQ(rect, row.rect);
  EXPECT_EQ(bits, row.bits);
}

const std::vector<std::string> kAll = {"640x480x8", "800x600x16", "1024x768x16"};
const std::vector<std::string> kDown = {"1024x768x16", "800x600x16", "640x480x8"};

INSTANTIATE_TEST_SUITE_P(
    Modes, ModeWalk,
    ::testing::Values(
        WalkRow{"3 accepted", 3, kAll, {"1024x768x16"}, kOk, {0, 0, 1024, 768}, 16},
        WalkRow{"3 falls to 800x600",
                3,
                {"800x600x16"},
                {kDown[0], kDown[1]},
                kOk,
                {0, 0, 800, 600},
                16},
        WalkRow{"3 falls to 640x480x8", 3, {"640x480x8"}, kDown, kOk, {0, 0, 640, 480}, 8},
        WalkRow{
            "2 never tries the larger mode", 2, kAll, {"800x600x16"}, kOk, {0, 0, 800, 600}, 16},
        WalkRow{"1 only", 1, kAll, {"640x480x8"}, kOk, {0, 0, 640, 480}, 8},
        WalkRow{"all refused: the 640x480 try's code", 3, {}, kDown, kErrFail, {0, 0, 640, 480}, 8},
        WalkRow{"the window tries nothing", 0, kAll, {}, kOk, {7, 7, 7, 7}, 99},
        WalkRow{"an unknown number tries nothing", 4, kAll, {}, kOk, {7, 7, 7, 7}, 99}));

TEST(Palette332, PrimaryEntriesAndSystemColours) {
  SystemColours system{};
  for (int i = 0; i < 20; ++i) system[i] = {uint8_t(i), uint8_t(100 + i), uint8_t(200 + i), 0};
  const Palette plain = MakePalette332();
  const Palette kept = MakePalette332(&system);
  struct Row {
    int index;
    PaletteEntry colour;
  };
  for (const Row& row :
       {Row{0x00, {0, 0, 0, 0}}, Row{0xFF, {255, 255, 255, 0}}, Row{0xE0, {255, 0, 0, 0}},
        Row{0x1C, {0, 255, 0, 0}}, Row{0x03, {0, 0, 255, 0}}, Row{0x25, {36, 36, 85, 0}}}) {
    EXPECT_EQ(plain[row.index], row.colour) << "entry " << row.index;
  }
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry expected = i < 10 ? system[i] : i >= 246 ? system[i - 236] : plain[i];
    EXPECT_EQ(kept[i], expected) << i;
    EXPECT_EQ(Index332(plain[i].red, plain[i].green, plain[i].blue), i) << "maps back onto itself";
  }
}

// Draws with the results it is given, one per frame.
class ScriptedFrames final : public FrameDrawer {
 public:
  explicit ScriptedFrames(std::vector<int32_t> results) : results_(std::move(results)) {}
  int32_t DrawFrame() override { return results_.at(drawn++); }
  size_t drawn = 0;

 private:
  std::vector<int32_t> results_;
};

TEST(IdleStep, AnyStateBitHoldsTheFrameBack) {
  IdleStep idle;
  ScriptedFrames frames({kOk});
  EXPECT_EQ(idle.Step(frames), IdleResult::kSkipped) << "not created yet";
  for (uint32_t bit : {kStateSwitching, kStateSettingMode, kStateMinimised, kStateTextEntry}) {
    idle.Clear(kStateNotCreated);
    idle.Set(bit);
    EXPECT_EQ(idle.Step(frames), IdleResult::kSkipped) << bit;
    idle.Clear(bit);
  }
  EXPECT_EQ(frames.drawn, 0u);
  EXPECT_EQ(idle.Step(frames), IdleResult::kDrew);
}

TEST(IdleStep, TwoFailuresInARowClose) {
  using R = IdleResult;
  struct Row {
    const char* what;
    std::vector<int32_t> results;
    std::vector<R> steps;
    bool switching;
  };
  for (const Row& row : {
           Row{"one failure retries", {kErrSurfaceLost, kOk}, {R::kRetry, R::kDrew}, false},
           Row{"a success restarts the count",
               {kErrFail, kOk, kErrFail, 1},
               {R::kRetry, R::kDrew, R::kRetry, R::kDrew},
               false},
           Row{"two in a row close, then nothing is drawn",
               {kErrFail, kErrSurfaceLost},
               {R::kRetry, R::kClose, R::kSkipped},
               true},
       }) {
    IdleStep idle;
    idle.Clear(kStateNotCreated);
    ScriptedFrames frames(row.results);
    std::vector<R> got;
    for (size_t i = 0; i < row.steps.size(); ++i) got.push_back(idle.Step(frames));
    EXPECT_TRUE(got == row.steps) << row.what;
    EXPECT_EQ((idle.state() & kStateSwitching) != 0, row.switching) << row.what;
  }
}

}  // namespace
}  // namespace maptesk
