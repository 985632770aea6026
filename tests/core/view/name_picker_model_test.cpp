#include "core/view/name_picker_model.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "core/map/edit_steps.h"
#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/settings/tool_settings.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_prompts.h"

namespace maptesk {
namespace {

using testing::ScriptedPrompts;

class NamePickerModelTest : public ::testing::Test {
 protected:
  NamePickerModelTest()
      : map(std::make_unique<HexMap>(settings, prompts)),
        names(std::make_unique<MapNames>(*map, settings, prompts)),
        model(*names, prompts, entry, EditSteps::None()) {}

  ToolSettings settings;
  ScriptedPrompts prompts;
  std::unique_ptr<HexMap> map;
  std::unique_ptr<MapNames> names;
  testing::ScriptedTextEntry entry;
  std::deque<std::optional<std::string>>& replies = entry.replies;
  std::vector<std::string>& asked = entry.asked;
  NamePickerModel model;
};

TEST_F(NamePickerModelTest, NoNamesShowsOneLineAndChoosesZero) {
  model.Open(0);
  EXPECT_EQ(model.lines(), std::vector<std::string>{"[0 ]  No named"});
  EXPECT_EQ(model.selectedLine(), 0);
  EXPECT_EQ(model.Accept(), 0);
  replies = {std::string("Oran")};
  model.Add();
  EXPECT_EQ(model.lines(), (std::vector<std::string>{"[0 ]  No named", "[1]  Oran"}));
}

TEST_F(NamePickerModelTest, LinesSelectionAndChoice) {
  for (const char* n : {"Oran", "Tlemcen"}) names->AddName(n);
  model.Open(2);
  EXPECT_EQ(model.lines(),
            (std::vector<std::string>{"[0 ]  No named", "[1 ]  Oran", "[2 ]  Tlemcen"}));
  EXPECT_EQ(model.selectedLine(), 2);
  model.Select(1);
  EXPECT_EQ(model.Accept(), 1);
  EXPECT_EQ(NamePickerModel::LineText(123, "Ksar"), "[123]  Ksar");
}

TEST_F(NamePickerModelTest, LeftoverNameToSetSelectsNothingAndLeavesWithZero) {
  names->AddName("Oran");
  model.Open(9);
  EXPECT_EQ(model.selectedLine(), -1);
  EXPECT_EQ(model.Accept(), 0);
}

TEST_F(NamePickerModelTest, AddListsNewNamesOnly) {
  names->AddName("Oran");
  model.Open(1);
  model.Select(0);
  replies = {std::string("Mascara"), std::string("Oran"), std::string(""), std::nullopt};
  model.Add();
  model.Add();
  model.Add();
  model.Add();
  EXPECT_EQ(asked, std::vector<std::string>(4, "Enter new Terrain name|"));
  EXPECT_EQ(model.lines(),
            (std::vector<std::string>{"[0 ]  No named", "[1 ]  Oran", "[2]  Mascara"}));
  EXPECT_EQ(names->nameCount, 3);
  // The selection goes back to the chosen index, not to the new line.
  EXPECT_EQ(model.selectedLine(), 1);
  EXPECT_EQ(model.chosenIndex, 1);
}

TEST_F(NamePickerModelTest, AddBeyondTheLastSlotAHexCanHoldIsRefused) {
  for (int i = 1; i <= MapNames::kMaxHexSlot; ++i) names->AddName("n" + std::to_string(i));
  model.Open(0);
  replies = {std::string("one too many"), std::string("n7")};
  model.Add();
  model.Add();
  EXPECT_EQ(model.lines().size(), 256u);
  EXPECT_EQ(names->nameCount, 256);
  EXPECT_EQ(prompts.Texts("error"),
            std::vector<std::string>{
                "A map can hold no more than 255 names:\n[one too many] was not added"});
}

TEST_F(NamePickerModelTest, EditRenamesTheSelectedSlot) {
  for (const char* n : {"Oran", "Tlemcen"}) names->AddName(n);
  model.Open(0);
  model.Select(2);
  replies = {std::string("Tlemsen")};
  model.Edit();
  EXPECT_EQ(asked, std::vector<std::string>{"Edit map name|Tlemcen"});
  EXPECT_EQ(model.lines()[2], "[2 ]  Tlemsen");
  EXPECT_EQ(names->NameOf(2), "Tlemsen");
  EXPECT_TRUE(names->namesModified);
  EXPECT_EQ(model.chosenIndex, 2);
  EXPECT_EQ(model.selectedLine(), 2);
}

TEST_F(NamePickerModelTest, EditUnchangedEmptyOrCancelledTouchesNothing) {
  names->AddName("Oran");
  model.Open(1);
  replies = {std::string("Oran"), std::string(""), std::nullopt};
  const auto before = model.lines();
  model.Edit();
  model.Edit();
  model.Edit();
  EXPECT_EQ(model.lines(), before);
  EXPECT_EQ(names->NameOf(1), "Oran");
  EXPECT_FALSE(names->namesModified);
}

TEST_F(NamePickerModelTest, EditToANameAlreadyListedIsRefused) {
  for (const char* n : {"Oran", "Tlemcen"}) names->AddName(n);
  model.Open(0);
  model.Select(2);
  replies = {std::string("Oran")};
  model.Edit();
  EXPECT_EQ(names->NameOf(2), "Tlemcen");
  EXPECT_EQ(model.lines()[2], "[2 ]  Tlemcen");
  EXPECT_FALSE(names->namesModified);
  EXPECT_EQ(prompts.Texts("error"),
            std::vector<std::string>{"[Oran] is already a name of this map:\n"
                                     "two names cannot be the same"});
}

TEST_F(NamePickerModelTest, EditOnLineZeroSaysThereIsNoName) {
  names->AddName("Oran");
  model.Open(0);
  model.Edit();
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"No name to edit !"});
}

}  // namespace
}  // namespace maptesk
