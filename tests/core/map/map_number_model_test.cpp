#include "core/map/map_number_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/map/hex_map.h"
#include "core/settings/tool_settings.h"
#include "support/map_number_game.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::ReadBytes;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteText;

class MapNumberModelTest : public testing::MapNumberGameTest {
 protected:
  std::vector<std::string> EntryTexts(const MapNumberModel& m) const {
    std::vector<std::string> out;
    for (const auto& e : m.entries()) out.push_back(e.text);
    return out;
  }
  MapNumberModel Model() {
    MapNumberModel m(*map, prompts, pictures);
    m.folder = Folder();
    return m;
  }
};

TEST_F(MapNumberModelTest, ListsEachNumberWithAFirstTileOnce) {
  WriteText(game / "MAP/MAPX00.s16", "tile");       // no number between: 0
  WriteText(game / "MAP/map500.S16", "tile");       // 5 again
  WriteText(game / "MAP/MAP-500.s16", "tile");      // no map number
  WriteText(game / "MAP/MAP99999900.s16", "tile");  // beyond 16 bits
  WriteText(game / "MAP/MAP1201.s16", "tile");      // not a first tile
  WriteText(game / "MAP/MAP12300.s16", "tile");
  WriteText(game / "MAP/MAP6553600.s16", "tile");  // 65536
  MapNumberModel m = Model();
  m.number = 77;
  m.FillList();
  EXPECT_EQ(EntryTexts(m), (std::vector<std::string>{"MAP   0", "MAP   5", "MAP  12", "MAP 123"}));
  EXPECT_EQ(m.entries()[2].number, 12);
  // No entry for 77: the first is selected and nothing is previewed.
  EXPECT_EQ(m.selectedEntry(), 0);
  EXPECT_FALSE(m.previewLoaded());
  EXPECT_EQ(m.okLabel(), "OK");
}

TEST_F(MapNumberModelTest, TypedNumberSelectsPreviewsAndRelabelsOk) {
  MapNumberModel m = Model();
  m.number = 5;
  m.Start();
  EXPECT_EQ(m.caption(), "Map #5 size (1000 x 600) ");

  EXPECT_TRUE(m.NumberEdited("12"));
  EXPECT_EQ(m.selectedEntry(), 1);
  EXPECT_EQ(m.okLabel(), "Replace");
  EXPECT_TRUE(m.previewLoaded());
  EXPECT_EQ(m.previewFile(), game / "MAP/MAP1200.s16");
  EXPECT_EQ(m.caption(), "Map #12 size (1920 x 1440) ");
  EXPECT_EQ(m.previewSize(), (PictureSize{192, 144}));

  EXPECT_TRUE(m.NumberEdited("13"));
  EXPECT_EQ(m.number, 13);
  EXPECT_EQ(m.okLabel(), "OK");
  EXPECT_EQ(m.caption(), "");
  EXPECT_FALSE(m.previewLoaded());
}

TEST_F(MapNumberModelTest, ClickPreviewsDoubleClickTakesTheNumber) {
  MapNumberModel m = Model();
  m.createMode = false;
  m.number = 40;
  m.Start();
  m.ClickEntry(1);
  EXPECT_EQ(m.number, 40);
  EXPECT_EQ(m.selectedEntry(), 1);
  EXPECT_EQ(m.caption(), "Map #12 size (1920 x 1440) ");
  // 5 loads, then a tile the picture code cannot read: no caption.
  pictures.sizes.erase(game / "MAP/MAP0500.s16");
  m.ClickEntry(0);
  EXPECT_EQ(m.caption(), "");
  EXPECT_FALSE(m.previewLoaded());
  EXPECT_EQ(pictures.loaded.back(), game / "MAP/MAP0500.s16");
  // A double click takes the number, and says "Replace" in either mode.
  m.DoubleClickEntry(1);
  EXPECT_EQ(m.number, 12);
  EXPECT_EQ(m.okLabel(), "Replace");
}

TEST_F(MapNumberModelTest, OnlyNumbersFrom0To65535AreTaken) {
  MapNumberModel m = Model();
  m.number = 12;
  m.Start();
  for (const char* bad : {"70000", "65536", "-1", "abc", "", "12x", "99999999999999999999"}) {
    EXPECT_FALSE(m.NumberEdited(bad)) << bad;
    EXPECT_FALSE(m.Accept(bad)) << bad;
    EXPECT_EQ(m.number, 12);
  }
  EXPECT_EQ(prompts.Texts("error").front(),
            "[70000] is not a map number:\nplease enter a number from 0 to 65535");
  EXPECT_TRUE(m.Accept(" 65535 "));
  EXPECT_EQ(m.number, 65535);
  EXPECT_TRUE(m.Accept("0"));
  EXPECT_EQ(m.number, 0);
}

}  // namespace
}  // namespace maptesk
