// The terrain filter, the name picker and the text entry as widgets: their
// controls follow the models, their buttons reach them, and the frame's
// dialog commands open them. The rules themselves are the models' tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "core/app/view_dialog_commands.h"
#include "core/view/name_picker_model.h"
#include "core/view/terrain_filter_model.h"
#include "support/dialog_testing.h"
#include "support/view_fixture.h"
#include "ui/app/qt_dialogs.h"
#include "ui/view/name_picker_dialog.h"
#include "ui/view/terrain_filter_dialog.h"

namespace maptesk {
namespace {

using testing::Child;
using testing::KeepShot;
using testing::WhenModal;

class TextScript final : public TextEntry {
 public:
  std::optional<std::string> AskText(const std::string& prompt, const std::string& text) override {
    asked.push_back(prompt + "|" + text);
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<std::string> asked;
};

using DialogsTest = testing::ViewTest;

TEST_F(DialogsTest, TerrainFilterBoxesFollowTheModelAndItsButtons) {
  settings.terrainMask = (1u << kCity) | (1u << kOcean);
  settings.viewToggles |= kToggleLabels;
  TerrainFilterModel model(settings);
  TerrainFilterDialog dialog(model, nullptr);
  KeepShot(dialog, "terrain_filter_dialog");

  EXPECT_EQ(Child<QLabel>(&dialog, "heading")->text(), "Check all terrain types you wish to show");
  EXPECT_EQ(Child<QPushButton>(&dialog, "setAll")->text(), "Set &All");
  EXPECT_EQ(Child<QPushButton>(&dialog, "resetAll")->text(), "&Reaset All");
  QCheckBox* labels = Child<QCheckBox>(&dialog, "labels");
  EXPECT_EQ(labels->text(), "Show Labels no icons");
  EXPECT_TRUE(labels->isChecked());
  std::vector<QCheckBox*> boxes;
  for (int i = 0; i < TerrainTable::kCount; ++i) {
    boxes.push_back(Child<QCheckBox>(&dialog, QString("terrain%1").arg(i).toLatin1()));
    EXPECT_TRUE(boxes.back()->text().isEmpty()) << "the picture names the types";
    EXPECT_EQ(boxes.back()->isChecked(), i == kCity || i == kOcean) << i;
  }

  Child<QPushButton>(&dialog, "setAll")->click();
  for (int i = 0; i < TerrainTable::kCount; ++i) EXPECT_EQ(boxes[i]->isChecked(), i != kClear);
  Child<QPushButton>(&dialog, "resetAll")->click();
  for (QCheckBox* box : boxes) EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(labels->isChecked()) << "the buttons leave the labels box alone";

  boxes[kLake]->click();
  labels->click();
  EXPECT_EQ(model.Mask(), 1u << kLake);
  EXPECT_FALSE(model.labels);
}

TEST_F(DialogsTest, TerrainFilterEndsOkOnlyFromItsOkButton) {
  TerrainFilterModel model(settings);
  WhenModal([](QWidget* modal) { Child<QPushButton>(modal, "ok")->click(); });
  EXPECT_EQ(TerrainFilterDialog::Run(model, nullptr), DialogEnd::kOk);
  WhenModal([](QWidget* modal) { Child<QPushButton>(modal, "cancel")->click(); });
  EXPECT_EQ(TerrainFilterDialog::Run(model, nullptr), DialogEnd::kCancel);
}

TEST_F(DialogsTest, NamePickerListsTheLinesAndAddsThroughTheTextEntry) {
  names.AddName("Paris");
  names.AddName("Caf\xE9");  // Windows-1252 e acute
  TextScript text;
  text.answer = "Rome";
  NamePickerModel model(names, prompts, text, history);
  model.Open(2);
  NamePickerDialog dialog(model, nullptr);
  KeepShot(dialog, "name_picker_dialog");

  EXPECT_EQ(Child<QLabel>(&dialog, "heading")->text(), "Double click to select a Name");
  EXPECT_EQ(Child<QPushButton>(&dialog, "ok")->text(), "X");
  EXPECT_EQ(Child<QPushButton>(&dialog, "add")->text(), "&Add");
  EXPECT_EQ(Child<QPushButton>(&dialog, "edit")->text(), "&Edit");
  QListWidget* list = Child<QListWidget>(&dialog, "names");
  // The names stand in one column after "[%-2d]  ", whatever the number's
  // digits: measured, as a font's own fixed-pitch flag may be missing.
  const QFontMetricsF metrics(list->font());
  EXPECT_EQ(metrics.horizontalAdvance("[0 ]  "), metrics.horizontalAdvance("[12]  "));
  EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW"));
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(0)->text(), "[0 ]  No named");
  EXPECT_EQ(list->item(1)->text(), "[1 ]  Paris");
  EXPECT_EQ(list->item(2)->text(), QString::fromUtf8("[2 ]  Caf\u00E9"));
  EXPECT_EQ(list->currentRow(), 2);

  Child<QPushButton>(&dialog, "add")->click();
  EXPECT_EQ(text.asked, std::vector<std::string>{"Enter new Terrain name|"});
  ASSERT_EQ(list->count(), 4);
  EXPECT_EQ(list->item(3)->text(), "[3]  Rome");
  EXPECT_EQ(list->currentRow(), model.selectedLine());

  list->setCurrentRow(1);
  Child<QPushButton>(&dialog, "ok")->click();
  EXPECT_EQ(model.chosenIndex, 1);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(DialogsTest, TextEntryConvertsToTheCodePageAndRefusesWhatItCannotHold) {
  TextEntryDialog dialog(nullptr);
  WhenModal([](QWidget* modal) {
    EXPECT_EQ(Child<QLabel>(modal, "prompt")->text(), "Edit map name");
    QLineEdit* edit = Child<QLineEdit>(modal, "text");
    EXPECT_EQ(edit->text(), QString::fromUtf8("Caf\u00E9"));
    edit->setText(QString::fromUtf8("Zo\u00EB \u20AC"));
    Child<QPushButton>(modal, "ok")->click();
  });
  EXPECT_EQ(dialog.AskText("Edit map name", "Caf\xE9"), std::optional<std::string>("Zo\xEB \x80"));

  WhenModal([](QWidget* modal) {
    Child<QLineEdit>(modal, "text")->setText(QString::fromUtf8("\u6771\u4EAC"));
    Child<QPushButton>(modal, "ok")->click();
    EXPECT_TRUE(modal->isVisible()) << "OK must not close on text the names file cannot hold";
    QLabel* error = Child<QLabel>(modal, "error");
    EXPECT_FALSE(error->isHidden());
    EXPECT_TRUE(error->text().contains(QString::fromUtf8("\"\u6771\"")))
        << error->text().toStdString();
    KeepShot(*modal, "text_entry_dialog");
    Child<QPushButton>(modal, "cancel")->click();
  });
  EXPECT_EQ(dialog.AskText("Enter new Terrain name", ""), std::nullopt);
}

TEST_F(DialogsTest, ViewDialogCommandsRunTheQtDialogs) {
  names.AddName("Paris");
  names.AddName("Oslo");
  QtDialogs dialogs(nullptr);

  WhenModal([](QWidget* modal) {
    Child<QListWidget>(modal, "names")->setCurrentRow(2);
    Child<QPushButton>(modal, "ok")->click();
  });
  EXPECT_TRUE(RunViewDialogCommand(kCmdPickName, *view, dialogs, dialogs));
  EXPECT_EQ(view->nameToSet, 2);

  settings.terrainMask = 1u << kCity;
  WhenModal([](QWidget* modal) {
    Child<QPushButton>(modal, "setAll")->click();
    Child<QPushButton>(modal, "ok")->click();
  });
  EXPECT_TRUE(RunViewDialogCommand(kCmdTerrainFilter, *view, dialogs, dialogs));
  EXPECT_EQ(settings.terrainMask, 0xFFFFEu);
  EXPECT_TRUE(view->toggle(kToggleTerrainMarks));
}

}  // namespace
}  // namespace maptesk
