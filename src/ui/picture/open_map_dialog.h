// The open-map dialog: the MAP files of a scenario folder with their numbers
// and whether their pictures exist, and a preview of the selected one. The
// model holds the rules; the dialog shows its state and passes on clicks.
#pragma once

#include <QDialog>

#include "core/app/dialogs.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace maptesk {

class OpenMapModel;
class PreviewFrame;

class OpenMapDialog : public QDialog {
  Q_OBJECT

 public:
  /// Shows a started model.
  OpenMapDialog(OpenMapModel& model, QWidget* parent = nullptr);

  QLineEdit* scenarioEdit() const { return scenarioEdit_; }
  QLineEdit* pictureEdit() const { return pictureEdit_; }
  QListWidget* mapList() const { return list_; }
  QLabel* countLabel() const { return count_; }
  QLabel* caption() const { return caption_; }
  QRadioButton* byName() const { return byName_; }
  QRadioButton* byNumber() const { return byNumber_; }
  QPushButton* searchShp() const { return searchShp_; }
  QPushButton* loadButton() const { return load_; }
  QAbstractButton* scenarioButton() const { return scenarioButton_; }
  QAbstractButton* pictureButton() const { return pictureButton_; }
  const PreviewFrame& preview() const { return *preview_; }

 public slots:
  void accept() override;
  void reject() override;

 private:
  /// Writes the model's state into the controls; `withList` refills the list.
  void ShowModel(bool withList);
  /// Runs a model step that may end the dialog (no memory for the list).
  void Step(bool kept);

  OpenMapModel& model_;
  QLineEdit* scenarioEdit_ = nullptr;
  QLineEdit* pictureEdit_ = nullptr;
  QAbstractButton* scenarioButton_ = nullptr;
  QAbstractButton* pictureButton_ = nullptr;
  QLabel* count_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* caption_ = nullptr;
  PreviewFrame* preview_ = nullptr;
  QRadioButton* byName_ = nullptr;
  QRadioButton* byNumber_ = nullptr;
  QPushButton* searchShp_ = nullptr;
  QPushButton* load_ = nullptr;
};

}  // namespace maptesk
