#include "core/app/map_tool_app.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/check_list.h"
#include "core/app/workspace.h"
#include "core/map/edit_steps.h"
#include "core/map/map_number_model.h"
#include "core/map/terrain_table.h"
#include "core/picture/open_map_model.h"
#include "core/settings/profile_store.h"
#include "core/view/edit_input.h"
#include "core/view/map_view.h"
#include "support/fake_shell_host.h"
#include "support/fake_view_host.h"
#include "support/map_fixtures.h"
#include "support/picture_files.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::FakeShellHost;
using testing::FakeViewHost;
using testing::ReadBytes;
using testing::ScriptedDialogs;
using testing::ScriptedPrompts;
using testing::ScriptedTextEntry;
using testing::TempDir;
using testing::WriteBytes;
using testing::WriteText;

// A game of two maps: A.MAP is map 7 with a one-tile S16 picture of
// 640 x 480, B.MAP is map 9 without a picture.
class MapToolAppTest : public ::testing::Test {
 protected:
  MapToolAppTest() : ws(prompts), app(ws, dialogs, text, shell) {
    std::filesystem::create_directories(game / "SCENARIO");
    std::filesystem::create_directories(game / "MAP");
    WriteBytes(game / "SCENARIO/A.MAP", testing::PatternMapFile(7, 45, 40));
    WriteBytes(game / "SCENARIO/B.MAP", testing::PatternMapFile(9, 45, 40));
    WriteBytes(game / "MAP/MAP0700.s16",
               testing::S16Plain(640, 480, [](int, int) { return 0x1234; }));
    ws.settings.gameFolder = game.str();
    ws.settings.scnFolder = game / "SCENARIO/";
    ws.settings.mapFolder = game / "MAP/";
    ws.settings.bmpFolder = game / "MAP/";
  }

  std::string A() const { return game / "SCENARIO/A.MAP"; }
  std::string B() const { return game / "SCENARIO/B.MAP"; }
  void Modify() {
    ws.map.cell(3, 4).terrain = kForest;
    ws.map.modified = true;
  }

  TempDir game;
  ScriptedPrompts prompts;
  Workspace ws;
  ScriptedDialogs dialogs;
  ScriptedTextEntry text;
  FakeShellHost shell;
  MapToolApp app;
};

TEST_F(MapToolAppTest, OpeningAMapWithItsPictureAsksNothingAndWithoutOneOffersAPicture) {
  ASSERT_TRUE(app.OpenByName(A()));
  EXPECT_TRUE(dialogs.ran.empty());
  EXPECT_TRUE(ws.picture.loaded);
  EXPECT_EQ(app.statusLine(), "Map: " + A() + " #007 *  MAP07xx.s16  (640 x 480)");
  EXPECT_EQ(ws.settings.lastOpen, A());
  EXPECT_EQ(app.WindowTitle(), "A.MAP[*] - Tesk Map Tool");

  ASSERT_TRUE(app.OpenByName(B()));
  EXPECT_EQ(dialogs.ran, std::vector<std::string>{"new map"}) << "no S16 picture for map 9";
  EXPECT_FALSE(ws.picture.loaded) << "map 7's picture is not map 9's";
  EXPECT_EQ(ws.map.MapNumber, 9);
  EXPECT_EQ(ws.settings.lastOpen, B());
  EXPECT_NE(app.statusLine().find("#009"), std::string::npos) << app.statusLine();

  // The open-map dialog's choice goes the same way, and onto the recent list.
  dialogs.openMap = [&](OpenMapModel& m) {
    m.Start();
    for (size_t i = 0; i < m.lines().size(); ++i) {
      if (m.lines()[i].text.find("A.MAP") != std::string::npos) m.SelectLine(int(i));
    }
    m.Accept();
    return DialogEnd::kOk;
  };
  ASSERT_TRUE(app.OpenCommand());
  EXPECT_EQ(ws.map.MapNumber, 7);
  EXPECT_TRUE(ws.picture.loaded);
  EXPECT_EQ(ws.settings.recentFiles[0], A());
}

TEST_F(MapToolAppTest, ASetWithAHoleSaysSoOnTheStatusLineAndItsExportAsks) {
  // Map 7's set: tiles 00, 20 and 01, but no 10: the widths of the first
  // row give 1280, so the third column's tile lies outside the picture.
  const auto tile = testing::S16Plain(640, 480, [](int, int) { return 0x1234; });
  WriteBytes(game / "MAP/MAP0720.s16", tile);
  WriteBytes(game / "MAP/MAP0701.s16", tile);
  ASSERT_TRUE(app.OpenByName(A()));
  EXPECT_EQ(app.statusLine(),
            "Map: " + A() +
                " #007 *  MAP07xx.s16  (1280 x 960)   MAP07: tile MAP0710.s16 is missing; the "
                "picture ends before MAP0720.s16");
  EXPECT_TRUE(prompts.Texts("error").empty());
  EXPECT_TRUE(prompts.Texts("note").empty());

  // Cutting the picture back to map 7's tiles would drop MAP0720.s16: asked.
  prompts.AnswerPath(game / "MAP/MAP07.s16");
  prompts.Answer(false);
  EXPECT_FALSE(app.ExportS16Command());
  ASSERT_EQ(prompts.Texts("yesno").size(), 1u);
  EXPECT_NE(prompts.Texts("yesno")[0].find("\nMAP0720.s16\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(game / "MAP/MAP0720.s16"), tile);
}

TEST_F(MapToolAppTest, AMissingMapIsSaidAndTheOpenMapStays) {
  ASSERT_TRUE(app.OpenByName(A()));
  ws.settings.lastOpen = game / "SCENARIO/gone.MAP";
  EXPECT_FALSE(app.OpenLastCommand());
  EXPECT_EQ(prompts.Texts("error").back(), "[" + (game / "SCENARIO/gone.MAP") + "] Not found");
  EXPECT_EQ(ws.map.path, A());
  EXPECT_TRUE(ws.picture.loaded);
}

TEST_F(MapToolAppTest, ARecentEntryLeavesTheListWhetherItOpenedOrNot) {
  auto& recent = ws.settings.recentFiles;
  recent = {A(), game / "SCENARIO/gone.MAP", B(), "", "", ""};
  EXPECT_FALSE(app.RecentFileCommand(1));
  EXPECT_EQ(prompts.Texts("error").size(), 1u);
  EXPECT_EQ(recent[1], B());
  EXPECT_TRUE(app.RecentFileCommand(0));
  EXPECT_EQ(ws.map.path, A());
  EXPECT_EQ(recent[0], B()) << "the entry that opened is gone too";
  EXPECT_EQ(recent[1], "");
  const Command* first = FindCommand(kCmdRecentFirst);
  const Command* second = FindCommand(kCmdRecentFirst + 1);
  EXPECT_EQ(app.CommandLabel(*first), "&1 " + B());
  EXPECT_TRUE(app.CommandEnabled(*first));
  EXPECT_EQ(app.CommandLabel(*second), "") << "an empty entry is hidden";
}

TEST_F(MapToolAppTest, SavingAMapWithoutNumberWritesTheTilesOfTheChosenNumberOnceAndKeepsNoNumber) {
  ASSERT_TRUE(app.OpenByName(A()));
  ws.map.MapNumber = kNoMapNumber;
  ws.map.CheckPicture();
  int shownNumber = -1;
  dialogs.mapNumber = [&](MapNumberModel& m) {
    shownNumber = m.number;
    return m.Accept("8") ? DialogEnd::kOk : DialogEnd::kCancel;
  };
  prompts.Answer(false);  // "Do you want to set map number to 8 ?"
  const std::string target = game / "SCENARIO/C.MAP";
  dialogs.mapFile = [&](MapFileModel&, const std::string& initial) {
    EXPECT_EQ(initial, A());
    return target;
  };
  ASSERT_TRUE(app.SaveAsCommand());
  EXPECT_EQ(shownNumber, 65535);
  EXPECT_EQ(dialogs.ran, (std::vector<std::string>{"map number", "map file"}))
      << "the picture is offered once";
  EXPECT_EQ(prompts.Texts("yesno"),
            std::vector<std::string>{"\nDo you want to set map number to 8 ?\n"});
  EXPECT_TRUE(std::filesystem::exists(game / "MAP/MAP0800.s16"));
  const std::vector<uint8_t> bytes = ReadBytes(target);
  ASSERT_EQ(bytes.size(), kMapFileSize);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFF);
  EXPECT_EQ(ws.map.path, target);
  EXPECT_NE(app.statusLine().find("C.MAP #65535"), std::string::npos) << app.statusLine();
}

TEST_F(MapToolAppTest, SaveGoesOverTheMapsOwnFileAndSaveAsWithoutAPictureNumber) {
  ASSERT_TRUE(app.OpenByName(A()));
  Modify();
  ASSERT_TRUE(app.SaveCommand());
  EXPECT_TRUE(dialogs.ran.empty());
  EXPECT_FALSE(ws.map.modified);
  EXPECT_EQ(ReadBytes(A())[testing::CellOffset(3, 4)], kForest);

  ASSERT_TRUE(app.OpenByName(B()));  // no picture: the new-map dialog is cancelled
  dialogs.ran.clear();
  EXPECT_FALSE(app.SaveCommand()) << "no picture of its number: Save as, here cancelled";
  EXPECT_EQ(dialogs.ran, (std::vector<std::string>{"map number", "map file"}));
}

TEST_F(MapToolAppTest, ClosingAsksAboutChangesAndACancelledSaveKeepsThem) {
  ASSERT_TRUE(app.OpenByName(A()));
  Modify();
  prompts.AnswerCancel();
  EXPECT_FALSE(app.CloseRequest());
  EXPECT_FALSE(shell.closed());
  EXPECT_EQ(prompts.Texts("yesnocancel").back(), A() + "\nIS modified\nSave changes ?");

  // Yes, then the save dialog cancelled: the changes must not be lost.
  prompts.Answer(true);
  EXPECT_FALSE(app.CloseRequest());
  EXPECT_FALSE(shell.closed());
  EXPECT_EQ(dialogs.ran.back(), "map file");
  EXPECT_TRUE(ws.map.modified);

  prompts.Answer(false);
  EXPECT_TRUE(app.CloseRequest());
  EXPECT_TRUE(shell.closed());
}

TEST_F(MapToolAppTest, ModifiedNamesAreOfferedAndAFailedNamesSaveStopsTheCommand) {
  ASSERT_TRUE(app.OpenByName(A()));
  ws.names.namesModified = true;
  prompts.Answer(true);  // save the names
  std::filesystem::create_directories(game / "MAP/taken.TXT");
  prompts.AnswerPath(game / "MAP/taken.TXT");  // a folder: cannot be written
  EXPECT_FALSE(app.ConfirmDiscard());
  EXPECT_TRUE(ws.names.namesModified) << "a failed save leaves the names modified";
  ASSERT_FALSE(prompts.Texts("error").empty());
  EXPECT_EQ(prompts.Texts("error").back().rfind("Error on creating [", 0), 0u);

  // Loading another names file asks the same question first.
  prompts.AnswerCancel();
  EXPECT_FALSE(app.LoadNamesCommand());
  EXPECT_EQ(prompts.Texts("yesnocancel").back(),
            "Names loaded from:\n\nhave been modified\nSave changes (same or different file) ?");
  EXPECT_TRUE(prompts.Texts("open").empty()) << "no chooser after Cancel";

  WriteText(game / "MAP/other.TXT",
            "[MAP:  7] [A                   ]\r\n----\r\n(01,02) #Oran\r\n");
  prompts.Answer(false);
  prompts.AnswerPath(game / "MAP/other.TXT");
  ASSERT_TRUE(app.LoadNamesCommand());
  EXPECT_FALSE(ws.names.namesModified);
  EXPECT_EQ(ws.names.NameOf(ws.names.nameIndex[2][1]), "Oran");
}

TEST_F(MapToolAppTest, AFirstRunAsksForTheGameFolderAndDerivesTheOthers) {
  ws.settings = ToolSettings{};
  MemoryProfileStore profile;
  prompts.AnswerPath(game.str());
  ASSERT_TRUE(app.StartUp(profile, ""));
  EXPECT_EQ(prompts.Texts("folder"),
            std::vector<std::string>{"Select norvane game folder|" + FirstRunFolder()});
  const ToolSettings& s = ws.settings;
  EXPECT_EQ(s.gameFolder, game.str());
  EXPECT_EQ(s.scnFolder, game / "SCENARIO/");
  EXPECT_EQ(s.mapFolder, game / "MAP/");
  EXPECT_EQ(s.bmpFolder, game / "MAP/");
  EXPECT_EQ(s.lastOpen, game / "SCENARIO/*.map");
  EXPECT_EQ(shell.calls, (std::vector<const char*>{"create", "show"}));
  EXPECT_EQ(app.statusLine(), " No file loaded");
#ifndef _WIN32
  EXPECT_EQ(FirstRunFolder(), HomeFolder());
#endif
}

TEST_F(MapToolAppTest, AProfileWithOnlyTheLastMapGivesEveryFolderWithoutAQuestion) {
  ws.settings = ToolSettings{};
  MemoryProfileStore profile;
  profile.WriteString("Settings", "LastOpen", game / "SCENARIO/m12.map");
  ASSERT_TRUE(app.StartUp(profile, ""));
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_EQ(ws.settings.scnFolder, game / "SCENARIO/");
  EXPECT_EQ(ws.settings.gameFolder, game.str());
  EXPECT_EQ(ws.settings.mapFolder, game / "MAP/");
  EXPECT_EQ(ws.settings.bmpFolder, game / "MAP/");
}

TEST_F(MapToolAppTest, AMapOnTheCommandLineOfAFirstRunOpensWithTheGameAroundIt) {
  ws.settings = ToolSettings{};
  MemoryProfileStore profile;
  ASSERT_TRUE(app.StartUp(profile, A()));
  EXPECT_TRUE(prompts.messages().empty()) << "no folder question";
  EXPECT_EQ(ws.map.path, A());
  EXPECT_TRUE(ws.picture.loaded);
  EXPECT_EQ(ws.settings.recentFiles[0], A());
  EXPECT_EQ(ws.settings.mapFolder, game / "MAP/");

  shell.createSucceeds = false;
  EXPECT_FALSE(app.StartUp(profile, ""));
}

TEST_F(MapToolAppTest, ExportsProposeTheirNamesAndWriteThePicture) {
  ASSERT_TRUE(app.OpenByName(A()));
  prompts.AnswerPath(game / "MAP/MAP07.s16");
  ASSERT_TRUE(app.ExportS16Command());
  EXPECT_EQ(prompts.Texts("save").back(), std::to_string(kFileS16) + "|" +
                                              (game / "MAP/MAP07.s16") +
                                              "|Select folder and base filename to map tiles");

  prompts.AnswerPath(game / "out.bmp");
  ASSERT_TRUE(app.ExportBmpCommand());
  EXPECT_EQ(prompts.Texts("save").back(),
            std::to_string(kFileBmp) + "|" + (game / "MAP/A.bmp") + "|Select filename to save as");
  EXPECT_EQ(ReadBytes(game / "out.bmp").size(), 54u + 640u * 3u * 480u);

  prompts.AnswerCancel();
  EXPECT_FALSE(app.ExportBmpTilesCommand());
}

TEST_F(MapToolAppTest, HelpOpensTheFirstPageFoundAndSaysWhichWasLookedForLast) {
  app.programFolder = game / "bin/";
  EXPECT_FALSE(app.HelpCommand());
  EXPECT_EQ(prompts.Texts("error").back(), "[" + game.str() + "tesk_maptool_readme.htm] Not found");
  std::filesystem::create_directories(game / "share");
  WriteText(game / "share/tesk_maptool_readme.htm", "<html></html>");
  app.helpFolders = {game / "share/"};
  ASSERT_TRUE(app.HelpCommand());
  EXPECT_EQ(prompts.Texts("shell").back(), game / "share/tesk_maptool_readme.htm");
  WriteText(game / "tesk_maptool_readme.chm", "chm");
  ASSERT_TRUE(app.HelpCommand());
  EXPECT_EQ(prompts.Texts("shell").back(), game / "tesk_maptool_readme.chm");
}

TEST_F(MapToolAppTest, ADroppedMapOpensAfterTheQuestionAndADroppedPictureLoads) {
  ASSERT_TRUE(app.OpenByName(B()));
  Modify();
  prompts.AnswerCancel();
  EXPECT_FALSE(app.DropFile(A()));
  EXPECT_EQ(ws.map.path, B());
  prompts.Answer(false);
  ASSERT_TRUE(app.DropFile(A()));
  EXPECT_EQ(ws.map.path, A());

  ASSERT_TRUE(app.OpenByName(B()));
  prompts.Answer(false);
  ASSERT_TRUE(app.DropFile(game / "MAP/MAP0700.s16"));
  EXPECT_EQ(prompts.Texts("yesno").back(), "\nWill you change map number to: 7 \n")
      << "the set's number, not the tile's name";
  EXPECT_TRUE(ws.picture.loaded);
  EXPECT_EQ(ws.map.path, B()) << "a picture only replaces the picture";
  EXPECT_NE(app.statusLine().find("(640 x 480)"), std::string::npos) << app.statusLine();
  EXPECT_FALSE(app.DropFile(game / "notes.txt"));
}

TEST_F(MapToolAppTest, ANewMapStartsEmptyWithoutNumberAndAsksForItsPicture) {
  ASSERT_TRUE(app.OpenByName(A()));
  prompts.AnswerPath(game / "SCENARIO/NEW.map");
  ASSERT_TRUE(app.NewMapCommand());
  EXPECT_EQ(prompts.Texts("save").back(),
            (game / "SCENARIO/*.map") + "|Select filename to create|Files (*.MAP)|*.map||.map");
  EXPECT_EQ(dialogs.ran, std::vector<std::string>{"new map"});
  EXPECT_EQ(ws.map.path, game / "SCENARIO/NEW.map");
  EXPECT_EQ(ws.map.MapNumber, kNoMapNumber);
  EXPECT_EQ(ws.map.cell(0, 0).terrain, 0);
  EXPECT_FALSE(ws.history.CanUndo());
}

// --- Undo and recovery ----------------------------------------------------------

TEST_F(MapToolAppTest, UndoAndRedoCarryTheStepsNameAndTheNumbersPicture) {
  ASSERT_TRUE(app.OpenByName(A()));
  const Command& undo = *FindCommand(kCmdUndo);
  const Command& redo = *FindCommand(kCmdRedo);
  EXPECT_FALSE(app.CommandEnabled(undo));
  EXPECT_EQ(app.CommandLabel(undo), "&Undo\tCtrl+Z");
  ASSERT_TRUE(ws.Renumber(9));  // map 9 has no picture
  EXPECT_EQ(app.CommandLabel(undo), "&Undo Change map number\tCtrl+Z");
  ws.picture.loaded = false;  // as if the picture went with the number
  ASSERT_TRUE(app.RunCommand(kCmdUndo));
  EXPECT_EQ(ws.map.MapNumber, 7);
  EXPECT_TRUE(ws.picture.loaded) << "map 7's picture is back";
  EXPECT_FALSE(ws.map.modified) << "back at the saved state";
  EXPECT_NE(app.statusLine().find("#007"), std::string::npos) << app.statusLine();
  EXPECT_EQ(app.CommandLabel(redo), "&Redo Change map number\tCtrl+Y");
  ASSERT_TRUE(app.RunCommand(kCmdRedo));
  EXPECT_EQ(ws.map.MapNumber, 9);
  EXPECT_TRUE(ws.map.modified);
  // Undoing back to the saved state asks nothing on close.
  ASSERT_TRUE(app.Undo());
  EXPECT_TRUE(app.CloseRequest());
  EXPECT_TRUE(prompts.Texts("yesnocancel").empty());
}

class RecoveryFlowTest : public MapToolAppTest {
 protected:
  RecoveryFlowTest() : store(data.str()) { app.SetRecovery(&store); }
  // Edits the open map and lets a minute pass: a copy is written.
  void EditAndWait() {
    EditStep step(ws.history, "Paint terrain");
    ws.map.cell(5, 6).terrain = kSwamp;
    ws.map.modified = true;
  }
  void WriteCopy() {
    EditAndWait();
    const auto start = RecoveryStore::Clock::now();
    app.Tick(start);
    app.Tick(start + RecoveryStore::kDelay);
    ASSERT_TRUE(store.Find(A()).has_value());
    // The map file is older than the copy.
    const auto copyTime = std::filesystem::last_write_time(store.Find(A())->mapFile);
    std::filesystem::last_write_time(A(), copyTime - std::chrono::seconds(10));
  }
  TempDir data;
  RecoveryStore store;
};

TEST_F(RecoveryFlowTest, ACopyFoundAtOpenIsRestoredAsOneStepThatCanBeUndone) {
  ASSERT_TRUE(app.OpenByName(A()));
  WriteCopy();
  // The editor died: the map is opened again from the file.
  prompts.Answer(true);
  ASSERT_TRUE(app.OpenByName(A()));
  const std::vector<std::string> asked = prompts.Texts("yesno");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].rfind("A recovery copy of " + A() + " from 20", 0), 0u) << asked[0];
  EXPECT_NE(asked[0].find(" exists.\nRestore it ?"), std::string::npos);
  EXPECT_EQ(ws.map.cell(5, 6).terrain, kSwamp);
  EXPECT_TRUE(ws.map.modified);
  EXPECT_EQ(ws.history.UndoName(), "Restore recovery copy");
  ASSERT_TRUE(app.Undo());
  EXPECT_NE(ws.map.cell(5, 6).terrain, kSwamp);
  EXPECT_FALSE(ws.map.modified);
  ASSERT_TRUE(app.Redo());

  // A save removes the copy.
  ASSERT_TRUE(app.SaveCommand());
  EXPECT_FALSE(store.Find(A()).has_value());
  EXPECT_EQ(ReadBytes(A())[testing::CellOffset(5, 6)], kSwamp);
}

TEST_F(RecoveryFlowTest, ARefusedCopyIsRemovedAndACleanExitLeavesNone) {
  ASSERT_TRUE(app.OpenByName(A()));
  WriteCopy();
  prompts.Answer(false);
  ASSERT_TRUE(app.OpenByName(A()));
  EXPECT_FALSE(store.Find(A()).has_value());
  EXPECT_NE(ws.map.cell(5, 6).terrain, kSwamp);

  WriteCopy();
  prompts.Answer(false);  // do not save at exit
  ASSERT_TRUE(app.CloseRequest());
  EXPECT_FALSE(store.wroteCopy());
  EXPECT_FALSE(std::filesystem::exists(store.FolderFor(A()) + "map.MAP"));
}

TEST_F(RecoveryFlowTest, ADamagedCopyIsSaidAndKept) {
  ASSERT_TRUE(app.OpenByName(A()));
  WriteCopy();
  const std::string copyFile = store.Find(A())->mapFile;
  WriteText(copyFile, "cut short");
  std::filesystem::last_write_time(
      A(), std::filesystem::last_write_time(copyFile) - std::chrono::seconds(10));
  prompts.Answer(true);
  ASSERT_TRUE(app.OpenByName(A()));
  ASSERT_FALSE(prompts.Texts("error").empty());
  EXPECT_EQ(prompts.Texts("error").back(),
            "The recovery copy [" + copyFile + "] cannot be read.\nIt is kept as it is.");
  EXPECT_TRUE(std::filesystem::exists(copyFile));
  EXPECT_FALSE(ws.map.modified) << "the map is the file's";
}

TEST_F(RecoveryFlowTest, ACopyIsWrittenOnlyForUnsavedChanges) {
  ASSERT_TRUE(app.OpenByName(A()));
  const auto start = RecoveryStore::Clock::now();
  app.Tick(start + std::chrono::hours(1));
  EXPECT_FALSE(store.wroteCopy()) << "nothing to recover";
  for (int i = 0; i < int(RecoveryStore::kChanges); ++i) {
    EXPECT_FALSE(store.wroteCopy()) << i << " changes";
    {
      EditStep step(ws.history, "Paint terrain");
      ws.map.cell(1, 1).terrain = uint16_t(i % 2 ? kHill : kSwamp);
      ws.map.modified = true;
    }
    app.Tick(start);
  }
  EXPECT_TRUE(store.wroteCopy()) << "fifty changes without waiting";
  while (ws.history.CanUndo()) ws.history.Undo();
  app.Tick(start);
  EXPECT_FALSE(store.wroteCopy()) << "undone to the saved state: the copy goes";
}

// --- The map check's list ---------------------------------------------------------

TEST_F(MapToolAppTest, TheCheckListFollowsTheHistoryLeadsToHexesAndFixesAsOneStep) {
  FakeViewHost viewHost;
  MapView view(ws.map, ws.names, ws.settings, viewHost, ws.history);
  EditInput input(view);
  app.AttachView(&view, &input);
  ASSERT_TRUE(app.OpenByName(A()));
  for (auto& row : ws.map.cells) {
    for (HexCell& cell : row) cell = HexCell{};  // a map with nothing to find
  }
  ws.map.columns = 16;  // the grid a picture of 640 x 480 gives
  ws.map.rows = 10;
  ws.history.Clear();
  ASSERT_TRUE(app.RunCommand(kCmdCheckMap));
  EXPECT_EQ(dialogs.ran.back(), "map check");
  CheckList& list = app.checkList();
  EXPECT_TRUE(list.findings().empty()) << list.Summary();
  EXPECT_EQ(list.Summary(), "No findings");

  {
    EditStep step(ws.history, "Paint terrain");
    ws.map.cell(4, 6).terrain = 30;
    ws.map.cell(2, 3).roads = kRoadS;
    ws.map.modified = true;
  }
  ASSERT_TRUE(list.Refresh()) << "the history moved";
  EXPECT_FALSE(list.Refresh()) << "nothing moved since";
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{
                              "(03,02) warning one-sided road S: (03,03) has no road back  [fix]",
                              "(06,04) error terrain 30 is not one of the game's 20  [fix]"}));
  EXPECT_EQ(list.Summary(), "2 findings: 1 errors, 1 warnings, 0 notes");

  ASSERT_TRUE(list.GoTo(1));
  EXPECT_EQ(view.grid.current.row, 4);
  EXPECT_EQ(view.grid.current.column, 6);
  EXPECT_TRUE(ws.map.selectionActive);
  EXPECT_EQ(ws.map.selected[4][6], 1);

  EXPECT_EQ(list.Fix({0, 1}), 2);
  for (const Finding& f : list.findings()) {
    EXPECT_EQ(f.severity, Severity::kNote) << f.text << ": only the new road's ends are left";
  }
  EXPECT_EQ(ws.history.UndoName(), "Fix map findings");
  ASSERT_TRUE(app.Undo());
  EXPECT_EQ(ws.map.cell(4, 6).terrain, 30) << "one step takes both fixes back";
  EXPECT_EQ(ws.map.cell(3, 3).roads, 0);
  ASSERT_TRUE(list.Refresh());
  EXPECT_EQ(list.Lines().size(), 2u);
}

// --- The command table --------------------------------------------------------

TEST(CommandTable, IdsAreUniqueKeysNeedAModifierAndMenusAreKnown) {
  std::vector<int> seen;
  for (const Command& c : Commands()) {
    EXPECT_EQ(std::count(seen.begin(), seen.end(), c.id), 0) << c.id;
    seen.push_back(c.id);
    if (c.menu != nullptr) {
      const std::string top = std::string(c.menu).substr(0, std::string(c.menu).find('/'));
      bool known = false;
      for (const char* t : MenuTitles()) known = known || top == t;
      EXPECT_TRUE(known) << c.menu;
    }
    // Plain letters, digits and the like are the view's keys, never a command's.
    std::string keys = c.keys;
    size_t start = 0;
    while (start < keys.size()) {
      const size_t end = std::min(keys.find(';', start), keys.size());
      const std::string key = keys.substr(start, end - start);
      EXPECT_TRUE(key.find('+') != std::string::npos || key[0] == 'F') << c.id << " " << key;
      start = end + 1;
    }
  }
  EXPECT_EQ(PlainLabel("Select  &Name to set\tF7"), "Select  Name to set");
  const std::string html = CommandTableHtml();
  EXPECT_NE(html.find("<td>Save MAP</td><td>Ctrl+S</td>"), std::string::npos);
  EXPECT_NE(html.find("<td>Show Grid</td><td>Alt+G or G</td>"), std::string::npos);
  EXPECT_NE(html.find("<td>Save MAP as...</td><td>Alt+S, Ctrl+Shift+S</td>"), std::string::npos);
  EXPECT_NE(html.find("<td>Fill region</td><td>F</td>"), std::string::npos);
  EXPECT_NE(html.find("Generate roads from &quot;Auto R.M&quot;"), std::string::npos);
}

TEST_F(MapToolAppTest, TheTableRunsTheViewsCommandsAndItsRulesFollowTheDocument) {
  FakeViewHost viewHost;
  MapView view(ws.map, ws.names, ws.settings, viewHost, ws.history);
  EditInput input(view);
  app.AttachView(&view, &input);

  struct Row {
    int id;
    bool enabledWithoutMap;
  };
  for (Row r : {Row{kCmdSaveAs, false}, Row{kCmdSave, false}, Row{kCmdExportBmp, false},
                Row{kCmdLoadNames, false}, Row{kCmdOpen, true}, Row{kCmdReport, true}}) {
    EXPECT_EQ(app.CommandEnabled(*FindCommand(r.id)), r.enabledWithoutMap) << r.id;
  }
  ws.settings.lastOpen.clear();
  EXPECT_FALSE(app.CommandEnabled(*FindCommand(kCmdOpenLast)));
  ASSERT_TRUE(app.OpenByName(A()));
  for (int id :
       std::vector<int>{kCmdSaveAs, kCmdExportBmp, kCmdExportS16, kCmdLoadNames, kCmdOpenLast}) {
    EXPECT_TRUE(app.CommandEnabled(*FindCommand(id))) << id;
  }
  EXPECT_FALSE(app.CommandEnabled(*FindCommand(kCmdSaveNames))) << "no names";
  EXPECT_EQ(app.CommandLabel(*FindCommand(kCmdRelease)), "Tesk Map Tool 2.01c - Feb 2008");

  // Toggles flip and show their check marks; the mode items follow the mode.
  for (int id : std::vector<int>{kCmdGrid, kCmdTerrainMarks, kCmdRoads, kCmdNamedHexes,
                                 kCmdKeepMarks, kCmdLinkRoads, kCmdSaveClean, kCmdZoom}) {
    const bool before = *app.CommandChecked(*FindCommand(id));
    ASSERT_TRUE(app.RunCommand(id));
    EXPECT_NE(*app.CommandChecked(*FindCommand(id)), before) << id;
  }
  ASSERT_TRUE(app.RunCommand(kCmdRoadsMode));
  EXPECT_TRUE(*app.CommandChecked(*FindCommand(kCmdRoadsMode)));
  EXPECT_FALSE(*app.CommandChecked(*FindCommand(kCmdTerrainMode)));
  ASSERT_TRUE(app.RunCommand(kCmdMode800));
  EXPECT_EQ(shell.mode, 2);
  EXPECT_FALSE(app.CommandEnabled(*FindCommand(kCmdMode800)));
  EXPECT_TRUE(*app.CommandChecked(*FindCommand(kCmdMode800)));
  EXPECT_TRUE(app.CommandEnabled(*FindCommand(kCmdWindowMode)));

  ASSERT_TRUE(app.RunCommand(kCmdClose));  // Alt+X: unmodified, closes at once
  EXPECT_TRUE(shell.closed());
  EXPECT_FALSE(app.RunCommand(12345));
}

}  // namespace
}  // namespace maptesk
