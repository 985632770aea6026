#include "core/util/file_choosers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/path_utils.h"
#include "core/util/prompts.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

TEST(FileChoosers, FiltersAndTitlesOfTheFileTypes) {
  struct Row {
    int type;
    const char* filter;
    const char* title;
  };
  const Row rows[] = {
      {kFileText,
       "TXT Files (*.TXT)|*.txt|LOG Files (*.LOG)|*.log|INI Files (*.INI)|*.ini|"
       "All Files (*.*)|*.*|",
       "Select text File"},
      {kFileIni, "Files (*.INI)|*.tbl|Files (*.TXT)|*.txt|All Files (*.*)|*.*|", "Select INI file"},
      {kFileMap, "MAP Files (*.MAP)|*.map|All Files (*.*)|*.*|", "Select MAP file"},
      {kFilePicture, "Files (*.S16)|*.s16|Files (*.BMP)|*.bmp|All Files (*.*)|*.*|",
       "Select a TESK picture file"},
      {kFileExe, "Files (*.EXE)|*.exe|All Files (*.*)|*.*|", "Select Norvane.exe file"},
      {42, "All Files (*.*)|*.*|", "Select File"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FileTypeFilter(row.type), row.filter) << row.type;
    EXPECT_EQ(FileTypeTitle(row.type), row.title) << row.type;
  }
  const std::vector<FilterEntry> entries = ParseFilter("Pictures|*.s16;*.bmp|Broken|All|*|");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.s16", "*.bmp"}));
  EXPECT_EQ(entries[1].description, "Broken");
  EXPECT_EQ(entries[1].patterns, std::vector<std::string>{"All"});
}

TEST(FileChoosers, OpenAndSaveSetUpFromTheStart) {
  testing::TempDir dir;
  const std::string maps = dir / "maps";
  std::filesystem::create_directories(maps);
  struct Row {
    int type;
    std::string start;
    bool save;
    std::string fileName, folder, extension;
  };
  const Row rows[] = {
      // A folder is listed with every file, with or without its separator.
      {kFileMap, maps + "/", false, maps + "/*.*", maps + "/", "map"},
      // Without it, the folder gets the system's own.
      {kFileMap, maps, true, maps + kPathSeparator + "*.*", maps + kPathSeparator, "map"},
      // A proposal is offered as it is, and gives its own extension.
      {kFileText, maps + "/MapsReport.txt", true, maps + "/MapsReport.txt", maps + "/", "txt"},
      {kFileBmp, maps + "/arden.bmp", true, maps + "/arden.bmp", maps + "/", "bmp"},
      {kFileS16, maps + "/MAP05*.s16", false, maps + "/MAP05*.s16", maps + "/", "s16"},
      // Nothing given: every file of the current folder, no extension to add.
      {kFileAny, "", false, "*.*", "", ""},
  };
  for (const Row& row : rows) {
    FileChooserSetup setup;
    setup.Prepare(row.type, row.start, "", row.save);
    EXPECT_EQ(setup.fileName, row.fileName) << row.start;
    EXPECT_EQ(setup.initialFolder, row.folder) << row.start;
    EXPECT_EQ(setup.defaultExtension, row.extension) << row.start;
    EXPECT_EQ(setup.save(), row.save);
    EXPECT_EQ(setup.mode, row.save ? FileChooserSetup::kModeSave : FileChooserSetup::kModeOpen);
    EXPECT_EQ(setup.filter, FileTypeFilter(row.type));
    EXPECT_EQ(setup.title, FileTypeTitle(row.type));
  }
}

TEST(FileChoosers, OneSetUpIsRememberedAndTheUntypedCallReusesIt) {
  FileChooserSetup setup;
  EXPECT_EQ(setup.mode, FileChooserSetup::kModeOpen);
  setup.Prepare(kFileMap, "/g/SCENARIO/", "Pick a map", false);
  EXPECT_EQ(setup.title, "Pick a map");
  EXPECT_EQ(setup.Finish("/g/SCENARIO/A.MAP"), "/g/SCENARIO/A.MAP");
  EXPECT_TRUE(setup.chosen);

  // The untyped call asks as the last one, and saving still asks to replace.
  setup.Prepare(kFileAny, "", "", true);
  EXPECT_EQ(setup.filter, FileTypeFilter(kFileMap));
  EXPECT_EQ(setup.title, "Pick a map");
  EXPECT_EQ(setup.fileName, "/g/SCENARIO/*.*");
  EXPECT_TRUE(setup.save());
  EXPECT_EQ(setup.Finish(""), "");
  EXPECT_FALSE(setup.chosen);
  EXPECT_EQ(setup.lastPath, "/g/SCENARIO/A.MAP");

  // A typed call sets up afresh.
  setup.Prepare(kFileBmp, "", "", false);
  EXPECT_EQ(setup.title, "Select a BMP file");
  EXPECT_EQ(setup.fileName, "*.*");
}

TEST(FileChoosers, TheGeneralDialogsStartAndDefaults) {
  struct Row {
    std::string start, title, filter, extension;
    bool open;
    std::string fileName, folder, wantTitle, wantFilter, wantExtension;
  };
  const Row rows[] = {
      {"/g/SCENARIO/*.map", "Select filename to create", "Files (*.MAP)|*.map|", ".map", false,
       "/g/SCENARIO/*.map", "/g/SCENARIO/", "Select filename to create", "Files (*.MAP)|*.map|",
       "map"},
      {"/g/x/arden", "", "", "", true, "/g/x/arden.*", "/g/x/", "Select File",
       "All files (*.*)|*.*|", ""},
      {"/g/x/", "", "", "txt", false, "/g/x/*.*", "/g/x/", "Save File As", "All files (*.*)|*.*|",
       "txt"},
      // A second drive typed over the path cuts it there.
      {"C:\\maps\\D:\\other\\a.map", "", "", "", true, "C:\\maps\\*.*", "C:\\maps\\", "Select File",
       "All files (*.*)|*.*|", "map"},
  };
  for (const Row& row : rows) {
    const FileChooserSetup setup =
        GeneralFileDialogSetup(row.start, row.title, row.filter, row.extension, row.open);
    EXPECT_EQ(setup.fileName, row.fileName) << row.start;
    EXPECT_EQ(setup.initialFolder, row.folder) << row.start;
    EXPECT_EQ(setup.title, row.wantTitle) << row.start;
    EXPECT_EQ(setup.filter, row.wantFilter) << row.start;
    EXPECT_EQ(setup.defaultExtension, row.wantExtension) << row.start;
    EXPECT_EQ(setup.save(), !row.open);
  }
}

TEST(FileChoosers, FolderChoosersKnowTheStandardFolders) {
  struct Row {
    int kind;
    std::string start, title, wantStart, wantTitle;
  };
  const Row rows[] = {
      {kFileMap, "", "", "/g/SCENARIO", "Folder for MAP Files"},
      {kFileS16, "", "", "/g/MAP", "Folder for S16 Files"},
      {kFileShp, "/pics/", "", "/pics/", "Folder for S16 Files"},
      {kFileExe, "", "Where is the game?", "/g/", "Where is the game?"},
      {kFileBmp, "", "", "/g/", "Select Folder"},
  };
  for (const Row& row : rows) {
    testing::ScriptedPrompts prompts;
    prompts.AnswerPath("/chosen/");
    EXPECT_EQ(prompts.ChooseFolderFor(row.kind, "/g/", row.start, row.title), "/chosen/");
    EXPECT_EQ(prompts.Texts("folder"),
              std::vector<std::string>{row.wantTitle + "|" + row.wantStart});
  }
}

}  // namespace
}  // namespace maptesk
