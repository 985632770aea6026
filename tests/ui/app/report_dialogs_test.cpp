// The tool dialogs' widgets wired to their models: each test fills a folder or
// a map, works the controls as the user would, and reads what is shown.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/app/global_change.h"
#include "core/app/maps_report.h"
#include "core/map/edit_steps.h"
#include "core/map/hex_map.h"
#include "core/map/map_file.h"
#include "core/map/map_number_model.h"
#include "core/settings/tool_settings.h"
#include "support/dialog_testing.h"
#include "support/fake_number_host.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui/app/global_change_dialog.h"
#include "ui/app/report_dialog.h"
#include "ui/map/map_number_dialog.h"

namespace maptesk {
namespace {

using testing::KeepShot;
using testing::ListTexts;
using testing::ReadText;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteBytes;

TEST(ReportDialog, ListsTheFolderSortsAndWritesTheReport) {
  TempDir dir;
  WriteBytes(dir / "A.MAP", {12, 0});
  WriteBytes(dir / "B.MAP", {5, 0});
  WriteBytes(dir / "C.MAP", {12, 0});
  ScriptedPrompts prompts;
  MapsReport model;
  model.folder = dir.str();
  model.Start(ToolSettings{}, prompts);

  ReportDialog dialog(model, prompts);
  EXPECT_EQ(dialog.folderEdit()->text().toStdString(), dir.str());
  EXPECT_EQ(dialog.reportFileEdit()->text().toStdString(), dir.str() + "MapsReport.txt");
  EXPECT_TRUE(dialog.sortButton(kSortByNumber)->isChecked());
  EXPECT_EQ(ListTexts(dialog.mapList()),
            (std::vector<std::string>{"   5   B.MAP", "  12   A.MAP", "  12   C.MAP"}));
  EXPECT_EQ(dialog.countLabel()->text().toStdString(), "3 mapfiles");
  KeepShot(dialog, "report_dialog");

  dialog.sortButton(kSortByName)->click();
  EXPECT_EQ(ListTexts(dialog.mapList()),
            (std::vector<std::string>{"A.MAP   #12", "B.MAP   #5", "C.MAP   #12"}));
  EXPECT_EQ(dialog.mapList()->currentRow(), 0);

  const std::string out = dir / "out.txt";
  dialog.reportFileEdit()->setText(QString::fromStdString(out));
  dialog.reportButton()->click();
  const std::string text = ReadText(out);
  EXPECT_EQ(text.rfind("Map files on folder: " + dir.str() + "\r\n\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("A.MAP" + std::string(28, '.') + "12\r\n"), std::string::npos) << text;
  EXPECT_EQ(prompts.Texts("shell").size(), 1u);
  // After the report the list is shown again as it was.
  EXPECT_EQ(dialog.mapList()->item(0)->text().toStdString(), "A.MAP   #12");
}

TEST(ReportDialog, AFolderTypedWithoutSeparatorIsCompletedAndScanned) {
  TempDir dir;
  WriteBytes(dir / "sub/D.MAP", {0xFF, 0xFF});
  ScriptedPrompts prompts;
  MapsReport model;
  model.folder = dir.str();
  model.Start(ToolSettings{}, prompts);
  ReportDialog dialog(model, prompts);
  EXPECT_EQ(dialog.countLabel()->text().toStdString(), "0 mapfiles");

  dialog.folderEdit()->setText(QString::fromStdString(dir / "sub"));
  dialog.FolderEdited();
  EXPECT_EQ(dialog.folderEdit()->text().toStdString(), dir / "sub/");
  EXPECT_EQ(ListTexts(dialog.mapList()), (std::vector<std::string>{"  -1   D.MAP"}));
  EXPECT_EQ(dialog.countLabel()->text().toStdString(), "1 mapfiles");
}

TEST(GlobalChangeDialog, MakeChangesReplacesTheChosenTerrainOnTheMap) {
  auto map = std::make_unique<MapRecord>();
  map->cells[0][0].terrain = kRiver;
  map->cells[0][0].flags = 0x0004;
  map->cells[39][44].terrain = kRiver;
  map->cells[1][1].terrain = kSwamp;
  ScriptedPrompts prompts;
  GlobalChange model;
  GlobalChangeDialog dialog(model, *map, prompts, EditSteps::None());
  ASSERT_EQ(dialog.fromList()->count(), 20);
  ASSERT_EQ(dialog.toList()->count(), 20);
  EXPECT_EQ(dialog.fromList()->currentIndex(), -1);
  EXPECT_EQ(dialog.toList()->itemText(kRiver).toStdString(), "River");
  KeepShot(dialog, "global_change_dialog");

  // Nothing chosen yet: nothing happens and nothing is said.
  dialog.makeChangesButton()->click();
  EXPECT_TRUE(prompts.messages().empty());

  dialog.fromList()->setCurrentIndex(kRiver);
  dialog.toList()->setCurrentIndex(kClear);
  dialog.makeChangesButton()->click();
  EXPECT_EQ(map->cells[0][0].terrain, kClear);
  EXPECT_EQ(map->cells[0][0].flags, 0x0004);
  EXPECT_EQ(map->cells[39][44].terrain, kClear);
  EXPECT_EQ(map->cells[1][1].terrain, kSwamp);
  EXPECT_TRUE(model.changed);
  ASSERT_EQ(prompts.messages().size(), 1u);
  EXPECT_EQ(prompts.messages()[0].text, "Done !\n2 Terrain types changed\nfrom: River\nto Clear");
}

class MapNumberDialogTest : public ::testing::Test {
 protected:
  MapNumberDialogTest() : map(std::make_unique<HexMap>(settings, prompts)) {
    settings.mapFolder = dir.str();
    // A plain red tile: 0xF800 is full red in 5-6-5.
    WriteBytes(dir / "MAP0500.s16", testing::S16Plain(64, 32, [](int, int) { return 0xF800; }));
    WriteBytes(dir / "MAP0501.s16", testing::S16Plain(64, 32, [](int, int) { return 0; }));
    WriteBytes(dir / "MAP1200.s16", testing::S16Plain(64, 32, [](int, int) { return 0; }));
    pictures.sizes[dir / "MAP0500.s16"] = {1920, 960};
  }
  TempDir dir;
  ToolSettings settings;
  ScriptedPrompts prompts;
  std::unique_ptr<HexMap> map;
  testing::FakeNumberHost pictures;
};

TEST_F(MapNumberDialogTest, ListsFirstTilesPreviewsAndAcceptsATypedNumber) {
  MapNumberModel model(*map, prompts, pictures);
  model.number = 5;
  model.Start();
  MapNumberDialog dialog(model);
  EXPECT_EQ(ListTexts(dialog.mapList()), (std::vector<std::string>{"MAP   5", "MAP  12"}));
  EXPECT_EQ(dialog.mapList()->currentRow(), 0);
  EXPECT_EQ(dialog.numberLabel()->text().toStdString(), "Create as MAP number");
  EXPECT_EQ(dialog.numberEdit()->text().toStdString(), "5");
  EXPECT_EQ(dialog.okButton()->text().toStdString(), "Replace");
  EXPECT_EQ(dialog.caption()->text().toStdString(), "Map #5 size (1920 x 960) ");
  // The preview is the picture at a tenth of its size.
  ASSERT_FALSE(dialog.previewImage().isNull());
  EXPECT_EQ(dialog.previewImage().size(), QSize(192, 96));
  const QRgb shown = dialog.previewImage().pixel(10, 10);
  EXPECT_GT(qRed(shown), 200) << std::hex << shown;
  EXPECT_LT(qGreen(shown), 50) << std::hex << shown;
  EXPECT_LT(qBlue(shown), 50) << std::hex << shown;
  KeepShot(dialog, "map_number_dialog");

  // A number without a picture: plain OK, no caption, no preview.
  dialog.numberEdit()->setText("77");
  dialog.NumberEdited();
  EXPECT_EQ(dialog.okButton()->text().toStdString(), "OK");
  EXPECT_EQ(dialog.caption()->text().toStdString(), "");
  EXPECT_TRUE(dialog.previewImage().isNull());

  dialog.numberEdit()->setText(" 301 ");
  dialog.okButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(model.number, 301);
  EXPECT_EQ(model.folder, dir.str());
}

TEST_F(MapNumberDialogTest, DoubleClickTakesTheEntrysNumber) {
  MapNumberModel model(*map, prompts, pictures);
  model.number = 77;
  model.numberLabel = "Set as map number #";
  model.createMode = false;
  model.Start();
  MapNumberDialog dialog(model);
  EXPECT_EQ(dialog.okButton()->text().toStdString(), "OK");
  dialog.DoubleClickEntry(dialog.mapList()->item(1));
  EXPECT_EQ(dialog.numberEdit()->text().toStdString(), "12");
  EXPECT_EQ(dialog.okButton()->text().toStdString(), "Replace");
  EXPECT_EQ(dialog.numberLabel()->text().toStdString(), "Set as map number #");
}

}  // namespace
}  // namespace maptesk
