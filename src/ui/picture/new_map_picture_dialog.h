// The new-map dialog: the pictures of a folder (BMP files, S16 or SHP sets),
// a preview of the one selected inside a frame marked where the game's
// 640 x 480 tiles meet, and the picture chosen for the new map.
#pragma once

#include <QDialog>
#include <array>

#include "core/app/dialogs.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace maptesk {

class NewMapModel;
class PreviewFrame;

class NewMapPictureDialog : public QDialog {
  Q_OBJECT

 public:
  /// Shows a started model.
  NewMapPictureDialog(NewMapModel& model, QWidget* parent = nullptr);

  QLineEdit* folderEdit() const { return folderEdit_; }
  QAbstractButton* folderButton() const { return folderButton_; }
  QListWidget* pictureList() const { return list_; }
  QLabel* prompt() const { return prompt_; }
  QRadioButton* typeButton(int type) const { return types_[size_t(type)]; }
  QCheckBox* fitToFrame() const { return fit_; }
  QPushButton* loadButton() const { return load_; }
  const PreviewFrame& preview() const { return *preview_; }

 public slots:
  void accept() override;

 private:
  void ShowModel(bool withList);

  NewMapModel& model_;
  QLineEdit* folderEdit_ = nullptr;
  QAbstractButton* folderButton_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* prompt_ = nullptr;
  PreviewFrame* preview_ = nullptr;
  std::array<QRadioButton*, 3> types_{};
  QCheckBox* fit_ = nullptr;
  QPushButton* load_ = nullptr;
};

}  // namespace maptesk
