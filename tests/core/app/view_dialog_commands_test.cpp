#include "core/app/view_dialog_commands.h"

#include <gtest/gtest.h>

#include "core/view/name_picker_model.h"
#include "core/view/terrain_filter_model.h"
#include "support/scripted_dialogs.h"
#include "support/view_fixture.h"

namespace maptesk {
namespace {

class ViewDialogCommandsTest : public testing::ViewTest {
 protected:
  bool Run(int id) { return RunViewDialogCommand(id, *view, dialogs, entry); }

  testing::ScriptedDialogs dialogs;
  testing::ScriptedTextEntry entry;
};

TEST_F(ViewDialogCommandsTest, NameModeOpensThePickerAtTheNameToSet) {
  for (const char* n : {"Arnhold", "Belvar", "Corwen"}) names.AddName(n);
  view->nameToSet = 2;
  int openedAt = -1;
  dialogs.namePicker = [&](NamePickerModel& m) {
    openedAt = m.selectedLine();
    m.Select(3);
    m.Accept();
    return DialogEnd::kOk;
  };
  input->chooseNameMode();
  ASSERT_EQ(host.posted, std::vector<int>{kCmdPickName});
  EXPECT_TRUE(Run(host.posted.back()));
  EXPECT_EQ(openedAt, 2);
  EXPECT_EQ(view->nameToSet, 3);
  EXPECT_EQ(host.calls.back(), "surface") << "flipped before the dialog shows";

  dialogs.namePicker = [](NamePickerModel& m) {
    m.Select(1);
    return DialogEnd::kCancel;
  };
  EXPECT_TRUE(Run(kCmdPickName));
  EXPECT_EQ(view->nameToSet, 3) << "Cancel keeps the name to set";
}

TEST_F(ViewDialogCommandsTest, ANameAddedInThePickerIsOneStepOfTheHistory) {
  entry.replies = {std::string("Dunmere")};
  dialogs.namePicker = [](NamePickerModel& m) {
    m.Add();
    return DialogEnd::kCancel;
  };
  EXPECT_TRUE(Run(kCmdPickName));
  EXPECT_EQ(names.NameOf(1), "Dunmere");
  EXPECT_EQ(history.UndoName(), "Add name");
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(names.NameTotal(), 0);
}

TEST_F(ViewDialogCommandsTest, TerrainFilterAppliesOnlyWhenClosedWithOk) {
  const uint32_t before = settings.terrainMask;
  dialogs.terrainFilter = [](TerrainFilterModel& m) {
    m.SetAll();
    return DialogEnd::kCancel;
  };
  EXPECT_TRUE(Run(kCmdTerrainFilter));
  EXPECT_EQ(settings.terrainMask, before);
  dialogs.terrainFilter = [](TerrainFilterModel& m) {
    m.SetAll();
    return DialogEnd::kOk;
  };
  EXPECT_TRUE(Run(kCmdTerrainFilter));
  EXPECT_EQ(settings.terrainMask, kAllTerrainMask & ~1u);
  EXPECT_EQ(dialogs.ran, (std::vector<std::string>{"terrain filter", "terrain filter"}));
  EXPECT_FALSE(Run(kCmdOpenLast));
}

}  // namespace
}  // namespace maptesk
