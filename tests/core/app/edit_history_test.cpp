#include "core/app/edit_history.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "core/settings/tool_settings.h"
#include "support/scripted_prompts.h"

namespace maptesk {
namespace {

// A map with its names under a history, and the edits the editor makes:
// each sets its flag eagerly, as editing code does.
struct Doc {
  explicit Doc(size_t budget = EditHistory::kDefaultBudget) : history(map, names, budget) {}
  void Paint(int row, int column, int terrain, std::string_view name = "Paint terrain") {
    EditStep step(history, name);
    map.cell(row, column).terrain = uint16_t(terrain);
    map.modified = true;
  }
  void PaintAll(int terrain) {
    EditStep step(history, "Fill");
    for (auto& row : map.cells) {
      for (HexCell& cell : row) cell.terrain = uint16_t(terrain);
    }
    map.modified = true;
  }
  void Name(int row, int column, const std::string& text) {
    EditStep step(history, "Name hex");
    names.nameIndex[size_t(row)][size_t(column)] = uint8_t(names.AddName(text));
    names.namesModified = true;
  }

  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map{settings, prompts};
  MapNames names{map, settings, prompts};
  EditHistory history;
};

// The two documents whose saved marks the history keeps apart.
struct Document {
  const char* what;
  void (*change)(Doc&, int value);
  bool& (*flag)(Doc&);
  bool& (*otherFlag)(Doc&);
};
bool& MapFlag(Doc& d) { return d.map.modified; }
bool& NamesFlag(Doc& d) { return d.names.namesModified; }
const Document kDocuments[] = {
    {"map", [](Doc& d, int v) { d.Paint(1, 2, v); }, MapFlag, NamesFlag},
    {"names", [](Doc& d, int v) { d.Name(1, 2, "Town " + std::to_string(v)); }, NamesFlag, MapFlag},
};

TEST(EditHistory, ADragWithNestedStepsIsOneStepUndoneInOneGo) {
  Doc d;
  const HexCell before{3, 0x11, 7, 0x0205};
  for (int c = 0; c < 5; ++c) d.map.cell(2, c) = before;
  {
    EditStep drag(d.history, "Paint terrain");
    for (int c = 0; c < 5; ++c) {
      EditStep inner(d.history, "Set hex");
      d.map.cell(2, c).terrain = 4;
      d.map.cell(2, c).roads = 0;
      d.map.modified = true;
    }
    EXPECT_TRUE(d.history.StepOpen());
  }
  EXPECT_FALSE(d.history.StepOpen());
  EXPECT_EQ(d.history.StepCount(), 1u);
  EXPECT_EQ(d.history.UndoName(), "Paint terrain");
  EXPECT_EQ(d.history.RedoName(), "");

  ASSERT_TRUE(d.history.Undo());
  for (int c = 0; c < 5; ++c) EXPECT_EQ(d.map.cell(2, c), before) << c;
  EXPECT_FALSE(d.map.modified);
  EXPECT_EQ(d.history.UndoName(), "");
  EXPECT_EQ(d.history.RedoName(), "Paint terrain");
  EXPECT_FALSE(d.history.Undo());

  ASSERT_TRUE(d.history.Redo());
  for (int c = 0; c < 5; ++c) EXPECT_EQ(d.map.cell(2, c), (HexCell{4, 0, 7, 0x0205})) << c;
  EXPECT_TRUE(d.map.modified);
  EXPECT_FALSE(d.history.Redo());
}

TEST(EditHistory, SavedMarkFollowsUndoAndRedoForEachDocument) {
  for (const Document& doc : kDocuments) {
    // A save reaches the history through SyncSavedMarks or the next step.
    for (bool explicitSync : {true, false}) {
      SCOPED_TRACE(std::string(doc.what) + (explicitSync ? " synced" : " by next step"));
      Doc d;
      std::vector<bool> flags;
      doc.change(d, 1);
      flags.push_back(doc.flag(d));
      doc.flag(d) = false;
      if (explicitSync) d.history.SyncSavedMarks();
      doc.change(d, 2);
      flags.push_back(doc.flag(d));
      for (bool undo : {true, true, false, false}) {
        ASSERT_TRUE(undo ? d.history.Undo() : d.history.Redo());
        flags.push_back(doc.flag(d));
        EXPECT_FALSE(doc.otherFlag(d));
      }
      EXPECT_EQ(flags, (std::vector<bool>{true, true, false, true, false, true}));
    }
  }
}

TEST(EditHistory, StepsOfOneDocumentLeaveTheOtherDocumentsFlag) {
  Doc d;
  {
    EditStep step(d.history, "Name hex");
    d.names.nameIndex[0][0] = uint8_t(d.names.AddName("Oran"));
    d.map.modified = true;  // set eagerly by a tool that touched only names
  }
  EXPECT_FALSE(d.map.modified);
  d.Paint(0, 0, 5);
  struct Move {
    bool saveMapFirst, undo;
    bool mapModified, namesModified;
  };
  // Positions: 0 both saved, 1 after the names step, 2 after the map step.
  const Move moves[] = {
      {false, true, false, true},   // to 1: only a names step away from the map's save
      {false, false, true, true},   // to 2
      {true, true, true, true},     // map saved at 2, back to 1
      {false, true, true, false},   // to 0
      {false, false, true, true},   // to 1
      {false, false, false, true},  // to 2, the map's saved state again
  };
  for (size_t i = 0; i < std::size(moves); ++i) {
    SCOPED_TRACE(i);
    if (moves[i].saveMapFirst) d.map.modified = false;
    ASSERT_TRUE(moves[i].undo ? d.history.Undo() : d.history.Redo());
    EXPECT_EQ(d.map.modified, moves[i].mapModified);
    EXPECT_EQ(d.names.namesModified, moves[i].namesModified);
  }
}

TEST(EditHistory, ANewStepCutsOffTheRedoSteps) {
  Doc d;
  d.Paint(0, 0, 1, "A");
  d.Paint(0, 1, 2, "B");
  ASSERT_TRUE(d.history.Undo());
  EXPECT_EQ(d.history.RedoName(), "B");
  d.Paint(0, 2, 3, "C");
  EXPECT_FALSE(d.history.CanRedo());
  EXPECT_EQ(d.history.RedoName(), "");
  EXPECT_EQ(d.history.StepCount(), 2u);
  EXPECT_EQ(d.history.UndoName(), "C");
  ASSERT_TRUE(d.history.Undo());
  EXPECT_EQ(d.history.UndoName(), "A");
  EXPECT_EQ(d.map.cell(0, 1).terrain, 0);
  EXPECT_EQ(d.map.cell(0, 2).terrain, 0);
}

TEST(EditHistory, ASavedStateCutOffStaysModifiedUntilTheNextSave) {
  for (const Document& doc : kDocuments) {
    SCOPED_TRACE(doc.what);
    Doc d;
    doc.change(d, 1);
    doc.change(d, 2);
    doc.flag(d) = false;
    ASSERT_TRUE(d.history.Undo());
    doc.change(d, 3);
    EXPECT_TRUE(doc.flag(d));
    for (bool undo : {true, true, false, false}) {
      ASSERT_TRUE(undo ? d.history.Undo() : d.history.Redo());
      EXPECT_TRUE(doc.flag(d));
    }
    doc.flag(d) = false;
    ASSERT_TRUE(d.history.Undo());
    EXPECT_TRUE(doc.flag(d));
    ASSERT_TRUE(d.history.Redo());
    EXPECT_FALSE(doc.flag(d));
  }
}

TEST(EditHistory, AStepThatChangesNothingLeavesNoStepAndRestoresTheFlags) {
  for (bool mapFlag : {false, true}) {
    for (bool namesFlag : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "map " << mapFlag << " names " << namesFlag);
      Doc d;
      d.map.modified = mapFlag;
      d.names.namesModified = namesFlag;
      const uint64_t revision = d.history.revision();
      {
        EditStep step(d.history, "Paint terrain");
        d.map.cell(3, 3).terrain = 9;
        d.map.cell(3, 3).terrain = 0;
        d.names.nameIndex[3][3] = 0;
        d.map.modified = d.names.namesModified = true;
      }
      EXPECT_EQ(d.history.StepCount(), 0u);
      EXPECT_FALSE(d.history.CanUndo());
      EXPECT_EQ(d.history.revision(), revision);
      EXPECT_EQ(d.map.modified, mapFlag);
      EXPECT_EQ(d.names.namesModified, namesFlag);
    }
  }
}

TEST(EditHistory, ClearEmptiesTheHistoryAndRevisionsNeverRepeat) {
  for (bool modifiedAtClear : {false, true}) {
    SCOPED_TRACE(modifiedAtClear);
    Doc d;
    std::set<uint64_t> seen{d.history.revision()};
    // Paint, paint, undo, redo, undo, then Clear, then paint again.
    for (int op = 0; op < 7; ++op) {
      if (op < 2 || op == 6) {
        d.Paint(0, 0, op + 1);
      } else if (op == 5) {
        d.map.modified = modifiedAtClear;
        d.history.Clear();
        EXPECT_FALSE(d.history.CanRedo());
        EXPECT_EQ(d.history.MemoryUsed(), 0u);
      } else {
        ASSERT_TRUE(op % 2 ? d.history.Redo() : d.history.Undo());
      }
      EXPECT_TRUE(seen.insert(d.history.revision()).second) << op;
    }
    EXPECT_EQ(d.history.StepCount(), 1u);
    ASSERT_TRUE(d.history.Undo());
    EXPECT_FALSE(d.history.CanUndo());
    EXPECT_EQ(d.map.modified, modifiedAtClear);
  }
}

TEST(EditHistory, UndoingNamesStepsRestoresTheListCountIndexAndPath) {
  Doc d;
  d.names.nameIndex[0][0] = uint8_t(d.names.AddName("Oran"));
  d.names.namesPath = "a.txt";
  {
    EditStep step(d.history, "Name hex");
    d.names.nameIndex[3][4] = uint8_t(d.names.AddName("Tlemcen"));
    d.names.namesPath = "b.txt";
  }
  {
    EditStep step(d.history, "Clear names");
    d.names.ClearNames();
  }
  struct State {
    int nameCount;
    const char* first;
    const char* second;
    int slot00, slot34;
    const char* path;
  };
  // The list grows by one name, then is emptied.
  const State states[] = {
      {2, "Oran", "", 1, 0, "a.txt"}, {3, "Oran", "Tlemcen", 1, 2, "b.txt"}, {0, "", "", 0, 0, ""}};
  const std::pair<bool, int> moves[] = {{true, 1}, {true, 0}, {false, 1}, {false, 2}};
  for (auto [undo, at] : moves) {
    SCOPED_TRACE(at);
    ASSERT_TRUE(undo ? d.history.Undo() : d.history.Redo());
    const State& want = states[at];
    EXPECT_EQ(d.names.nameCount, want.nameCount);
    EXPECT_EQ(d.names.NameOf(1), want.first);
    EXPECT_EQ(d.names.NameOf(2), want.second);
    EXPECT_EQ(d.names.FindName("Tlemcen"), want.slot34);
    EXPECT_EQ(d.names.nameIndex[0][0], want.slot00);
    EXPECT_EQ(d.names.nameIndex[3][4], want.slot34);
    EXPECT_EQ(d.names.namesPath, want.path);
    EXPECT_FALSE(d.map.modified);
  }
}

TEST(EditHistory, UndoingAMapNumberChangeMovesThePictureLinkBack) {
  Doc d;
  d.map.MapNumber = 3;
  d.map.CheckPicture();
  const std::string picture3 = d.map.pictureFile;
  {
    EditStep step(d.history, "Map number");
    d.map.MapNumber = 7;
    d.map.CheckPicture();
  }
  const std::string picture7 = d.map.pictureFile;
  ASSERT_NE(picture3, picture7);
  ASSERT_TRUE(d.history.Undo());
  EXPECT_EQ(d.map.MapNumber, 3);
  EXPECT_EQ(d.map.pictureFile, picture3);
  EXPECT_FALSE(d.map.modified);
  ASSERT_TRUE(d.history.Redo());
  EXPECT_EQ(d.map.MapNumber, 7);
  EXPECT_EQ(d.map.pictureFile, picture7);
  EXPECT_TRUE(d.map.modified);
}

TEST(EditHistory, TheBudgetDropsTheOldestSteps) {
  Doc measure;
  measure.PaintAll(1);
  const size_t perStep = measure.history.MemoryUsed();
  // Honest: at least the cells held; compact: an index and a cell per hex.
  EXPECT_GE(perStep, kMapCells * sizeof(HexCell));
  EXPECT_LE(perStep, kMapCells * (sizeof(HexCell) + sizeof(uint16_t)) + 1024);

  Doc d(3 * perStep + perStep / 2);
  for (int t = 1; t <= 9; ++t) d.PaintAll(t);
  d.map.modified = false;
  d.PaintAll(10);
  EXPECT_EQ(d.history.StepCount(), 3u);
  EXPECT_LE(d.history.MemoryUsed(), 3 * perStep + perStep / 2);
  ASSERT_TRUE(d.history.Undo());
  EXPECT_FALSE(d.map.modified);
  ASSERT_TRUE(d.history.Undo());
  ASSERT_TRUE(d.history.Undo());
  EXPECT_FALSE(d.history.CanUndo());
  EXPECT_EQ(d.map.cell(39, 44).terrain, 7);
  EXPECT_TRUE(d.map.modified);

  // The newest step stays even when it alone exceeds the budget.
  Doc tiny(1);
  tiny.Paint(0, 0, 1);
  tiny.Paint(0, 0, 2);
  EXPECT_EQ(tiny.history.StepCount(), 1u);
  ASSERT_TRUE(tiny.history.Undo());
  EXPECT_EQ(tiny.map.cell(0, 0).terrain, 1);
}

TEST(EditHistory, UndoClosesAnOpenStepFirst) {
  Doc d;
  {
    EditStep step(d.history, "Paint terrain");
    d.map.cell(0, 0).terrain = 6;
    ASSERT_TRUE(d.history.Undo());
    EXPECT_EQ(d.map.cell(0, 0).terrain, 0);
    EXPECT_FALSE(d.history.StepOpen());
  }
  EXPECT_EQ(d.history.StepCount(), 1u);
  EXPECT_EQ(d.history.RedoName(), "Paint terrain");
  d.Paint(1, 1, 2);
  EXPECT_EQ(d.history.StepCount(), 1u);
  EXPECT_FALSE(d.history.CanRedo());
}

}  // namespace
}  // namespace maptesk
