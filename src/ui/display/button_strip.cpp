#include "ui/display/button_strip.h"

#include <QPainter>
#include <algorithm>

#include "core/view/display_rules.h"

namespace maptesk {

void ButtonStrip::SetButtons(int count, int width, int height, int stepX, int stepY,
                             bool horizontal) {
  count = std::max(0, count);
  buttons_.assign(size_t(count), Button{});
  horizontal_ = horizontal;
  const int across = std::max(1, count);
  if (width < 1) width = horizontal ? this->width() / across : this->width() / 2;
  if (height < 1) height = horizontal ? this->height() / 2 : this->height() / across;
  stepX_ = stepX < 1 ? width : stepX;
  stepY_ = stepY < 1 ? height : stepY;
  buttonSize_ = QSize(width, height);
  if (count == 0) return;
  const QSize strip = horizontal ? QSize(stepX_ * (count - 1) + width, height)
                                 : QSize(width, stepY_ * (count - 1) + height);
  SetSourceRect(0, 0, strip.width(), strip.height());
  SetDestRect(QRect(destRect().topLeft(), strip));
}

bool ButtonStrip::pressed(int index) const {
  return index >= 0 && index < count() && buttons_[index].pressed;
}

void ButtonStrip::SetState(int index, bool pressed) {
  if (index < 0 || index >= count()) return;
  buttons_[index].pressed = pressed;
}

void ButtonStrip::SetOnlyPressed(int index, bool pressed) {
  for (Button& button : buttons_) button.pressed = false;
  if (index >= 0 && index < count()) buttons_[index].pressed = pressed;
}

QRect ButtonStrip::ButtonSource(int index) const {
  const bool down = pressed(index);
  return horizontal_ ? QRect(QPoint(index * stepX_, down ? stepY_ : 0), buttonSize_)
                     : QRect(QPoint(down ? stepX_ : 0, index * stepY_), buttonSize_);
}

QPoint ButtonStrip::ButtonPlace(int index) const {
  const QPoint corner = destRect().topLeft();
  return horizontal_ ? corner + QPoint(index * stepX_, 0) : corner + QPoint(0, index * stepY_);
}

int32_t ButtonStrip::DrawButton(int index, QImage* target) {
  if (index < 0 || index >= count()) return kErrFail;
  const QRect source = ButtonSource(index);
  const QPoint place = ButtonPlace(index);
  return Draw(place.x(), place.y(), &source, target);
}

int32_t ButtonStrip::DrawButton(QPainter& painter, int index) {
  if (index < 0 || index >= count()) return kErrFail;
  const QRect source = ButtonSource(index);
  const QPoint place = ButtonPlace(index);
  return Draw(painter, place.x(), place.y(), &source);
}

int32_t ButtonStrip::DrawAll(QImage* target) {
  const int32_t ready = CanDraw();
  if (ready != kOk) return ready;
  QImage* surface = TargetOf(target);
  if (surface == nullptr) return kErrFail;
  QPainter painter(surface);
  return DrawAll(painter);
}

int32_t ButtonStrip::DrawAll(QPainter& painter) {
  for (int i = 0; i < count(); ++i) {
    const int32_t result = DrawButton(painter, i);
    if (result != kOk) return result;
  }
  return kOk;
}

}  // namespace maptesk
