#include "core/app/map_number_flows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "core/app/workspace.h"
#include "core/map/edit_steps.h"
#include "core/map/hex_map.h"
#include "core/settings/tool_settings.h"
#include "support/fake_picture_link.h"
#include "support/map_number_game.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::ReadBytes;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteText;

class MapNumberFlowsTest : public testing::MapNumberGameTest {
 protected:
  // The dialog is worked by `run`, which says whether it ended with OK.
  void Script(std::function<bool(MapNumberModel&)> run) {
    dialogs.mapNumber = [run](MapNumberModel& m) {
      return run(m) ? DialogEnd::kOk : DialogEnd::kCancel;
    };
  }
  bool Change(std::function<bool(MapNumberModel&)> run) {
    Script(std::move(run));
    return ChangeMapNumberCommand(*map, dialogs, pictures, EditSteps::None());
  }
  bool Create(std::function<bool(MapNumberModel&)> run) {
    Script(std::move(run));
    return CreatePictureForNumber(*map, dialogs, pictures);
  }

  testing::ScriptedDialogs dialogs;
};

TEST_F(MapNumberFlowsTest, ChangeMapNumberAdoptsNumberFolderAndOffersThePicture) {
  WriteText(game / "maps2/MAP1200.s16", "tile");
  map->MapNumber = 7;
  std::vector<std::string> assembled;
  testing::FakePictureLink link;
  link.assemble = [&](const std::string& tile) {
    assembled.push_back(tile);
    return true;
  };
  map->SetPictureLink(&link);
  prompts.Answer(true);
  EXPECT_TRUE(Change([&](MapNumberModel& m) {
    m.folder = game / "maps2";  // typed without its separator
    return m.NumberEdited("12") && m.Accept("12");
  }));
  EXPECT_TRUE(map->modified);
  EXPECT_EQ(map->MapNumber, 12);
  EXPECT_EQ(settings.mapFolder, game / "maps2/");
  EXPECT_EQ(prompts.Texts("yesno"),
            std::vector<std::string>{"\n Do you want to load the new Map picture \n"});
  EXPECT_EQ(assembled, std::vector<std::string>{game / "maps2/MAP1200.s16"});
  EXPECT_EQ(pictures.afterLoads, 1);
  EXPECT_EQ(pictures.statusLines, 1);
}

TEST_F(MapNumberFlowsTest, ChangeMapNumberCancelledSameOrWithoutPicture) {
  map->MapNumber = 5;
  testing::FakePictureLink link;
  link.assemble = [](const std::string&) -> bool {
    ADD_FAILURE() << "no picture to load";
    return false;
  };
  map->SetPictureLink(&link);
  EXPECT_FALSE(Change([](MapNumberModel&) { return false; }));
  EXPECT_FALSE(Change([](MapNumberModel& m) {
    EXPECT_EQ(m.numberLabel, "Set as map number #");
    EXPECT_EQ(m.caption(), "Map #5 size (1000 x 600) ");
    return m.Accept("5");
  }));
  EXPECT_FALSE(map->modified);
  EXPECT_EQ(pictures.statusLines, 0);

  // 70000 is refused in the dialog; 300 (no tiles) is taken without a question.
  EXPECT_TRUE(Change([](MapNumberModel& m) {
    EXPECT_FALSE(m.Accept("70000"));
    return m.Accept("300");
  }));
  EXPECT_EQ(map->MapNumber, 300);
  EXPECT_TRUE(map->modified);
  EXPECT_TRUE(prompts.Texts("yesno").empty());
  EXPECT_EQ(pictures.statusLines, 1);
}

TEST_F(MapNumberFlowsTest, CreatePictureWritesTheChosenNumberWhateverTheAnswer) {
  map->MapNumber = kNoMapNumber;
  int shownNumber = -1;
  auto chooseSeven = [&](MapNumberModel& m) {
    shownNumber = m.number;
    EXPECT_TRUE(m.createMode);
    EXPECT_EQ(m.numberLabel, "Create as MAP number");
    EXPECT_TRUE(m.NumberEdited("7"));
    EXPECT_EQ(m.okLabel(), "OK");
    return m.Accept("7");
  };
  prompts.Answer(false);
  EXPECT_TRUE(Create(chooseSeven));
  EXPECT_EQ(shownNumber, 65535);
  EXPECT_EQ(map->MapNumber, kNoMapNumber);
  EXPECT_EQ(pictures.written, std::vector<std::string>{Folder() + "MAP07"});
  EXPECT_EQ(prompts.Texts("yesno"),
            std::vector<std::string>{"\nDo you want to set map number to 7 ?\n"});

  prompts.Answer(true);
  EXPECT_TRUE(Create(chooseSeven));
  EXPECT_EQ(map->MapNumber, 7);
  EXPECT_FALSE(map->modified);

  EXPECT_FALSE(Create([](MapNumberModel&) { return false; }));
  EXPECT_EQ(pictures.written.size(), 2u);
}

TEST_F(MapNumberFlowsTest, SavingAMapWithoutPictureRunsTheStepFirst) {
  Workspace ws(prompts);
  ws.settings = settings;
  ws.map.MapNumber = kNoMapNumber;
  ws.map.columns = 45;
  ws.map.rows = 40;
  ws.settings.viewToggles &= uint16_t(~kToggleSaveClean);
  std::filesystem::create_directories(game.path() / "SCENARIO");
  ASSERT_TRUE(ws.SaveMap(game / "SCENARIO/plain.map")) << "without an application nothing is asked";
  EXPECT_TRUE(pictures.written.empty());

  ws.SetApplication(&dialogs, &pictures);
  Script([](MapNumberModel& m) { return m.Accept("7"); });
  prompts.Answer(false);
  ASSERT_TRUE(ws.SaveMap(game / "SCENARIO/new.map"));
  EXPECT_EQ(pictures.written, std::vector<std::string>{Folder() + "MAP07"});
  std::vector<uint8_t> bytes = ReadBytes(game / "SCENARIO/new.MAP");
  ASSERT_EQ(bytes.size(), kMapFileSize);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFF);
}

}  // namespace
}  // namespace maptesk
