#include "ui/display/sprite_sheet.h"

#include <gtest/gtest.h>

#include "ui/display/coded_picture.h"
#include "ui/display/display_surfaces.h"

namespace maptesk {
namespace {

// Two scales side by side: five 24 x 10 frames, then five 16 x 8 frames.
struct VerticalSheet : ::testing::Test {
  DisplaySurfaces display;
  SpriteSheet sheet;
  void SetUp() override {
    ASSERT_EQ(sheet.Attach(&display, kBlitOpaque), kOk);
    ASSERT_EQ(sheet.CreateFromPicture(CodedPicture(40, 50)), kOk);
    sheet.SetScaleCount(2, true);
    sheet.DefineScale(1, 5, 16, 8);  // in any order
    sheet.DefineScale(0, 5, 24, 10);
  }
};

TEST_F(VerticalSheet, AFrameOfTheSecondScaleComesFromBesideTheFirst) {
  EXPECT_EQ(sheet.scaleAt(1).x, 24);
  EXPECT_EQ(sheet.SetScale(1), 0);
  QImage target = Canvas(60, 60);
  ASSERT_EQ(sheet.DrawFrame(3, 5, 6, &target), kOk);
  EXPECT_EQ(target.pixel(5, 6), CodedPixel(24, 3 * 8));
  EXPECT_EQ(target.pixel(20, 13), CodedPixel(39, 31));
  EXPECT_EQ(target.pixel(21, 13), kCanvasColour);
  EXPECT_EQ(target.pixel(20, 14), kCanvasColour);
  EXPECT_EQ(sheet.DrawFrame(5, 0, 0, &target), kErrFail) << "past the scale's frames";
}

TEST(SpriteSheet, ScalesStackAsRows) {
  SpriteSheet sheet;
  sheet.SetScaleCount(3, false);
  sheet.DefineScale(0, 4, 16, 12);
  sheet.DefineScale(1, 4, 12, 9);
  sheet.DefineScale(2, 4, 8, 6);
  EXPECT_EQ(sheet.FrameSource(2, 3), QRect(24, 21, 8, 6));
}

struct ClipRow {
  const char* what;
  int x, y;
  QRect shown;          // where the part of frame 0 of scale 0 that shows lands
  QPoint sourceCorner;  // and where that part starts in the frame
};

void PrintTo(const ClipRow& row, std::ostream* out) { *out << row.what; }

class ClippedFrames : public VerticalSheet, public ::testing::WithParamInterface<ClipRow> {};

// The clip runs from (10, 10) up to (40, 30).
TEST_P(ClippedFrames, DrawOnlyThePartInsideTheClip) {
  const ClipRow& row = GetParam();
  QImage target = Canvas(60, 60);
  ASSERT_EQ(sheet.DrawFrameClipped(0, 0, row.x, row.y, QRect(10, 10, 30, 20), &target), kOk);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) {
      const QPoint from = row.sourceCorner + QPoint(x, y) - row.shown.topLeft();
      const QRgb expected =
          row.shown.contains(x, y) ? CodedPixel(from.x(), from.y()) : kCanvasColour;
      ASSERT_EQ(target.pixel(x, y), expected) << "at " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sides, ClippedFrames,
    ::testing::Values(
        ClipRow{"half outside the left edge", -2, 15, QRect(10, 15, 12, 10), QPoint(12, 0)},
        ClipRow{"past the right and bottom edges", 30, 25, QRect(30, 25, 10, 5), QPoint(0, 0)},
        ClipRow{"over the top-left corner", 0, 2, QRect(10, 10, 14, 2), QPoint(10, 8)},
        ClipRow{"wholly outside", 50, 12, QRect(), QPoint(0, 0)}));

}  // namespace
}  // namespace maptesk
