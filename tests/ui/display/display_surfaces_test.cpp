#include "ui/display/display_surfaces.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/display/surface_image.h"

namespace maptesk {
namespace {

// Keeps the place and first pixel of every frame it is shown.
class RecordingOutput final : public DisplayOutput {
 public:
  void ShowFrame(const QImage& back, const QRect& displayRect) override {
    rects.push_back(displayRect);
    firstPixels.push_back(back.pixel(0, 0));
  }
  std::vector<QRect> rects;
  std::vector<QRgb> firstPixels;
};

struct FullScreenRow {
  const char* what;
  QSize screen;
  int requested;
  int32_t result;
  QRect out;
  int bits;
  QRect shown;  // where Flip shows the frame
};

void PrintTo(const FullScreenRow& row, std::ostream* out) { *out << row.what; }

class FullScreenModes : public ::testing::TestWithParam<FullScreenRow> {};

TEST_P(FullScreenModes, EndInTheLargestModeTheScreenTakes) {
  const FullScreenRow& row = GetParam();
  RecordingOutput output;
  DisplaySurfaces display;
  display.SetScreenSize(row.screen);
  EXPECT_EQ(display.Create(nullptr), kErrPointer);
  ASSERT_EQ(display.Create(&output), kOk);
  QRect out;
  int bits = 0;
  EXPECT_EQ(display.InitFullScreen(out, bits, row.requested), row.result);
  EXPECT_EQ(out, row.out);
  EXPECT_EQ(bits, row.bits);
  EXPECT_EQ(display.backSurface().size(), row.result == kOk ? row.out.size() : QSize(0, 0));
  EXPECT_EQ(display.palette().size(), row.result == kOk && row.bits == 8 ? 256 : 0);
  if (row.result != kOk) return;
  EXPECT_EQ(display.Present(), kOk);
  EXPECT_TRUE(output.rects.empty()) << "Present shows nothing in full screen";
  ASSERT_EQ(display.Flip(), kOk);
  EXPECT_EQ(output.rects, std::vector<QRect>{row.shown});
}

INSTANTIATE_TEST_SUITE_P(
    Screens, FullScreenModes,
    ::testing::Values(FullScreenRow{"mode 3 fits", QSize(1280, 1024), 3, kOk,
                                    QRect(0, 0, 1024, 768), 16, QRect(0, 32, 1280, 960)},
                      FullScreenRow{"too small for mode 3", QSize(800, 600), 3, kOk,
                                    QRect(0, 0, 800, 600), 16, QRect(0, 0, 800, 600)},
                      FullScreenRow{"a screen of 640 x 480 ends in 640x480x8 with the palette",
                                    QSize(640, 480), 3, kOk, QRect(0, 0, 640, 480), 8,
                                    QRect(0, 0, 640, 480)},
                      FullScreenRow{"no mode fits", QSize(320, 200), 3, kErrFail,
                                    QRect(0, 0, 640, 480), 8, QRect()}));

TEST(DisplaySurfaces, EightBitFramesAreShownThroughThePalette) {
  RecordingOutput output;
  DisplaySurfaces display;
  display.SetScreenSize(QSize(640, 480));
  ASSERT_EQ(display.Create(&output), kOk);
  QRect out;
  int bits = 0;
  ASSERT_EQ(display.InitFullScreen(out, bits, 3), kOk);
  ASSERT_EQ(bits, 8);
  ASSERT_EQ(display.FillBackSurface(qRgb(250, 10, 5)), kOk);
  ASSERT_EQ(display.Flip(), kOk);
  EXPECT_EQ(output.firstPixels, std::vector<QRgb>{qRgb(255, 0, 0)});
  EXPECT_EQ(display.backSurface().pixel(0, 0), qRgb(250, 10, 5)) << "the frame itself is kept";
}

struct Windowed {
  RecordingOutput output;
  DisplaySurfaces display;
  QRect out;
  Windowed() {
    EXPECT_EQ(display.Create(&output), kOk);
    EXPECT_EQ(display.InitWindowed(out, 32, QSize(64, 48)), kOk);
  }
};

TEST(DisplaySurfaces, AnOffscreenSurfaceOfNoSizeIsNullAndChangesNothing) {
  Windowed w;
  ASSERT_EQ(w.display.FillBackSurface(qRgb(9, 9, 9)), kOk);
  for (QSize size : {QSize(0, 0), QSize(0, 10), QSize(10, 0)}) {
    EXPECT_TRUE(w.display.CreateOffscreenSurface(size.width(), size.height()).isNull());
  }
  EXPECT_EQ(w.display.backSurface().pixel(5, 5), qRgb(9, 9, 9));
  EXPECT_TRUE(w.output.rects.empty());
  EXPECT_EQ(w.display.CreateOffscreenSurface(30, 20).size(), QSize(30, 20));
}

TEST(DisplaySurfaces, FillingWithZeroKeepsTheLastColour) {
  Windowed w;
  ASSERT_EQ(w.display.FillBackSurface(qRgb(200, 100, 50)), kOk);
  ASSERT_EQ(w.display.FillBackRect(2, 3, 5, 7, qRgb(0, 0, 255)), kOk);
  const QImage& back = w.display.backSurface();
  EXPECT_EQ(back.pixel(4, 6), qRgb(0, 0, 255));
  EXPECT_EQ(back.pixel(5, 6), qRgb(200, 100, 50)) << "the right edge is outside";
  EXPECT_EQ(back.pixel(4, 7), qRgb(200, 100, 50)) << "the bottom edge is outside";
  ASSERT_EQ(w.display.FillBackSurface(0), kOk);
  EXPECT_EQ(back.pixel(4, 6), qRgb(200, 100, 50));
}

TEST(DisplaySurfaces, ALostSurfaceFailsUntilRestored) {
  Windowed w;
  SurfaceImage sprite;
  ASSERT_EQ(sprite.Attach(&w.display, kBlitOpaque), kOk);
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(qRgb(10, 20, 30));
  ASSERT_EQ(sprite.CreateFromPicture(picture), kOk);
  ASSERT_EQ(w.display.FillBackSurface(qRgb(50, 60, 70)), kOk);

  w.display.LoseSurfaces();
  EXPECT_EQ(w.display.Present(), kErrSurfaceLost);
  EXPECT_EQ(sprite.Draw(0, 0), kErrSurfaceLost);
  EXPECT_TRUE(w.output.rects.empty());
  EXPECT_EQ(w.display.backSurface().pixel(0, 0), qRgb(0, 0, 0)) << "the pixels went with it";
  EXPECT_EQ(sprite.picture().pixel(1, 1), qRgb(0, 0, 0));

  ASSERT_EQ(w.display.Restore(), kOk);
  ASSERT_EQ(sprite.CreateFromPicture(picture), kOk);
  EXPECT_EQ(sprite.Draw(0, 0), kOk);
  EXPECT_EQ(w.display.Present(), kOk);
  EXPECT_EQ(w.output.firstPixels, std::vector<QRgb>{qRgb(10, 20, 30)});
  EXPECT_EQ(w.output.rects, std::vector<QRect>{QRect(0, 0, 64, 48)});
}

TEST(DisplaySurfaces, ImagesOutlivingTheDisplayLetGoOfIt) {
  SurfaceImage sprite;
  {
    DisplaySurfaces display;
    ASSERT_EQ(sprite.Attach(&display, kBlitColourKey), kOk);
  }
  EXPECT_EQ(sprite.display(), nullptr);
}

}  // namespace
}  // namespace maptesk
