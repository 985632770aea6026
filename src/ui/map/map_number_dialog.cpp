#include "ui/map/map_number_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <vector>

#include "core/map/map_number_model.h"
#include "ui/display/preview_frame.h"
#include "ui/display/ui_text.h"

namespace maptesk {

namespace {

constexpr int kPreviewSide = MapNumberModel::kPreviewScale;
// Each column of the list is wide enough for one "MAP nnnn" entry.
constexpr int kListColumnWidth = 77;

}  // namespace

const QImage& MapNumberDialog::previewImage() const { return preview_->image(); }

MapNumberDialog::MapNumberDialog(MapNumberModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setWindowTitle("Map number");

  auto* grid = new QGridLayout(this);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(new QLabel("Maps on folder", this));
  folderEdit_ = new QLineEdit(this);
  folderRow->addWidget(folderEdit_, 1);
  auto* folderButton = new QPushButton("...", this);
  folderButton->setAutoDefault(false);
  folderButton->setFixedWidth(32);
  folderRow->addWidget(folderButton);
  grid->addLayout(folderRow, 0, 0, 1, 2);

  list_ = new QListWidget(this);
  // "MAP" and the right-aligned numbers line up only in a fixed-pitch font;
  // entries run down and then on into further columns.
  list_->setFont(ListFont());
  list_->setFlow(QListView::TopToBottom);
  list_->setWrapping(true);
  list_->setResizeMode(QListView::Adjust);
  list_->setUniformItemSizes(true);
  list_->setGridSize(QSize(kListColumnWidth, list_->fontMetrics().height() + 4));
  list_->setMinimumSize(4 * kListColumnWidth + 8, kPreviewSide + 2);
  grid->addWidget(list_, 1, 0, 2, 1);

  auto* side = new QVBoxLayout;
  caption_ = new QLabel(this);
  side->addWidget(caption_);
  // One pixel of frame around the largest preview.
  preview_ = new PreviewFrame(QSize(kPreviewSide, kPreviewSide), 1, this);
  side->addWidget(preview_);
  side->addStretch();
  grid->addLayout(side, 1, 1);

  auto* numberRow = new QHBoxLayout;
  numberLabel_ = new QLabel(this);
  numberRow->addWidget(numberLabel_);
  numberEdit_ = new QLineEdit(this);
  numberEdit_->setMaximumWidth(80);
  numberRow->addWidget(numberEdit_);
  numberRow->addStretch();
  grid->addLayout(numberRow, 3, 0, 1, 2);

  auto* hint =
      new QLabel("Click on Map list to see picture, Double Click to select map number", this);
  grid->addWidget(hint, 4, 0, 1, 2);

  auto* buttons = new QHBoxLayout;
  ok_ = new QPushButton(this);
  ok_->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 5, 0, 1, 2);
  grid->setColumnStretch(0, 1);

  connect(folderEdit_, &QLineEdit::editingFinished, this, &MapNumberDialog::FolderEdited);
  connect(folderButton, &QPushButton::clicked, this, &MapNumberDialog::ChooseFolder);
  connect(numberEdit_, &QLineEdit::editingFinished, this, &MapNumberDialog::NumberEdited);
  connect(list_, &QListWidget::currentRowChanged, this, &MapNumberDialog::ClickEntry);
  connect(list_, &QListWidget::itemDoubleClicked, this, &MapNumberDialog::DoubleClickEntry);
  connect(ok_, &QPushButton::clicked, this, &MapNumberDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  ShowModel(true);
}

void MapNumberDialog::ShowModel(bool withList) {
  {
    // Programmatic changes are not the user's edits or clicks.
    const QSignalBlocker blockFolder(folderEdit_);
    const QSignalBlocker blockNumber(numberEdit_);
    const QSignalBlocker blockList(list_);
    folderEdit_->setText(PathText(model_.folder));
    numberEdit_->setText(QString::number(model_.number));
    if (withList) {
      list_->clear();
      for (const MapNumberModel::Entry& entry : model_.entries()) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.text), list_);
        item->setData(Qt::UserRole, entry.number);
      }
    }
    list_->setCurrentRow(model_.selectedEntry());
  }
  numberLabel_->setText(QString::fromStdString(model_.numberLabel));
  ok_->setText(QString::fromStdString(model_.okLabel()));
  caption_->setText(MessageText(model_.caption()));
  ShowPreview();
}

void MapNumberDialog::ShowPreview() {
  preview_->Show(model_.previewLoaded(), model_.previewFile(), model_.previewSize(),
                 model_.previewPicture());
}

void MapNumberDialog::FolderEdited() {
  const std::string text = PathBytes(folderEdit_->text());
  if (text == model_.folder) return;
  model_.folder = text;
  model_.FillList();
  ShowModel(true);
}

void MapNumberDialog::ChooseFolder() {
  model_.ChooseFolder();
  ShowModel(true);
}

void MapNumberDialog::NumberEdited() {
  // A refused text stays in the edit for the user to correct.
  if (model_.NumberEdited(numberEdit_->text().toStdString())) ShowModel(false);
}

void MapNumberDialog::ClickEntry(int row) {
  model_.ClickEntry(row);
  ShowModel(false);
}

void MapNumberDialog::DoubleClickEntry(QListWidgetItem* item) {
  model_.DoubleClickEntry(list_->row(item));
  ShowModel(false);
}

void MapNumberDialog::accept() {
  model_.folder = PathBytes(folderEdit_->text());
  if (model_.Accept(numberEdit_->text().toStdString())) QDialog::accept();
}

}  // namespace maptesk
