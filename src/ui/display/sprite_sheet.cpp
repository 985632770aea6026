#include "ui/display/sprite_sheet.h"

#include <QPainter>
#include <algorithm>

#include "core/view/display_rules.h"

namespace maptesk {

void SpriteSheet::SetScaleCount(int count, bool vertical) {
  scales_.assign(size_t(std::max(0, count)), SpriteScale{});
  vertical_ = vertical;
  scale_ = 0;
}

void SpriteSheet::DefineScale(int index, int frames, int frameWidth, int frameHeight) {
  if (index < 0 || index >= scaleCount()) return;
  scales_[index].frames = frames;
  scales_[index].frameWidth = frameWidth;
  scales_[index].frameHeight = frameHeight;
  // Scales may be defined in any order; each one's place depends on all
  // those before it.
  PlaceScales();
}

void SpriteSheet::PlaceScales() {
  int offset = 0;
  for (SpriteScale& scale : scales_) {
    scale.x = vertical_ ? offset : 0;
    scale.y = vertical_ ? 0 : offset;
    offset += vertical_ ? scale.frameWidth : scale.frameHeight;
  }
}

int SpriteSheet::SetScale(int index) {
  const int previous = scale_;
  if (index >= 0 && index < scaleCount()) scale_ = index;
  return previous;
}

SpriteScale SpriteSheet::scaleAt(int index) const {
  return index >= 0 && index < scaleCount() ? scales_[index] : SpriteScale{};
}

QRect SpriteSheet::FrameSource(int scale, int frame) const {
  const SpriteScale s = scaleAt(scale);
  if (frame < 0 || frame >= s.frames) return QRect();
  return vertical_ ? QRect(s.x, s.y + frame * s.frameHeight, s.frameWidth, s.frameHeight)
                   : QRect(s.x + frame * s.frameWidth, s.y, s.frameWidth, s.frameHeight);
}

int32_t SpriteSheet::DrawFrame(int frame, int x, int y, QImage* target) {
  const QRect source = FrameSource(scale_, frame);
  if (source.isEmpty()) return kErrFail;
  return Draw(x, y, &source, target);
}

int32_t SpriteSheet::DrawFrame(QPainter& painter, int frame, int x, int y) {
  const QRect source = FrameSource(scale_, frame);
  if (source.isEmpty()) return kErrFail;
  return Draw(painter, x, y, &source);
}

bool SpriteSheet::Clip(int scale, int frame, int& x, int& y, const QRect& clip,
                       QRect& source) const {
  source = FrameSource(scale, frame);
  // Edges as left, top inclusive and right, bottom exclusive, so that the
  // cut from each side is a plain difference.
  int left = x, top = y;
  int right = x + source.width(), bottom = y + source.height();
  const int clipRight = clip.x() + clip.width(), clipBottom = clip.y() + clip.height();
  int sourceLeft = source.x(), sourceTop = source.y();
  int sourceRight = source.x() + source.width(), sourceBottom = source.y() + source.height();
  if (left < clip.x()) {
    sourceLeft += clip.x() - left;
    left = clip.x();
  }
  if (top < clip.y()) {
    sourceTop += clip.y() - top;
    top = clip.y();
  }
  if (right > clipRight) sourceRight -= right - clipRight;
  if (bottom > clipBottom) sourceBottom -= bottom - clipBottom;
  if (sourceRight <= sourceLeft || sourceBottom <= sourceTop) return false;
  source = QRect(sourceLeft, sourceTop, sourceRight - sourceLeft, sourceBottom - sourceTop);
  x = left;
  y = top;
  return true;
}

int32_t SpriteSheet::DrawFrameClipped(int scale, int frame, int x, int y, const QRect& clip,
                                      QImage* target) {
  if (FrameSource(scale, frame).isEmpty()) return kErrFail;
  QRect source;
  if (!Clip(scale, frame, x, y, clip, source)) return CanDraw();
  return Draw(x, y, &source, target);
}

int32_t SpriteSheet::DrawFrameClipped(QPainter& painter, int scale, int frame, int x, int y,
                                      const QRect& clip) {
  if (FrameSource(scale, frame).isEmpty()) return kErrFail;
  QRect source;
  if (!Clip(scale, frame, x, y, clip, source)) return CanDraw();
  return Draw(painter, x, y, &source);
}

}  // namespace maptesk
