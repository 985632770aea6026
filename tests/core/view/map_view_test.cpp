#include "core/view/map_view.h"

#include <gtest/gtest.h>

#include "core/map/edit_steps.h"
#include "support/view_fixture.h"

namespace maptesk {
namespace {

using testing::ViewTest;

TEST(ScreenLayout, WindowedAndFullScreenBars) {
  ScreenLayout w = ScreenLayout::For({0, 0, 1280, 1024}, false);
  EXPECT_EQ(w.titleStrip, (ScreenRect{}));
  EXPECT_EQ(w.topBar, (ScreenRect{2, 0, 1163, 24}));
  EXPECT_EQ(w.bottomBar, (ScreenRect{2, 1000, 1163, 1024}));
  EXPECT_EQ(w.rightPanel, (ScreenRect{1164, 0, 1280, 1024}));
  EXPECT_EQ(w.mapArea, (ScreenRect{2, 25, 1163, 999}));

  ScreenLayout f = ScreenLayout::For({0, 0, 800, 600}, true);
  EXPECT_EQ(f.titleStrip, (ScreenRect{0, 0, 800, 22}));
  EXPECT_EQ(f.topBar, (ScreenRect{1, 22, 683, 24}));
  EXPECT_EQ(f.bottomBar, (ScreenRect{1, 576, 683, 600}));
  EXPECT_EQ(f.rightPanel, (ScreenRect{684, 22, 800, 600}));
  EXPECT_EQ(f.mapArea, (ScreenRect{1, 47, 683, 575}));
  EXPECT_EQ(f.setDataPanel, (ScreenRect{684, 22, 798, 177}));
  EXPECT_EQ(f.modeStrip, (ScreenRect{684, 177, 798, 201}));
  EXPECT_EQ(f.roadPreview, (ScreenRect{591, 22, 683, 44}));

  // Only the size of the screen rectangle counts, not where it lies.
  EXPECT_EQ(ScreenLayout::For({300, 200, 1580, 1224}, false).mapArea, w.mapArea);
}

TEST(ScreenLayout, PanelButtonsHitWithinTheirButtonsOnly) {
  ScreenLayout s = ScreenLayout::For({0, 0, 1024, 768}, false);
  // Toggle strip at (2, 0): buttons 24 wide every 27.
  EXPECT_EQ(s.toggleButtonAt(2, 0), 0);
  EXPECT_EQ(s.toggleButtonAt(26, 10), -1);
  EXPECT_EQ(s.toggleButtonAt(2 + 4 * 27, 10), 4);
  EXPECT_EQ(s.toggleButtonAt(2 + 5 * 27, 10), -1);
  // Mode strip below the 155 high set-data panel: 34 wide every 38.
  const int mx = 1024 - 116, my = 155;
  EXPECT_EQ(s.modeButtonAt(mx + 76, my + 5), 2);
  EXPECT_EQ(s.modeButtonAt(mx + 35, my + 5), -1);
  // Choosers below the mode strip.
  const int cy = my + 24;
  EXPECT_EQ(s.terrainButtonAt(mx, cy), 0);
  EXPECT_EQ(s.terrainButtonAt(mx + 113, cy + 19 * 19 + 18), 19);
  EXPECT_EQ(s.terrainButtonAt(mx + 114, cy), -1);
  EXPECT_EQ(s.roadAreaAt(mx + 40, cy + 20), 0) << "N is tested before the Auto area it overlaps";
  EXPECT_EQ(s.roadAreaAt(mx + 100, cy + 50), 1);
  EXPECT_EQ(s.roadAreaAt(mx + 20, cy + 50), 5);
  EXPECT_EQ(s.roadAreaAt(mx + 70, cy + 85), 6);
  EXPECT_EQ(s.roadAreaAt(mx + 5, cy + 5), -1);
}

TEST_F(ViewTest, NarrowMapIsCentredAndNeverScrollsSideways) {
  const HexGrid& g = view->grid;
  EXPECT_EQ(g.viewRect, (ScreenRect{82, 25, 1082, 825}));
  EXPECT_EQ(g.originX, 82);
  EXPECT_EQ(g.originY, 25);
  EXPECT_EQ(g.maxScrollX, 0);
  EXPECT_EQ(g.fitToView, 0);
  view->grid.scrollBy(40, 40);
  EXPECT_EQ(g.scrollX, 0);
  EXPECT_EQ(g.scrollY, 0);
}

TEST_F(ViewTest, WideMapScrollsWithinItsPicture) {
  view->grid.setMapSize(1920, 1440);
  view->layout({0, 0, 1024, 768}, false);
  const HexGrid& g = view->grid;
  EXPECT_EQ(g.viewRect, (ScreenRect{2, 25, 907, 743}));
  EXPECT_EQ(g.maxScrollX, 1920 - 905);
  EXPECT_EQ(g.maxScrollY, 1440 - 718);
  EXPECT_EQ(view->overlayScale, 0);
}

TEST_F(ViewTest, ZoomFitsThePictureAtTheVideoModesScale) {
  view->grid.setMapSize(1920, 1920);
  view->setToggle(kToggleZoom);
  view->layout({0, 0, 1280, 1024}, false);
  HexGrid& g = view->grid;
  EXPECT_EQ(g.metrics, kZoomedLargeMetrics);
  EXPECT_EQ(g.viewWidth, 725);   // 17 * 42.666666666 = 725.33
  EXPECT_EQ(g.viewHeight, 614);  // 16 * 38.4 = 614.4
  EXPECT_EQ(g.fitToView, 1);
  EXPECT_EQ(g.viewRect.left, 2 + (1161 - 725) / 2);
  EXPECT_EQ(g.originX, g.viewRect.left);
  EXPECT_EQ(view->overlayScale, 1);

  settings.displayMode = 2;
  view->layout({0, 0, 800, 600}, true);
  EXPECT_EQ(g.metrics, kZoomedSmallMetrics);
  EXPECT_EQ(g.viewWidth, 554);
  EXPECT_EQ(g.viewHeight, 460);
  EXPECT_EQ(view->overlayScale, 2);
}

TEST_F(ViewTest, ZoomNeedsAPicture) {
  host.pointer.clear();
  HexMap other(settings, prompts);
  MapNames otherNames(other, settings, prompts);
  MapView empty(other, otherNames, settings, host, EditSteps::None());
  settings.viewToggles |= kToggleZoom;
  empty.layout({0, 0, 1024, 768}, false);
  EXPECT_EQ(empty.grid.metrics, kNormalMetrics);
  EXPECT_EQ(empty.grid.fitToView, 0);
  EXPECT_TRUE(host.pointer.empty()) << "no pointer moves without a map";
  empty.followPointer(empty.grid.viewRect.left, empty.grid.viewRect.top);
  EXPECT_EQ(empty.currentCell, nullptr);
}

TEST_F(ViewTest, ScrollPositionSurvivesAZoomInAndOut) {
  view->grid.setMapSize(1920, 1920);
  view->layout({0, 0, 1024, 768}, false);
  view->grid.scrollTo(300, 200);
  view->grid.setCurrent(10, 10);  // map pixel (405, 475): in view at this scroll
  input->toggleZoom();
  EXPECT_EQ(view->grid.fitToView, 1);
  input->toggleZoom();
  EXPECT_EQ(view->grid.fitToView, 0);
  EXPECT_EQ(view->grid.scrollX, 300);
  EXPECT_EQ(view->grid.scrollY, 200);
}

TEST_F(ViewTest, PointerGoesToTheCurrentHexPulledIntoTheView) {
  view->grid.setCurrent(5, 5);
  view->pointToCurrent();
  HexPos c = view->grid.current;
  ASSERT_FALSE(host.pointer.empty());
  EXPECT_EQ(host.pointer.back(), (testing::FakeViewHost::Point{c.screenX + 29, c.screenY + 24}));

  // Column 0 lies mostly left of the picture: the pointer stops at the view's edge.
  view->grid.setCurrent(3, 0);
  view->pointToCurrent();
  EXPECT_EQ(host.pointer.back().x, view->grid.viewRect.left);
  EXPECT_TRUE(view->grid.contains(host.pointer.back().x, host.pointer.back().y));
  // Bottom row of an odd column: its centre lies below a 800 high picture.
  view->grid.setCurrent(16, 23);
  view->pointToCurrent();
  EXPECT_EQ(host.pointer.back().y, view->grid.viewRect.bottom);
}

TEST_F(ViewTest, PointerBeyondTheGridGivesNoCell) {
  // 1035 pixels give columns 0..23; the view's inclusive right edge picks column 24.
  view->grid.setMapSize(1035, 800);
  view->layout({0, 0, 1280, 1024}, false);
  const ScreenRect& r = view->grid.viewRect;
  view->followPointer(r.right, r.top + 100);
  EXPECT_EQ(view->grid.current.column, 24);
  EXPECT_EQ(view->currentCell, nullptr);
  view->followPointer(r.right - 20, r.top + 100);
  EXPECT_NE(view->currentCell, nullptr);
  view->followPointer(r.right + 1, r.top + 100);
  EXPECT_EQ(view->currentCell, nullptr);
}

TEST_F(ViewTest, OversizedPictureKeepsEveryPickInsideTheStorage) {
  view->grid.setMapSize(2500, 2500);
  view->layout({0, 0, 1024, 768}, false);
  view->grid.scrollEnd();
  const ScreenRect& r = view->grid.viewRect;
  for (int y = r.top; y <= r.bottom; y += 7) {
    for (int x = r.left; x <= r.right; x += 7) {
      view->followPointer(x, y);
      if (view->currentCell == nullptr) continue;
      EXPECT_LE(view->grid.current.row, 39);
      EXPECT_LE(view->grid.current.column, 44);
    }
  }
  view->followPointer(r.right, r.bottom);
  EXPECT_EQ(view->currentCell, nullptr);
}

TEST_F(ViewTest, SetModeStaysInStepWithTheSettings) {
  EXPECT_EQ(view->setMode(), kSetTerrain);
  view->setSetMode(kSetRoads);
  EXPECT_EQ(settings.setMode, kSetRoads);
  EXPECT_EQ(view->dataToSet.flags & kSetModeMask, 0x2000);
  EXPECT_EQ(settings.UserDefs() >> 8 & 0x0F, uint32_t(kSetRoads));
  settings.setMode = kSetName;
  view->loadSetModeFromSettings();
  EXPECT_EQ(view->setMode(), kSetName);
}

}  // namespace
}  // namespace maptesk
