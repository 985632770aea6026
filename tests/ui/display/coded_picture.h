// Pictures whose pixels tell where they came from, for the drawing tests.
#pragma once

#include <QImage>

namespace maptesk {

inline constexpr QRgb kCanvasColour = 0xFF102030;

/// Red is the pixel's x, green its y.
inline QImage CodedPicture(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x, y, 77));
  }
  return picture;
}

inline QRgb CodedPixel(int x, int y) { return qRgb(x, y, 77); }

inline QImage Canvas(int width, int height) {
  QImage canvas(width, height, QImage::Format_RGB32);
  canvas.fill(kCanvasColour);
  return canvas;
}

}  // namespace maptesk
