// The core's screen rectangles and points as Qt's (right and bottom
// exclusive in the core, width and height in Qt).
#pragma once

#include <QPoint>
#include <QRect>

#include "core/view/hex_grid.h"

namespace maptesk {

inline QRect ToQRect(const ScreenRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

inline QPoint ToQPoint(const ScreenPoint& p) { return QPoint(p.x, p.y); }

}  // namespace maptesk
