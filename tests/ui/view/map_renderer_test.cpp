// Whole frames drawn offscreen: the kept layers give exactly the frame that
// drawing everything from scratch gives, and chosen pixels show what the
// frame should.
#include "ui/view/map_renderer.h"

#include <gtest/gtest.h>

#include <QImage>

#include <QPainter>
#include <algorithm>
#include <memory>
#include <sstream>

#include "core/app/edit_history.h"
#include "core/app/status_line.h"
#include "core/app/workspace.h"
#include "core/map/edit_steps.h"
#include "core/map/terrain_table.h"
#include "core/view/map_view.h"
#include "core/view/panel_layout.h"
#include "support/fake_view_host.h"
#include "support/picture_files.h"
#include "support/run_cli.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui/display/display_surfaces.h"

namespace maptesk {
namespace {

class NoOutput final : public DisplayOutput {
 public:
  void ShowFrame(const QImage&, const QRect&) override { ++shown; }
  int shown = 0;
};

// A 1600 x 1200 map picture of one blue, larger than the view of a 1280 x
// 1024 window so that it scrolls.
class MapRendererTest : public ::testing::Test {
 protected:
  MapRendererTest()
      : ws(prompts),
        view(ws.map, ws.names, ws.settings, host, ws.history),
        renderer(display, view, ws.picture, ws.history) {
    testing::BmpSpec spec;
    spec.width = 1600;
    spec.height = 1200;
    spec.pixels.reserve(size_t(1600) * 1200 * 3);
    for (int i = 0; i < 1600 * 1200; ++i) spec.pixels.insert(spec.pixels.end(), {0xC0, 0x60, 0x20});
    testing::WriteBytes(dir / "picture.bmp", testing::BmpFile(spec));
    ws.map.loaded = true;
    ws.map.path = dir / "A.MAP";
    EXPECT_TRUE(ws.picture.LoadPicture(dir / "picture.bmp"));
    display.Create(&output);
    QRect rect;
    display.InitWindowed(rect, 32, QSize(1280, 1024));
    view.grid.setMapSize(1600, 1200);
    view.layout({0, 0, 1280, 1024}, false);
    renderer.build();
    ws.settings.viewToggles =
        kToggleDrawPicture | kToggleGrid | kToggleTerrainMarks | kToggleRoads | kToggleNamedHexes;
    inputs.pictureLoaded = true;
    inputs.edgeScroll = false;
    inputs.pointerX = inputs.pointerY = -100;
    inputs.statusLine = "Map: A.MAP #007 *  picture.bmp - 24b  (1600 x 1200)";
  }
  QImage FromScratch() {
    QImage image(display.backSurface().size(), QImage::Format_RGB32);
    renderer.DrawUncached(inputs, image);
    return image;
  }
  // The kept-layer frame equals the frame drawn from scratch.
  void ExpectSameAsFromScratch(const char* when) {
    bool drawn = false;
    ASSERT_EQ(renderer.drawFrame(inputs, &drawn), kOk) << when;
    EXPECT_TRUE(drawn) << when;
    EXPECT_TRUE(display.backSurface() == FromScratch()) << when;
  }
  QRgb At(int x, int y) const { return display.backSurface().pixel(x, y); }

  testing::TempDir dir;
  testing::ScriptedPrompts prompts;
  Workspace ws;
  testing::FakeViewHost host;
  NoOutput output;
  DisplaySurfaces display;
  MapView view;
  MapRenderer renderer;
  FrameInputs inputs;
};

TEST_F(MapRendererTest, KeptLayersGiveTheFrameDrawnFromScratch) {
  ws.map.cell(3, 3).roads = kRoadN | kRoadSE;
  ws.map.cell(4, 4).terrain = kCity;
  ws.map.cell(5, 5).flags = kAutoRoadMark;
  ws.names.AddName("Arnhold");
  ws.names.nameIndex[4][4] = 1;
  ws.map.selected[2][2] = 1;
  ExpectSameAsFromScratch("first frame");

  {
    EditStep step(ws.history, "Paint terrain");
    ws.map.cell(6, 6).terrain = kForest;
  }
  ExpectSameAsFromScratch("after an edit");
  ws.map.selected[7][7] = 1;
  ExpectSameAsFromScratch("after selecting");
  view.grid.scrollTo(40, 30);
  ExpectSameAsFromScratch("after scrolling");
  view.flipToggle(kToggleZoom);
  view.applyScale();
  ExpectSameAsFromScratch("zoomed");
  inputs.pointerX = view.grid.viewRect.left + 100;
  inputs.pointerY = view.grid.viewRect.top + 100;
  ExpectSameAsFromScratch("pointer over a hex");
}

TEST_F(MapRendererTest, AFrameWithNothingChangedDrawsNothing) {
  bool drawn = false;
  ASSERT_EQ(renderer.drawFrame(inputs, &drawn), kOk);
  EXPECT_TRUE(drawn);
  const int shown = output.shown;
  ASSERT_EQ(renderer.drawFrame(inputs, &drawn), kOk);
  EXPECT_FALSE(drawn);
  EXPECT_EQ(output.shown, shown) << "nothing presented again";
  {
    EditStep step(ws.history, "Set roads");
    ws.map.cell(1, 1).roads = kRoadS;
  }
  ASSERT_EQ(renderer.drawFrame(inputs, &drawn), kOk);
  EXPECT_TRUE(drawn) << "the history's revision changed";
}

TEST_F(MapRendererTest, ChosenPixelsShowPictureGridSelectionAndStatusLine) {
  ws.map.selected[3][4] = 1;
  ASSERT_EQ(renderer.drawFrame(inputs), kOk);
  const HexGrid& g = view.grid;
  // Inside a hex, away from every mark: the picture's own blue.
  const HexPos plain = g.hexToPixel(6, 9);
  EXPECT_EQ(At(plain.screenX + 20, plain.screenY + 12), qRgb(0x20, 0x60, 0xC0));
  // The top edge of a hex carries the grid line: darker than the picture.
  const HexPos edge = g.hexToPixel(6, 9);
  EXPECT_LT(qGray(At(edge.screenX + 30, edge.screenY)), qGray(qRgb(0x20, 0x60, 0xC0)));
  // A selected hex is marked in yellow near its edge.
  const HexPos sel = g.hexToPixel(3, 4);
  bool yellow = false;
  for (int dy = 0; dy < 6 && !yellow; ++dy) {
    const QRgb p = At(sel.screenX + 30, sel.screenY + dy);
    yellow = qRed(p) > 180 && qGreen(p) > 160 && qBlue(p) < 100;
  }
  EXPECT_TRUE(yellow);
  // Without an S16 picture the status line is red on white.
  const ScreenRect& bar = view.screen.bottomBar;
  bool red = false;
  for (int x = bar.left + 3; x < bar.left + 200 && !red; ++x) {
    for (int y = bar.top + 2; y < bar.top + 18 && !red; ++y) {
      const QRgb p = At(x, y);
      red = qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80;
    }
  }
  EXPECT_TRUE(red);
}

// --- Terrain marks ---------------------------------------------------------------

struct ScaleCase {
  int scale;
  bool zoomed;
  uint8_t displayMode;  ///< 2, the 800 x 600 mode, takes the smaller zoomed scale
};
constexpr ScaleCase kScales[] = {{0, false, 0}, {1, true, 0}, {2, true, 2}};

// A terrain value past the table: its hexes get no mark.
constexpr uint16_t kNoMark = 99;

// How far apart two pixels are to the eye: the largest channel difference.
int ChannelDistance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b))});
}

class TerrainMarksTest : public MapRendererTest {
 protected:
  void UseScale(const ScaleCase& c, uint16_t toggles) {
    ws.settings.terrainMask = (1u << TerrainTable::kCount) - 1;  // every terrain marked
    ws.settings.displayMode = c.displayMode;
    ws.settings.viewToggles = kToggleDrawPicture | toggles | (c.zoomed ? kToggleZoom : 0);
    view.applyScale();
    ASSERT_EQ(view.overlayScale, c.scale);
  }
  void FillTerrain(uint16_t terrain) {
    for (int row = 0; row <= HexGrid::kLastRow; ++row) {
      for (int column = 0; column <= HexGrid::kLastColumn; ++column) {
        ws.map.cell(row, column).terrain = terrain;
      }
    }
  }
  // The frame with the terrain marks, and the same frame without them.
  std::pair<QImage, QImage> WithAndWithoutMarks() {
    const uint16_t toggles = ws.settings.viewToggles;
    const QImage marked = FromScratch();
    ws.settings.viewToggles = toggles & uint16_t(~kToggleTerrainMarks);
    const QImage bare = FromScratch();
    ws.settings.viewToggles = toggles;
    return {marked, bare};
  }
  // The screen rectangle of a hex at the current scale.
  QRect HexFrame(int row, int column) const {
    const HexPos p = view.grid.hexToPixel(row, column);
    return QRect(p.screenX, p.screenY, view.grid.metrics.hexWidth, view.grid.metrics.hexHeight);
  }
};

TEST_F(TerrainMarksTest, EveryTerrainLeavesPartOfEachOfItsHexesShowingAtEveryScale) {
  // A whole field of one terrain: zoomed out, marks that fill their hexes or
  // reach into the next ones would run together into one slab.
  for (const ScaleCase& c : kScales) {
    UseScale(c, kToggleTerrainMarks);
    for (int terrain = 0; terrain < TerrainTable::kCount; ++terrain) {
      FillTerrain(uint16_t(terrain));
      const auto [marked, bare] = WithAndWithoutMarks();
      for (int row = 3; row <= 6; ++row) {
        for (int column = 3; column <= 7; ++column) {
          const QRect frame = HexFrame(row, column);
          int inside = 0;
          int showing = 0;
          for (int y = frame.top(); y <= frame.bottom(); ++y) {
            for (int x = frame.left(); x <= frame.right(); ++x) {
              const HexPos under = view.grid.pixelToHex(x, y);
              if (under.row != row || under.column != column) continue;
              ++inside;
              if (marked.pixel(x, y) == bare.pixel(x, y)) ++showing;
            }
          }
          ASSERT_GT(inside, 0);
          EXPECT_GE(showing * 4, inside)
              << TerrainTable::Name(terrain) << " at scale " << c.scale << ": only " << showing
              << " of the " << inside << " pixels of hex (" << column << "," << row
              << ") still show the map";
        }
      }
    }
  }
}

TEST_F(TerrainMarksTest, EveryTwoTerrainsLookDifferentAtEveryScale) {
  const int row = 4;
  const int column = 5;
  for (const ScaleCase& c : kScales) {
    // With the grid, as a user sees them: at the small scales it crosses the marks.
    UseScale(c, kToggleTerrainMarks | kToggleGrid);
    FillTerrain(kNoMark);
    const QRect frame = HexFrame(row, column);
    QImage bare;
    std::vector<QImage> looks;
    for (int terrain = 0; terrain < TerrainTable::kCount; ++terrain) {
      ws.map.cell(row, column).terrain = uint16_t(terrain);
      const auto [marked, unmarked] = WithAndWithoutMarks();
      // With a margin round the hex: a mark that reaches past it counts too.
      looks.push_back(marked.copy(frame.adjusted(-16, -11, 16, 11)));
      bare = unmarked.copy(frame.adjusted(-16, -11, 16, 11));
    }
    for (int a = 0; a < TerrainTable::kCount; ++a) {
      for (int b = a + 1; b < TerrainTable::kCount; ++b) {
        int drawn = 0;
        int different = 0;
        for (int y = 0; y < bare.height(); ++y) {
          for (int x = 0; x < bare.width(); ++x) {
            const QRgb pa = looks[size_t(a)].pixel(x, y);
            const QRgb pb = looks[size_t(b)].pixel(x, y);
            if (pa == bare.pixel(x, y) && pb == bare.pixel(x, y)) continue;
            ++drawn;
            if (ChannelDistance(pa, pb) > 48) ++different;
          }
        }
        // A fifth of the marks' pixels clearly different: more than a
        // thinner line or a shade of the same ground.
        EXPECT_GE(different * 5, drawn)
            << TerrainTable::Name(a) << " and " << TerrainTable::Name(b) << " at scale " << c.scale
            << ": " << different << " of " << drawn << " pixels differ";
      }
    }
  }
}

// The art is drawn to the layout's sizes and the view cuts it by them: a
// picture of another size would shift every button and frame.
TEST(PanelArt, EachPictureHasTheSizeTheLayoutCutsItBy) {
  const struct {
    const char* file;
    int width;
    int height;
  } rows[] = {
      {":/art/art_153_toggle_strip.bmp", kToggleStripWidth, 2 * kStripHeight},
      {":/art/art_188_mode_strip.bmp", kPanelWidth, 2 * kStripHeight},
      {":/art/art_189_set_data.bmp", kPanelWidth, kSetDataHeight},
      {":/art/art_186_terrain_chooser.bmp", 2 * kPanelWidth,
       ScreenLayout::kTerrainButtons * kTerrainButtonHeight},
      {":/art/art_183_road_chooser.bmp", kPanelWidth, kRoadChooserHeight},
      {":/art/art_159_road_preview.bmp", kRoadPreviewWidth, kRoadPreviewHeight},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(QImage(r.file).size(), QSize(r.width, r.height)) << r.file;
  }
  // The sheets hold their frames: nine road frames and three grid frames in
  // a row per scale, the rows one below the other.
  int rows3 = 0;
  for (const SpriteFrameSize& f : kHexFrameSizes) rows3 += f.height;
  const QSize grid = QImage(":/art/art_133_grid.bmp").size();
  const QSize roads = QImage(":/art/art_139_roads.bmp").size();
  EXPECT_GE(grid.width(), 3 * kHexFrameSizes[0].width);
  EXPECT_GE(roads.width(), 9 * kHexFrameSizes[0].width);
  EXPECT_GE(grid.height(), rows3);
  EXPECT_GE(roads.height(), rows3);
  EXPECT_GE(QImage(":/art/art_144_terrain_icons.bmp").width(), 21 * kTerrainIconFrame.width);
}

TEST(TerrainLabelArt, EachNameStaysInsideItsLabelClearOfTheBorder) {
  const QImage sheet =
      QImage(":/art/art_162_terrain_labels.bmp").convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(sheet.size(), QSize(58, 381));
  const QRgb key = sheet.pixel(0, 0);
  for (int k = 0; k < TerrainTable::kCount; ++k) {
    const QImage frame = sheet.copy(0, 19 * k, 58, 19);
    QRect label;
    for (int y = 0; y < frame.height(); ++y) {
      for (int x = 0; x < frame.width(); ++x) {
        if (frame.pixel(x, y) != key) label |= QRect(x, y, 1, 1);
      }
    }
    ASSERT_FALSE(label.isEmpty()) << TerrainTable::Name(k);
    const QRgb border = frame.pixel(label.topLeft());
    // The label's face: the colour inside the border just below its top.
    const QRgb face = frame.pixel(label.left() + 1, label.top() + 1);
    QRect text;
    for (int y = label.top(); y <= label.bottom(); ++y) {
      for (int x = label.left(); x <= label.right(); ++x) {
        const QRgb p = frame.pixel(x, y);
        const bool onBorder =
            x == label.left() || x == label.right() || y == label.top() || y == label.bottom();
        if (onBorder) {
          EXPECT_EQ(p, border) << TerrainTable::Name(k) << ": the border is broken at (" << x << ","
                               << y << ")";
        } else if (p != face) {
          text |= QRect(x, y, 1, 1);
        }
      }
    }
    ASSERT_FALSE(text.isEmpty()) << TerrainTable::Name(k) << ": no name on the label";
    // At least a pixel of the face between the name and the border all round.
    EXPECT_TRUE(label.adjusted(2, 2, -2, -2).contains(text))
        << TerrainTable::Name(k) << ": the name covers " << text.left() << ".." << text.right()
        << " x " << text.top() << ".." << text.bottom() << " of a label " << label.left() << ".."
        << label.right() << " x " << label.top() << ".." << label.bottom();
  }
}

// --- Texts in their places ----------------------------------------------------

// The screens a new user meets: a window of a laptop's work area and the two
// full-screen modes.
struct ScreenCase {
  const char* name;
  int width;
  int height;
  int mode;  ///< 0 a window, else the full-screen display mode
};
constexpr ScreenCase kScreens[] = {
    {"window 1366 x 706", 1366, 706, 0}, {"800 x 600", 800, 600, 2}, {"1024 x 768", 1024, 768, 3}};

// The pixels a drawing left, as the bounding rectangle of every pixel that
// is not transparent.
QRect InkOf(const QImage& layer) {
  QRect ink;
  for (int y = 0; y < layer.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
    for (int x = 0; x < layer.width(); ++x) {
      if (qAlpha(line[x]) != 0) ink |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

QRect ToQRect(const ScreenRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

std::string Describe(const QRect& r) {
  std::ostringstream out;
  out << "(" << r.left() << "," << r.top() << ")-(" << r.right() + 1 << "," << r.bottom() + 1
      << ")";
  return out.str();
}

// The sample game's first map, open in a screen, changed in its map and its
// names so that the modified marks show.
class FrameTextsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    game_ = new testing::TempDir;
    ASSERT_EQ(testing::RunCli({"sample", *game_ / "game"}, *game_).status, 0);
  }
  static void TearDownTestSuite() {
    delete game_;
    game_ = nullptr;
  }

  struct Open {
    explicit Open(const ScreenCase& screen)
        : ws(prompts), view(ws.map, ws.names, ws.settings, host, ws.history) {
      const std::string game = game_->str() + "game/";
      ws.settings.gameFolder = game;
      ws.settings.mapFolder = game + "MAP/";
      ws.settings.scnFolder = game + "SCENARIO/";
      ws.settings.bmpFolder = ws.settings.mapFolder;
      ws.settings.displayMode = uint8_t(screen.mode);
      ok = ws.OpenMap(game + "SCENARIO/ARDEN.MAP") && ws.picture.loaded;
      {
        EditStep step(ws.history, "Paint and name");
        ws.map.cell(2, 3).terrain = kLakeRegion;
        ws.names.nameIndex[2][3] = uint8_t(ws.names.AddName("Lower Wenning"));
      }
      ok = ok && ws.map.modified && ws.names.namesModified;
      display.Create(&output);
      QRect rect;
      if (screen.mode != 0) {
        display.SetScreenSize(QSize(screen.width, screen.height));
        int bits = 16;
        ok = ok && display.InitFullScreen(rect, bits, screen.mode) == kOk;
      } else {
        ok = ok && display.InitWindowed(rect, 32, QSize(screen.width, screen.height)) == kOk;
      }
      ok = ok && display.backSurface().size() == QSize(screen.width, screen.height);
      view.grid.setMapSize(ws.picture.width, ws.picture.height);
      view.layout({0, 0, screen.width, screen.height}, screen.mode != 0);
      renderer = std::make_unique<MapRenderer>(display, view, ws.picture, ws.history);
      renderer->build();
      ws.settings.viewToggles = kToggleDrawPicture | kToggleGrid | kToggleTerrainMarks |
                                kToggleRoads | kToggleNamedHexes | kToggleLabels;
      view.setSetMode(kSetTerrain);
      view.nameToSet = ws.names.nameCount - 1;
      // The pointer rests on the hex just changed: the info line and the
      // roads value show.
      const HexPos hex = view.grid.hexToPixel(2, 3);
      inputs.pointerX = hex.screenX + 30;
      inputs.pointerY = hex.screenY + 25;
      inputs.edgeScroll = false;
      inputs.pictureLoaded = true;
      inputs.statusLine = StatusLineText(ws.map, ws.picture);
      inputs.releaseTitle = "2.01c - Feb 2008";
    }

    testing::ScriptedPrompts prompts;
    Workspace ws;
    testing::FakeViewHost host;
    NoOutput output;
    DisplaySurfaces display;
    MapView view;
    std::unique_ptr<MapRenderer> renderer;
    FrameInputs inputs;
    bool ok = false;
  };

  // Where the texts of a frame may go: the places the panels leave for them.
  // Each text must lie wholly inside the place that holds its anchor.
  static std::vector<std::pair<const char*, QRect>> Places(const MapView& view) {
    const ScreenLayout& s = view.screen;
    std::vector<std::pair<const char*, QRect>> places;
    if (s.fullScreen) places.emplace_back("title strip", ToQRect(s.titleStrip));
    places.emplace_back("info line", QRect(QPoint(s.toggleStrip.right, s.topBar.top),
                                           QPoint(s.roadPreview.left - 1, s.mapArea.top - 1)));
    // Inside the sunken boxes, clear of their edge lines.
    const ScreenRect& p = s.roadPreview;
    places.emplace_back("roads value", QRect(p.left + 33, p.top + 3, 29, 16));
    const ScreenRect& d = s.setDataPanel;
    for (int top : {26, 70, 114}) {
      places.emplace_back("set-data slot", QRect(d.left + 3, d.top + top + 1, 107, 15));
    }
    // Under the last box: the brush's size.
    places.emplace_back("brush size", QRect(d.left + 3, d.top + 135, 107, 18));
    // The right panel below the lowest of its panels, and the bottom bar.
    int32_t below = s.modeStrip.bottom;
    if (view.setMode() == kSetTerrain) below = s.terrainChooser.bottom;
    if (view.setMode() == kSetRoads) below = s.roadChooser.bottom;
    places.emplace_back("right panel",
                        QRect(QPoint(s.rightPanel.left, below + 1),
                              QPoint(s.rightPanel.right - 1, s.rightPanel.bottom - 1)));
    places.emplace_back("bottom bar", ToQRect(s.bottomBar));
    return places;
  }

  // Draws every text of the frame alone, on a canvas reaching past the
  // screen, and checks that its pixels lie inside its place and clear of
  // every other text.
  static void ExpectTextsInPlace(Open& o, const char* when) {
    const FramePlan plan = o.renderer->planner().Plan(o.inputs);
    const auto places = Places(o.view);
    const int margin = 64;
    const QSize screen = o.display.backSurface().size();
    std::vector<std::pair<std::string, QRect>> inks;
    for (const TextDraw& text : plan.texts) {
      if (text.text.empty()) continue;
      QImage layer(screen + QSize(2 * margin, 2 * margin), QImage::Format_ARGB32);
      layer.fill(Qt::transparent);
      {
        QPainter painter(&layer);
        painter.translate(margin, margin);
        // Uncut: a text its box had to cut does not fit it.
        MapRenderer::DrawText(painter, text, /*cut=*/false);
      }
      const QRect ink = InkOf(layer).translated(-margin, -margin);
      ASSERT_FALSE(ink.isEmpty()) << when << ": \"" << text.text << "\" draws nothing";
      int32_t anchorX = text.x;
      if (text.anchor == TextAnchor::kRight) anchorX -= 1;
      const QPoint anchor(anchorX, text.y + 1);
      const auto place = std::find_if(places.begin(), places.end(),
                                      [&](const auto& p) { return p.second.contains(anchor); });
      if (place == places.end()) {
        ADD_FAILURE() << when << ": \"" << text.text << "\" starts where no text belongs, at ("
                      << anchor.x() << "," << anchor.y() << ")";
        continue;
      }
      EXPECT_TRUE(place->second.contains(ink))
          << when << ": \"" << text.text << "\" covers " << Describe(ink) << ", past its "
          << place->first << " " << Describe(place->second);
      for (const auto& [other, otherInk] : inks) {
        EXPECT_FALSE(ink.intersects(otherInk))
            << when << ": \"" << text.text << "\" lies over \"" << other << "\"";
      }
      inks.emplace_back(text.text, ink);
    }
  }

  static testing::TempDir* game_;
};

testing::TempDir* FrameTextsTest::game_ = nullptr;

// With MAPTESK_DIALOG_SHOTS naming a folder, the frame is kept there to look at.
void KeepFrame(MapRenderer& renderer, const FrameInputs& inputs, QSize size, const char* name) {
  const QByteArray folder = qgetenv("MAPTESK_DIALOG_SHOTS");
  if (folder.isEmpty()) return;
  QImage frame(size, QImage::Format_RGB32);
  renderer.DrawUncached(inputs, frame);
  frame.save(QString::fromLocal8Bit(folder) + "/frame_" + name + ".png");
}

TEST_F(FrameTextsTest, EveryTextOfAChangedMapFitsItsPlaceOnEveryScreen) {
  for (const ScreenCase& screen : kScreens) {
    Open o(screen);
    ASSERT_TRUE(o.ok) << screen.name;
    KeepFrame(*o.renderer, o.inputs, QSize(screen.width, screen.height),
              std::to_string(screen.width).c_str());
    ExpectTextsInPlace(o, screen.name);
    // Every terrain name in the terrain box, the longest included.
    for (int terrain = 0; terrain < TerrainTable::kCount; ++terrain) {
      o.view.dataToSet.terrain = uint16_t(terrain);
      ExpectTextsInPlace(o,
                         (std::string(screen.name) + ", " + TerrainTable::Name(terrain)).c_str());
    }
    o.view.setSetMode(kSetRoads);
    ExpectTextsInPlace(o, (std::string(screen.name) + ", roads mode").c_str());
    o.view.setSetMode(kSetName);
    ExpectTextsInPlace(o, (std::string(screen.name) + ", names mode").c_str());
    o.view.flipToggle(kToggleZoom);
    o.view.applyScale();
    ExpectTextsInPlace(o, (std::string(screen.name) + ", zoomed out").c_str());
    KeepFrame(*o.renderer, o.inputs, QSize(screen.width, screen.height),
              (std::to_string(screen.width) + "_zoomed").c_str());
  }
}

}  // namespace
}  // namespace maptesk
