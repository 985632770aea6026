#include "core/app/workspace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/map/edit_steps.h"
#include "support/map_fixtures.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::TempDir;
using testing::WriteBytes;
using testing::WriteText;

class WorkspaceTest : public ::testing::Test {
 protected:
  WorkspaceTest() : ws(prompts) {
    ws.settings.gameFolder = dir.str();
    ws.settings.mapFolder = dir / "MAP/";
    ws.settings.viewToggles &= uint16_t(~kToggleSaveClean);
    std::filesystem::create_directories(dir.path() / "MAP");
    WriteBytes(dir / "SCENARIO/a.MAP", testing::PatternMapFile(9, 45, 40));
    WriteBytes(dir / "SCENARIO/b.MAP", testing::PatternMapFile(8, 45, 40));
  }
  void Paint(int row, int column, uint16_t terrain) {
    EditStep step(ws.history, "Paint terrain");
    ws.map.cell(row, column).terrain = terrain;
    ws.map.modified = true;
  }

  TempDir dir;
  testing::ScriptedPrompts prompts;
  Workspace ws;
};

TEST_F(WorkspaceTest, OpeningAnotherMapEmptiesTheHistoryAndAFailedOpenDoesNot) {
  ASSERT_TRUE(ws.OpenMap(dir / "SCENARIO/a.MAP"));
  Paint(1, 1, 7);
  ASSERT_TRUE(ws.history.CanUndo());
  prompts.AnswerPath("");  // the chooser offered for a missing map is cancelled
  EXPECT_FALSE(ws.OpenMap(dir / "SCENARIO/missing.MAP"));
  EXPECT_TRUE(ws.history.CanUndo()) << "the open map and its history stay";
  const uint64_t before = ws.history.revision();
  ASSERT_TRUE(ws.OpenMap(dir / "SCENARIO/b.MAP"));
  EXPECT_FALSE(ws.history.CanUndo());
  EXPECT_FALSE(ws.map.modified);
  EXPECT_NE(ws.history.revision(), before);
}

TEST_F(WorkspaceTest, ModifiedFollowsUndoAndRedoAroundTheLastSave) {
  ASSERT_TRUE(ws.OpenMap(dir / "SCENARIO/a.MAP"));
  Paint(1, 1, 7);
  Paint(1, 2, 7);
  ASSERT_TRUE(ws.SaveMap(""));
  EXPECT_FALSE(ws.map.modified);
  ASSERT_TRUE(ws.history.Undo());
  EXPECT_TRUE(ws.map.modified) << "the file holds the second hex";
  ASSERT_TRUE(ws.history.Redo());
  EXPECT_FALSE(ws.map.modified) << "back where the file is";
  ASSERT_TRUE(ws.history.Undo());
  Paint(3, 3, 2);  // cuts the saved state off
  EXPECT_TRUE(ws.map.modified);
  EXPECT_FALSE(ws.history.CanRedo());
}

TEST_F(WorkspaceTest, ASaveThatDropsTheMarksTellsWhatShowsThem) {
  ASSERT_TRUE(ws.OpenMap(dir / "SCENARIO/a.MAP"));
  uint64_t revision = ws.history.revision();
  ASSERT_TRUE(ws.SaveMap(""));
  EXPECT_EQ(ws.history.revision(), revision) << "nothing in memory changed";
  ws.settings.viewToggles |= kToggleSaveClean;
  ASSERT_TRUE(ws.SaveMap(""));
  EXPECT_NE(ws.history.revision(), revision) << "the marks are gone from memory";
}

TEST_F(WorkspaceTest, LoadingANamesFileIsOneStepAndMatchesTheFile) {
  ASSERT_TRUE(ws.OpenMap(dir / "SCENARIO/a.MAP"));
  ws.names.AddName("Old");
  ws.names.nameIndex[0][0] = 1;
  WriteText(dir / "MAP/other.TXT", "header\n(1,2) #Arnhold\n(3,4) #Belvar\n");
  ASSERT_TRUE(ws.LoadNamesFile(dir / "MAP/other.TXT"));
  EXPECT_EQ(ws.names.NameTotal(), 2);
  EXPECT_EQ(ws.names.nameIndex[0][0], 0);
  EXPECT_FALSE(ws.names.namesModified);
  EXPECT_EQ(ws.history.UndoName(), "Load names file");

  ASSERT_TRUE(ws.history.Undo());
  EXPECT_EQ(ws.names.NameTotal(), 1);
  EXPECT_EQ(ws.names.NameOf(1), "Old");
  EXPECT_EQ(ws.names.nameIndex[0][0], 1);
  EXPECT_TRUE(ws.names.namesModified) << "no longer what the file holds";
  EXPECT_FALSE(ws.map.modified) << "the map was not touched";
}

}  // namespace
}  // namespace maptesk
