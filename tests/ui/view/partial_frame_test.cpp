// Frames that draw only what changed: along a scripted session (pointer
// moves, edits, brush sizes, scrolls, mode switches) every frame equals the
// frame drawn from scratch, every pixel that changed was handed over to the
// output, and small changes hand over small parts.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegion>
#include <string>

#include "core/app/workspace.h"
#include "core/map/edit_steps.h"
#include "core/map/terrain_table.h"
#include "core/view/map_view.h"
#include "support/fake_view_host.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui/display/display_surfaces.h"
#include "ui/display/map_canvas.h"
#include "ui/view/map_renderer.h"

namespace maptesk {
namespace {

// Keeps what each frame handed over.
class RecordingOutput final : public DisplayOutput {
 public:
  void ShowFrame(const QImage& back, const QRect&) override {
    ++frames;
    handedOver = QRegion(back.rect());
  }
  void ShowChanged(const QImage&, const QRect&, const QRegion& changed) override {
    ++frames;
    handedOver = changed;
  }
  int frames = 0;
  QRegion handedOver;
};

int64_t AreaOf(const QRegion& region) {
  int64_t area = 0;
  for (const QRect& r : region) area += int64_t(r.width()) * r.height();
  return area;
}

// A 1600 x 1200 picture of stripes (so that a scroll changes pixels) under
// a 1280 x 1024 window, with marks on many hexes.
class PartialFrameTest : public ::testing::Test {
 protected:
  PartialFrameTest()
      : ws(prompts),
        view(ws.map, ws.names, ws.settings, host, ws.history),
        renderer(display, view, ws.picture, ws.history) {
    testing::BmpSpec spec;
    spec.width = 1600;
    spec.height = 1200;
    spec.pixels.reserve(size_t(1600) * 1200 * 3);
    for (int y = 0; y < 1200; ++y) {
      for (int x = 0; x < 1600; ++x) {
        const uint8_t v = uint8_t((x / 7 + y / 5) % 2 == 0 ? 0x30 : 0xA0);
        spec.pixels.insert(spec.pixels.end(), {v, 0x60, uint8_t(0xC0 - v / 2)});
      }
    }
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
    ws.settings.viewToggles = kToggleDrawPicture | kToggleGrid | kToggleTerrainMarks |
                              kToggleRoads | kToggleNamedHexes | kToggleLabels;
    ws.settings.terrainMask = 0xFFFFF;
    for (int r = 0; r < 24; ++r) {
      for (int c = 0; c < 30; ++c) {
        HexCell& cell = ws.map.cell(r, c);
        cell.terrain = uint16_t((r * 7 + c) % TerrainTable::kCount);
        cell.roads = uint16_t((r + c) % 3 == 0 ? kRoadN | kRoadSE : 0);
      }
    }
    ws.names.AddName("Arnhold");
    ws.names.nameIndex[4][5] = 1;
    ws.map.selected[2][3] = 1;
    inputs.pictureLoaded = true;
    inputs.edgeScroll = false;
    inputs.pointerX = inputs.pointerY = -100;
    inputs.statusLine = "Map: A.MAP #007 *  picture.bmp - 24b  (1600 x 1200)";
  }

  void PointAt(int row, int column) {
    const HexPos p = view.grid.hexToPixel(row, column);
    inputs.pointerX = p.screenX + view.grid.metrics.hexWidth / 2;
    inputs.pointerY = p.screenY + view.grid.metrics.hexHeight / 2;
  }

  // Draws a frame and checks it against the frame drawn from scratch, and
  // that every pixel that changed since the frame before was handed over.
  // Gives the part handed over.
  QRegion Step(const std::string& what) {
    const QImage before = display.backSurface().copy();
    const int frames = output.frames;
    bool drawn = false;
    EXPECT_EQ(renderer.drawFrame(inputs, &drawn), kOk) << what;
    QImage scratch(display.backSurface().size(), QImage::Format_RGB32);
    renderer.DrawUncached(inputs, scratch);
    const QImage& now = display.backSurface();
    EXPECT_TRUE(now == scratch) << what << ": the frame differs from the one drawn from scratch at "
                                << FirstDifference(now, scratch);
    const QRegion handed = output.frames == frames ? QRegion() : output.handedOver;
    EXPECT_EQ(drawn, !handed.isEmpty()) << what;
    EXPECT_EQ(handed, renderer.lastChanged()) << what;
    if (before.size() == now.size()) {
      for (int y = 0; y < now.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(now.constScanLine(y));
        for (int x = 0; x < now.width(); ++x) {
          if (a[x] != b[x] && !handed.contains(QPoint(x, y))) {
            ADD_FAILURE() << what << ": pixel (" << x << ", " << y
                          << ") changed but was not handed over";
            return handed;
          }
        }
      }
    }
    return handed;
  }

  static std::string FirstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "(sizes differ)";
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        if (a.pixel(x, y) != b.pixel(x, y)) {
          return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
      }
    }
    return "(none)";
  }

  int64_t ScreenArea() const {
    return int64_t(display.backSurface().width()) * display.backSurface().height();
  }

  testing::TempDir dir;
  testing::ScriptedPrompts prompts;
  Workspace ws;
  testing::FakeViewHost host;
  RecordingOutput output;
  DisplaySurfaces display;
  MapView view;
  MapRenderer renderer;
  FrameInputs inputs;
};

TEST_F(PartialFrameTest, EveryFrameOfAScriptedSessionEqualsTheFrameDrawnFromScratch) {
  EXPECT_EQ(AreaOf(Step("first frame")), ScreenArea()) << "the first frame is handed over whole";

  // The pointer crosses the map hex by hex, then leaves it over a button.
  const int path[][2] = {{3, 4}, {3, 5}, {4, 5}, {5, 6}, {5, 7}, {6, 7}};
  for (const auto& hex : path) {
    PointAt(hex[0], hex[1]);
    const QRegion part =
        Step("pointer at " + std::to_string(hex[0]) + "," + std::to_string(hex[1]));
    EXPECT_LT(AreaOf(part), ScreenArea() / 10) << "a pointer move hands over a small part";
  }
  inputs.pointerX = view.screen.toggleStrip.left + 30;
  inputs.pointerY = view.screen.toggleStrip.top + 10;
  Step("pointer over the zoom button");
  EXPECT_TRUE(Step("nothing changed").isEmpty()) << "a frame with nothing new hands nothing over";

  // Edits: a terrain, roads and a name, then a selection.
  PointAt(5, 6);
  Step("back on the map");
  {
    EditStep step(ws.history, "Paint terrain");
    ws.map.cell(5, 6).terrain = kCity;
    ws.map.modified = true;
  }
  const QRegion edit = Step("after painting a hex");
  EXPECT_LT(AreaOf(edit), ScreenArea() / 10) << "an edit of one hex hands over a small part";
  {
    EditStep step(ws.history, "Set roads");
    ws.map.cell(6, 6).roads = kRoadS | kRoadNW;
    ws.map.cell(6, 6).flags = kAutoRoadMark;
  }
  Step("after setting roads");
  ws.names.nameIndex[6][7] = 1;
  ws.map.selected[6][7] = 1;
  Step("after naming and selecting a hex");

  // The brush grows and shrinks under a moving pointer.
  ws.settings.brushRadius = 2;
  Step("a brush of 19 hexes");
  PointAt(7, 8);
  Step("the big brush moved");
  ws.settings.brushRadius = 1;
  Step("a brush of 7 hexes");
  PointAt(8, 8);
  Step("the brush moved");
  {
    EditStep step(ws.history, "Paint terrain");
    for (const HexOffset& h : view.brushHexes()) ws.map.cell(h.row, h.column).terrain = kForest;
  }
  Step("after painting with the brush");

  // Mode switches change the panels of the right column.
  view.setSetMode(kSetRoads);
  Step("roads mode");
  view.setSetMode(kSetName);
  Step("name mode");
  view.setSetMode(kSetTerrain);
  Step("terrain mode");
  view.capsWarning = 1;
  Step("Caps Lock on");
  view.capsWarning = 0;
  Step("Caps Lock off");

  // A scroll moves everything; a pointer move after it is small again.
  view.grid.scrollTo(40, 30);
  EXPECT_EQ(AreaOf(Step("after scrolling")), ScreenArea());
  PointAt(9, 9);
  EXPECT_LT(AreaOf(Step("pointer after the scroll")), ScreenArea() / 10);

  // The zoomed view and back.
  view.flipToggle(kToggleZoom);
  view.applyScale();
  Step("zoomed");
  PointAt(10, 12);
  Step("pointer in the zoomed view");
  {
    EditStep step(ws.history, "Paint terrain");
    ws.map.cell(10, 12).terrain = kSwamp;
  }
  Step("an edit in the zoomed view");
  view.flipToggle(kToggleZoom);
  view.applyScale();
  Step("back to the normal view");
  ws.history.Undo();
  Step("undo");
  ws.history.Redo();
  Step("redo");
}

TEST_F(PartialFrameTest, AChangeOfManyHexesAndANewSurfaceDrawTheWholeFrame) {
  Step("first frame");
  {
    EditStep step(ws.history, "Global terrain change");
    for (auto& row : ws.map.cells) {
      for (HexCell& cell : row) cell.terrain = kSwamp;
    }
  }
  Step("every hex changed");
  // A new back surface of the same size starts with nothing on it.
  QRect rect;
  display.InitWindowed(rect, 32, QSize(1280, 1024));
  EXPECT_EQ(AreaOf(Step("a new surface")), ScreenArea());
  // Anything else drawing on the back surface makes the next frame whole.
  display.FillBackRect(0, 0, 100, 100, 0xFF0000);
  EXPECT_EQ(AreaOf(Step("after someone else drew")), ScreenArea());
  renderer.PictureChanged();
  EXPECT_EQ(AreaOf(Step("a new picture")), ScreenArea());
}

TEST_F(PartialFrameTest, FullScreenFramesEqualTheFrameDrawnFromScratch) {
  QRect rect(0, 0, 800, 600);
  int bits = 16;
  display.SetScreenSize(QSize(1920, 1080));
  ASSERT_EQ(display.InitFullScreen(rect, bits, 2), kOk);
  view.layout({0, 0, 800, 600}, true);
  EXPECT_EQ(AreaOf(Step("first full-screen frame")), int64_t(800) * 600);
  ws.settings.brushRadius = 1;
  const int path[][2] = {{2, 3}, {2, 4}, {3, 4}, {4, 6}};
  for (const auto& hex : path) {
    PointAt(hex[0], hex[1]);
    EXPECT_LT(AreaOf(Step("pointer at " + std::to_string(hex[0]) + "," + std::to_string(hex[1]))),
              int64_t(800) * 600 / 4);
  }
  {
    EditStep step(ws.history, "Paint terrain");
    for (const HexOffset& h : view.brushHexes()) ws.map.cell(h.row, h.column).terrain = kHill;
    ws.map.modified = true;
  }
  Step("painted in full screen");
  view.capsWarning = 1;
  Step("Caps Lock warning in full screen");
}

TEST(MapCanvasParts, ARepaintCoversTheChangedPartWhereverTheFrameIsShown) {
  MapCanvas canvas(nullptr);
  // 1:1: the same rectangles.
  canvas.resize(640, 480);
  QImage same(640, 480, QImage::Format_RGB32);
  canvas.SetBack(&same);
  const QRegion part(QRect(10, 20, 30, 40));
  EXPECT_EQ(canvas.ToWidget(part), part);
  // A 800 x 600 frame shown at 1440 x 1080 between black bars: each back
  // pixel of the part lands inside the repainted widget part.
  canvas.resize(1920, 1080);
  QImage mode(800, 600, QImage::Format_RGB32);
  canvas.SetBack(&mode);
  const QRect shown = canvas.ShownRect();
  ASSERT_EQ(shown, QRect(240, 0, 1440, 1080));
  const QRect changed(101, 53, 17, 9);
  const QRegion widget = canvas.ToWidget(QRegion(changed));
  for (int y = shown.top(); y <= shown.bottom(); y += 1) {
    for (int x = shown.left(); x <= shown.right(); x += 1) {
      const QPoint back = canvas.ToBack(QPoint(x, y));
      if (changed.contains(back)) {
        ASSERT_TRUE(widget.contains(QPoint(x, y))) << x << "," << y;
      }
    }
  }
  EXPECT_LT(AreaOf(widget), 40 * 30) << "and not much more";
}

// Keeps a copy of the frame it was given.
class KeepingOutput final : public DisplayOutput {
 public:
  void ShowFrame(const QImage& back, const QRect&) override { shown = back.copy(); }
  QImage shown;
};

QImage ReducedWhole(const QImage& back) {
  KeepingOutput out;
  DisplaySurfaces display;
  display.Create(&out);
  display.SetScreenSize(QSize(1920, 1080));
  QRect rect(0, 0, back.width(), back.height());
  int bits = 8;
  EXPECT_EQ(display.InitFullScreen(rect, bits, 1), kOk);
  display.backSurface() = back.copy();
  EXPECT_EQ(display.Flip(), kOk);
  return out.shown;
}

TEST_F(PartialFrameTest, An8BitScreenIsShownReducedEverywhereAfterPartialFrames) {
  KeepingOutput keep;
  DisplaySurfaces eight;
  eight.Create(&keep);
  eight.SetScreenSize(QSize(1920, 1080));
  QRect rect(0, 0, 640, 480);
  int bits = 8;
  ASSERT_EQ(eight.InitFullScreen(rect, bits, 1), kOk);
  MapRenderer small(eight, view, ws.picture, ws.history);
  small.build();
  view.layout({0, 0, 640, 480}, true);
  const int path[][2] = {{2, 3}, {2, 4}, {3, 4}};
  ASSERT_EQ(small.drawFrame(inputs), kOk);
  for (const auto& hex : path) {
    PointAt(hex[0], hex[1]);
    ASSERT_EQ(small.drawFrame(inputs), kOk);
    EXPECT_LT(AreaOf(small.lastChanged()), int64_t(640) * 480 / 4);
    EXPECT_TRUE(keep.shown == ReducedWhole(eight.backSurface()))
        << "the frame shown at " << hex[0] << "," << hex[1]
        << " is the whole back surface reduced to the palette";
  }
}

}  // namespace
}  // namespace maptesk
