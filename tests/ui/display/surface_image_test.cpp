#include "ui/display/surface_image.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ui/display/coded_picture.h"
#include "ui/display/display_surfaces.h"

namespace maptesk {
namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;
constexpr QRgb kBlue = 0xFF0000FF;

// Blue with a magenta left column, so its top-left pixel is magenta.
QImage KeyedPicture() {
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(kBlue);
  for (int y = 0; y < 4; ++y) picture.setPixel(0, y, kMagenta);
  return picture;
}

TEST(SurfaceImage, TheColourKeyLetsTheTargetShowThrough) {
  QTemporaryDir dir;
  const QString path = dir.filePath("keyed.bmp");
  ASSERT_TRUE(KeyedPicture().save(path, "BMP"));
  DisplaySurfaces display;
  for (int mode : {kBlitColourKey, kBlitOpaque}) {
    SurfaceImage sprite;
    ASSERT_EQ(sprite.Attach(&display, mode), kOk);
    ASSERT_EQ(sprite.LoadBitmap(path), kOk);
    EXPECT_EQ(sprite.sourceRect(), QRect(0, 0, 4, 4));
    QImage target = Canvas(6, 6);
    ASSERT_EQ(sprite.Draw(1, 1, nullptr, &target), kOk);
    const QRgb leftColumn = mode == kBlitColourKey ? kCanvasColour : kMagenta;
    EXPECT_EQ(target.pixel(1, 1), leftColumn) << "blit mode " << mode;
    EXPECT_EQ(target.pixel(1, 4), leftColumn) << "blit mode " << mode;
    EXPECT_EQ(target.pixel(2, 1), kBlue) << "blit mode " << mode;

    EXPECT_EQ(sprite.LoadBitmap(dir.filePath("missing.bmp")), kErrFail);
    EXPECT_EQ(sprite.name(), path) << "a failed load keeps the old picture";
    EXPECT_EQ(sprite.width(), 4);
  }
}

TEST(SurfaceImage, SourceAndDestinationRectangles) {
  DisplaySurfaces display;
  SurfaceImage sprite;
  sprite.Attach(&display, kBlitOpaque);
  ASSERT_EQ(sprite.CreateFromPicture(CodedPicture(40, 30)), kOk);
  struct Row {
    int x, y, w, h;
    QRect expected;
  };
  for (const Row& row : {Row{5, 6, 7, 8, QRect(5, 6, 7, 8)}, Row{-3, -1, 7, 8, QRect(0, 0, 7, 8)},
                         Row{5, 6, 0, -2, QRect(5, 6, 40, 30)}}) {
    sprite.SetSourceRect(row.x, row.y, row.w, row.h);
    EXPECT_EQ(sprite.sourceRect(), row.expected) << row.x << "," << row.y;
  }
}

TEST(SurfaceImage, DrawingNeedsADisplayAndASurface) {
  SurfaceImage sprite;
  ASSERT_EQ(sprite.CreateFromPicture(CodedPicture(4, 4)), kOk);
  EXPECT_EQ(sprite.Draw(0, 0), kErrFail) << "no display";
  DisplaySurfaces display;
  sprite.Attach(&display, kBlitOpaque);
  EXPECT_EQ(sprite.Draw(0, 0), kErrFail) << "no back surface";
}

TEST(SurfaceImage, ASourcePastThePictureDrawsOnlyItsInsidePart) {
  DisplaySurfaces display;
  SurfaceImage sprite;
  sprite.Attach(&display, kBlitOpaque);
  ASSERT_EQ(sprite.CreateFromPicture(CodedPicture(8, 8)), kOk);
  QImage target = Canvas(20, 20);
  const QRect source(-2, 6, 4, 4);  // two columns and two rows are inside
  ASSERT_EQ(sprite.Draw(5, 5, &source, &target), kOk);
  EXPECT_EQ(target.pixel(7, 5), CodedPixel(0, 6));
  EXPECT_EQ(target.pixel(8, 6), CodedPixel(1, 7));
  EXPECT_EQ(target.pixel(6, 5), kCanvasColour);
  EXPECT_EQ(target.pixel(7, 7), kCanvasColour);
  // QPainter would read an empty source as "to the picture's edge".
  const QRect empty(0, 0, 0, 4);
  ASSERT_EQ(sprite.Draw(0, 0, &empty, &target), kOk);
  EXPECT_EQ(target.pixel(0, 0), kCanvasColour);
}

}  // namespace
}  // namespace maptesk
