#include "core/view/frame_changes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/view_fixture.h"

namespace maptesk {
namespace {

bool Inside(const ScreenRect& inner, const ScreenRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Whether the rectangles together cover every pixel of `r`.
bool Covered(const ScreenRect& r, const std::vector<ScreenRect>& areas) {
  for (int32_t y = r.top; y < r.bottom; ++y) {
    for (int32_t x = r.left; x < r.right; ++x) {
      if (std::none_of(areas.begin(), areas.end(),
                       [x, y](const ScreenRect& a) { return a.Contains(x, y); })) {
        return false;
      }
    }
  }
  return true;
}

// A 1600 x 1200 map under a 1280 x 1024 window, so that it scrolls, with
// every overlay on.
class FrameChangesTest : public testing::ViewTest {
 protected:
  FrameChangesTest() {
    view->grid.setMapSize(1600, 1200);
    view->layout(kScreen, false);
    settings.viewToggles = kToggleDrawPicture | kToggleAlwaysOn | kToggleGrid | kToggleRoads |
                           kToggleTerrainMarks | kToggleNamedHexes | kToggleLabels;
    settings.terrainMask = 0xFFFFF;
    map.loaded = true;
    tracker.SetTextExtent([](const TextDraw& t) {
      return ScreenRect{t.x - 100, t.y, t.x + 100, t.y + 16};
    });
  }

  static constexpr ScreenRect kScreen{0, 0, 1280, 1024};

  void PointAt(int row, int column) {
    const HexPos p = view->grid.hexToPixel(row, column);
    inputs.pointerX = p.screenX + 30;
    inputs.pointerY = p.screenY + 25;
  }
  FrameChanges Frame(const ScreenRect& screen = kScreen) {
    const FramePlan plan = planner.Plan(inputs);
    return tracker.Next(plan, planner.Key(revision), screen);
  }
  // A frame after the first, which is always whole.
  void Settle() {
    ASSERT_TRUE(Frame().whole);
    ASSERT_TRUE(Frame().nothing());
  }
  const TextDraw& InfoLine() {
    last = planner.Plan(inputs);
    return last.texts.front();
  }

  FramePlanner planner{*view};
  FrameChangeTracker tracker{planner};
  FrameInputs inputs{.pointerX = -100,
                     .pointerY = -100,
                     .edgeScroll = false,
                     .pictureLoaded = true,
                     .statusLine = "Ready",
                     .releaseTitle = "R1"};
  uint64_t revision = 1;
  FramePlan last;
};

TEST_F(FrameChangesTest, TheFirstFrameIsWholeAndAnUnchangedOneIsNothing) {
  const FrameChanges first = Frame();
  EXPECT_TRUE(first.whole);
  EXPECT_TRUE(first.overlayWhole);
  EXPECT_TRUE(first.areas.empty());
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Frame().nothing());
  tracker.Forget();
  EXPECT_TRUE(Frame().whole) << "after Forget";
}

TEST_F(FrameChangesTest, APointerMoveRedrawsTheInfoLineAndThePreviewOnly) {
  PointAt(3, 4);
  Settle();
  PointAt(3, 5);
  const FrameChanges c = Frame();
  ASSERT_FALSE(c.whole);
  EXPECT_TRUE(c.overlayAreas.empty()) << "the overlay layer is kept";
  const TextDraw& info = InfoLine();
  EXPECT_NE(std::find(c.areas.begin(), c.areas.end(), info.box), c.areas.end());
  int64_t area = 0;
  for (const ScreenRect& r : c.areas) {
    EXPECT_TRUE(Inside(r, kScreen)) << r;
    EXPECT_TRUE(r.width() > 0 && r.height() > 0) << r;
    // None lies in the map: the marks and the picture stay as they are.
    EXPECT_FALSE(Inside(r, view->grid.viewRect)) << r;
    area += int64_t(r.width()) * r.height();
  }
  EXPECT_LT(area, int64_t(1280) * 1024 / 20);
}

TEST_F(FrameChangesTest, AChangedHexRedrawsItsAreaOnTheOverlayLayer) {
  struct Case {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"terrain", [this] { map.cell(5, 6).terrain = kCity; }},
      {"roads", [this] { map.cell(5, 6).roads ^= kRoadSW; }},
      {"Auto mark", [this] { map.cell(5, 6).flags ^= kAutoRoadMark; }},
      {"name", [this] { names.nameIndex[5][6] ^= 1; }},
      {"selection", [this] { map.selected[5][6] ^= 1; }},
  };
  Settle();
  for (const Case& c : cases) {
    c.change();
    ++revision;
    const FrameChanges changes = Frame();
    ASSERT_FALSE(changes.whole) << c.what;
    EXPECT_EQ(changes.overlayAreas, std::vector<ScreenRect>{planner.HexArea(5, 6)}) << c.what;
    EXPECT_TRUE(Covered(planner.HexArea(5, 6), changes.areas)) << c.what;
    EXPECT_TRUE(Frame().nothing()) << c.what;
  }
  // A new revision that changed no mark (a name's spelling) keeps the layer.
  ++revision;
  EXPECT_TRUE(Frame().overlayAreas.empty());
}

TEST_F(FrameChangesTest, AHexOutOfViewChangesNothingAndManyHexesRedrawTheWholeLayer) {
  Settle();
  map.cell(39, 44).terrain = kCity;
  ++revision;
  EXPECT_TRUE(Frame().nothing()) << "the hex is past the view's bottom right";
  for (int r = 2; r < 6; ++r) {
    for (int c = 0; c < 30; ++c) map.cell(r, c).terrain = kSwamp;
  }
  ++revision;
  const FrameChanges many = Frame();
  EXPECT_TRUE(many.whole);
  EXPECT_TRUE(many.overlayWhole);
}

TEST_F(FrameChangesTest, AViewOrScreenChangeRedrawsEverything) {
  struct Case {
    const char* what;
    bool overlay;
    std::function<void()> change;
  } cases[] = {
      {"scroll", true, [this] { view->grid.scrollTo(40, 30); }},
      {"grid off", true, [this] { view->flipToggle(kToggleGrid); }},
      {"terrain filter", true, [this] { settings.terrainMask = 1; }},
      {"zoom", true,
       [this] {
         view->flipToggle(kToggleZoom);
         view->applyScale();
       }},
      {"no picture", false, [this] { inputs.pictureLoaded = false; }},
  };
  Settle();
  for (const Case& c : cases) {
    Frame();
    ASSERT_TRUE(Frame().nothing()) << c.what;
    c.change();
    const FrameChanges changes = Frame();
    EXPECT_TRUE(changes.whole) << c.what;
    EXPECT_EQ(changes.overlayWhole, c.overlay) << c.what;
    EXPECT_TRUE(changes.areas.empty()) << c.what;
  }
  Frame();
  EXPECT_TRUE(Frame({0, 0, 1280, 1000}).whole) << "a new back surface size";
}

TEST_F(FrameChangesTest, AModeSwitchRedrawsTheOldAndTheNewChooser) {
  Settle();
  const ScreenRect terrainChooser = view->screen.terrainChooser;
  const ScreenRect roadChooser = view->screen.roadChooser;
  view->setSetMode(kSetRoads);
  const FrameChanges c = Frame();
  ASSERT_FALSE(c.whole);
  EXPECT_TRUE(c.overlayAreas.empty());
  EXPECT_TRUE(Covered(terrainChooser, c.areas));
  EXPECT_TRUE(Covered(roadChooser, c.areas));
  EXPECT_TRUE(Covered(view->screen.modeStrip, c.areas)) << "its pressed button moved";
}

TEST_F(FrameChangesTest, TheBrushOutlineIsRedrawnWhereItWasAndWhereItIs) {
  PointAt(6, 6);
  Settle();
  settings.brushRadius = 2;
  const FrameChanges grown = Frame();
  ASSERT_FALSE(grown.whole);
  const int32_t w = view->grid.metrics.hexWidth;
  const int32_t h = view->grid.metrics.hexHeight;
  auto outlineOf = [&](int row, int column) {
    const HexPos p = view->grid.hexToPixel(row, column);
    return ScreenRect{p.screenX - 1, p.screenY - 1, p.screenX + w + 2, p.screenY + h + 2};
  };
  const std::vector<HexOffset> big = view->brushHexes();
  ASSERT_EQ(big.size(), 19u);
  for (const HexOffset& o : big) EXPECT_TRUE(Covered(outlineOf(o.row, o.column), grown.areas));

  PointAt(6, 9);
  const FrameChanges moved = Frame();
  ASSERT_FALSE(moved.whole);
  for (const HexOffset& o : big) {
    EXPECT_TRUE(Covered(outlineOf(o.row, o.column), moved.areas)) << "where it was";
  }
  for (const HexOffset& o : view->brushHexes()) {
    EXPECT_TRUE(Covered(outlineOf(o.row, o.column), moved.areas)) << "where it is";
  }
}

TEST_F(FrameChangesTest, TextsWithoutABoxUseTheMeasuredExtentOrRedrawAll) {
  Settle();
  view->capsWarning = 1;
  const FrameChanges measured = Frame();
  ASSERT_FALSE(measured.whole);
  for (const TextDraw& t : planner.Plan(inputs).texts) {
    if (t.text == "CAPS LOCK") {
      // As measured, inside the screen.
      EXPECT_TRUE(
          Covered({t.x - 100, t.y, std::min(t.x + 100, kScreen.right), t.y + 16}, measured.areas));
    }
  }
  tracker.SetTextExtent(nullptr);
  view->capsWarning = 0;
  EXPECT_TRUE(Frame().whole) << "nothing to measure the text with";
}

TEST_F(FrameChangesTest, EverySpriteOfAHexStaysInsideItsArea) {
  struct Case {
    uint16_t toggles;
  } cases[] = {{kToggleLabels}, {0}, {kToggleZoom}, {kToggleZoom | kToggleLabels}};
  for (int r = 0; r < 12; ++r) {
    for (int c = 0; c < 12; ++c) {
      map.cell(r, c) = HexCell{uint16_t((r + c) % 20), 0xFF, 0, kAutoRoadMark};
      names.nameIndex[size_t(r)][size_t(c)] = 1;
      map.selected[size_t(r)][size_t(c)] = 1;
    }
  }
  for (const Case& k : cases) {
    settings.viewToggles = kToggleDrawPicture | kToggleGrid | kToggleRoads | kToggleTerrainMarks |
                           kToggleNamedHexes | k.toggles;
    view->applyScale();
    std::vector<SpriteDraw> all;
    planner.PlanOverlays(all);
    std::vector<SpriteDraw> byHex;
    for (int r = 0; r <= HexGrid::kLastRow; ++r) {
      for (int c = 0; c <= HexGrid::kLastColumn; ++c) {
        std::vector<SpriteDraw> one;
        planner.PlanHexOverlays(r, c, one);
        for (const SpriteDraw& s : one) {
          const ScreenRect b = SpriteBounds(s);
          if (b.width() > 0) {
            EXPECT_TRUE(Inside(b, planner.HexArea(r, c))) << r << "," << c;
          }
        }
        byHex.insert(byHex.end(), one.begin(), one.end());
      }
    }
    // The whole layer is the hexes' overlays in the same order.
    EXPECT_EQ(byHex, all) << k.toggles;
  }
}

TEST(SpriteBounds, AreTheFrameAtItsPlaceInsideTheClip) {
  const ScreenRect clip{10, 10, 100, 100};
  EXPECT_EQ(SpriteBounds({Sheet::kGrid, 0, 1, 20, 20, clip}), (ScreenRect{20, 20, 81, 71}));
  EXPECT_EQ(SpriteBounds({Sheet::kGrid, 0, 1, 50, 60, clip}), (ScreenRect{50, 60, 100, 100}));
  EXPECT_EQ(SpriteBounds({Sheet::kRoads, 2, 1, 0, 0, clip}), (ScreenRect{10, 10, 18, 12}));
  EXPECT_EQ(SpriteBounds({Sheet::kTerrainLabels, 0, 1, 5, 95, clip}),
            (ScreenRect{10, 95, 63, 100}));
  EXPECT_EQ(SpriteBounds({Sheet::kTerrainIcons, 0, 1, 200, 20, clip}), ScreenRect{});
  EXPECT_EQ(SpriteBounds({Sheet::kTerrainIcons, 3, 1, 20, 20, clip}), ScreenRect{})
      << "no such scale";
}

}  // namespace
}  // namespace maptesk
