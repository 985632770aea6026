#include "core/view/edit_input.h"

#include <algorithm>
#include <cstdlib>

#include "core/map/edit_steps.h"
#include "core/map/hex_map.h"
#include "core/map/hex_tools.h"
#include "core/map/map_names.h"
#include "core/map/terrain_table.h"
#include "core/settings/tool_settings.h"
#include "core/view/auto_roads.h"
#include "core/view/map_view.h"
#include "core/view/view_host.h"

namespace maptesk {

namespace {

// Road bits flipped by the digit keys while the pointer is off the map: the
// keypad's layout around '5' as a compass.
uint16_t RoadBitOfDigit(char c) {
  switch (c) {
    case '8': return kRoadN;
    case '9': return kRoadNE;
    case '3': return kRoadSE;
    case '2': return kRoadS;
    case '1': return kRoadSW;
    case '7': return kRoadNW;
    default: return 0;
  }
}

// Alt with a navigation key moves like the keypad digit in the same place.
char DigitOfSystemKey(ViewKey key) {
  switch (key) {
    case ViewKey::kPageUp: return '9';
    case ViewKey::kPageDown: return '3';
    case ViewKey::kEnd: return '1';
    case ViewKey::kHome: return '7';
    case ViewKey::kLeft: return '4';
    case ViewKey::kUp: return '8';
    case ViewKey::kRight: return '6';
    case ViewKey::kDown: return '2';
    default: {
      const int k = int(key);
      return (k >= '1' && k <= '9') ? char(k) : 0;
    }
  }
}

// The name of the step that setting by the SetMode makes.
const char* ApplyStepName(int setMode) {
  switch (setMode) {
    case kSetTerrain: return "Paint terrain";
    case kSetRoads: return "Set roads";
    case kSetName: return "Set name";
    default: return "Edit";
  }
}

}  // namespace

// --- Selection and setting -------------------------------------------------

void EditInput::forSelectionOrHex(const std::function<void(int row, int column)>& set, bool brush) {
  if (view_.currentCell == nullptr) return;
  HexMap& map = view_.map();
  if (map.selectionActive && !brush) {
    for (int r = 0; r < kMapRows; ++r) {
      for (int c = 0; c < kMapColumns; ++c) {
        if (map.selected[size_t(r)][size_t(c)]) set(r, c);
      }
    }
    return;
  }
  // Each hex in turn, as if the designer had done them one by one.
  for (HexOffset h : view_.brushHexes()) set(h.row, h.column);
}

void EditInput::setNameOf(int row, int column) {
  // A hex holds its name slot in one byte: a later slot would name it wrongly.
  if (view_.nameToSet < 0 || view_.nameToSet > MapNames::kMaxHexSlot) return;
  view_.names().nameIndex[size_t(row)][size_t(column)] = uint8_t(view_.nameToSet);
  view_.names().namesModified = true;
}

void EditInput::applyTo(int row, int column) {
  switch (view_.setMode()) {
    case kSetTerrain:
    case kSetRoads:
      view_.dataToSet.ApplyBrush(view_.map().cell(row, column));
      view_.map().modified = true;
      break;
    case kSetName: setNameOf(row, column); break;
    default: break;
  }
}

void EditInput::setTerrainOnSelectionOrHex() {
  EditStep step(view_.steps(), "Set terrain");
  forSelectionOrHex([this](int r, int c) {
    view_.map().cell(r, c).SetTerrain(view_.dataToSet.terrain, 0);
    view_.map().modified = true;
  });
}

void EditInput::setRoadsOnSelectionOrHex() {
  EditStep step(view_.steps(), "Set roads");
  forSelectionOrHex([this](int r, int c) {
    view_.map().cell(r, c).SetRoads(view_.dataToSet.roads);
    view_.map().modified = true;
  });
}

void EditInput::setNameOnSelectionOrHex() {
  EditStep step(view_.steps(), "Set name");
  forSelectionOrHex([this](int r, int c) { setNameOf(r, c); });
}

void EditInput::applyOnSelectionOrHex() {
  EditStep step(view_.steps(), ApplyStepName(view_.setMode()));
  forSelectionOrHex([this](int r, int c) { applyTo(r, c); });
}

// --- Copy and cut ------------------------------------------------------------

int EditInput::currentNameIndex() const {
  const HexPos& cur = view_.grid.current;
  if (!view_.grid.inGrid(cur.row, cur.column)) return 0;
  return view_.names().nameIndex[size_t(cur.row)][size_t(cur.column)];
}

void EditInput::pickUp() {
  HexCell* cell = view_.currentCell;
  if (cell == nullptr) return;
  switch (view_.setMode()) {
    case kSetTerrain:
      view_.dataToSet.terrain = cell->terrain;
      view_.chooserTerrain = cell->terrain;
      break;
    case kSetRoads:
      if (cell->autoRoadMark()) {
        view_.setAutoChoice(true);
        view_.dataToSet.roads = 0;
      } else {
        view_.dataToSet.roads = cell->roads;
        view_.setAutoChoice(false);
      }
      break;
    case kSetName: view_.nameToSet = currentNameIndex(); break;
    default: break;
  }
}

void EditInput::copyTerrain() {
  if (view_.currentCell) view_.dataToSet.terrain = view_.currentCell->terrain;
}

void EditInput::copyRoads() {
  if (view_.currentCell) view_.dataToSet.roads = view_.currentCell->roads;
}

void EditInput::copyName() {
  if (view_.currentCell) view_.nameToSet = currentNameIndex();
}

void EditInput::cutTerrain() {
  HexCell* cell = view_.currentCell;
  if (cell == nullptr) return;
  EditStep step(view_.steps(), "Cut terrain");
  view_.dataToSet.terrain = cell->terrain;
  cell->terrain = 0;
  view_.map().modified = true;
}

void EditInput::cutRoads() {
  HexCell* cell = view_.currentCell;
  if (cell == nullptr) return;
  EditStep step(view_.steps(), "Cut roads");
  view_.dataToSet.roads = cell->roads;
  cell->roads = 0;
  cell->flags &= uint16_t(~kAutoRoadMark);
  view_.map().modified = true;
}

void EditInput::cutName() {
  if (view_.currentCell == nullptr) return;
  view_.nameToSet = currentNameIndex();
  const HexPos& cur = view_.grid.current;
  if (!view_.grid.inGrid(cur.row, cur.column)) return;
  EditStep step(view_.steps(), "Cut name");
  view_.names().nameIndex[size_t(cur.row)][size_t(cur.column)] = 0;
  view_.names().namesModified = true;
}

void EditInput::cutBySetMode() {
  switch (view_.setMode()) {
    case kSetTerrain: cutTerrain(); break;
    case kSetRoads: cutRoads(); break;
    case kSetName: cutName(); break;
    default: break;
  }
}

void EditInput::takeTerrainAndClearSelection() {
  if (view_.currentCell == nullptr) return;
  view_.dataToSet.terrain = view_.currentCell->terrain;
  view_.map().ClearSelection();
}

// --- What to set -------------------------------------------------------------

void EditInput::chooseTerrainMode() {
  view_.setSetMode(view_.setMode() != kSetTerrain ? kSetTerrain : 0);
  view_.setToggle(kToggleTerrainMarks);
}

void EditInput::chooseRoadsMode() {
  view_.setSetMode(view_.setMode() != kSetRoads ? kSetRoads : 0);
  view_.setToggle(kToggleRoads);
}

void EditInput::chooseNameMode() {
  view_.setSetMode(kSetName);
  view_.setToggle(kToggleNamedHexes);
  view_.host().PostCommand(kCmdPickName);
}

void EditInput::roadChooserButton(int button) {
  if (button >= 0 && button < kDirections) {
    view_.dataToSet.roads ^= RoadBitOfDirection(button);
  } else if (button == ScreenLayout::kRoadAuto) {
    view_.setAutoChoice(true);
    view_.dataToSet.roads = 0;
  } else {
    return;
  }
  if (view_.dataToSet.roads != 0) view_.setAutoChoice(false);
}

void EditInput::terrainChooserButton(int terrain) {
  if (terrain < 0 || terrain >= TerrainTable::kCount) return;
  view_.dataToSet.terrain = uint16_t(terrain);
  view_.chooserTerrain = terrain;
}

void EditInput::stepTerrain(int step) {
  // A terrain value beyond the table (copied from a hex) re-enters it at an end.
  const int last = TerrainTable::kCount - 1;
  int t = view_.dataToSet.terrain;
  if (step > 0) {
    t = t >= last ? 0 : t + 1;
  } else {
    t = t <= 0 ? last : std::min(t - 1, last);
  }
  view_.dataToSet.terrain = uint16_t(t);
  view_.chooserTerrain = t;
}

void EditInput::stepName(int step) {
  const int last = std::max(view_.names().nameCount - 1, 0);
  int n = view_.nameToSet + step;
  if (step > 0 && n > last) n = 0;
  if (step < 0 && n < 1) n = last;
  // A slot left from a longer list steps back into this one.
  view_.nameToSet = std::min(n, last);
}

void EditInput::flipRoadToSet(uint16_t bit) { view_.dataToSet.roads ^= bit; }

// --- Automatic roads -----------------------------------------------------------

AutoRoads EditInput::autoRoads() const {
  return AutoRoads(view_.map(), view_.grid.lastRow(), view_.grid.lastColumn());
}

void EditInput::generateRoads() {
  if (!view_.grid.mapLoaded) return;
  EditStep step(view_.steps(), "Automatic roads");
  autoRoads().generate(view_.toggle(kToggleKeepAutoMarks), view_.toggle(kToggleLinkRoads));
}

void EditInput::loadMarksFromRoads() {
  if (!view_.grid.mapLoaded) return;
  EditStep step(view_.steps(), "Load road marks");
  autoRoads().loadMarksFromRoads();
}

void EditInput::clearMarks() {
  if (!view_.grid.mapLoaded) return;
  EditStep step(view_.steps(), "Clear road marks");
  autoRoads().clearMarks();
}

// --- Mouse -------------------------------------------------------------------

void EditInput::startDrag() {
  view_.host().CaptureMouse();
  view_.dragging = true;
  view_.host().SetPointerShape(PointerShape::kCross);
}

void EditInput::leftButtonDown(const PointerEvent& e) {
  pressX_ = e.x;
  pressY_ = e.y;
  if (view_.inMap(e.x, e.y)) {
    view_.grid.setCurrentAt(e.x, e.y);
    view_.select(e.shift, e.ctrl);
    return;
  }
  const ScreenLayout& s = view_.screen;
  if (int b = s.toggleButtonAt(e.x, e.y); b >= 0) {
    toggleStripButton(b);
  } else if (int m = s.modeButtonAt(e.x, e.y); m >= 0) {
    if (m == 0) chooseTerrainMode();
    if (m == 1) chooseRoadsMode();
    if (m == 2) chooseNameMode();
  } else if (view_.setMode() == kSetRoads) {
    roadChooserButton(s.roadAreaAt(e.x, e.y));
  } else if (view_.setMode() == kSetTerrain) {
    terrainChooserButton(s.terrainButtonAt(e.x, e.y));
  }
}

void EditInput::rightButtonDown(const PointerEvent& e) {
  pressX_ = e.x;
  pressY_ = e.y;
  if (view_.currentCell == nullptr || !view_.inMap(e.x, e.y)) return;
  HexGrid& g = view_.grid;
  g.setCurrentAt(e.x, e.y);
  HexCell* cell = view_.cellAt(g.current.row, g.current.column);
  if (cell == nullptr) return;
  const bool wasSelected = view_.map().selected[size_t(g.current.row)][size_t(g.current.column)];
  if (!wasSelected) view_.select(false, false);
  view_.currentCell = cell;
  if (view_.ctrlHeld) {
    pickUp();
    return;
  }
  // The click and the drag that may follow it are one step, until the
  // button is released.
  openStroke();
  if (view_.shiftHeld) {
    cutBySetMode();
  } else if (!wasSelected && view_.brushRadius() > 0) {
    // The click made its hex the selection; the brush covers its neighbours.
    forSelectionOrHex([this](int r, int c) { applyTo(r, c); }, true);
  } else {
    applyOnSelectionOrHex();
  }
}

void EditInput::mouseMove(const PointerEvent& e) {
  if (!view_.inMap(e.x, e.y)) return;
  HexGrid& g = view_.grid;
  if (view_.dragging) {
    if (e.left) {
      view_.host().SetPointerShape(PointerShape::kFourArrows);
      g.setCurrentAt(e.x, e.y);
      if (g.inGrid(g.current.row, g.current.column)) {
        view_.map().selected[size_t(g.current.row)][size_t(g.current.column)] = 1;
        view_.map().selectionActive = true;
      }
    } else if (e.right) {
      // The frame moves the current hex with the pointer, so the paint
      // follows it one hex per frame.
      view_.host().SetPointerShape(PointerShape::kCross);
      openStroke();
      if (view_.shiftHeld) {
        cutBySetMode();
      } else {
        view_.map().selectionActive = false;
        applyOnSelectionOrHex();
      }
    }
  } else if ((e.left || e.right) && beyondDragDistance(e)) {
    // A hand that shakes while clicking must not start a drag: that would
    // drop the selection made with Shift and Ctrl clicks.
    startDrag();
    if (e.left) view_.select(false, false);
  }
}

bool EditInput::beyondDragDistance(const PointerEvent& e) const {
  return std::abs(e.x - pressX_) > dragDistance_ || std::abs(e.y - pressY_) > dragDistance_;
}

void EditInput::openStroke() {
  if (strokeOpen_) return;
  const char* name = ApplyStepName(view_.setMode());
  if (view_.shiftHeld) {
    name = view_.setMode() == kSetRoads  ? "Cut roads"
           : view_.setMode() == kSetName ? "Cut name"
                                         : "Cut terrain";
  }
  view_.steps().OpenStep(name);
  strokeOpen_ = true;
}

void EditInput::endStroke() {
  if (!strokeOpen_) return;
  strokeOpen_ = false;
  view_.steps().CloseStep();
}

void EditInput::buttonUp(const PointerEvent& e) {
  endStroke();
  if (!view_.dragging) return;
  view_.host().ReleaseMouse();
  view_.host().SetPointerShape(PointerShape::kArrow);
  view_.dragging = false;
  if (view_.inMap(e.x, e.y)) view_.grid.setCurrentAt(e.x, e.y);
}

void EditInput::doubleClick(const PointerEvent& e) {
  if (view_.inMap(e.x, e.y)) toggleZoom();
}

void EditInput::wheel(int32_t x, int32_t y, int delta) {
  if (!view_.inMap(x, y)) return;
  view_.grid.scrollBy(0, delta >= 0 ? -15 : 15);
}

// --- Keys --------------------------------------------------------------------

void EditInput::keyDown(ViewKey key) {
  HexGrid& g = view_.grid;
  const int32_t step = view_.ctrlHeld ? 15 : 5;
  switch (key) {
    case ViewKey::kShift: view_.shiftHeld = 1; break;
    case ViewKey::kControl: view_.ctrlHeld = 1; break;
    case ViewKey::kPageUp: g.scrollBy(0, -75); break;
    case ViewKey::kPageDown: g.scrollBy(0, 75); break;
    case ViewKey::kHome: g.scrollHome(); break;
    case ViewKey::kEnd: g.scrollEnd(); break;
    case ViewKey::kLeft: g.scrollBy(-step, 0); break;
    case ViewKey::kRight: g.scrollBy(step, 0); break;
    case ViewKey::kUp: g.scrollBy(0, -step); break;
    case ViewKey::kDown: g.scrollBy(0, step); break;
    case ViewKey::kEscape: cancelTool(); break;
    default: break;
  }
}

void EditInput::keyUp(ViewKey key) {
  if (key == ViewKey::kShift) view_.shiftHeld = 0;
  if (key == ViewKey::kControl) view_.ctrlHeld = 0;
}

void EditInput::moveAndPoint(char digit) {
  view_.grid.moveCurrent(digit);
  view_.pointToCurrent();
}

void EditInput::systemKeyDown(ViewKey key) {
  if (view_.currentCell == nullptr) return;
  const char digit = DigitOfSystemKey(key);
  if (digit == '5') {
    view_.grid.centreOnCurrent();
  } else if (digit != 0) {
    moveAndPoint(digit);
  }
}

void EditInput::character(char c) {
  const int mode = view_.setMode();
  if (c == '[' || c == ']') {
    setBrushRadius(view_.brushRadius() + (c == ']' ? 1 : -1));
    return;
  }
  if (c == '+' || c == '-') {
    const int step = c == '+' ? 1 : -1;
    if (mode == kSetTerrain) stepTerrain(step);
    if (mode == kSetName) stepName(step);
    return;
  }
  if (view_.currentCell == nullptr) {
    // Off the map in roads mode the keypad edits the roads to set.
    if (mode != kSetRoads) return;
    if (c == '5') {
      view_.setAutoChoice(!view_.autoChoice());
    } else if (uint16_t bit = RoadBitOfDigit(c)) {
      flipRoadToSet(bit);
    }
    return;
  }
  const bool ctrl = view_.ctrlHeld != 0;
  switch (c) {
    case '\t': pickUp(); break;
    case '\r':
    case 'Z':
    case 'z': toggleZoom(); break;
    case ' ': view_.select(view_.shiftHeld != 0, ctrl); break;
    case '*': generateRoads(); break;
    case '1':
    case '2':
    case '3':
    case '4':
    case '6':
    case '7':
    case '8':
    case '9': moveAndPoint(c); break;
    case '5': view_.grid.centreOnCurrent(); break;
    case 'B':
    case 'b': takeTerrainAndClearSelection(); break;
    case 'C':
    case 'c':
      if (ctrl) {
        pickUp();
      } else {
        takeTerrainAndClearSelection();
      }
      break;
    case 'G':
    case 'g': toggleGrid(); break;
    case 'L':
    case 'l': view_.host().PostCommand(kCmdOpenLast); break;
    // The data keys take capitals only; the screen warns while Caps Lock is on.
    case 'T':
      if (ctrl) {
        applyOnSelectionOrHex();
      } else {
        setTerrainOnSelectionOrHex();
      }
      break;
    case 'R':
      if (ctrl) {
        applyOnSelectionOrHex();
      } else {
        setRoadsOnSelectionOrHex();
      }
      break;
    case 'N':
      if (ctrl) {
        applyOnSelectionOrHex();
      } else {
        setNameOnSelectionOrHex();
      }
      break;
    case 'D': applyOnSelectionOrHex(); break;
    case 'F':
    case 'f': fillRegion(); break;
    case 'P':
    case 'p': roadPathPoint(); break;
    case 's': selectByTerrain(false); break;
    case 'S': selectByTerrain(true); break;
    default: break;
  }
}

// --- Commands ------------------------------------------------------------------

void EditInput::toggleZoom() {
  view_.flipToggle(kToggleZoom);
  view_.applyScale();
}

// --- Hex tools -----------------------------------------------------------------

void EditInput::fillRegion() {
  if (view_.currentCell == nullptr) return;
  const int mode = view_.setMode();
  if (mode != kSetTerrain && mode != kSetName) return;
  const HexPos& cur = view_.grid.current;
  const std::vector<HexOffset> region =
      FillRegion(view_.map(), cur.row, cur.column, view_.toolLimits());
  // A fill that changes nothing leaves no step: the history drops it.
  EditStep step(view_.steps(), "Fill region");
  for (HexOffset h : region) {
    if (mode == kSetTerrain) {
      HexCell& cell = view_.map().cell(h.row, h.column);
      if (cell.terrain == view_.dataToSet.terrain) continue;
      cell.SetTerrain(view_.dataToSet.terrain, 0);
      view_.map().modified = true;
    } else if (view_.names().nameIndex[size_t(h.row)][size_t(h.column)] != view_.nameToSet) {
      setNameOf(h.row, h.column);
    }
  }
}

void EditInput::setBrushRadius(int radius) {
  view_.settings().brushRadius = std::clamp(radius, 0, 2);
}

void EditInput::roadPathPoint() {
  if (view_.currentCell == nullptr) return;
  const HexPos& cur = view_.grid.current;
  const HexOffset here{cur.row, cur.column};
  if (!view_.pathStart) {
    view_.pathStart = here;
    return;
  }
  const std::vector<HexOffset> line = HexLine(*view_.pathStart, here);
  view_.pathStart.reset();
  const HexLimits limits = view_.toolLimits();
  for (HexOffset h : line) {
    if (!limits.Contains(h.row, h.column)) return;
  }
  EditStep step(view_.steps(), "Road along a path");
  for (size_t i = 1; i < line.size(); ++i) {
    const int d = DirectionTo(line[i - 1], line[i]);
    if (d < 0) continue;
    HexCell& from = view_.map().cell(line[i - 1].row, line[i - 1].column);
    HexCell& to = view_.map().cell(line[i].row, line[i].column);
    from.roads |= RoadBitOfDirection(d);
    to.roads |= RoadBitOfDirection(OppositeDirection(d));
    view_.map().modified = true;
  }
}

void EditInput::cancelTool() { view_.pathStart.reset(); }

void EditInput::selectByTerrain(bool add) {
  if (view_.currentCell == nullptr) return;
  HexMap& map = view_.map();
  const uint16_t terrain = view_.currentCell->terrain;
  if (!add) map.ClearSelection();
  const HexLimits limits = view_.toolLimits();
  for (int r = 0; r <= limits.lastRow; ++r) {
    for (int c = 0; c <= limits.lastColumn; ++c) {
      if (map.cell(r, c).terrain == terrain) map.selected[size_t(r)][size_t(c)] = 1;
    }
  }
  map.selectionActive = true;
}

void EditInput::toggleGrid() {
  if (view_.grid.mapLoaded) view_.flipToggle(kToggleGrid);
}

void EditInput::flipOption(uint16_t bit) { view_.flipToggle(bit); }

void EditInput::flipCapsWarning() { view_.capsWarning = view_.capsWarning ? 0 : 1; }

void EditInput::requestClose() { view_.host().PostCommand(kCmdExit); }

void EditInput::toggleStripButton(int button) {
  switch (button) {
    case 0: toggleGrid(); break;
    case 1: toggleZoom(); break;
    case 2: flipOption(kToggleTerrainMarks); break;
    case 3: flipOption(kToggleRoads); break;
    case 4: flipOption(kToggleNamedHexes); break;
    default: break;
  }
}

}  // namespace maptesk
