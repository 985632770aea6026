#include "core/picture/new_map_model.h"

#include <gtest/gtest.h>

#include "core/app/workspace.h"
#include "core/util/path_utils.h"
#include "core/view/frame_plan.h"
#include "core/view/hex_grid.h"
#include "core/view/map_view.h"
#include "support/fake_view_host.h"
#include "support/map_fixtures.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using namespace testing;

std::vector<uint8_t> SmallBmp() {
  return BmpFile({.width = 2, .height = 2, .pixels = std::vector<uint8_t>(16, 0x40)});
}

class NewMapModelTest : public ::testing::Test {
 protected:
  NewMapModelTest() { settings.scnFolder = dir / "SCENARIO/"; }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& e : model.entries()) out.push_back(e.text + " " + e.path);
    return out;
  }
  TempDir dir;
  ToolSettings settings;
  ScriptedPrompts prompts;
  NewMapModel model{settings, prompts};
};

TEST_F(NewMapModelTest, ListsTheFirstTilesOfSetsAndTheBmpFilesOfTheFolder) {
  for (const char* name : {"MAP0500.s16", "MAP0510.s16", "MAP12300.s16", "MAP500.s16", "MAP00.s16",
                           "MAP0700.shp", "MAP0701.shp", "b.bmp", "A.BMP", "notes.txt"}) {
    WriteText(dir / name, "not a picture");
  }
  struct Case {
    PictureType type;
    std::vector<std::string> lines;
  } cases[] = {
      // MAP500 is map 5 written with one digit: its line opens its own set.
      {PictureType::kS16,
       {"MAP005 " + dir / "MAP0500.s16", "MAP005 " + dir / "MAP500.s16",
        "MAP123 " + dir / "MAP12300.s16"}},
      {PictureType::kShp, {"MAP007 " + dir / "MAP0700.shp"}},
      {PictureType::kBmp, {"A.BMP " + dir / "A.BMP", "b.bmp " + dir / "b.bmp"}},
  };
  model.Start(dir.str());
  for (const Case& c : cases) {
    model.SetPictureType(c.type);
    EXPECT_EQ(Texts(), c.lines) << int(c.type);
  }
}

TEST_F(NewMapModelTest, PreviewAndNewMapFollowThePicture) {
  struct Case {
    PictureType type;
    std::string file;
    std::vector<uint8_t> bytes;  // empty: a set of 3 x 4 cells, their heads alone
    PictureSize scaled;
    MapSize mapSize;
    std::optional<uint16_t> number;
  } cases[] = {
      {PictureType::kS16, "MAP1200.s16", {}, {330, 330}, {39, 44}, 12},
      {PictureType::kS16, "MAP0500.s16", S16Head(640, 480), {110, 82}, {10, 16}, 5},
      {PictureType::kShp, "MAP0700.shp", ShpFile(479, 639, 0, 0, 0, {0}), {110, 82}, {10, 16}, 7},
      {PictureType::kBmp, "terrain07.bmp", SmallBmp(), {0, 0}, {1, 2}, 7},
      {PictureType::kBmp, "pic65535.bmp", SmallBmp(), {0, 0}, {1, 2}, std::nullopt},
  };
  for (const Case& c : cases) {
    TempDir pictures;
    for (const char* tile : {"00", "10", "20", "01", "02", "03"}) {
      if (c.bytes.empty())
        WriteBytes(pictures / ("MAP12" + std::string(tile) + ".s16"), S16Head(640, 480));
    }
    if (!c.bytes.empty()) WriteBytes(pictures / c.file, c.bytes);
    NewMapModel m(settings, prompts);
    m.SetPictureType(c.type);
    m.Start(pictures.str());
    ASSERT_TRUE(m.previewLoaded()) << c.file;
    EXPECT_EQ(m.previewSize(), c.scaled) << c.file;
    m.SetFitToFrame(true);
    EXPECT_EQ(m.previewSize(), (PictureSize{330, 330})) << c.file;

    ASSERT_TRUE(m.Accept());
    EXPECT_EQ(m.result().picturePath, pictures / c.file);
    EXPECT_EQ(m.result().mapSize, c.mapSize) << c.file;
    EXPECT_EQ(m.result().mapNumber, c.number) << c.file;
    EXPECT_EQ(m.result().mapPath, dir / "SCENARIO/" + PathPart(c.file, kPartName) + ".map");
    EXPECT_EQ(settings.bmpFolder, pictures.str());
  }
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(NewMapModelTest, MapSizeIsTheGridTheViewLaysOverThePicture) {
  const PictureSize sizes[] = {{0, 0},       {44, 49},     {90, 100},    {990, 800},    {1000, 800},
                               {1035, 1999}, {1920, 1920}, {1980, 2000}, {16384, 16384}};
  for (PictureSize p : sizes) {
    int32_t lastRow = 0, lastColumn = 0;
    HexGrid::GridLimitsFor(p.width, p.height, lastRow, lastColumn);
    EXPECT_EQ(NewMapModel::MapSizeFor(p),
              (MapSize{uint16_t(lastRow + 1), uint16_t(lastColumn + 1)}))
        << p.width << " x " << p.height;
  }
}

TEST_F(NewMapModelTest, LoadRefusesAnUnreadablePictureNotAnEmptyList) {
  settings.bmpFolder = "/elsewhere/";
  WriteBytes(dir / "broken.bmp", {'B', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  model.Start(dir.str());
  EXPECT_FALSE(model.DoubleClickEntry(0));
  EXPECT_EQ(prompts.Texts("error").back(), "Cannot open [" + dir / "broken.bmp" + "]");
  EXPECT_EQ(settings.bmpFolder, "/elsewhere/");
  // With nothing listed, "LOAD" chooses no picture but keeps the folder.
  model.SetPictureType(PictureType::kS16);
  EXPECT_TRUE(model.Accept());
  EXPECT_EQ(model.result().picturePath, "");
  EXPECT_EQ(settings.bmpFolder, dir.str());
}

TEST_F(NewMapModelTest, BrowsingTakesOnlyAnotherFolder) {
  TempDir other;
  WriteBytes(other / "MAP0500.s16", S16Head(640, 480));
  model.SetPictureType(PictureType::kS16);
  model.Start(dir.str());
  prompts.AnswerPath(dir.str());
  model.ChooseFolder();
  WriteBytes(dir / "MAP0900.s16", S16Head(640, 480));
  EXPECT_TRUE(model.entries().empty());  // the same folder is not read again
  prompts.AnswerPath(other.path().string());
  model.ChooseFolder();
  EXPECT_EQ(model.folder(), other.str());
  EXPECT_EQ(Texts(), (std::vector<std::string>{"MAP005 " + other / "MAP0500.s16"}));
  EXPECT_EQ(prompts.Texts("folder").front(), "Select folder for S16 files|" + dir.str());
}

// The dialog previews S16, SHP and BMP pictures and is cancelled: the map's
// picture, what it exports and what the view draws over it are unchanged.
TEST_F(NewMapModelTest, CancelLeavesTheMapsPictureExportsAndOverlaysAsTheyWere) {
  Workspace ws(prompts);
  ws.settings.mapFolder = dir / "MAP/";
  ws.settings.bmpFolder = dir / "MAP/";
  ws.settings.viewToggles |= kToggleGrid | kToggleTerrainMarks | kToggleRoads;
  WriteBytes(dir / "MAP/MAP0500.s16",
             S16Plain(200, 150, [](int x, int y) { return uint16_t(x * 97 + y * 31); }));
  WriteBytes(dir / "SCENARIO/A.MAP", PatternMapFile(5, 45, 40));
  ASSERT_TRUE(ws.OpenMap(dir / "SCENARIO/A.MAP"));
  ASSERT_TRUE(ws.picture.loaded);

  FakeViewHost host;
  MapView view(ws.map, ws.names, ws.settings, host, ws.history);
  view.grid.setMapSize(ws.picture.width, ws.picture.height);
  view.layout({0, 0, 1280, 1024}, false);
  FramePlanner planner(view);
  auto snapshot = [&](const std::string& exported) {
    FrameInputs in;
    in.pointerX = 300;
    in.pointerY = 200;
    in.pictureLoaded = ws.picture.loaded;
    FramePlan plan = planner.Plan(in);
    std::vector<SpriteDraw> overlays;
    planner.PlanOverlays(overlays);
    EXPECT_TRUE(ws.picture.Save(exported));
    return std::make_tuple(plan, overlays, ReadBytes(exported), ws.picture.fullPath,
                           ws.picture.fileName, ws.settings.bmpFolder);
  };
  const auto before = snapshot(dir / "before.bmp");
  ASSERT_FALSE(std::get<1>(before).empty());

  TempDir pictures;
  WriteBytes(pictures / "MAP0900.s16", S16Plain(640, 480, [](int, int) { return 0xF800; }));
  WriteBytes(pictures / "MAP0700.shp", ShpFile(99, 99, 0, 0, 99, {200, 7, 0}));
  WriteBytes(pictures / "other.bmp", SmallBmp());
  {
    NewMapModel m(ws.settings, prompts);
    m.Start(pictures.str());
    for (PictureType type : {PictureType::kS16, PictureType::kShp, PictureType::kBmp}) {
      m.SetPictureType(type);
      EXPECT_TRUE(m.previewLoaded()) << int(type);
    }
  }
  EXPECT_EQ(snapshot(dir / "after.bmp"), before);
}

}  // namespace
}  // namespace maptesk
