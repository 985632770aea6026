// A panel drawn from one picture with areas that react to the mouse and
// slots that hold text. Both are placed relative to the panel's top-left.
#pragma once

#include <vector>

#include "ui/display/surface_image.h"

namespace maptesk {

class AreaPanel : public SurfaceImage {
 public:
  void SetAreaCount(int count);
  void SetSlotCount(int count);
  void SetArea(int index, int width, int height, int x, int y);
  /// Area `index` of the same size as area `like`, at (x, y).
  void SetAreaLike(int index, int like, int x, int y);
  void SetSlot(int index, int width, int height, int x, int y);

  int areaCount() const { return int(areas_.size()); }
  int slotCount() const { return int(slots_.size()); }
  QRect area(int index) const;
  QRect slot(int index) const;

  /// The first area holding the screen point (left and top edges inside,
  /// right and bottom outside), or -1.
  int HitArea(int x, int y) const;
  /// Where a slot's text starts on the screen, one pixel inside its corner.
  QPoint SlotTextPoint(int index) const;

 private:
  std::vector<QRect> areas_;
  std::vector<QRect> slots_;
};

}  // namespace maptesk
