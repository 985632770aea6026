#include "ui/app/check_map_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/check_list.h"
#include "ui/display/ui_text.h"

namespace maptesk {

namespace {

// The list is checked again this often while it shows; a check of a map
// takes well under a millisecond and only runs when the history moved.
constexpr int kFollowMilliseconds = 250;
// Characters of the longest finding lines.
constexpr int kLineWidth = 76;

}  // namespace

CheckMapDialog::CheckMapDialog(CheckList& list, QWidget* parent)
    : QDialog(parent, Qt::Tool), model_(list) {
  setWindowTitle("Check map");
  auto* column = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setFont(ListFont());
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // Wide enough for a finding's whole line in the list's font.
  list_->setMinimumSize(list_->fontMetrics().horizontalAdvance(QString(kLineWidth, 'x')) + 32, 220);
  column->addWidget(list_);
  auto* row = new QHBoxLayout();
  summary_ = new QLabel(this);
  row->addWidget(summary_, 1);
  fix_ = new QPushButton("&Fix", this);
  fix_->setToolTip("Fix the chosen findings marked [fix], as one change that Undo takes back");
  row->addWidget(fix_);
  auto* close = new QPushButton("Close", this);
  row->addWidget(close);
  column->addLayout(row);
  connect(list_, &QListWidget::itemDoubleClicked, this, &CheckMapDialog::GoTo);
  connect(fix_, &QPushButton::clicked, this, &CheckMapDialog::FixChosen);
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  connect(&follow_, &QTimer::timeout, this, &CheckMapDialog::Follow);
  follow_.start(kFollowMilliseconds);
  ShowList();
}

void CheckMapDialog::ShowList() {
  const int row = list_->currentRow();
  list_->clear();
  for (const std::string& line : model_.Lines()) list_->addItem(MessageText(line));
  if (row >= 0 && row < list_->count()) list_->setCurrentRow(row);
  summary_->setText(MessageText(model_.Summary()));
}

void CheckMapDialog::Follow() {
  if (isVisible() && model_.Refresh()) ShowList();
}

void CheckMapDialog::GoTo(QListWidgetItem* item) { model_.GoTo(list_->row(item)); }

void CheckMapDialog::FixChosen() {
  std::vector<int> chosen;
  for (QListWidgetItem* item : list_->selectedItems()) chosen.push_back(list_->row(item));
  if (model_.Fix(chosen) > 0) ShowList();
}

}  // namespace maptesk
