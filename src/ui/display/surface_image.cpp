#include "ui/display/surface_image.h"

#include <QPainter>
#include <algorithm>

#include "ui/display/display_surfaces.h"

namespace maptesk {

SurfaceImage::~SurfaceImage() {
  if (display_ != nullptr) display_->Detach(this);
}

int32_t SurfaceImage::Attach(DisplaySurfaces* display, int blitMode) {
  if (display == nullptr) return kErrPointer;
  if (display_ != display) {
    if (display_ != nullptr) display_->Detach(this);
    display->Attach(this);
    display_ = display;
  }
  blitMode_ = blitMode;
  return kOk;
}

void SurfaceImage::Release() {
  picture_ = QImage();
  sourceRect_ = QRect();
  width_ = height_ = 0;
  loaded_ = false;
}

int32_t SurfaceImage::LoadBitmap(const QString& path) {
  const QImage file(path);
  const int32_t result = TakePicture(file);
  if (result == kOk) name_ = path;
  return result;
}

int32_t SurfaceImage::CreateFromPicture(const QImage& picture) { return TakePicture(picture); }

int32_t SurfaceImage::TakePicture(const QImage& picture) {
  if (picture.isNull()) return kErrFail;
  QImage converted;
  if (blitMode_ == kBlitColourKey) {
    // The key is matched on colour alone, and the keyed pixels become fully
    // transparent, so drawing needs no per-pixel test.
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    converted = QImage(rgb.size(), QImage::Format_ARGB32_Premultiplied);
    const QRgb key = rgb.pixel(0, 0) | 0xFF000000;
    for (int y = 0; y < rgb.height(); ++y) {
      const QRgb* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
      QRgb* to = reinterpret_cast<QRgb*>(converted.scanLine(y));
      for (int x = 0; x < rgb.width(); ++x) {
        const QRgb pixel = from[x] | 0xFF000000;
        to[x] = pixel == key ? 0 : pixel;
      }
    }
  } else if (picture.hasAlphaChannel()) {
    converted = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  } else {
    // Opaque pictures stay RGB32: drawing them is a straight copy.
    converted = picture.convertToFormat(QImage::Format_RGB32);
  }
  // A picture of the same size is a reload (after lost surfaces), which
  // keeps where and what part of it is drawn.
  const bool reload = loaded_ && converted.size() == picture_.size();
  picture_ = std::move(converted);
  width_ = picture_.width();
  height_ = picture_.height();
  loaded_ = true;
  if (!reload) {
    sourceRect_ = picture_.rect();
    destRect_ = QRect(destRect_.topLeft(), picture_.size());
  }
  return kOk;
}

void SurfaceImage::SetSourceRect(int x, int y, int width, int height) {
  sourceRect_ = QRect(std::max(0, x), std::max(0, y), width < 1 ? width_ : width,
                      height < 1 ? height_ : height);
}

int32_t SurfaceImage::CanDraw() const {
  if (display_ == nullptr || !loaded_) return kErrFail;
  if (display_->lost()) return kErrSurfaceLost;
  return kOk;
}

QImage* SurfaceImage::TargetOf(QImage* target) const {
  if (target == nullptr && display_ != nullptr) target = &display_->backSurface();
  return target == nullptr || target->isNull() ? nullptr : target;
}

int32_t SurfaceImage::Draw(int x, int y, const QRect* source, QImage* target) {
  const int32_t ready = CanDraw();
  if (ready != kOk) return ready;
  QImage* surface = TargetOf(target);
  if (surface == nullptr) return kErrFail;
  QPainter painter(surface);
  return Draw(painter, x, y, source);
}

int32_t SurfaceImage::Draw(QPainter& painter, int x, int y, const QRect* source) {
  const int32_t ready = CanDraw();
  if (ready != kOk) return ready;
  const QRect wanted = source != nullptr ? *source : sourceRect_;
  // QPainter reads an empty source as "to the picture's edge", so the part
  // inside the picture is worked out here.
  const QRect from = wanted.intersected(picture_.rect());
  if (from.isEmpty()) return kOk;
  painter.drawImage(QPoint(x + from.x() - wanted.x(), y + from.y() - wanted.y()), picture_, from);
  return kOk;
}

}  // namespace maptesk
