#include "core/view/map_view.h"

#include <algorithm>

#include "core/map/hex_map.h"
#include "core/settings/tool_settings.h"
#include "core/view/panel_layout.h"
#include "core/view/view_host.h"

namespace maptesk {

namespace {

ScreenRect At(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {left, top, left + width, top + height};
}

int ButtonInRow(const ScreenRect& strip, int count, int32_t pitch, int32_t width, int32_t x,
                int32_t y) {
  for (int i = 0; i < count; ++i) {
    if (At(strip.left + pitch * i, strip.top, width, kStripHeight).Contains(x, y)) return i;
  }
  return -1;
}

}  // namespace

ScreenLayout ScreenLayout::For(const ScreenRect& screenRect, bool fullScreen) {
  const int32_t w = screenRect.width();
  const int32_t h = screenRect.height();
  const bool f = fullScreen;
  ScreenLayout s;
  s.screen = screenRect;
  s.fullScreen = f;
  if (f) s.titleStrip = {0, 0, w, 22};
  s.topBar = {f ? 1 : 2, f ? 22 : 0, w - 117, 24};
  s.bottomBar = {f ? 1 : 2, h - 24, w - 117, h};
  s.rightPanel = {w - 116, f ? 22 : 0, w, h};
  s.mapArea = {s.topBar.left, s.topBar.bottom + (f ? 22 : 0) + 1, s.bottomBar.right,
               s.bottomBar.top - 1};

  s.toggleStrip = At(s.topBar.left, s.topBar.top, kToggleStripWidth, kStripHeight);
  s.setDataPanel = At(s.rightPanel.left, s.rightPanel.top, kPanelWidth, kSetDataHeight);
  s.modeStrip = At(s.setDataPanel.left, s.setDataPanel.bottom, kPanelWidth, kStripHeight);
  s.terrainChooser =
      At(s.modeStrip.left, s.modeStrip.bottom, kPanelWidth, kTerrainButtonHeight * kTerrainButtons);
  s.roadChooser = At(s.modeStrip.left, s.modeStrip.bottom, kPanelWidth, kRoadChooserHeight);
  s.roadPreview =
      At(s.topBar.right - kRoadPreviewWidth, s.topBar.top, kRoadPreviewWidth, kRoadPreviewHeight);
  return s;
}

int ScreenLayout::toggleButtonAt(int32_t x, int32_t y) const {
  return ButtonInRow(toggleStrip, kToggleButtons, kToggleButtonPitch, kToggleButtonSize, x, y);
}

int ScreenLayout::modeButtonAt(int32_t x, int32_t y) const {
  return ButtonInRow(modeStrip, kModeButtons, kModeButtonPitch, kModeButtonWidth, x, y);
}

int ScreenLayout::terrainButtonAt(int32_t x, int32_t y) const {
  if (!terrainChooser.Contains(x, y)) return -1;
  return (y - terrainChooser.top) / kTerrainButtonHeight;
}

int ScreenLayout::roadAreaAt(int32_t x, int32_t y) const {
  for (int i = 0; i < kRoadAreas; ++i) {
    if (kRoadHitAreas[i].Contains(x - roadChooser.left, y - roadChooser.top)) return i;
  }
  return -1;
}

MapView::MapView(HexMap& map, MapNames& names, ToolSettings& settings, ViewHost& host,
                 EditSteps& steps)
    : map_(map), names_(names), settings_(settings), host_(host), steps_(steps) {
  loadSetModeFromSettings();
}

uint16_t MapView::toggles() const { return settings_.viewToggles; }

void MapView::flipToggle(uint16_t bit) { settings_.viewToggles ^= bit; }

void MapView::setToggle(uint16_t bit) { settings_.viewToggles |= bit; }

void MapView::setSetMode(int mode) {
  dataToSet.setSetMode(mode);
  settings_.setMode = dataToSet.setMode();
}

void MapView::loadSetModeFromSettings() { dataToSet.setSetMode(settings_.setMode); }

void MapView::setAutoChoice(bool on) {
  if (on) {
    dataToSet.flags |= kAutoRoadMark;
  } else {
    dataToSet.flags &= uint16_t(~kAutoRoadMark);
  }
}

void MapView::layout(const ScreenRect& screenRect, bool fullScreen) {
  screen = ScreenLayout::For(screenRect, fullScreen);
  applyScale();
}

void MapView::applyScale() {
  const ScreenRect& area = screen.mapArea;
  HexGrid& g = grid;
  g.originX = area.left;
  g.originY = area.top;
  if (!toggle(kToggleZoom) || !g.mapLoaded) {
    g.metrics = kNormalMetrics;
    g.viewWidth = std::min(area.width(), g.mapPixelWidth);
    g.viewHeight = std::min(area.height(), g.mapPixelHeight);
    g.maxScrollX = g.mapPixelWidth - g.viewWidth;
    g.maxScrollY = g.mapPixelHeight - g.viewHeight;
    g.fitToView = 0;
    g.viewRect = At(g.originX, g.originY, g.viewWidth, g.viewHeight);
    if (g.mapPixelWidth < area.width()) {
      const int32_t shift = (area.width() - g.viewWidth) / 2;
      g.viewRect.left += shift;
      g.viewRect.right += shift;
    }
    overlayScale = 0;
  } else {
    const bool small = settings_.displayMode == 2;
    g.metrics = small ? kZoomedSmallMetrics : kZoomedLargeMetrics;
    // The picture shrinks by the ratio of the zoomed steps to 45 and 50.
    g.viewWidth = int32_t(g.metrics.columnStep * 42.666666666 * g.mapPixelWidth / 1920.0);
    g.viewHeight = int32_t(g.metrics.rowStep * 38.4 * g.mapPixelHeight / 1920.0);
    g.fitToView = 1;
    g.maxScrollX = g.mapPixelWidth;
    g.maxScrollY = g.mapPixelHeight;
    g.viewRect =
        At(g.originX + (area.width() - g.viewWidth) / 2, g.originY, g.viewWidth, g.viewHeight);
    overlayScale = small ? 2 : 1;
  }
  g.originX = g.viewRect.left;
  g.originY = g.viewRect.top;
  g.setCurrent(g.current.row, g.current.column);
  if (g.mapLoaded) {
    // The zoomed view shows the whole map: its scroll position is left alone
    // for the return to the normal view.
    if (g.fitToView == 0) g.keepCurrentVisible();
    g.setCurrent(g.current.row, g.current.column);
    pointToCurrent();
  }
}

int MapView::brushRadius() const { return std::clamp(settings_.brushRadius, 0, 2); }

std::vector<HexOffset> MapView::brushHexes() const {
  if (!grid.inGrid(grid.current.row, grid.current.column)) return {};
  return BrushHexes(grid.current.row, grid.current.column, brushRadius(), toolLimits());
}

void MapView::select(bool toggle, bool rectangle) {
  const HexGrid& g = grid;
  const int row = g.current.row;
  const int column = g.current.column;
  if (!g.inGrid(row, column)) return;
  if (toggle) {
    selectionAnchorRow = row;
    selectionAnchorColumn = column;
    map_.selected[size_t(row)][size_t(column)] ^= 1;
    map_.selectionActive = true;
  } else if (rectangle) {
    if (selectionAnchorRow < 0 || selectionAnchorColumn < 0) return;
    // An anchor left from a larger map is cut to this one's grid.
    const int top = std::max(std::min(selectionAnchorRow, row), 0);
    const int bottom = std::min(std::max(selectionAnchorRow, row), g.lastRow());
    const int left = std::max(std::min(selectionAnchorColumn, column), 0);
    const int right = std::min(std::max(selectionAnchorColumn, column), g.lastColumn());
    for (int r = top; r <= bottom; ++r) {
      for (int c = left; c <= right; ++c) map_.selected[size_t(r)][size_t(c)] = 1;
    }
    selectionAnchorRow = -1;
    selectionAnchorColumn = -1;
    map_.selectionActive = true;
  } else {
    map_.ClearSelection();
    selectionAnchorRow = row;
    selectionAnchorColumn = column;
    map_.selected[size_t(row)][size_t(column)] = 1;
    map_.selectionActive = true;
  }
}

void MapView::pointToCurrent() {
  const HexPos& c = grid.current;
  const int32_t w = grid.metrics.hexWidth;
  const int32_t h = grid.metrics.hexHeight;
  int32_t x = c.screenX + w / 2 - 1;
  int32_t y = c.screenY + h / 2 - 1;
  if (!grid.contains(x, y)) {
    // Pulled in pixel by pixel, but never off the hex itself.
    const ScreenRect& r = grid.viewRect;
    if (x > r.right && x > c.screenX) x = std::max(r.right, c.screenX);
    if (x < r.left && x < c.screenX + w) x = std::min(r.left, c.screenX + w);
    if (y > r.bottom && y > c.screenY) y = std::max(r.bottom, c.screenY);
    if (y < r.top && y < c.screenY + h) y = std::min(r.top, c.screenY + h);
  }
  host_.PlacePointer(x, y);
}

void MapView::followPointer(int32_t x, int32_t y) {
  if (!inMap(x, y)) {
    currentCell = nullptr;
    return;
  }
  grid.setCurrentAt(x, y);
  currentCell = cellAt(grid.current.row, grid.current.column);
}

HexCell* MapView::cellAt(int32_t row, int32_t column) {
  // Picks at the right and bottom edges can land one hex beyond the grid.
  return grid.inGrid(row, column) ? &map_.cell(row, column) : nullptr;
}

}  // namespace maptesk
