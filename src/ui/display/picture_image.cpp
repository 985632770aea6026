#include "ui/display/picture_image.h"

#include <vector>

#include "core/picture/bmp_image.h"

namespace maptesk {

QImage PictureToImage(const BmpImage& picture) {
  if (!picture.loaded || picture.width <= 0 || picture.height <= 0) return {};
  std::vector<uint8_t> scratch;
  int rowBytes = 0;
  const uint8_t* rows = picture.Rgb24Rows(scratch, rowBytes);
  if (rows == nullptr) return {};
  const int w = picture.width;
  const int h = picture.height;
  QImage image(w, h, QImage::Format_RGB32);
  if (image.isNull()) return {};
  // Bottom-up rows of blue, green, red.
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = rows + size_t(h - 1 - y) * size_t(rowBytes);
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x, src += 3) dst[x] = qRgb(src[2], src[1], src[0]);
  }
  return image;
}

}  // namespace maptesk
