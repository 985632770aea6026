#include "ui/display/map_canvas.h"

#include <QPainter>

namespace maptesk {

MapCanvas::MapCanvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void MapCanvas::ShowFrame(const QImage& back, const QRect&) {
  back_ = &back;
  update();
}

QRect MapCanvas::ShownRect() const {
  if (back_ == nullptr || back_->isNull()) return rect();
  const QSize size = back_->size();
  if (size == this->size()) return rect();
  // A full-screen mode's frame fills the screen with its aspect kept.
  const QSize shown = size.scaled(this->size(), Qt::KeepAspectRatio);
  return QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

QPoint MapCanvas::ToBack(const QPoint& p) const {
  const QRect shown = ShownRect();
  if (back_ == nullptr || back_->isNull() || shown.size() == back_->size()) {
    return p - shown.topLeft();
  }
  return QPoint(int((p.x() - shown.left()) * int64_t(back_->width()) / shown.width()),
                int((p.y() - shown.top()) * int64_t(back_->height()) / shown.height()));
}

void MapCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (back_ == nullptr || back_->isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  const QRect shown = ShownRect();
  if (shown != rect()) {
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(shown, *back_);
  } else {
    painter.drawImage(0, 0, *back_);
  }
}

}  // namespace maptesk
