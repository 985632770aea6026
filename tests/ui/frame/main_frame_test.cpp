// The main frame's wiring on the offscreen platform: frames drawn by the
// idle step, the video-mode switch and its fall-back, the display-state bits
// and the lost-surface path.
#include "ui/frame/main_frame.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "core/app/workspace.h"
#include "support/scripted_prompts.h"

namespace maptesk {
namespace {

class MainFrameTest : public ::testing::Test {
 protected:
  MainFrameTest() : ws(prompts), frame(ws) {
    frame.resize(1024, 700);
    frame.show();
  }
  testing::ScriptedPrompts prompts;
  Workspace ws;
  MainFrame frame;
};

TEST_F(MainFrameTest, FramesAreDrawnOnceCreatedAndHeldBackByTheStateBits) {
  EXPECT_EQ(frame.StepFrame(), IdleResult::kSkipped) << "not created yet";
  ASSERT_TRUE(frame.Create());
  EXPECT_EQ(frame.StepFrame(), IdleResult::kDrew);
  EXPECT_FALSE(frame.display().backSurface().isNull());
  EXPECT_EQ(frame.videoMode(), 0);

  frame.idle().Set(kStateMinimised);
  EXPECT_EQ(frame.StepFrame(), IdleResult::kSkipped);
  frame.idle().Clear(kStateMinimised);

  // A lost surface is restored while presenting; the images are loaded
  // again and the whole frame is drawn anew, though nothing else changed.
  const QImage before = frame.display().backSurface().copy();
  frame.display().LoseSurfaces();
  frame.view().flipToggle(kToggleGrid);  // something to draw
  EXPECT_EQ(frame.StepFrame(), IdleResult::kDrew);
  EXPECT_FALSE(frame.display().lost());
  frame.view().flipToggle(kToggleGrid);
  EXPECT_EQ(frame.StepFrame(), IdleResult::kDrew);
  EXPECT_TRUE(frame.display().backSurface() == before);
}

TEST_F(MainFrameTest, FullScreenModesFallBackToWhatTheScreenTakes) {
  ASSERT_TRUE(frame.Create());
  const QSize screen = frame.screen()->size();
  frame.SwitchVideoMode(3);
  EXPECT_EQ(frame.videoMode(), 3);
  const QSize back = frame.display().backSurface().size();
  if (screen.width() >= 1024 && screen.height() >= 768) {
    EXPECT_EQ(back, QSize(1024, 768));
  } else {
    EXPECT_EQ(back, QSize(800, 600)) << "the 1024 x 768 mode does not fit " << screen.width();
  }
  EXPECT_TRUE(frame.view().screen.fullScreen);
  EXPECT_EQ(frame.StepFrame(), IdleResult::kDrew);

  frame.SwitchVideoMode(0);
  EXPECT_EQ(frame.videoMode(), 0);
  EXPECT_FALSE(frame.view().screen.fullScreen);
  EXPECT_EQ(ws.settings.displayMode, 0);
}

}  // namespace
}  // namespace maptesk
