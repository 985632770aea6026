// The open-map, new-map and map-file dialogs and the file choosers as
// widgets: each test fills a game folder, works the controls as a user
// would and reads what is shown and returned. The rules are the models' tests.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <string>
#include <vector>

#include "core/map/map_file.h"
#include "core/picture/map_file_model.h"
#include "core/picture/new_map_model.h"
#include "core/picture/open_map_model.h"
#include "core/settings/tool_settings.h"
#include "support/dialog_testing.h"
#include "support/map_fixtures.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui/app/qt_dialogs.h"
#include "ui/display/preview_frame.h"
#include "ui/display/qt_prompts.h"
#include "ui/picture/map_file_dialog.h"
#include "ui/picture/new_map_picture_dialog.h"
#include "ui/picture/open_map_dialog.h"

namespace maptesk {
namespace {

using testing::KeepShot;
using testing::ListTexts;
using testing::WhenModal;
using testing::WriteBytes;

// A game folder: maps numbered 5, 9999 and 10000 and one too short for a
// number, and the 640 x 480 picture of map 5.
class PictureDialogsTest : public ::testing::Test {
 protected:
  PictureDialogsTest() {
    settings.scnFolder = game / "SCENARIO/";
    settings.mapFolder = game / "MAP/";
    settings.bmpFolder = game / "MAP/";
    for (auto [name, number] : {std::pair{"ARDEN.MAP", 5}, {"far.map", 9999}, {"NEW.MAP", 10000}}) {
      WriteBytes(game / "SCENARIO/" + name, testing::PatternMapFile(uint16_t(number), 45, 40));
    }
    WriteBytes(game / "SCENARIO/short.map", {0x05});
    WriteBytes(game / "MAP/MAP0500.s16",
               testing::S16Plain(640, 480, [](int x, int y) { return uint16_t(x * 7 + y); }));
  }

  testing::TempDir game;
  ToolSettings settings;
  testing::ScriptedPrompts prompts;
};

TEST_F(PictureDialogsTest, OpenMapListsSortsPreviewsAndLoads) {
  // The editor's kind of model: its preview keeps the picture for the dialog.
  OpenMapModel model(settings, prompts);
  ASSERT_TRUE(model.Start());
  OpenMapDialog dialog(model);
  KeepShot(dialog, "open_map_dialog");

  EXPECT_EQ(dialog.countLabel()->text(), "4 Maps found");
  EXPECT_EQ(dialog.pictureEdit()->text().toStdString(), game / "MAP/");
  EXPECT_TRUE(dialog.byNumber()->isChecked());
  // Numbers by value: 10000 after 9999, and in columns.
  EXPECT_EQ(
      ListTexts(dialog.mapList()),
      (std::vector<std::string>{
          "  -1  short.map............... No Pic ", "   5  ARDEN.MAP............... Ok ",
          "9999  far.map................. No Pic ", "10000  NEW.MAP................. No Pic "}));
  EXPECT_EQ(dialog.caption()->text(), "Picture for Map: -1 * not FOUND");
  dialog.mapList()->setCurrentRow(1);
  EXPECT_EQ(dialog.caption()->text(), "Picture for Map: 5 (640 x 480) ");
  EXPECT_EQ(dialog.preview().image().size(), QSize(100, 75));
  ASSERT_NE(model.previewPicture(), nullptr);
  EXPECT_EQ(model.previewPicture()->width, 640);

  // By name the selected map stays selected.
  dialog.byName()->click();
  EXPECT_EQ(dialog.mapList()->item(0)->text(), "ARDEN.MAP.................   5  ok");
  EXPECT_EQ(dialog.mapList()->currentRow(), 0);
  dialog.mapList()->setCurrentRow(1);
  EXPECT_EQ(dialog.caption()->text(), "Picture for Map: 9999 * not FOUND");
  EXPECT_TRUE(dialog.preview().image().isNull());
  EXPECT_EQ(model.previewPicture(), nullptr);

  dialog.loadButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(model.mapPath(), game / "SCENARIO/far.map");
  EXPECT_TRUE(model.foreignPicture());
  EXPECT_EQ(settings.mapFolder, game / "MAP/");
}

TEST_F(PictureDialogsTest, NewMapListsSetsPreviewsInTheMarkedFrameAndLoads) {
  NewMapModel model(settings, prompts);
  model.Start();
  NewMapPictureDialog dialog(model);
  EXPECT_TRUE(dialog.typeButton(int(PictureType::kBmp))->isChecked());
  EXPECT_EQ(dialog.pictureList()->count(), 0);

  dialog.typeButton(int(PictureType::kS16))->click();
  KeepShot(dialog, "new_map_picture_dialog");
  EXPECT_EQ(ListTexts(dialog.pictureList()), std::vector<std::string>{"MAP005"});
  EXPECT_EQ(dialog.prompt()->text(), "Select BMP / SHP / S16 file for the new MAP");
  EXPECT_EQ(dialog.preview().image().size(), QSize(110, 82));
  dialog.fitToFrame()->click();
  EXPECT_EQ(dialog.preview().image().size(), QSize(330, 330));

  dialog.loadButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(model.result().picturePath, game / "MAP/MAP0500.s16");
}

TEST_F(PictureDialogsTest, MapFilePanelFollowsTheSelectionBesideTheList) {
  MapFileModel model(settings);
  MapFileDialog dialog(model, game / "SCENARIO/ARDEN.MAP", "Select MAP file to Save As", true);
  KeepShot(dialog, "map_file_dialog");

  EXPECT_EQ(dialog.windowTitle(), "Select MAP file to Save As");
  EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(dialog.nameFilters(), QStringList{"MAP Files (*.map *.MAP)"});
  EXPECT_EQ(dialog.folderLabel()->text().toStdString(), "Pictures on folder: " + game / "MAP/");
  EXPECT_EQ(dialog.statusLine()->text(), "ARDEN.MAP  ( #5 )  Pic OK");
  EXPECT_EQ(dialog.preview().image().size(), QSize(32, 24));

  dialog.ShowFile(QString::fromStdString(game / "SCENARIO/short.map"));
  EXPECT_EQ(dialog.statusLine()->text(), "short.map  ( #-1 )   * No Pic *");
  EXPECT_TRUE(dialog.preview().image().isNull());
  dialog.ShowFile(QString::fromStdString(game / "SCENARIO/typed.map"));
  EXPECT_EQ(dialog.statusLine()->text(), "Select any file...");

  // A name typed without its extension is saved as a MAP file.
  WhenModal([this](QWidget* modal) {
    auto* files = static_cast<QFileDialog*>(modal);
    files->selectFile(QString::fromStdString(game / "SCENARIO/COPY"));
    static_cast<QDialog*>(files)->accept();
  });
  QtDialogs dialogs(nullptr);
  int flips = 0;
  dialogs.SetBeforeDialog([&flips] { ++flips; });
  EXPECT_EQ(dialogs.RunMapFile(model, game / "SCENARIO/ARDEN.MAP", "Save", true),
            game / "SCENARIO/COPY.map");
  EXPECT_EQ(flips, 1);
}

TEST_F(PictureDialogsTest, ChoosersShowTheirTypesAndRememberTheSetUp) {
  QtPrompts chooser;
  int flips = 0;
  chooser.SetBeforeChooser([&flips] { ++flips; });
  FileChooserSetup setup;
  setup.Prepare(kFileText, game / "SCENARIO/MapsReport.txt", "Select File for Report", true);
  auto files = QtPrompts::MakeFileDialog(setup, nullptr);
  EXPECT_EQ(files->windowTitle(), "Select File for Report");
  EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(files->defaultSuffix(), "txt");
  EXPECT_EQ(files->directory().absolutePath().toStdString() + "/", game / "SCENARIO/");
  EXPECT_EQ(files->nameFilters(), (QStringList{"TXT Files (*.txt *.TXT)", "LOG Files (*.log *.LOG)",
                                               "INI Files (*.ini *.INI)", "All Files (*)"}));

  auto folders = QtPrompts::MakeFolderDialog("", "", nullptr);
  EXPECT_EQ(folders->windowTitle(), "Select Folder");
  EXPECT_EQ(folders->fileMode(), QFileDialog::Directory);
  EXPECT_EQ(folders->directory().absolutePath(), QDir::currentPath());

  WhenModal([this](QWidget* modal) {
    EXPECT_EQ(modal->windowTitle(), "Select MAP file");
    auto* dialog = static_cast<QFileDialog*>(modal);
    dialog->selectFile(QString::fromStdString(game / "SCENARIO/NEW.MAP"));
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(chooser.ChooseOpenFile(kFileMap, game / "SCENARIO/", ""), game / "SCENARIO/NEW.MAP");
  EXPECT_EQ(chooser.chooserSetup().lastPath, game / "SCENARIO/NEW.MAP");

  WhenModal([](QWidget* modal) {
    EXPECT_EQ(modal->windowTitle(), "Select MAP folder");
    static_cast<QDialog*>(modal)->reject();
  });
  EXPECT_EQ(chooser.ChooseFolderFor(kFileMap, game.str(), game.str(), "Select MAP folder"), "");
  EXPECT_EQ(flips, 2);
}

}  // namespace
}  // namespace maptesk
