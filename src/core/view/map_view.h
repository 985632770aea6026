// The state of the one map view between frames: its geometry, the screen's
// division into bars and panels, the hex under the pointer, what the right
// mouse button sets and with what.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/map/hex_cell.h"
#include "core/map/hex_tools.h"
#include "core/view/hex_grid.h"
#include "core/view/panel_layout.h"

namespace maptesk {

class EditSteps;
class HexMap;
class MapNames;
class ViewHost;
struct ToolSettings;

/// The screen's bars and panels, recomputed whenever the window or the video
/// mode changes.
struct ScreenLayout {
  static constexpr int kToggleButtons = 5;
  static constexpr int kModeButtons = 3;
  static constexpr int kTerrainButtons = 20;
  static constexpr int kRoadAreas = kRoadChooserAreas;
  /// The road chooser's Auto area.
  static constexpr int kRoadAuto = 6;

  ScreenRect screen;
  bool fullScreen = false;
  /// Empty in windowed mode.
  ScreenRect titleStrip;
  ScreenRect topBar;
  ScreenRect bottomBar;
  ScreenRect rightPanel;
  ScreenRect mapArea;

  ScreenRect toggleStrip;
  ScreenRect setDataPanel;
  ScreenRect modeStrip;
  ScreenRect terrainChooser;
  ScreenRect roadChooser;
  ScreenRect roadPreview;

  /// Lays the screen of that size out; only the size of `screenRect` counts.
  static ScreenLayout For(const ScreenRect& screenRect, bool fullScreen);

  /// The button of a panel under a point of the window, or -1.
  int toggleButtonAt(int32_t x, int32_t y) const;
  int modeButtonAt(int32_t x, int32_t y) const;
  int terrainButtonAt(int32_t x, int32_t y) const;
  /// 0..5 the road directions N, NE, SE, S, SW, NW; 6 Auto.
  int roadAreaAt(int32_t x, int32_t y) const;
};

class MapView {
 public:
  /// Takes the SetMode from the settings; construct once they are read.
  /// Every change the view makes to the map or its names is a step of `steps`.
  MapView(HexMap& map, MapNames& names, ToolSettings& settings, ViewHost& host, EditSteps& steps);
  MapView(const MapView&) = delete;
  MapView& operator=(const MapView&) = delete;

  HexGrid grid;
  ScreenLayout screen;
  /// The data to set, shaped like a hex: terrain, roads, the SetMode in flags
  /// bits 12..15 and the Auto choice in the Auto mark bit.
  HexCell dataToSet;
  /// Name slot to set; 0 means no name.
  int nameToSet = 0;
  /// The cell under the pointer at the last frame, or none.
  HexCell* currentCell = nullptr;
  int shiftHeld = 0;
  int ctrlHeld = 0;
  bool dragging = false;
  int selectionAnchorRow = -1;
  int selectionAnchorColumn = -1;
  bool waitForRetrace = true;
  int capsWarning = 0;
  /// The first hex of a road along a path, while the second is awaited.
  std::optional<HexOffset> pathStart;
  /// The terrain chooser's pressed button. Only a chooser click, '+' and '-'
  /// and a pick up in terrain mode move it; a value outside 0..19 presses none.
  int chooserTerrain = 0;
  /// Scale of the grid, selection and road sprites: 0 normal, 1 and 2 zoomed.
  int overlayScale = 0;

  /// The view toggles live in the settings, which store them at exit.
  uint16_t toggles() const;
  bool toggle(uint16_t bit) const { return (toggles() & bit) != 0; }
  void flipToggle(uint16_t bit);
  void setToggle(uint16_t bit);

  int setMode() const { return dataToSet.setMode(); }
  /// The hexes the tools may touch: those the picture covers.
  HexLimits toolLimits() const { return {grid.lastRow(), grid.lastColumn()}; }
  /// The brush's radius (0, 1 or 2), kept in the settings.
  int brushRadius() const;
  /// The hexes the brush covers around the current hex; none off the map.
  std::vector<HexOffset> brushHexes() const;
  /// Sets the SetMode in the data to set and in the settings alike.
  void setSetMode(int mode);
  /// Takes the SetMode from the settings again (after they were read).
  void loadSetModeFromSettings();
  bool autoChoice() const { return dataToSet.autoRoadMark(); }
  void setAutoChoice(bool on);

  /// Divides the screen into bars and panels and then applies the scale.
  void layout(const ScreenRect& screenRect, bool fullScreen);
  /// Chooses the scale from the zoom toggle and the video mode and fits the
  /// picture into the map area.
  void applyScale();
  /// Selects on the current hex: `toggle` flips it, else `rectangle` fills
  /// from the anchor, else it becomes the only selected hex.
  void select(bool toggle, bool rectangle);
  /// Moves the mouse pointer onto the current hex, kept inside the view.
  void pointToCurrent();
  /// The frame's tracking of the pointer (window coordinates): the hex under
  /// it becomes current and currentCell its cell, or none outside the map.
  void followPointer(int32_t x, int32_t y);

  /// The point is on the map of a loaded picture.
  bool inMap(int32_t x, int32_t y) const { return grid.mapLoaded && grid.contains(x, y); }
  /// The cell of a hex of the grid, or none outside it.
  HexCell* cellAt(int32_t row, int32_t column);

  HexMap& map() { return map_; }
  MapNames& names() { return names_; }
  ToolSettings& settings() { return settings_; }
  ViewHost& host() { return host_; }
  EditSteps& steps() { return steps_; }

 private:
  HexMap& map_;
  MapNames& names_;
  ToolSettings& settings_;
  ViewHost& host_;
  EditSteps& steps_;
};

}  // namespace maptesk
