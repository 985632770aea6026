// A map view over a 1000 x 800 picture in a 1280 x 1024 window, with the
// document objects it works on.
#pragma once

#include <gtest/gtest.h>

#include "core/app/edit_history.h"
#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/settings/tool_settings.h"
#include "core/view/edit_input.h"
#include "core/view/map_view.h"
#include "support/fake_view_host.h"
#include "support/scripted_prompts.h"

namespace maptesk::testing {

class ViewTest : public ::testing::Test {
 protected:
  ViewTest() : map(settings, prompts), names(map, settings, prompts) {
    settings.setMode = kSetTerrain;
    settings.viewToggles = kToggleDrawPicture | kToggleAlwaysOn;
    view = std::make_unique<MapView>(map, names, settings, host, history);
    input = std::make_unique<EditInput>(*view);
    view->grid.setMapSize(1000, 800);  // rows 0..16, columns 0..23
    view->layout({0, 0, 1280, 1024}, false);
  }

  /// A point in the middle of a hex, in window coordinates.
  PointerEvent At(int row, int column) const {
    HexPos p = view->grid.hexToPixel(row, column);
    PointerEvent e;
    e.x = p.screenX + 30;
    e.y = p.screenY + 25;
    return e;
  }
  /// The pointer rests over a hex for a frame.
  void Hover(int row, int column) {
    PointerEvent e = At(row, column);
    view->followPointer(e.x, e.y);
    ASSERT_NE(view->currentCell, nullptr);
    ASSERT_EQ(view->grid.current.row, row);
    ASSERT_EQ(view->grid.current.column, column);
  }
  /// The pointer leaves the map.
  void HoverOff() { view->followPointer(1250, 1000); }
  void Click(int row, int column, bool shift = false, bool ctrl = false) {
    PointerEvent e = At(row, column);
    e.left = true;
    e.shift = shift;
    e.ctrl = ctrl;
    input->leftButtonDown(e);
  }
  void RightClick(int row, int column) {
    Hover(row, column);
    PointerEvent e = At(row, column);
    e.right = true;
    input->rightButtonDown(e);
  }
  void Type(const std::string& text) {
    for (char c : text) input->character(c);
  }
  int SelectedCount() const {
    int n = 0;
    for (auto& row : map.selected) {
      for (uint8_t s : row) n += s;
    }
    return n;
  }
  bool Selected(int row, int column) const {
    return map.selected[size_t(row)][size_t(column)] != 0;
  }

  ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map;
  MapNames names;
  EditHistory history{map, names};
  FakeViewHost host;
  std::unique_ptr<MapView> view;
  std::unique_ptr<EditInput> input;
};

}  // namespace maptesk::testing
