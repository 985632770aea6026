// Hex geometry and scrolling of the one map view: how hexes and pixels map
// onto each other at the normal and the two zoomed-out scales, which hexes
// neighbour which, and where the view is scrolled to.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>

#include "core/map/hex_topology.h"

namespace maptesk {

/// The numbers of one drawing scale, in pixels.
struct HexMetrics {
  int32_t columnStep = 0;
  int32_t rowStep = 0;
  int32_t hexWidth = 0;
  int32_t hexHeight = 0;
  int32_t slantWidth = 0;
  int32_t halfHeight = 0;
  int32_t cornerLimit = 0;

  friend bool operator==(const HexMetrics&, const HexMetrics&) = default;
};

inline constexpr HexMetrics kNormalMetrics{45, 50, 60, 50, 15, 25, 75};
/// Zoomed out in the window and in the 1024x768 mode.
inline constexpr HexMetrics kZoomedLargeMetrics{17, 16, 24, 16, 7, 8, 7};
/// Zoomed out in the 800x600 mode.
inline constexpr HexMetrics kZoomedSmallMetrics{13, 12, 18, 12, 5, 6, 6};

/// The three drawing scales in the order of the sprite sheets' rows.
inline constexpr std::array<HexMetrics, 3> kScaleMetrics = {kNormalMetrics, kZoomedLargeMetrics,
                                                            kZoomedSmallMetrics};

/// A frame of the view's sprite sheets, in pixels.
struct SpriteFrameSize {
  int32_t width = 0;
  int32_t height = 0;
};
/// The hex frames of the grid and road sheets at each scale: at the normal
/// scale a frame is one pixel wider and taller than the hex, so the outline's
/// far edge fits.
inline constexpr std::array<SpriteFrameSize, 3> kHexFrameSizes = {{{61, 51}, {24, 16}, {18, 12}}};
/// One terrain icon, and one terrain label, in their sheets.
inline constexpr SpriteFrameSize kTerrainIconFrame{16, 11};
inline constexpr SpriteFrameSize kTerrainLabelFrame{58, 19};

/// A rectangle of the screen: left, top, right, bottom.
struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  /// Left and top inclusive, right and bottom exclusive.
  bool Contains(int32_t x, int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }

  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};
std::ostream& operator<<(std::ostream& out, const ScreenRect& rect);

/// Where one hex lies: the top-left corner of its cell in the map picture at
/// the current scale, its row and column, and the same corner on the screen.
struct HexPos {
  int32_t x = 0;
  int32_t y = 0;
  int32_t row = -1;
  int32_t column = -1;
  int32_t screenX = 0;
  int32_t screenY = 0;

  friend bool operator==(const HexPos&, const HexPos&) = default;
};
std::ostream& operator<<(std::ostream& out, const HexPos& pos);

/// The grid of the map picture and the scroll state of the view.
class HexGrid {
 public:
  /// The last row and column the map's storage holds, whatever the picture's size.
  static constexpr int32_t kLastRow = 39;
  static constexpr int32_t kLastColumn = 44;

  int32_t originX = 0;
  int32_t originY = 0;
  int32_t viewWidth = 0;
  int32_t viewHeight = 0;
  HexMetrics metrics = kNormalMetrics;
  ScreenRect viewRect;
  /// A map picture is present; nothing acts on the map while it is false.
  bool mapLoaded = false;
  int32_t mapPixelWidth = 0;
  int32_t mapPixelHeight = 0;
  HexPos current;
  int32_t maxRow = 0;
  int32_t maxColumn = 0;
  /// 1 while the whole map is shown without scrolling (zoomed view).
  int32_t fitToView = 0;
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  int32_t maxScrollX = 0;
  int32_t maxScrollY = 0;

  HexPos hexToPixel(int32_t row, int32_t column) const;
  /// The hex under a screen point. Points outside the picture are clamped only
  /// as the corner rule does; callers check contains() first.
  HexPos pixelToHex(int32_t screenX, int32_t screenY) const;
  /// Inside viewRect, all four edges inclusive.
  bool contains(int32_t screenX, int32_t screenY) const;
  /// Row and column lie within 0..maxRow and 0..maxColumn of a loaded map.
  bool inGrid(int32_t row, int32_t column) const {
    return mapLoaded && row >= 0 && row <= lastRow() && column >= 0 && column <= lastColumn();
  }
  /// maxRow and maxColumn, never beyond the map's storage.
  int32_t lastRow() const { return maxRow < kLastRow ? maxRow : kLastRow; }
  int32_t lastColumn() const { return maxColumn < kLastColumn ? maxColumn : kLastColumn; }
  void setCurrentAt(int32_t screenX, int32_t screenY) { current = pixelToHex(screenX, screenY); }
  void setCurrent(int32_t row, int32_t column) { current = hexToPixel(row, column); }
  /// Whether any part of the hex can show in the view.
  bool isVisible(const HexPos& pos) const;

  /// Starts a map on a picture of that size at the normal scale.
  void setMapSize(int32_t pixelWidth, int32_t pixelHeight);
  /// The last row and column of the grid over a picture of that size.
  static void GridLimitsFor(int32_t pixelWidth, int32_t pixelHeight, int32_t& lastRow,
                            int32_t& lastColumn);
  /// Opens the whole 40 x 45 grid to the map operations, for work without a picture.
  void useWholeGrid();

  void scrollBy(int32_t dx, int32_t dy);
  void scrollTo(int32_t x, int32_t y);
  void scrollHome() { scrollTo(0, 0); }
  void scrollEnd() { scrollTo(maxScrollX, maxScrollY); }
  void centreOnCurrent() { centreOn(current.x, current.y); }
  void centreOn(int32_t x, int32_t y);
  void keepCurrentVisible() { keepVisible(current.x, current.y); }
  void keepVisible(int32_t x, int32_t y);
  /// Moves the current hex as a numeric keypad digit points ('5' and others do nothing).
  void moveCurrent(char digit);
  /// Keeps the scroll position within 0..maxScroll; the current hex's screen
  /// position follows.
  void clampScroll();
  /// Scrolls by 5 pixels when the pointer (desktop coordinates) touches an
  /// edge of the screen that ends at (screenRight, screenBottom).
  void edgeScroll(int32_t pointerX, int32_t pointerY, int32_t screenRight, int32_t screenBottom);

  using NeighbourVisitor =
      std::function<void(int direction, int32_t row, int32_t column, const HexPos& from)>;
  /// Visits the neighbours of the current hex that lie in the grid, N first, clockwise.
  void forEachNeighbour(const NeighbourVisitor& visit) const;
};

}  // namespace maptesk
