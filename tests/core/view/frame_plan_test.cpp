#include "core/view/frame_plan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/view_fixture.h"

namespace maptesk {
namespace {

class FramePlanTest : public testing::ViewTest {
 protected:
  /// Plans a frame with the pointer at a window point of a window at (100, 50).
  FramePlan PlanAt(int32_t x, int32_t y, bool picture = true) {
    const FrameInputs in{.pointerX = x + 100,
                         .pointerY = y + 50,
                         .desktopRight = 1919,
                         .desktopBottom = 1199,
                         .windowLeft = 100,
                         .windowTop = 50,
                         .pictureLoaded = picture,
                         .statusLine = "Ready",
                         .releaseTitle = "R1"};
    return planner.Plan(in);
  }
  FramePlan PlanOffMap() { return PlanAt(1250, 1000); }
  std::vector<SpriteDraw> Overlays() const {
    std::vector<SpriteDraw> out;
    planner.PlanOverlays(out);
    return out;
  }
  static const TextDraw* FindText(const FramePlan& plan, const std::string& text) {
    auto it = std::find_if(plan.texts.begin(), plan.texts.end(),
                           [&](const TextDraw& t) { return t.text == text; });
    return it == plan.texts.end() ? nullptr : &*it;
  }
  /// "text@y" of every text whose x is `x`, in drawing order.
  static std::vector<std::string> TextsAt(const FramePlan& plan, int32_t x) {
    std::vector<std::string> out;
    for (const TextDraw& t : plan.texts) {
      if (t.x == x) out.push_back(t.text + "@" + std::to_string(t.y));
    }
    return out;
  }
  static std::vector<int> Frames(const std::vector<SpriteDraw>& sprites, Sheet sheet) {
    std::vector<int> frames;
    for (const SpriteDraw& s : sprites) {
      if (s.sheet == sheet) frames.push_back(s.frame);
    }
    return frames;
  }
  static const PanelDraw* FindPanel(const FramePlan& plan, Panel panel) {
    for (const PanelDraw& p : plan.panels) {
      if (p.panel == panel) return &p;
    }
    return nullptr;
  }

  FramePlanner planner{*view};
};

TEST_F(FramePlanTest, RoadBitsDrawTheirFramesThenTheAutoMark) {
  struct Case {
    uint16_t roads;
    bool autoMark;
    std::vector<int> frames;
  } cases[] = {
      {0x44, false, {2, 6}}, {0x81, true, {0, 7, 8}}, {0xFF, false, {0, 1, 2, 3, 4, 5, 6, 7}}};
  settings.viewToggles |= kToggleRoads;
  for (const Case& c : cases) {
    map.cell(3, 4).roads = c.roads;
    map.cell(3, 4).flags = c.autoMark ? kAutoRoadMark : 0;
    EXPECT_EQ(Frames(Overlays(), Sheet::kRoads), c.frames) << c.roads;
  }
}

TEST_F(FramePlanTest, OneHexDrawsRoadsTerrainNameGridThenSelection) {
  settings.viewToggles |= kToggleRoads | kToggleTerrainMarks | kToggleNamedHexes | kToggleGrid;
  map.cell(3, 4) = HexCell{kCity, kRoadS, 0, 0};
  names.nameIndex[3][4] = uint8_t(names.AddName("Oslo"));
  Click(3, 4);
  const HexPos p = view->grid.hexToPixel(3, 4);
  const ScreenRect clip = view->grid.viewRect;
  std::vector<SpriteDraw> mine;
  for (const SpriteDraw& s : Overlays()) {
    if (s.sheet != Sheet::kGrid || s.frame != kGridFrame || (s.x == p.screenX && s.y == p.screenY))
      mine.push_back(s);
  }
  const std::vector<SpriteDraw> expected = {
      {Sheet::kRoads, 0, 4, p.screenX, p.screenY, clip},
      {Sheet::kTerrainIcons, 0, kCity, p.screenX + 22 - 8, p.screenY + 19 - 5, clip},
      {Sheet::kTerrainIcons, 0, kNamedHexFrame, p.screenX + 22 + 8, p.screenY + 19 + 6, clip},
      {Sheet::kGrid, 0, kGridFrame, p.screenX, p.screenY, clip},
      {Sheet::kGrid, 0, kSelectionFrame, p.screenX, p.screenY, clip}};
  EXPECT_EQ(mine, expected);
}

TEST_F(FramePlanTest, TerrainMarkIsALabelOnlyInTheNormalViewWithLabelsOn) {
  struct Case {
    uint16_t toggles;
    Sheet sheet;
    int32_t dx, dy;  // from the hex's corner
  } cases[] = {{kToggleLabels, Sheet::kTerrainLabels, 0, 25},
               {0, Sheet::kTerrainIcons, 14, 14},
               {kToggleLabels | kToggleZoom, Sheet::kTerrainIcons, 4, 2},
               {kToggleZoom, Sheet::kTerrainIcons, 4, 2}};
  map.cell(3, 4).terrain = kAirfield;
  for (const Case& c : cases) {
    settings.viewToggles = kToggleDrawPicture | kToggleTerrainMarks | c.toggles;
    view->applyScale();
    const HexPos p = view->grid.hexToPixel(3, 4);
    EXPECT_EQ(Overlays(), (std::vector<SpriteDraw>{{c.sheet, 0, kAirfield, p.screenX + c.dx,
                                                    p.screenY + c.dy, view->grid.viewRect}}))
        << c.toggles;
  }
}

TEST_F(FramePlanTest, FilteredOutTerrainLosesItsMarkButKeepsItsNamedMark) {
  settings.viewToggles |= kToggleTerrainMarks | kToggleNamedHexes;
  map.cell(3, 4).terrain = kForest;  // not in the default mask
  map.cell(5, 5).terrain = 25;       // past the table: never marked
  settings.terrainMask = kDefaultTerrainMask | (1u << 25);
  names.nameIndex[3][4] = uint8_t(names.AddName("Bergen"));
  const HexPos p = view->grid.hexToPixel(3, 4);
  EXPECT_EQ(Overlays(),
            (std::vector<SpriteDraw>{{Sheet::kTerrainIcons, 0, kNamedHexFrame, p.screenX + 30,
                                      p.screenY + 25, view->grid.viewRect}}));
}

TEST_F(FramePlanTest, OverlaysCoverOnlyTheVisibleHexes) {
  struct Case {
    int32_t pictureWidth, pictureHeight, windowWidth, windowHeight, scrollX, scrollY;
    int grids, selections;
  } cases[] = {
      // 17 x 24 hexes all show; the odd columns' last row starts on the bottom edge.
      {1000, 800, 1280, 1024, 0, 0, 17 * 24 - 12, 17 * 24},
      // The corner hex is (10, 12), yet row 9 (odd columns) and column 11 reach into
      // the view: odd columns show rows 9..25, even ones 10..25, columns 11..33; the
      // grid stops a row and a column earlier.
      {1920, 1440, 1024, 768, 505, 490, 11 * 16 + 11 * 15, 12 * 17 + 11 * 16},
  };
  settings.viewToggles |= kToggleGrid;
  for (const Case& c : cases) {
    view->grid.setMapSize(c.pictureWidth, c.pictureHeight);
    view->layout({0, 0, c.windowWidth, c.windowHeight}, false);
    view->grid.scrollTo(c.scrollX, c.scrollY);
    for (auto& row : map.selected) row.fill(1);
    std::vector<int> frames = Frames(Overlays(), Sheet::kGrid);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), kGridFrame), c.grids);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), kSelectionFrame), c.selections);
  }
  view->grid.mapLoaded = false;
  EXPECT_TRUE(Overlays().empty());
}

TEST_F(FramePlanTest, PointerOverAStripButtonShowsItsTooltipAndNoHex) {
  const ScreenLayout& s = view->screen;
  struct Case {
    int32_t x, y;
    std::string line;
  } cases[] = {
      {s.toggleStrip.left + 27 + 5, s.toggleStrip.top + 5, "Toggles normal / zoomed out view"},
      {s.toggleStrip.left + 4 * 27, s.toggleStrip.top, "Toggles if named hexes will be marked"},
      {s.modeStrip.left + 38 * 2 + 3, s.modeStrip.top + 3,
       "Toggles if Right Mouse button sets names"},
      {s.toggleStrip.left + 25, s.toggleStrip.top + 5, ""}};
  for (const Case& c : cases) {
    Hover(3, 4);
    FramePlan plan = PlanAt(c.x, c.y);
    EXPECT_EQ(view->currentCell, nullptr);
    EXPECT_EQ(planner.infoLine(), c.line);
    const TextDraw* info = FindText(plan, c.line);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->anchor, TextAnchor::kCentre);
    EXPECT_EQ(info->x, 82 + 500);
  }
}

TEST_F(FramePlanTest, HoveredHexGivesTheInfoLineAndItsRoadsInThePreview) {
  struct Case {
    uint16_t terrain;
    const char* name;
    std::string line;
  } cases[] = {{kRiceFields, "Oslo", "Rice Fields  (4,3) Oslo"},
               {21, "", "21  (4,3) "},
               {7, "", "Sand  (4,3) "}};
  map.cell(3, 4).roads = 0x05;
  map.cell(3, 4).flags = kAutoRoadMark;
  for (const Case& c : cases) {
    map.cell(3, 4).terrain = c.terrain;
    names.nameIndex[3][4] = uint8_t(names.AddName(c.name));
    PointerEvent e = At(3, 4);
    FramePlan plan = PlanAt(e.x, e.y);
    EXPECT_EQ(view->currentCell, &map.cell(3, 4));
    EXPECT_EQ(planner.infoLine(), c.line);
    EXPECT_NE(FindText(plan, c.line), nullptr);
  }
  const PointerEvent e = At(3, 4);
  const ScreenRect preview = view->screen.roadPreview;
  FramePlan plan = PlanAt(e.x, e.y);
  ASSERT_EQ(Frames(plan.panelSprites, Sheet::kRoads), (std::vector<int>{0, 2, 8}));
  EXPECT_EQ(plan.panelSprites.front(),
            (SpriteDraw{Sheet::kRoads, 1, 0, preview.left + 65, preview.top + 3, preview}));
  const TextDraw* roads = FindText(plan, "5");
  ASSERT_NE(roads, nullptr);
  EXPECT_EQ(roads->x, preview.left + 34);
  EXPECT_TRUE(PlanAt(e.x, e.y, /*picture=*/false).panelSprites.empty());
}

TEST_F(FramePlanTest, SetDataSlotsShowTerrainRoadsThenTheNameOrNoName) {
  const int slot = names.AddName("Trondheim");
  struct Case {
    int nameToSet;
    std::string name;
  } cases[] = {{0, "No name"}, {slot, "Trondheim"}, {slot + 1, "No name"}};
  view->dataToSet.terrain = kSwamp;
  view->dataToSet.roads = 0x44;
  for (const Case& c : cases) {
    view->nameToSet = c.nameToSet;
    FramePlan plan = PlanOffMap();
    EXPECT_EQ(TextsAt(plan, view->screen.setDataPanel.left + 3),
              (std::vector<std::string>{"Swamp@27", "68@115", c.name + "@71", "Brush: 1 hex@135"}));
    const TextDraw* name = FindText(plan, c.name);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->font, TextFont::kCourierNew9);
  }
}

TEST_F(FramePlanTest, FullScreenAddsTheTitleStripAndThreeWhiteTexts) {
  auto whites = [](const FramePlan& plan) {
    std::vector<TextDraw> out;
    for (const TextDraw& t : plan.texts) {
      if (t.colour == kTextWhite) out.push_back(t);
    }
    return out;
  };
  FramePlan window = PlanOffMap();
  EXPECT_EQ(window.titleStrip, ScreenRect{});
  EXPECT_TRUE(whites(window).empty());

  view->layout({0, 0, 1024, 768}, true);
  FramePlan full = PlanOffMap();
  EXPECT_EQ(full.titleStrip, (ScreenRect{0, 0, 1024, 22}));
  const std::vector<TextDraw> expected = {
      {"ALT - Menu", 7, 2, TextAnchor::kLeft, kTextWhite},
      {"F12 - WinMode", 1014, 2, TextAnchor::kRight, kTextWhite},
      {"Tesk Map Tool  *  R1", 512, 2, TextAnchor::kCentre, kTextWhite}};
  EXPECT_EQ(whites(full), expected);
}

TEST_F(FramePlanTest, StripsPressTheirButtonsAndTheModeChoosesTheChooser) {
  settings.viewToggles |= kToggleGrid | kToggleRoads;
  struct Case {
    int mode, chooserTerrain;
    std::vector<uint8_t> modes;
    std::vector<Panel> choosers;
  } cases[] = {{kSetTerrain, 5, {1, 0, 0}, {Panel::kTerrainChooser}},
               {kSetRoads, 5, {0, 1, 0}, {Panel::kRoadChooser}},
               {kSetName, 5, {0, 0, 1}, {}},
               {kSetTerrain, 20, {1, 0, 0}, {Panel::kTerrainChooser}}};
  for (const Case& c : cases) {
    view->setSetMode(c.mode);
    view->chooserTerrain = c.chooserTerrain;
    FramePlan plan = PlanOffMap();
    std::vector<Panel> panels = {Panel::kSetData};
    panels.insert(panels.end(), c.choosers.begin(), c.choosers.end());
    panels.insert(panels.end(), {Panel::kToggleStrip, Panel::kModeStrip, Panel::kRoadPreview});
    ASSERT_EQ(plan.panels.size(), panels.size());
    for (size_t i = 0; i < panels.size(); ++i) ASSERT_EQ(plan.panels[i].panel, panels[i]);
    EXPECT_EQ(FindPanel(plan, Panel::kModeStrip)->pressed, c.modes);
    EXPECT_EQ(FindPanel(plan, Panel::kToggleStrip)->pressed, (std::vector<uint8_t>{1, 0, 0, 1, 0}));
    if (const PanelDraw* chooser = FindPanel(plan, Panel::kTerrainChooser)) {
      std::vector<uint8_t> pressed(20, 0);
      if (c.chooserTerrain < 20) pressed[size_t(c.chooserTerrain)] = 1;
      EXPECT_EQ(chooser->pressed, pressed);
    }
  }
}

TEST_F(FramePlanTest, RoadToSetMarksShowTheAutoChoiceOrTheRoseBits) {
  struct Case {
    uint16_t roads;
    bool autoChoice;
    std::vector<int> frames;
    std::string slot;
  } cases[] = {{0xFF, false, {0, 1, 3, 4, 5, 7}, "255"},
               {0x11, true, {8}, " Auto"},
               {0x44, false, {}, "68"}};
  view->setSetMode(kSetRoads);
  const ScreenRect chooser = view->screen.roadChooser;
  for (const Case& c : cases) {
    view->dataToSet.roads = c.roads;
    view->setAutoChoice(c.autoChoice);
    FramePlan plan = PlanOffMap();
    EXPECT_EQ(Frames(plan.panelSprites, Sheet::kRoads), c.frames);
    for (const SpriteDraw& s : plan.panelSprites)
      EXPECT_EQ(
          s, (SpriteDraw{Sheet::kRoads, 0, s.frame, chooser.left + 25, chooser.top + 53, chooser}));
    EXPECT_NE(FindText(plan, c.slot), nullptr);
  }
}

TEST_F(FramePlanTest, StatusLineIsRedAndOpaqueWithoutAnS16Picture) {
  map.hasS16Picture = false;
  TextDraw status = PlanOffMap().texts.back();
  // Its box is the bottom bar, a pixel in from either end.
  EXPECT_EQ(status, (TextDraw{"Ready",
                              5,
                              1002,
                              TextAnchor::kLeft,
                              kTextRed,
                              TextFont::kDefault,
                              true,
                              {3, 1000, 1162, 1024}}));
  map.hasS16Picture = true;
  view->layout({0, 0, 800, 600}, true);
  status = PlanOffMap().texts.back();
  EXPECT_EQ(status, (TextDraw{"Ready",
                              4,
                              578,
                              TextAnchor::kLeft,
                              kTextGrey,
                              TextFont::kTahoma8,
                              false,
                              {2, 576, 682, 600}}));
}

TEST_F(FramePlanTest, ModifiedTextsNameWhatChanged) {
  struct Case {
    bool map, names;
    std::vector<std::string> texts;
  } cases[] = {{true, false, {" * Modified:@986", "<Map>@1002"}},
               {false, true, {" * Modified:@986", " <Names>@1002"}},
               {true, true, {" * Modified:@986", "<Map> <Names>@1002"}},
               {false, false, {}}};
  for (const Case& c : cases) {
    map.modified = c.map;
    names.namesModified = c.names;
    EXPECT_EQ(TextsAt(PlanOffMap(), view->screen.mapArea.right + 1), c.texts);
  }
}

TEST_F(FramePlanTest, ModifiedTextsShareTheBottomBarWhereTheChooserLeavesNoRoom) {
  // At 800 x 600 the terrain chooser reaches down to the bottom bar: the marks
  // move into the bar's right end, on the status line's row and in its font,
  // whichever panel the set mode shows.
  view->layout({0, 0, 800, 600}, true);
  ASSERT_GT(view->screen.terrainChooser.bottom, view->screen.bottomBar.top - 14);
  struct Case {
    bool map, names;
    std::string text;
  } cases[] = {{true, false, " * Modified: <Map>"},
               {false, true, " * Modified: <Names>"},
               {true, true, " * Modified: <Map> <Names>"}};
  for (const int mode : {kSetTerrain, kSetRoads, kSetName}) {
    view->setSetMode(mode);
    for (const Case& c : cases) {
      map.modified = c.map;
      names.namesModified = c.names;
      const FramePlan plan = PlanOffMap();
      const TextDraw* marks = FindText(plan, c.text);
      ASSERT_NE(marks, nullptr) << c.text;
      EXPECT_EQ(marks->anchor, TextAnchor::kRight);
      EXPECT_EQ(marks->x, view->screen.bottomBar.right - 2);
      EXPECT_EQ(marks->y, 578);
      EXPECT_EQ(marks->font, TextFont::kTahoma8);
      EXPECT_TRUE(TextsAt(plan, view->screen.mapArea.right + 1).empty());
      // The status line gives up the end of the bar to them.
      const TextDraw& status = plan.texts.back();
      EXPECT_EQ(status.text, "Ready");
      EXPECT_LT(status.box.right, marks->box.left);
      EXPECT_EQ(marks->box.right, view->screen.bottomBar.right - 1);
    }
  }
}

TEST_F(FramePlanTest, EveryGreyTextHasABoxOfItsOwnOffThePanels) {
  // A changed map with the pointer on a hex, so that every text shows, on
  // screens from a small window to both full-screen modes and every set mode.
  names.nameIndex[3][4] = uint8_t(names.AddName("Kirkby Lonsdale"));
  view->nameToSet = 1;
  map.modified = names.namesModified = true;
  struct Screen {
    ScreenRect rect;
    bool full;
  } screens[] = {{{0, 0, 1280, 1024}, false},
                 {{0, 0, 640, 480}, false},
                 {{0, 0, 800, 600}, true},
                 {{0, 0, 1024, 768}, true}};
  for (const Screen& screen : screens) {
    view->layout(screen.rect, screen.full);
    for (const int mode : {kSetTerrain, kSetRoads, kSetName}) {
      view->setSetMode(mode);
      const HexPos hex = view->grid.hexToPixel(3, 4);
      const FramePlan plan = PlanAt(hex.screenX + 30, hex.screenY + 25);
      const ScreenLayout& s = view->screen;
      // What the texts may not cover: the panels, but for their text slots.
      std::vector<ScreenRect> panels = {s.toggleStrip, s.modeStrip};
      if (mode == kSetTerrain) panels.push_back(s.terrainChooser);
      if (mode == kSetRoads) panels.push_back(s.roadChooser);
      auto overlaps = [](const ScreenRect& a, const ScreenRect& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
      };
      std::vector<const TextDraw*> greys;
      for (const TextDraw& t : plan.texts) {
        if (t.colour != kTextWhite) greys.push_back(&t);
      }
      // The info line, the roads value, three slots, the marks, the status line.
      ASSERT_GE(greys.size(), 7u);
      for (size_t i = 0; i < greys.size(); ++i) {
        const TextDraw& t = *greys[i];
        const ScreenRect& box = t.box;
        EXPECT_GT(box.width(), 0) << t.text;
        EXPECT_GT(box.height(), 0) << t.text;
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= screen.rect.right &&
                    box.bottom <= screen.rect.bottom)
            << t.text << " " << box;
        for (const ScreenRect& panel : panels) {
          EXPECT_FALSE(overlaps(box, panel)) << t.text << " " << box << " over " << panel;
        }
        for (size_t j = 0; j < i; ++j) {
          EXPECT_FALSE(overlaps(box, greys[j]->box))
              << t.text << " " << box << " and " << greys[j]->text << " " << greys[j]->box;
        }
      }
    }
  }
}

TEST_F(FramePlanTest, CapsWarningStandsUnderTheTerrainChooser) {
  const int32_t x = 1280 - 114 / 2 - 2;
  EXPECT_TRUE(TextsAt(PlanOffMap(), x).empty());
  view->capsWarning = 1;
  // Three pixels under the chooser, which ends at 155 + 24 + 20 * 19 = 559.
  const std::vector<std::string> lines = {"CAPS LOCK@562", "Warning@577", "R,T,N & D@592",
                                          "changes data@607"};
  EXPECT_EQ(TextsAt(PlanOffMap(), x), lines);
}

TEST_F(FramePlanTest, PictureSourceIsPulledBackToThePicturesEdge) {
  view->grid.setMapSize(1920, 1440);
  view->layout({0, 0, 1024, 768}, false);
  HexGrid& g = view->grid;
  // A scroll range left from a larger picture lets the scroll run past this one.
  g.maxScrollX = g.maxScrollY = 5000;
  g.scrollX = 1900;
  g.scrollY = 1000;
  FramePlan plan = PlanOffMap();
  EXPECT_TRUE(plan.picture.shown);
  EXPECT_EQ(plan.picture.source, (ScreenRect{1015, 722, 1920, 1440}));
  EXPECT_EQ(plan.picture.dest, g.viewRect);
  EXPECT_EQ(g.scrollX, 1015);
  EXPECT_EQ(g.scrollY, 722);

  settings.viewToggles |= kToggleZoom;
  view->applyScale();
  plan = PlanOffMap();
  EXPECT_EQ(plan.picture.source, (ScreenRect{0, 0, 1920, 1440}));
  EXPECT_EQ(plan.picture.dest, g.viewRect);
  EXPECT_FALSE(PlanAt(1250, 1000, /*picture=*/false).picture.shown);
}

TEST_F(FramePlanTest, OverlayKeyFollowsTheSelection) {
  const OverlayKey before = planner.Key(7);
  EXPECT_EQ(before.revision, 7u);
  EXPECT_EQ(planner.Key(7), before);
  Click(3, 4);
  EXPECT_NE(planner.Key(7).selection, before.selection);
  map.ClearSelection();
  EXPECT_EQ(planner.Key(7), before);
  view->flipToggle(kToggleGrid);
  EXPECT_NE(planner.Key(7), before);
}

}  // namespace
}  // namespace maptesk
