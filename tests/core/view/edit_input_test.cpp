#include "core/view/edit_input.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/view_fixture.h"

namespace maptesk {
namespace {

using testing::ViewTest;

class EditInputTest : public ViewTest {};

TEST_F(EditInputTest, RightClickOffTheSelectionSetsOnlyTheClickedHex) {
  Click(2, 2, /*shift=*/true);
  Click(2, 3, true);
  Click(2, 4, true);
  ASSERT_EQ(SelectedCount(), 3);
  view->dataToSet.terrain = 3;
  RightClick(6, 6);
  EXPECT_EQ(map.cell(6, 6).terrain, 3);
  EXPECT_EQ(map.cell(2, 3).terrain, 0);
  EXPECT_EQ(SelectedCount(), 1);
  EXPECT_TRUE(Selected(6, 6));
  EXPECT_TRUE(map.modified);
}

TEST_F(EditInputTest, RightClickOnTheSelectionSetsEverySelectedHex) {
  Click(2, 2, true);
  Click(2, 3, true);
  Click(7, 4, true);
  view->dataToSet.terrain = 9;
  RightClick(2, 3);
  EXPECT_EQ(map.cell(2, 2).terrain, 9);
  EXPECT_EQ(map.cell(2, 3).terrain, 9);
  EXPECT_EQ(map.cell(7, 4).terrain, 9);
  EXPECT_EQ(map.cell(3, 3).terrain, 0);
}

TEST_F(EditInputTest, RightDragPaintsTheHexUnderThePointerAndDropsTheSelection) {
  Click(1, 1, true);
  Click(1, 2, true);
  view->dataToSet.terrain = 5;
  RightClick(4, 4);  // selects (4,4) alone and sets it
  PointerEvent move = At(4, 5);
  move.right = true;
  Hover(4, 5);
  input->mouseMove(move);  // starts the drag
  EXPECT_TRUE(view->dragging);
  EXPECT_EQ(host.calls.back(), "capture");
  input->mouseMove(move);
  EXPECT_FALSE(map.selectionActive);
  EXPECT_EQ(map.cell(4, 5).terrain, 5);
  input->buttonUp(move);
  EXPECT_FALSE(view->dragging);
  EXPECT_EQ(host.calls.back(), "release");
  EXPECT_EQ(host.shape, PointerShape::kArrow);

  // The selection still shows, but 'T' now sets only the hex under the pointer.
  EXPECT_TRUE(Selected(4, 4));
  view->dataToSet.terrain = 7;
  Hover(8, 8);
  Type("T");
  EXPECT_EQ(map.cell(8, 8).terrain, 7);
  EXPECT_EQ(map.cell(4, 4).terrain, 5);
}

TEST_F(EditInputTest, ARightDragIsOneStepUntilTheButtonIsReleased) {
  view->dataToSet.terrain = 5;
  RightClick(4, 4);
  EXPECT_TRUE(history.StepOpen());
  for (int column : {5, 6, 7}) {
    PointerEvent move = At(4, column);
    move.right = true;
    Hover(4, column);
    input->mouseMove(move);  // the first move starts the drag, the others paint
    input->mouseMove(move);
  }
  input->buttonUp(At(4, 7));
  EXPECT_FALSE(history.StepOpen());
  EXPECT_EQ(history.StepCount(), 1u);
  EXPECT_EQ(history.UndoName(), "Paint terrain");
  ASSERT_TRUE(history.Undo());
  for (int column : {4, 5, 6, 7}) EXPECT_EQ(map.cell(4, column).terrain, 0) << column;
  EXPECT_FALSE(map.modified);
  ASSERT_TRUE(history.Redo());
  for (int column : {4, 5, 6, 7}) EXPECT_EQ(map.cell(4, column).terrain, 5) << column;
  EXPECT_TRUE(map.modified);
}

TEST_F(EditInputTest, EachEditingEntryPointIsOneNamedStepOrNoneWhenNothingChanged) {
  struct Row {
    const char* what;
    std::function<void()> act;
    const char* step;  // nullptr: no step
  };
  const Row rows[] = {
      {"T", [this] { Type("T"); }, "Set terrain"},
      {"R", [this] { Type("R"); }, "Set roads"},
      {"N", [this] { Type("N"); }, "Set name"},
      {"D in roads mode",
       [this] {
         view->setSetMode(kSetRoads);
         Type("D");
       },
       "Set roads"},
      {"cut terrain", [this] { input->cutTerrain(); }, "Cut terrain"},
      {"cut roads", [this] { input->cutRoads(); }, "Cut roads"},
      {"cut name", [this] { input->cutName(); }, "Cut name"},
      {"automatic roads", [this] { Type("*"); }, "Automatic roads"},
      {"load marks", [this] { input->loadMarksFromRoads(); }, "Load road marks"},
      {"clear marks", [this] { input->clearMarks(); }, "Clear road marks"},
      {"pick up", [this] { Type("\t"); }, nullptr},
      {"toggle grid", [this] { input->toggleGrid(); }, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    history.Clear();
    map.modified = false;
    names.namesModified = false;
    // A hex with something to set and cut: terrain 3, a road north, a name;
    // the data to set differs in each. Its neighbour carries an Auto mark.
    HexCell& cell = map.cell(5, 5);
    cell = HexCell{};
    cell.terrain = 3;
    cell.roads = kRoadN;
    map.cell(5, 6) = HexCell{};
    map.cell(5, 6).flags = kAutoRoadMark;
    names.AddName("Arnhold");
    names.nameIndex[5][5] = 1;
    view->setSetMode(kSetTerrain);
    view->dataToSet.terrain = 8;
    view->dataToSet.roads = kRoadS;
    view->nameToSet = 0;
    Hover(5, 5);
    row.act();
    EXPECT_FALSE(history.StepOpen());
    if (row.step == nullptr) {
      EXPECT_FALSE(history.CanUndo());
      EXPECT_FALSE(map.modified);
      continue;
    }
    EXPECT_EQ(history.StepCount(), 1u);
    EXPECT_EQ(history.UndoName(), row.step);
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(map.cell(5, 5).terrain, 3);
    EXPECT_EQ(map.cell(5, 5).roads, kRoadN);
    EXPECT_EQ(map.cell(5, 6).roads, 0);
    EXPECT_EQ(map.cell(5, 6).flags, kAutoRoadMark);
    EXPECT_EQ(names.nameIndex[5][5], 1);
    EXPECT_FALSE(map.modified);
    EXPECT_FALSE(names.namesModified);
  }
  // Setting what a hex already holds changes nothing and leaves no step.
  history.Clear();
  map.modified = false;
  view->dataToSet.terrain = 3;
  Type("T");
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(map.modified);
}

TEST_F(EditInputTest, LeftDragSelectsTheHexesCrossed) {
  Click(3, 3);
  PointerEvent e = At(3, 3);
  e.left = true;
  e.x += 5;  // beyond the drag distance
  input->mouseMove(e);
  EXPECT_TRUE(view->dragging);
  EXPECT_EQ(host.shape, PointerShape::kCross);
  for (int c = 4; c <= 6; ++c) {
    e = At(3, c);
    e.left = true;
    input->mouseMove(e);
  }
  EXPECT_EQ(host.shape, PointerShape::kFourArrows);
  EXPECT_EQ(SelectedCount(), 4);
  EXPECT_TRUE(Selected(3, 6));
  input->buttonUp(e);
  EXPECT_FALSE(view->dragging);
}

TEST_F(EditInputTest, AShakeWithinTheDragDistanceKeepsTheSelection) {
  input->setDragDistance(3);
  Click(2, 2, /*shift=*/true);
  Click(2, 4, true);
  PointerEvent e = At(2, 4);
  e.left = true;
  e.x += 3;
  e.y -= 3;
  input->mouseMove(e);
  EXPECT_FALSE(view->dragging);
  EXPECT_EQ(SelectedCount(), 2);
  e.x += 1;
  input->mouseMove(e);
  EXPECT_TRUE(view->dragging) << "one pixel further";
}

TEST_F(EditInputTest, ShiftRightDragCutsWhatTheSetModeSays) {
  for (int column : {5, 6}) {
    map.cell(4, column).terrain = 3;
    map.cell(4, column).roads = kRoadN;
  }
  view->setSetMode(kSetRoads);
  input->keyDown(ViewKey::kShift);
  RightClick(4, 5);
  PointerEvent move = At(4, 6);
  move.right = true;
  Hover(4, 6);
  input->mouseMove(move);
  input->mouseMove(move);
  input->buttonUp(move);
  for (int column : {5, 6}) {
    EXPECT_EQ(map.cell(4, column).roads, 0) << column;
    EXPECT_EQ(map.cell(4, column).terrain, 3) << column << ": terrain stays in roads mode";
  }
  EXPECT_EQ(history.UndoName(), "Cut roads");
}

TEST_F(EditInputTest, CtrlSpaceFillsTheRectangleFromTheAnchorOnce) {
  Click(2, 3);
  Hover(5, 1);
  input->keyDown(ViewKey::kControl);
  Type(" ");
  EXPECT_EQ(SelectedCount(), 12);
  for (int r = 2; r <= 5; ++r) {
    for (int c = 1; c <= 3; ++c) EXPECT_TRUE(Selected(r, c)) << r << "," << c;
  }
  EXPECT_EQ(view->selectionAnchorRow, -1);
  Hover(8, 8);
  Type(" ");
  EXPECT_EQ(SelectedCount(), 12) << "no anchor, no rectangle";
  input->keyUp(ViewKey::kControl);
  input->keyDown(ViewKey::kShift);
  Type(" ");  // Shift+space flips one hex and makes it the anchor
  EXPECT_EQ(SelectedCount(), 13);
  EXPECT_EQ(view->selectionAnchorRow, 8);
}

TEST_F(EditInputTest, PlusAndMinusWrapAround) {
  view->dataToSet.terrain = 19;
  Type("+");
  EXPECT_EQ(view->dataToSet.terrain, 0);
  EXPECT_EQ(view->chooserTerrain, 0);
  Type("-");
  EXPECT_EQ(view->dataToSet.terrain, 19);
  EXPECT_EQ(view->chooserTerrain, 19);
  view->dataToSet.terrain = 25;  // copied from a hex with a value beyond the table
  Type("-");
  EXPECT_EQ(view->dataToSet.terrain, 19);

  view->setSetMode(kSetName);
  for (int i = 1; i <= 11; ++i) names.AddName("Name " + std::to_string(i));
  ASSERT_EQ(names.nameCount, 12);
  view->nameToSet = 11;
  Type("+");
  EXPECT_EQ(view->nameToSet, 0);
  Type("+");
  EXPECT_EQ(view->nameToSet, 1);
  Type("-");
  EXPECT_EQ(view->nameToSet, 11);
  EXPECT_EQ(view->dataToSet.terrain, 19) << "terrain untouched in name mode";

  names.ClearNames();
  Type("-");
  EXPECT_EQ(view->nameToSet, 0) << "an empty list never gives a negative slot";
}

TEST_F(EditInputTest, RoadsModeDigitsOffTheMapEditTheRoadsToSet) {
  view->setSetMode(kSetRoads);
  HoverOff();
  ASSERT_EQ(view->currentCell, nullptr);
  view->dataToSet.roads = kRoadS;
  Type("88");
  EXPECT_EQ(view->dataToSet.roads, kRoadS);
  Type("9371");
  EXPECT_EQ(view->dataToSet.roads, kRoadS | kRoadNE | kRoadSE | kRoadNW | kRoadSW);
  Type("5");
  EXPECT_TRUE(view->autoChoice());
  EXPECT_NE(view->dataToSet.roads, 0) << "'5' leaves the roads as they were";
  input->roadChooserButton(6);
  EXPECT_TRUE(view->autoChoice());
  EXPECT_EQ(view->dataToSet.roads, 0) << "the Auto button clears them";
  input->roadChooserButton(2);
  EXPECT_EQ(view->dataToSet.roads, kRoadSE);
  EXPECT_FALSE(view->autoChoice()) << "a road clears the Auto choice";
}

TEST_F(EditInputTest, SetRoadsIgnoresTheAutoChoiceWhileApplyHonoursIt) {
  view->setSetMode(kSetRoads);
  view->dataToSet.roads = 0;
  input->roadChooserButton(6);
  view->dataToSet.roads = kRoadN;  // roads to set alongside the Auto choice
  Hover(3, 3);
  Type("R");
  EXPECT_EQ(map.cell(3, 3).roads, kRoadN);
  EXPECT_FALSE(map.cell(3, 3).autoRoadMark());
  Type("D");
  EXPECT_EQ(map.cell(3, 3).roads, 0);
  EXPECT_TRUE(map.cell(3, 3).autoRoadMark());
}

TEST_F(EditInputTest, TerrainSetKeepsRiverSidesInTheFlags) {
  map.cell(3, 3).extra = 0x55;
  map.cell(3, 4).extra = 0x55;
  Hover(3, 3);
  view->dataToSet.terrain = 10;
  Type("T");
  EXPECT_EQ(map.cell(3, 3).terrain, 10);
  EXPECT_EQ(map.cell(3, 3).flags & 0xFF, 0x01);
  EXPECT_EQ(map.cell(3, 3).extra, 0x55);
  Hover(3, 4);
  view->dataToSet.terrain = 3;
  Type("T");
  EXPECT_EQ(map.cell(3, 4).extra, 0);
}

TEST_F(EditInputTest, LowerCaseDataKeysAndKeysOffTheMapDoNothing) {
  view->dataToSet.terrain = 4;
  view->dataToSet.roads = kRoadN;
  view->nameToSet = 0;
  Hover(3, 3);
  const CellGrid before = map.cells;
  Type("trnd");
  HoverOff();  // the capitals need the hex under the pointer
  Type("TRND");
  input->cutTerrain();
  EXPECT_EQ(map.cells, before);
  EXPECT_FALSE(map.modified);
  EXPECT_FALSE(names.namesModified);
}

TEST_F(EditInputTest, ModeChoicesSwitchTheirDisplayOptionOn) {
  settings.viewToggles = kToggleDrawPicture;
  input->chooseTerrainMode();  // terrain was chosen: switches off
  EXPECT_EQ(view->setMode(), 0);
  EXPECT_EQ(settings.setMode, 0);
  EXPECT_TRUE(view->toggle(kToggleTerrainMarks));
  input->chooseTerrainMode();
  EXPECT_EQ(view->setMode(), kSetTerrain);
  EXPECT_EQ(view->setMode(), kSetTerrain);

  input->chooseRoadsMode();
  EXPECT_EQ(view->setMode(), kSetRoads);
  EXPECT_TRUE(view->toggle(kToggleRoads));
  EXPECT_NE(view->setMode(), kSetTerrain);

  input->chooseNameMode();
  EXPECT_EQ(view->setMode(), kSetName);
  EXPECT_TRUE(view->toggle(kToggleNamedHexes));
  input->chooseNameMode();  // again: the picker is asked for again
  EXPECT_EQ(view->setMode(), kSetName);
  EXPECT_EQ(host.posted, (std::vector<int>{kCmdPickName, kCmdPickName}));
  EXPECT_EQ(view->dataToSet.flags & ~kSetModeMask, 0) << "bits 0..11 untouched";
}

TEST_F(EditInputTest, CopyCutAndPickUpTakeTheHexUnderThePointer) {
  HexCell& cell = map.cell(4, 4);
  cell.terrain = 12;
  cell.roads = kRoadN | kRoadS;
  cell.flags = kAutoRoadMark;
  names.nameIndex[4][4] = uint8_t(names.AddName("Oran"));
  Hover(4, 4);

  input->copyTerrain();
  input->copyRoads();
  input->copyName();
  EXPECT_EQ(view->dataToSet.terrain, 12);
  EXPECT_EQ(view->dataToSet.roads, kRoadN | kRoadS);
  EXPECT_EQ(view->nameToSet, 1);
  EXPECT_EQ(view->chooserTerrain, 0) << "a copy leaves the chooser";
  EXPECT_FALSE(map.modified);

  Type("\t");  // pick up in terrain mode moves the chooser
  EXPECT_EQ(view->chooserTerrain, 12);
  view->setSetMode(kSetRoads);
  input->pickUp();
  EXPECT_TRUE(view->autoChoice());
  EXPECT_EQ(view->dataToSet.roads, 0);

  input->cutRoads();
  EXPECT_EQ(view->dataToSet.roads, kRoadN | kRoadS);
  EXPECT_EQ(cell.roads, 0);
  EXPECT_FALSE(cell.autoRoadMark());
  input->cutTerrain();
  EXPECT_EQ(cell.terrain, 0);
  EXPECT_TRUE(map.modified);
  view->nameToSet = 0;
  input->cutName();
  EXPECT_EQ(view->nameToSet, 1);
  EXPECT_EQ(names.nameIndex[4][4], 0);
  EXPECT_TRUE(names.namesModified);
}

TEST_F(EditInputTest, ShiftRightClickCutsByTheSetMode) {
  map.cell(5, 5).terrain = 9;
  input->keyDown(ViewKey::kShift);
  RightClick(5, 5);
  EXPECT_EQ(view->dataToSet.terrain, 9);
  EXPECT_EQ(map.cell(5, 5).terrain, 0);
  input->keyUp(ViewKey::kShift);
  input->keyDown(ViewKey::kControl);
  map.cell(5, 6).terrain = 2;
  RightClick(5, 6);  // Ctrl: pick up, the hex stays
  EXPECT_EQ(view->dataToSet.terrain, 2);
  EXPECT_EQ(map.cell(5, 6).terrain, 2);
}

TEST_F(EditInputTest, NameSlotsBeyondOneByteAreNotGivenToHexes) {
  view->setSetMode(kSetName);
  for (int i = 1; i <= 300; ++i) names.AddName("N" + std::to_string(i));
  view->nameToSet = 300;
  Hover(2, 2);
  Type("N");
  EXPECT_EQ(names.nameIndex[2][2], 0);
  EXPECT_FALSE(names.namesModified);
  view->nameToSet = 255;
  Type("D");
  EXPECT_EQ(names.nameIndex[2][2], 255);
  EXPECT_TRUE(names.namesModified);
}

TEST_F(EditInputTest, PanelsTakeLeftClicksOffTheMap) {
  const ScreenLayout& s = view->screen;
  PointerEvent e;
  e.left = true;
  e.x = s.toggleStrip.left + 27 + 3;  // zoom
  e.y = s.toggleStrip.top + 3;
  input->leftButtonDown(e);
  EXPECT_TRUE(view->toggle(kToggleZoom));
  EXPECT_EQ(view->grid.fitToView, 1);

  e.x = s.modeStrip.left + 38 + 3;  // roads mode
  e.y = s.modeStrip.top + 3;
  input->leftButtonDown(e);
  EXPECT_EQ(view->setMode(), kSetRoads);
  e.x = s.roadChooser.left + 20;  // NW
  e.y = s.roadChooser.top + 50;
  input->leftButtonDown(e);
  EXPECT_EQ(view->dataToSet.roads, kRoadNW);

  view->setSetMode(kSetTerrain);
  e.x = s.terrainChooser.left + 50;
  e.y = s.terrainChooser.top + 19 * 7 + 2;
  input->leftButtonDown(e);
  EXPECT_EQ(view->dataToSet.terrain, 7);
  EXPECT_EQ(view->chooserTerrain, 7);
}

TEST_F(EditInputTest, KeysScrollAndAltKeysMoveTheCurrentHex) {
  view->grid.setMapSize(1920, 1920);
  view->layout({0, 0, 1024, 768}, false);
  HexGrid& g = view->grid;
  input->keyDown(ViewKey::kPageDown);
  EXPECT_EQ(g.scrollY, 75);
  input->keyDown(ViewKey::kRight);
  EXPECT_EQ(g.scrollX, 5);
  input->keyDown(ViewKey::kControl);
  input->keyDown(ViewKey::kRight);
  EXPECT_EQ(g.scrollX, 20);
  input->keyUp(ViewKey::kControl);
  input->keyDown(ViewKey::kEnd);
  EXPECT_EQ(g.scrollX, g.maxScrollX);
  input->keyDown(ViewKey::kHome);
  EXPECT_EQ(g.scrollX, 0);
  input->wheel(g.viewRect.left + 5, g.viewRect.top + 5, -120);
  EXPECT_EQ(g.scrollY, 15);
  input->wheel(g.viewRect.left + 5, g.viewRect.top + 5, 120);
  EXPECT_EQ(g.scrollY, 0);

  Hover(5, 5);
  host.pointer.clear();
  input->systemKeyDown(ViewKey::kRight);
  EXPECT_EQ(g.current.column, 6);
  input->systemKeyDown(ViewKey::kPageUp);  // up-right from even column 6
  EXPECT_EQ(g.current.row, 4);
  EXPECT_EQ(g.current.column, 7);
  EXPECT_EQ(host.pointer.size(), 2u);
  Type("2");
  EXPECT_EQ(g.current.row, 5);
  input->systemKeyDown(ViewKey::kDigit5);
  EXPECT_EQ(g.scrollY, 0) << "centring near the top stays clamped";
  HoverOff();
  input->systemKeyDown(ViewKey::kLeft);
  EXPECT_EQ(g.current.column, 7) << "Alt keys need the hex under the pointer";
}

TEST_F(EditInputTest, OptionCommandsFlipTheirBits) {
  for (uint16_t bit : {kToggleTerrainMarks, kToggleRoads, kToggleNamedHexes, kToggleKeepAutoMarks,
                       kToggleLinkRoads, kToggleSaveClean}) {
    const uint16_t before = settings.viewToggles;
    input->flipOption(bit);
    EXPECT_EQ(settings.viewToggles, before ^ bit) << bit;
  }
  const uint16_t before = settings.viewToggles;
  input->toggleGrid();
  EXPECT_EQ(settings.viewToggles, before ^ kToggleGrid);
  ASSERT_TRUE(view->toggle(kToggleGrid));
  Type("g");
  EXPECT_TRUE(view->toggle(kToggleGrid)) << "needs the pointer over the map";
  Hover(1, 1);
  Type("g");
  EXPECT_FALSE(view->toggle(kToggleGrid));
  Type("G");
  EXPECT_TRUE(view->toggle(kToggleGrid));
  view->grid.mapLoaded = false;
  input->toggleGrid();
  EXPECT_TRUE(view->toggle(kToggleGrid)) << "the grid needs a map picture";
  view->grid.mapLoaded = true;
  Type("L");
  EXPECT_EQ(host.posted.back(), kCmdOpenLast);
  Type("\r");
  EXPECT_TRUE(view->toggle(kToggleZoom));
}

}  // namespace
}  // namespace maptesk
