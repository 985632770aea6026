#include "ui/picture/new_map_picture_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/picture/new_map_model.h"
#include "ui/display/preview_frame.h"
#include "ui/display/ui_text.h"

namespace maptesk {

namespace {

// The marks stand this far out from the preview frame.
constexpr int kMarkLength = 6;

// The preview frame with its ten marks around it.
class MarkedFrame : public QWidget {
 public:
  MarkedFrame(PreviewFrame* frame, QWidget* parent) : QWidget(parent), frame_(frame) {
    frame->setParent(this);
    frame->move(kMarkLength, kMarkLength);
    setFixedSize(frame->size() + QSize(2 * kMarkLength, 2 * kMarkLength));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const PictureSize size{frame_->width() - 1, frame_->height() - 1};
    for (const FrameMark& mark : NewMapModel::FrameMarks(size)) {
      const QPoint at(kMarkLength + mark.x, kMarkLength + mark.y);
      switch (mark.edge) {
        case FrameEdge::kTop: painter.drawLine(at, at - QPoint(0, kMarkLength)); break;
        case FrameEdge::kBottom: painter.drawLine(at, at + QPoint(0, kMarkLength)); break;
        case FrameEdge::kLeft: painter.drawLine(at, at - QPoint(kMarkLength, 0)); break;
        case FrameEdge::kRight: painter.drawLine(at, at + QPoint(kMarkLength, 0)); break;
      }
    }
  }

 private:
  PreviewFrame* frame_;
};

}  // namespace

NewMapPictureDialog::NewMapPictureDialog(NewMapModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setWindowTitle("New Map");
  auto* grid = new QGridLayout(this);

  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(new QLabel(NewMapModel::kFolderLabel, this));
  folderEdit_ = new QLineEdit(this);
  // The folder changes through its button, which lists it at once.
  folderEdit_->setReadOnly(true);
  folderRow->addWidget(folderEdit_, 1);
  folderButton_ = MakeFolderButton(this);
  folderRow->addWidget(folderButton_);
  grid->addLayout(folderRow, 0, 0, 1, 2);

  auto* left = new QVBoxLayout;
  list_ = new QListWidget(this);
  list_->setMinimumWidth(220);
  left->addWidget(list_, 1);
  prompt_ = new QLabel(NewMapModel::kPrompt, this);
  left->addWidget(prompt_);
  auto* typeRow = new QHBoxLayout;
  for (size_t type = 0; type < types_.size(); ++type) {
    types_[type] = new QRadioButton(NewMapModel::kTypeLabels[type], this);
    typeRow->addWidget(types_[type]);
    connect(types_[type], &QRadioButton::clicked, this, [this, type] {
      model_.SetPictureType(PictureType(type));
      ShowModel(true);
    });
  }
  typeRow->addStretch();
  left->addLayout(typeRow);
  grid->addLayout(left, 1, 0);

  auto* right = new QVBoxLayout;
  const PictureSize frame = NewMapModel::kFrameSize;
  preview_ = new PreviewFrame(QSize(frame.width - 2 * NewMapModel::kPreviewOffset,
                                    frame.height - 2 * NewMapModel::kPreviewOffset),
                              NewMapModel::kPreviewOffset, this);
  right->addWidget(new MarkedFrame(preview_, this));
  fit_ = new QCheckBox(NewMapModel::kFitToFrameLabel, this);
  right->addWidget(fit_);
  right->addStretch();
  grid->addLayout(right, 1, 1);

  auto* buttons = new QHBoxLayout;
  load_ = new QPushButton(NewMapModel::kLoadLabel, this);
  load_->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(load_);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 2, 0, 1, 2);
  grid->setColumnStretch(0, 1);

  connect(folderButton_, &QAbstractButton::clicked, this, [this] {
    model_.ChooseFolder();
    ShowModel(true);
  });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    model_.Select(row);
    ShowModel(false);
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    if (model_.DoubleClickEntry(list_->row(item))) {
      QDialog::accept();
    } else {
      ShowModel(false);
    }
  });
  connect(fit_, &QCheckBox::toggled, this, [this](bool on) {
    model_.SetFitToFrame(on);
    ShowModel(false);
  });
  connect(load_, &QPushButton::clicked, this, &NewMapPictureDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &NewMapPictureDialog::reject);

  ShowModel(true);
}

void NewMapPictureDialog::ShowModel(bool withList) {
  {
    const QSignalBlocker blockList(list_);
    const QSignalBlocker blockFit(fit_);
    folderEdit_->setText(PathText(model_.folder()));
    types_[size_t(model_.pictureType())]->setChecked(true);
    fit_->setChecked(model_.fitToFrame());
    if (withList) {
      // A list filled again reads its pictures anew.
      preview_->Clear();
      list_->clear();
      for (const NewMapModel::Entry& entry : model_.entries()) {
        list_->addItem(PathText(entry.text));
      }
    }
    list_->setCurrentRow(model_.selectedEntry());
  }
  const int selected = model_.selectedEntry();
  const std::string file = selected >= 0 ? model_.entries()[size_t(selected)].path : std::string();
  preview_->Show(model_.previewLoaded(), file, model_.previewSize(), &model_.preview());
}

void NewMapPictureDialog::accept() {
  // A picture that cannot be read keeps the dialog open with its message.
  if (model_.Accept()) {
    QDialog::accept();
  } else {
    ShowModel(false);
  }
}

}  // namespace maptesk
