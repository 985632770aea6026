#include "core/picture/open_map_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/settings/tool_settings.h"
#include "support/fake_number_host.h"
#include "support/map_fixtures.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::PatternMapFile;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteBytes;
using testing::WriteText;

class OpenMapModelTest : public ::testing::Test {
 protected:
  OpenMapModelTest() {
    settings.scnFolder = game / "SCENARIO/";
    settings.mapFolder = game / "MAP/";
    for (auto [name, number] : {std::pair{"a.map", 5},
                                {"B.MAP", 123},
                                {"d.map", 10000},
                                {"c_long_scenario_name_here.map", 12},
                                {"none.map", 0xFFFF}}) {
      WriteBytes(game / "SCENARIO/" + name, PatternMapFile(uint16_t(number), 45, 40));
    }
    WriteBytes(game / "SCENARIO/short.map", {0x05});
    WriteText(game / "SCENARIO/readme.txt", "not a map");
    std::filesystem::create_directories(game / "SCENARIO/folder.map");
    for (const char* tile : {"MAP/MAP0500.s16", "MAP/map12300.S16", "MAP/MAP1000000.s16",
                             "MAP/MAP0000.SHP", "MAP/MAP0500.shp"}) {
      WriteText(game / tile, "tile");
    }
    pictures.sizes[game / "MAP/MAP0500.s16"] = {1920, 1920};
    pictures.sizes[game / "MAP/map12300.S16"] = {640, 480};
  }
  std::vector<std::string> LineTexts() const {
    std::vector<std::string> out;
    for (const auto& line : model.lines()) out.push_back(line.text);
    return out;
  }
  int LineOf(const OpenMapModel& m, const std::string& fileName) const {
    for (size_t i = 0; i < m.lines().size(); ++i) {
      if (m.records()[m.lines()[i].record].fileName == fileName) return int(i);
    }
    return -1;
  }

  TempDir game;
  ToolSettings settings;
  ScriptedPrompts prompts;
  testing::FakeNumberHost pictures;
  OpenMapModel model{settings, prompts, pictures};
};

TEST_F(OpenMapModelTest, ListsEveryMapInBothLayoutsAndNumbersByValue) {
#ifdef __linux__
  // A regular file whose first bytes cannot be read, even by root: left out.
  std::filesystem::create_symlink("/proc/self/mem", game.path() / "SCENARIO/b2.map");
#endif
  ASSERT_TRUE(model.Start());
  EXPECT_EQ(model.countText(), "6 Maps found");
  // 65535 and a file too short to hold a number list as -1; a long name is
  // never cut; 10000 comes after 123, not before it as text.
  EXPECT_EQ(LineTexts(), (std::vector<std::string>{
                             "  -1  none.map................ No Pic ",
                             "  -1  short.map............... No Pic ",
                             "   5  a.map................... Ok ",
                             "  12  c_long_scenario_name_here.map No Pic ",
                             " 123  B.MAP................... Ok ",
                             "10000  d.map................... Ok ",
                         }));
  model.SelectSort(OpenMapModel::kByName);
  EXPECT_EQ(LineTexts(), (std::vector<std::string>{
                             "a.map.....................   5  ok",
                             "B.MAP..................... 123  ok",
                             "c_long_scenario_name_here.map..  12  No Pic",
                             "d.map.....................10000  ok",
                             "none.map..................  -1  No Pic",
                             "short.map.................  -1  No Pic",
                         }));
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(OpenMapModelTest, TheSelectedMapsPictureIsPreviewed) {
  ASSERT_TRUE(model.Start());
  EXPECT_EQ(model.selectedLine(), 0);
  EXPECT_EQ(model.caption(), "Picture for Map: -1 * not FOUND");
  struct Case {
    const char* map;
    std::string caption;
    PictureSize size;  // {} when nothing is drawn
  };
  for (const Case& c : {
           Case{"a.map", "Picture for Map: 5 (1920 x 1920) ", {300, 300}},
           Case{"c_long_scenario_name_here.map", "Picture for Map: 12 * not FOUND", {}},
           Case{"d.map", "Picture for Map: 10000", {}},  // a tile the preview cannot read
           Case{"B.MAP", "Picture for Map: 123 (640 x 480) ", {100, 75}},
       }) {
    model.SelectLine(LineOf(model, c.map));
    EXPECT_EQ(model.caption(), c.caption) << c.map;
    EXPECT_EQ(model.previewLoaded(), c.size.width > 0) << c.map;
    EXPECT_EQ(model.previewSize(), c.size) << c.map;
  }
  EXPECT_EQ(model.previewFile(), game / "MAP/map12300.S16");
  // Another order keeps the map selected.
  model.SelectSort(OpenMapModel::kByName);
  EXPECT_EQ(model.selectedLine(), 1);
  EXPECT_TRUE(model.previewLoaded());
}

TEST_F(OpenMapModelTest, LoadReturnsTheMapAndWhatItsPictureIs) {
  struct Case {
    bool shp;
    const char* map;          // "" selects nothing
    const char* picturePath;  // under the game folder
    bool noPicture;
    bool foreignPicture;
  };
  for (const Case& c : {
           Case{false, "a.map", "", false, false},
           Case{false, "c_long_scenario_name_here.map", "", true, true},
           Case{true, "a.map", "MAP/MAP0500.shp", false, true},
           Case{true, "B.MAP", "", true, true},
           Case{false, "", "", true, false},
       }) {
    settings.mapFolder = "old/";
    OpenMapModel m(settings, prompts, pictures);
    m.picFolder = game / "MAP/";
    ASSERT_TRUE(m.Start());
    if (c.shp) {
      ASSERT_TRUE(m.SetSearchShp(true));
    }
    if (*c.map == '\0') {
      m.scenarioFolder = game / "empty/";
      ASSERT_TRUE(m.Refresh());
    }
    m.SelectLine(LineOf(m, c.map));
    m.Accept();
    const std::string label = std::string(c.map) + (c.shp ? " SHP" : " S16");
    EXPECT_EQ(m.mapPath(), *c.map ? game / "SCENARIO/" + c.map : "") << label;
    EXPECT_EQ(m.picturePath(), *c.picturePath ? game / c.picturePath : "") << label;
    EXPECT_EQ(m.noPicture(), c.noPicture) << label;
    EXPECT_EQ(m.foreignPicture(), c.foreignPicture) << label;
    // The S16 folder looked in becomes the MAP folder; an SHP one does not.
    EXPECT_EQ(settings.mapFolder, c.shp ? "old/" : game / "MAP/") << label;
  }
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(OpenMapModelTest, AScenarioFolderTakesTheMapFolderBesideIt) {
  for (bool beside : {true, false}) {
    TempDir other;
    WriteBytes(other / "SCENARIO/x.map", PatternMapFile(7, 45, 40));
    WriteText(other / "MAP/MAP0700.s16", "tile");
    if (beside) WriteText(other / "MAP/map0000.S16", "tile");
    ScriptedPrompts asked;
    OpenMapModel m(settings, asked, pictures);
    ASSERT_TRUE(m.Start());
    asked.AnswerPath(other / "SCENARIO/");
    if (!beside) asked.AnswerPath(other / "MAP/");
    ASSERT_TRUE(m.ChooseScenarioFolder());
    std::vector<std::string> expected{"Select SCENARIO folder (for .map files)|" +
                                      (game / "SCENARIO/")};
    if (!beside) expected.push_back("Select MAP folder (for Tesk .s16 files)|" + (game / "MAP/"));
    EXPECT_EQ(asked.Texts("folder"), expected) << beside;
    EXPECT_EQ(m.picFolder, other / "MAP/") << beside;
    ASSERT_EQ(m.lines().size(), 1u);
    EXPECT_EQ(m.lines()[0].text, "   7  x.map................... Ok ");
  }
}

TEST_F(OpenMapModelTest, SearchingShpAsksForAFolderWithoutShpPictures) {
  WriteText(game / "ZEB/MAP0000.shp", "tile");
  WriteText(game / "ZEB/map0500.SHP", "tile");
  model.picFolder = game / "ZEB/";
  ASSERT_TRUE(model.Start());
  // No S16 first tile there: the chooser is cancelled, the folder kept.
  prompts.AnswerCancel();
  ASSERT_TRUE(model.SetSearchShp(false));
  ASSERT_TRUE(model.SetSearchShp(true));  // ZEB has MAP0000.shp: not asked
  prompts.AnswerPath(game / "MAP/");
  ASSERT_TRUE(model.ChoosePictureFolder());
  EXPECT_EQ(
      prompts.Texts("folder"),
      (std::vector<std::string>{"Select MAP folder (for Tesk .s16 files)|" + (game / "ZEB/"),
                                "Select MAP folder (for Zeb .shp files)|" + (game / "ZEB/")}));
  EXPECT_EQ(model.picFolder, game / "MAP/");
  EXPECT_EQ(model.lines()[size_t(LineOf(model, "a.map"))].text,
            "   5  a.map................... Ok ");
  EXPECT_EQ(model.lines()[size_t(LineOf(model, "B.MAP"))].text,
            " 123  B.MAP................... No Pic ");
}

}  // namespace
}  // namespace maptesk
