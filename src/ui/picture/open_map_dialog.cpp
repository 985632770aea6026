#include "ui/picture/open_map_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/picture/open_map_model.h"
#include "ui/display/preview_frame.h"
#include "ui/display/ui_text.h"

namespace maptesk {

namespace {

constexpr int kPreviewSide = OpenMapModel::kPreviewScale;
// Room for a whole line of either layout: the name padded to 24, a number of
// five digits and the status word, and the scroll bar.
constexpr int kLineCharacters = 44;

}  // namespace

OpenMapDialog::OpenMapDialog(OpenMapModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setWindowTitle("Open MAP file");
  auto* grid = new QGridLayout(this);

  auto* folders = new QGridLayout;
  folders->addWidget(new QLabel("MAP Files", this), 0, 0);
  scenarioEdit_ = new QLineEdit(this);
  folders->addWidget(scenarioEdit_, 0, 1);
  scenarioButton_ = MakeFolderButton(this);
  folders->addWidget(scenarioButton_, 0, 2);
  folders->addWidget(new QLabel("S16 Files", this), 1, 0);
  pictureEdit_ = new QLineEdit(this);
  folders->addWidget(pictureEdit_, 1, 1);
  pictureButton_ = MakeFolderButton(this);
  folders->addWidget(pictureButton_, 1, 2);
  grid->addLayout(folders, 0, 0, 1, 2);

  auto* left = new QVBoxLayout;
  count_ = new QLabel(this);
  left->addWidget(count_);
  list_ = new QListWidget(this);
  // The lines are columns of names, numbers and status words.
  list_->setFont(ListFont());
  list_->setMinimumWidth(list_->fontMetrics().horizontalAdvance(QString(kLineCharacters, 'M')));
  left->addWidget(list_, 1);
  grid->addLayout(left, 1, 0);

  auto* right = new QVBoxLayout;
  caption_ = new QLabel(this);
  caption_->setMinimumWidth(kPreviewSide + 2);
  right->addWidget(caption_);
  preview_ = new PreviewFrame(QSize(kPreviewSide, kPreviewSide), 1, this);
  right->addWidget(preview_);
  right->addStretch();
  grid->addLayout(right, 1, 1);

  auto* sort = new QGroupBox("Sort", this);
  auto* sortRow = new QHBoxLayout(sort);
  byName_ = new QRadioButton("Name", sort);
  byNumber_ = new QRadioButton("Map Number", sort);
  sortRow->addWidget(byName_);
  sortRow->addWidget(byNumber_);
  auto* options = new QHBoxLayout;
  options->addWidget(sort);
  searchShp_ = new QPushButton("Search as Zeb Map file", this);
  searchShp_->setCheckable(true);
  searchShp_->setAutoDefault(false);
  options->addWidget(searchShp_);
  options->addStretch();
  grid->addLayout(options, 2, 0, 1, 2);

  auto* buttons = new QHBoxLayout;
  auto* refresh = new QPushButton("Refresh", this);
  refresh->setAutoDefault(false);
  load_ = new QPushButton("LOAD", this);
  load_->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setAutoDefault(false);
  buttons->addWidget(refresh);
  buttons->addStretch();
  buttons->addWidget(load_);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 3, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(1, 1);

  // A folder typed in gets its separator when the box is left; the list
  // follows only on "Refresh", as the user may still be typing the other.
  connect(scenarioEdit_, &QLineEdit::editingFinished, this, [this] {
    model_.ScenarioFolderEdited(PathBytes(scenarioEdit_->text()));
    ShowModel(false);
  });
  connect(pictureEdit_, &QLineEdit::editingFinished, this, [this] {
    model_.PicFolderEdited(PathBytes(pictureEdit_->text()));
    ShowModel(false);
  });
  connect(scenarioButton_, &QAbstractButton::clicked, this,
          [this] { Step(model_.ChooseScenarioFolder()); });
  connect(pictureButton_, &QAbstractButton::clicked, this,
          [this] { Step(model_.ChoosePictureFolder()); });
  connect(refresh, &QPushButton::clicked, this, [this] { Step(model_.Refresh()); });
  connect(searchShp_, &QPushButton::toggled, this,
          [this](bool on) { Step(model_.SetSearchShp(on)); });
  connect(byName_, &QRadioButton::clicked, this, [this] {
    model_.SelectSort(OpenMapModel::kByName);
    ShowModel(true);
  });
  connect(byNumber_, &QRadioButton::clicked, this, [this] {
    model_.SelectSort(OpenMapModel::kByNumber);
    ShowModel(true);
  });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    model_.SelectLine(row);
    ShowModel(false);
  });
  // A double click is the quick way to open a map from the list.
  connect(list_, &QListWidget::itemDoubleClicked, this, &OpenMapDialog::accept);
  connect(load_, &QPushButton::clicked, this, &OpenMapDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &OpenMapDialog::reject);

  ShowModel(true);
}

void OpenMapDialog::Step(bool kept) {
  if (!kept) {
    QDialog::reject();
    return;
  }
  ShowModel(true);
}

void OpenMapDialog::ShowModel(bool withList) {
  {
    // Programmatic changes are not the user's edits or clicks.
    const QSignalBlocker blockList(list_);
    const QSignalBlocker blockShp(searchShp_);
    scenarioEdit_->setText(PathText(model_.scenarioFolder));
    pictureEdit_->setText(PathText(model_.picFolder));
    searchShp_->setChecked(model_.searchShp());
    byName_->setChecked(model_.sortMode == OpenMapModel::kByName);
    byNumber_->setChecked(model_.sortMode == OpenMapModel::kByNumber);
    if (withList) {
      // A refreshed list reads its pictures anew.
      preview_->Clear();
      list_->clear();
      for (const OpenMapModel::Line& line : model_.lines()) {
        auto* item = new QListWidgetItem(MessageText(line.text), list_);
        item->setData(Qt::UserRole, qulonglong(line.record));
      }
    }
    list_->setCurrentRow(model_.selectedLine());
  }
  count_->setText(QString::fromStdString(model_.countText()));
  caption_->setText(MessageText(model_.caption()));
  preview_->Show(model_.previewLoaded(), model_.previewFile(), model_.previewSize(),
                 model_.previewPicture());
}

void OpenMapDialog::accept() {
  model_.Accept();
  QDialog::accept();
}

void OpenMapDialog::reject() {
  model_.Cancel();
  QDialog::reject();
}

}  // namespace maptesk
