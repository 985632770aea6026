#include "ui/display/area_panel.h"

#include <algorithm>

namespace maptesk {

void AreaPanel::SetAreaCount(int count) { areas_.assign(size_t(std::max(0, count)), QRect()); }

void AreaPanel::SetSlotCount(int count) { slots_.assign(size_t(std::max(0, count)), QRect()); }

void AreaPanel::SetArea(int index, int width, int height, int x, int y) {
  if (index >= 0 && index < areaCount()) areas_[index] = QRect(x, y, width, height);
}

void AreaPanel::SetAreaLike(int index, int like, int x, int y) {
  if (index >= 0 && index < areaCount()) areas_[index] = QRect(QPoint(x, y), area(like).size());
}

void AreaPanel::SetSlot(int index, int width, int height, int x, int y) {
  if (index >= 0 && index < slotCount()) slots_[index] = QRect(x, y, width, height);
}

QRect AreaPanel::area(int index) const {
  return index >= 0 && index < areaCount() ? areas_[index] : QRect();
}

QRect AreaPanel::slot(int index) const {
  return index >= 0 && index < slotCount() ? slots_[index] : QRect();
}

int AreaPanel::HitArea(int x, int y) const {
  const QPoint point = QPoint(x, y) - destRect().topLeft();
  // Areas may overlap; the one set up first wins.
  for (int i = 0; i < areaCount(); ++i) {
    if (areas_[i].contains(point)) return i;
  }
  return -1;
}

QPoint AreaPanel::SlotTextPoint(int index) const {
  return destRect().topLeft() + slot(index).topLeft() + QPoint(1, 1);
}

}  // namespace maptesk
