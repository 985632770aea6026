#include "ui/app/report_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/app/maps_report.h"
#include "ui/display/ui_text.h"

namespace maptesk {

ReportDialog::ReportDialog(MapsReport& model, Prompts& prompts, QWidget* parent)
    : QDialog(parent), model_(model), prompts_(prompts) {
  setWindowTitle("Report Map files");

  auto* frame = new QGroupBox(" REPORT  Map Files ", this);
  auto* grid = new QGridLayout(frame);

  folderEdit_ = new QLineEdit(frame);
  auto* folderButton = new QPushButton("...", frame);
  folderButton->setAutoDefault(false);
  folderButton->setFixedWidth(32);
  grid->addWidget(folderEdit_, 0, 0);
  grid->addWidget(folderButton, 0, 1);

  list_ = new QListWidget(frame);
  // The number columns line up only in a font whose characters are all as wide.
  list_->setFont(ListFont());
  list_->setMinimumWidth(300);
  grid->addWidget(list_, 1, 0, 6, 1);

  countLabel_ = new QLabel(frame);
  grid->addWidget(countLabel_, 7, 0, 1, 2);

  auto* side = new QVBoxLayout;
  side->addWidget(new QLabel("To file", frame));
  auto* fileRow = new QHBoxLayout;
  reportEdit_ = new QLineEdit(frame);
  reportEdit_->setMinimumWidth(220);
  auto* fileButton = new QPushButton("...", frame);
  fileButton->setAutoDefault(false);
  fileButton->setFixedWidth(32);
  fileRow->addWidget(reportEdit_);
  fileRow->addWidget(fileButton);
  side->addLayout(fileRow);

  auto* include = new QGroupBox("Include", frame);
  auto* includeLayout = new QVBoxLayout(include);
  auto* group = new QButtonGroup(this);
  const char* sortTexts[3] = {"Maps sorted by  Name", "Maps sorted by  Number", "Both list"};
  for (int i = 0; i < 3; ++i) {
    sortButtons_[i] = new QRadioButton(sortTexts[i], include);
    group->addButton(sortButtons_[i], i);
    includeLayout->addWidget(sortButtons_[i]);
  }
  side->addWidget(include);

  auto* description = new QLabel(
      "Gets a report including mapnames and mapnumbers. Can get just one list (sorted by name "
      "or number) or both sorted lists",
      frame);
  description->setWordWrap(true);
  side->addWidget(description);
  side->addStretch();

  auto* buttons = new QHBoxLayout;
  reportButton_ = new QPushButton("Report", frame);
  reportButton_->setDefault(true);
  auto* closeButton = new QPushButton("Close", frame);
  closeButton->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(reportButton_);
  buttons->addWidget(closeButton);
  side->addLayout(buttons);
  grid->addLayout(side, 0, 2, 8, 1);
  grid->setColumnStretch(0, 1);

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(frame);

  connect(folderEdit_, &QLineEdit::editingFinished, this, &ReportDialog::FolderEdited);
  connect(folderButton, &QPushButton::clicked, this, &ReportDialog::ChooseFolder);
  connect(fileButton, &QPushButton::clicked, this, &ReportDialog::ChooseReportFile);
  connect(group, &QButtonGroup::idClicked, this, &ReportDialog::SelectSort);
  connect(reportButton_, &QPushButton::clicked, this, &ReportDialog::WriteReport);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

  // A started model has scanned but may not have built its list yet.
  if (model_.lastShownChoice < 0) model_.ShowList();
  ShowModel();
}

void ReportDialog::ShowModel() {
  {
    // Programmatic changes are not the user's edits.
    const QSignalBlocker blockFolder(folderEdit_);
    folderEdit_->setText(QString::fromStdString(model_.folder));
    reportEdit_->setText(QString::fromStdString(model_.reportFile));
  }
  if (model_.sortChoice >= 0 && model_.sortChoice < 3) {
    sortButtons_[model_.sortChoice]->setChecked(true);
  }
  list_->clear();
  for (const ReportLine& line : model_.lines()) {
    auto* item = new QListWidgetItem(QString::fromStdString(line.text), list_);
    item->setData(Qt::UserRole, line.number);
  }
  list_->setCurrentRow(model_.selectedLine());
  countLabel_->setText(QString::fromStdString(model_.countText()));
}

void ReportDialog::FolderEdited() {
  // Leaving the edit without changing it is no reason to scan again.
  const std::string text = folderEdit_->text().toStdString();
  if (text == model_.folder) return;
  model_.FolderEdited(text, prompts_);
  ShowModel();
}

void ReportDialog::ChooseFolder() {
  model_.ChooseFolder(prompts_);
  ShowModel();
}

void ReportDialog::ChooseReportFile() {
  model_.reportFile = reportEdit_->text().toStdString();
  model_.ChooseReportFile(prompts_);
  ShowModel();
}

void ReportDialog::SelectSort(int choice) {
  model_.SelectSort(choice);
  ShowModel();
}

void ReportDialog::WriteReport() {
  // The edits are read as they stand: Return in an edit reaches "Report"
  // before the edit has lost the focus.
  FolderEdited();
  model_.reportFile = reportEdit_->text().toStdString();
  model_.Report(prompts_);
  ShowModel();
}

}  // namespace maptesk
