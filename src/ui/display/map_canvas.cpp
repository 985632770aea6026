#include "ui/display/map_canvas.h"

#include <QPaintEvent>
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

void MapCanvas::ShowChanged(const QImage& back, const QRect&, const QRegion& changed) {
  // A new surface (a mode switch, a resize) is shown whole.
  const bool same = back_ == &back;
  back_ = &back;
  if (!same) {
    update();
    return;
  }
  update(ToWidget(changed));
}

QRegion MapCanvas::ToWidget(const QRegion& changed) const {
  const QRect shown = ShownRect();
  if (back_ == nullptr || back_->isNull() || shown.size() == back_->size()) {
    return changed.translated(shown.topLeft());
  }
  // Scaled: each rectangle grows outward to whole widget pixels, and a pixel
  // more for the smoothing, which blends each pixel with its neighbours.
  QRegion out;
  const int64_t bw = back_->width();
  const int64_t bh = back_->height();
  for (const QRect& r : changed) {
    const int left = int(r.left() * int64_t(shown.width()) / bw) - 1;
    const int top = int(r.top() * int64_t(shown.height()) / bh) - 1;
    const int right = int(((r.right() + 1) * int64_t(shown.width()) + bw - 1) / bw) + 1;
    const int bottom = int(((r.bottom() + 1) * int64_t(shown.height()) + bh - 1) / bh) + 1;
    out += QRect(QPoint(shown.left() + left, shown.top() + top),
                 QPoint(shown.left() + right - 1, shown.top() + bottom - 1));
  }
  return out.intersected(rect());
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

void MapCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (back_ == nullptr || back_->isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  const QRect shown = ShownRect();
  if (shown.size() != back_->size()) {
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Qt clips this to the part asked for.
    painter.drawImage(shown, *back_);
  } else {
    // Only what was asked for: after a partial frame that is a few small
    // rectangles, not the whole surface.
    for (const QRect& r : event->region()) {
      painter.drawImage(r.topLeft(), *back_, r.translated(-shown.topLeft()));
    }
  }
}

}  // namespace maptesk
