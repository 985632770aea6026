#include "ui/display/button_strip.h"

#include <gtest/gtest.h>

#include "ui/display/coded_picture.h"
#include "ui/display/display_surfaces.h"

namespace maptesk {
namespace {

// Two buttons side by side on a 60 x 40 picture, their pressed looks below.
struct TwoButtons : ::testing::Test {
  DisplaySurfaces display;
  ButtonStrip strip;
  void SetUp() override {
    ASSERT_EQ(strip.Attach(&display, kBlitOpaque), kOk);
    ASSERT_EQ(strip.CreateFromPicture(CodedPicture(60, 40)), kOk);
    strip.SetButtons(2);
    strip.SetDestRect(QRect(QPoint(100, 50), strip.destRect().size()));
  }
};

TEST_F(TwoButtons, APressedButtonIsDrawnFromItsPressedLook) {
  EXPECT_EQ(strip.buttonSize(), QSize(30, 20));
  EXPECT_EQ(strip.destRect(), QRect(100, 50, 60, 20)) << "the strip as it looks up";
  strip.SetState(1, true);
  QImage target = Canvas(200, 100);
  ASSERT_EQ(strip.DrawButton(1, &target), kOk);
  EXPECT_EQ(target.pixel(130, 50), CodedPixel(30, 20));
  EXPECT_EQ(target.pixel(159, 69), CodedPixel(59, 39));
  EXPECT_EQ(target.pixel(129, 50), kCanvasColour) << "button 0 is not drawn";
  EXPECT_EQ(target.pixel(130, 70), kCanvasColour);
}

TEST(ButtonStrip, AVerticalStripSplitsTheOtherWay) {
  ButtonStrip strip;
  ASSERT_EQ(strip.CreateFromPicture(CodedPicture(40, 90)), kOk);
  strip.SetButtons(3, 0, 0, 0, 0, false);
  strip.SetState(2, true);
  EXPECT_EQ(strip.ButtonSource(2), QRect(20, 60, 20, 30));
  EXPECT_EQ(strip.ButtonSource(1), QRect(0, 30, 20, 30));
}

TEST_F(TwoButtons, OnlyOneButtonStaysPressed) {
  strip.SetState(0, true);
  strip.SetOnlyPressed(1, true);
  EXPECT_FALSE(strip.pressed(0));
  EXPECT_TRUE(strip.pressed(1));
  EXPECT_FALSE(strip.pressed(2)) << "no third button";
}

}  // namespace
}  // namespace maptesk
