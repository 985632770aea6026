#include "core/view/hex_grid.h"

#include <algorithm>

#include "core/map/hex_cell.h"

namespace maptesk {

std::ostream& operator<<(std::ostream& out, const ScreenRect& rect) {
  return out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom
             << ")";
}

std::ostream& operator<<(std::ostream& out, const HexPos& pos) {
  return out << "{row " << pos.row << ", column " << pos.column << ", at " << pos.x << "," << pos.y
             << ", screen " << pos.screenX << "," << pos.screenY << "}";
}

HexPos HexGrid::hexToPixel(int32_t row, int32_t column) const {
  HexPos pos;
  pos.row = row;
  pos.column = column;
  // Column 0 lies one step left of the picture's edge.
  pos.x = (column - 1) * metrics.columnStep;
  pos.y = row * metrics.rowStep;
  if (column % 2 == 0) pos.y -= metrics.rowStep / 2;
  pos.screenX = pos.x + originX;
  pos.screenY = pos.y + originY;
  if (fitToView == 0) {
    pos.screenX -= scrollX;
    pos.screenY -= scrollY;
  }
  return pos;
}

HexPos HexGrid::pixelToHex(int32_t screenX, int32_t screenY) const {
  int32_t px = screenX - originX;
  int32_t py = screenY - originY;
  if (fitToView == 0) {
    px += scrollX;
    py += scrollY;
  }
  const HexMetrics& m = metrics;
  int32_t column = px / m.columnStep + 1;
  const bool oddColumn = column % 2 == 1;
  int32_t row = oddColumn ? py / m.rowStep : (py + m.rowStep / 2) / m.rowStep;
  const int32_t localX = px - (column - 1) * m.columnStep;
  const int32_t localY = py + (oddColumn ? 0 : m.rowStep / 2) - row * m.rowStep;

  // The box of a column is its column step wide; its left slant strip holds
  // the corners of the two hexes to the left.
  if (localX < m.slantWidth) {
    if (localY < m.halfHeight && 3 * localY + 5 * localX < m.cornerLimit) {
      if (column % 2 == 0) row -= 1;
      column -= 1;
      row = std::max(row, 0);
      column = std::max(column, 0);
    } else if (localY > m.halfHeight && 3 * localY - 5 * localX > m.cornerLimit) {
      if (column % 2 == 1) row += 1;
      column = std::max(column - 1, 0);
    }
  }
  return hexToPixel(row, column);
}

bool HexGrid::contains(int32_t screenX, int32_t screenY) const {
  return screenX >= viewRect.left && screenX <= viewRect.right && screenY >= viewRect.top &&
         screenY <= viewRect.bottom;
}

bool HexGrid::isVisible(const HexPos& pos) const {
  if (!inGrid(pos.row, pos.column)) return false;
  if (fitToView != 0) return true;
  // Widened by one hex less a pixel, so that hexes cut by the edge still draw.
  ScreenRect wide{viewRect.left - (metrics.hexWidth - 1), viewRect.top - (metrics.hexHeight - 1),
                  viewRect.right + (metrics.hexWidth - 1),
                  viewRect.bottom + (metrics.hexHeight - 1)};
  if (pos.column == 0) wide.left -= metrics.hexWidth / 2;
  return wide.Contains(pos.screenX, pos.screenY);
}

void HexGrid::GridLimitsFor(int32_t pixelWidth, int32_t pixelHeight, int32_t& lastRow,
                            int32_t& lastColumn) {
  GridLimitsForPicture(pixelWidth, pixelHeight, lastRow, lastColumn);
}

void HexGrid::setMapSize(int32_t pixelWidth, int32_t pixelHeight) {
  pixelWidth = std::max(pixelWidth, 0);
  pixelHeight = std::max(pixelHeight, 0);
  metrics = kNormalMetrics;
  mapLoaded = true;
  mapPixelWidth = pixelWidth;
  mapPixelHeight = pixelHeight;
  GridLimitsFor(pixelWidth, pixelHeight, maxRow, maxColumn);
  originX = 0;
  originY = 0;
  viewWidth = pixelWidth;
  viewHeight = pixelHeight;
  fitToView = 1;
  viewRect = {0, 0, pixelWidth, pixelHeight};
}

void HexGrid::useWholeGrid() {
  maxRow = kLastRow;
  maxColumn = kLastColumn;
}

void HexGrid::scrollBy(int32_t dx, int32_t dy) {
  scrollX += dx;
  scrollY += dy;
  clampScroll();
}

void HexGrid::scrollTo(int32_t x, int32_t y) {
  scrollX = x;
  scrollY = y;
  clampScroll();
}

void HexGrid::centreOn(int32_t x, int32_t y) {
  scrollX = x - viewWidth / 2 + metrics.hexWidth;
  scrollY = y - viewHeight / 2 + metrics.hexHeight;
  clampScroll();
}

void HexGrid::keepVisible(int32_t x, int32_t y) {
  const int32_t w = metrics.hexWidth;
  const int32_t h = metrics.hexHeight;
  const int32_t cx = x + w / 2;
  const int32_t cy = y + h / 2;
  if (cx < scrollX + w + 10) scrollX = cx - w - 10;
  if (cy < scrollY + h) scrollY = cy - h;
  if (cx - scrollX > viewWidth - w - 10) scrollX = cx - viewWidth + w + 10;
  // The bottom keeps a wider margin: the bar below covers the last pixels.
  if (cy - scrollY > viewHeight - h - 20) scrollY = cy - viewHeight + h + 20;
  clampScroll();
}

void HexGrid::moveCurrent(char digit) {
  int32_t row = current.row;
  int32_t column = current.column;
  const bool odd = column % 2 == 1;
  const bool even = column % 2 == 0;
  switch (digit) {
    case '1':
      if (odd && row < maxRow) row += 1;
      if (column > 0) column -= 1;
      break;
    case '2':
      if (row < maxRow) row += 1;
      break;
    case '3':
      if (odd && row < maxRow) row += 1;
      if (column < maxColumn) column += 1;
      break;
    case '4':
      if (column >= 1) column -= 1;
      break;
    case '6':
      if (column < maxColumn) column += 1;
      break;
    case '7':
      if (even && row > 0) row -= 1;
      if (column > 0) column -= 1;
      break;
    case '8':
      if (row >= 1) row -= 1;
      break;
    case '9':
      if (even && row > 0) row -= 1;
      if (column < maxColumn) column += 1;
      break;
    default: return;
  }
  setCurrent(row, column);
  if (fitToView == 0) keepCurrentVisible();
}

void HexGrid::clampScroll() {
  scrollX = std::max(scrollX, 0);
  scrollY = std::max(scrollY, 0);
  scrollX = std::min(scrollX, maxScrollX);
  scrollY = std::min(scrollY, maxScrollY);
  // The current hex's map position is unchanged; only its screen position moves.
  setCurrent(current.row, current.column);
}

void HexGrid::edgeScroll(int32_t pointerX, int32_t pointerY, int32_t screenRight,
                         int32_t screenBottom) {
  if (pointerX < 2) scrollX -= 5;
  if (pointerX > screenRight - 2) scrollX += 5;
  if (pointerY < 2) scrollY -= 5;
  if (pointerY > screenBottom - 2) scrollY += 5;
  clampScroll();
}

void HexGrid::forEachNeighbour(const NeighbourVisitor& visit) const {
  ForEachNeighbour(current.row, current.column, maxRow, maxColumn,
                   [&](int d, int row, int column) { visit(d, row, column, current); });
}

}  // namespace maptesk
