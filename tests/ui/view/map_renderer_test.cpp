// Whole frames drawn offscreen: the kept layers give exactly the frame that
// drawing everything from scratch gives, and chosen pixels show what the
// frame should.
#include "ui/view/map_renderer.h"

#include <gtest/gtest.h>

#include <QImage>

#include "core/app/edit_history.h"
#include "core/app/workspace.h"
#include "core/map/edit_steps.h"
#include "core/view/map_view.h"
#include "support/fake_view_host.h"
#include "support/picture_files.h"
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

}  // namespace
}  // namespace maptesk
