// The map view's mouse, keyboard and menu input: selecting hexes, choosing
// what to set and with what, setting it, copying and cutting a hex's data,
// scrolling, moving the current hex and switching the view options. The
// window only translates its events into these calls.
#pragma once

#include <cstdint>
#include <functional>

namespace maptesk {

class AutoRoads;
class MapView;

/// The keys the view handles by key code. Digits carry their character.
enum class ViewKey : int {
  kOther = 0,
  kShift,
  kControl,
  kPageUp,
  kPageDown,
  kHome,
  kEnd,
  kLeft,
  kRight,
  kUp,
  kDown,
  kEscape,
  kDigit1 = '1',
  kDigit2 = '2',
  kDigit3 = '3',
  kDigit4 = '4',
  kDigit5 = '5',
  kDigit6 = '6',
  kDigit7 = '7',
  kDigit8 = '8',
  kDigit9 = '9',
};

/// A mouse event: the point in window coordinates, the buttons held and the
/// Shift and Ctrl states that came with it.
struct PointerEvent {
  int32_t x = 0;
  int32_t y = 0;
  bool left = false;
  bool right = false;
  bool shift = false;
  bool ctrl = false;
};

/// Command ids of the view's menu items and accelerators, and of the
/// application commands the view hands back to the application.
enum ViewCommand : int {
  kCmdOpenLast = 32781,
  kCmdClose = 32774,
  kCmdGrid = 32775,
  kCmdZoom = 32776,
  kCmdTerrainMarks = 32778,
  kCmdRoads = 32779,
  kCmdTakeTerrain = 32780,
  kCmdCutRoads = 32782,
  kCmdPickUp = 32785,
  kCmdNamedHexes = 32792,
  kCmdTerrainFilter = 32794,
  kCmdCutTerrain = 32802,
  kCmdCutName = 32803,
  kCmdCopyRoads = 32804,
  kCmdCopyName = 32805,
  kCmdCopyTerrain = 32806,
  kCmdCapsLock = 32807,
  kCmdGenerateRoads = 32819,
  kCmdLoadMarks = 32820,
  kCmdClearMarks = 32821,
  kCmdKeepMarks = 32822,
  kCmdLinkRoads = 32827,
  kCmdTerrainMode = 32829,
  kCmdRoadsMode = 32830,
  kCmdNameMode = 32831,
  kCmdSaveClean = 32832,
  /// The window's close request (the File menu's Exit): the application
  /// offers to save changes first.
  kCmdExit = 57665,
  /// The name picker, on no menu: posted once name mode is chosen.
  kCmdPickName = 33000,
};

class EditInput {
 public:
  explicit EditInput(MapView& view) : view_(view) {}
  EditInput(const EditInput&) = delete;
  EditInput& operator=(const EditInput&) = delete;
  ~EditInput() { endStroke(); }

  /// How far the pointer must move with a button held before a drag
  /// starts: the platform's drag distance, passed in by the window.
  void setDragDistance(int pixels) { dragDistance_ = pixels; }

  void leftButtonDown(const PointerEvent& e);
  void rightButtonDown(const PointerEvent& e);
  void mouseMove(const PointerEvent& e);
  /// Either button released.
  void buttonUp(const PointerEvent& e);
  /// Ends a right-button stroke without a release (the window lost the
  /// mouse): what it changed so far stays one step.
  void endStroke();
  void doubleClick(const PointerEvent& e);
  /// A wheel turn at a point of the window; a delta >= 0 is a forward turn.
  void wheel(int32_t x, int32_t y, int delta);

  void keyDown(ViewKey key);
  void keyUp(ViewKey key);
  /// A key pressed with Alt held.
  void systemKeyDown(ViewKey key);
  /// A character typed: letters, digits, '+', '-', '*', space, '\t' and '\r' (Enter).
  void character(char c);

  // The view's menu commands and accelerators.
  /// Only with a map picture.
  void toggleGrid();
  void toggleZoom();
  /// Flips a view toggle (terrain marks, roads, named hexes, the AutoRoads
  /// options, save clean).
  void flipOption(uint16_t bit);
  void flipCapsWarning();
  /// Alt+X: asks the window to close, which offers to save changes first.
  void requestClose();

  // On the selected hexes while a selection is active, else on the current hex.
  void setTerrainOnSelectionOrHex();
  void setRoadsOnSelectionOrHex();
  void setNameOnSelectionOrHex();
  /// Sets what the SetMode says: terrain, roads (or the Auto mark) or name.
  void applyOnSelectionOrHex();

  // On the hex under the pointer.
  void pickUp();
  void copyTerrain();
  void copyRoads();
  void copyName();
  void cutTerrain();
  void cutRoads();
  void cutName();
  void takeTerrainAndClearSelection();

  void chooseTerrainMode();
  void chooseRoadsMode();
  /// Name mode; the application then runs the name picker (kCmdPickName).
  void chooseNameMode();
  /// Buttons 0..5 flip a road direction, 6 chooses Auto.
  void roadChooserButton(int button);
  void terrainChooserButton(int terrain);

  void generateRoads();
  void loadMarksFromRoads();
  void clearMarks();

  // The hex tools; each use is one edit step.
  /// 'F': every hex joined to the current one through neighbours of its
  /// terrain takes the terrain to set (terrain mode) or the name to set
  /// (name mode).
  void fillRegion();
  /// '[' and ']', and the Tools menu: the brush's radius, 0 to 2.
  void setBrushRadius(int radius);
  /// 'P' on the first hex, then 'P' on the last: a two-sided road along the
  /// straight hex line between them, added to the roads there.
  void roadPathPoint();
  /// Esc: a road path waiting for its last hex is dropped.
  void cancelTool();
  /// 's' selects every hex of the current hex's terrain; 'S' adds them to
  /// the selection.
  void selectByTerrain(bool add);

 private:
  void openStroke();
  void cutBySetMode();
  bool beyondDragDistance(const PointerEvent& e) const;
  AutoRoads autoRoads() const;
  /// On the selected hexes while a selection is active (unless `brush`),
  /// else on the hexes the brush covers around the current hex.
  void forSelectionOrHex(const std::function<void(int row, int column)>& set, bool brush = false);
  void applyTo(int row, int column);
  void setNameOf(int row, int column);
  void toggleStripButton(int button);
  void startDrag();
  void moveAndPoint(char digit);
  void stepTerrain(int step);
  void stepName(int step);
  void flipRoadToSet(uint16_t bit);
  int currentNameIndex() const;

  MapView& view_;
  bool strokeOpen_ = false;
  int dragDistance_ = 4;
  int32_t pressX_ = 0;
  int32_t pressY_ = 0;
};

}  // namespace maptesk
