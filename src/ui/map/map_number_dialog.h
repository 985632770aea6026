// The map-number dialog: the numbers that have a picture in a folder, a
// preview of one at a tenth of its size, and the number chosen. The model
// holds the rules; the dialog draws its state and passes the user's actions.
#pragma once

#include <QDialog>
#include <QImage>
#include <string>

#include "core/app/dialogs.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace maptesk {

class MapNumberModel;
class PreviewFrame;

class MapNumberDialog : public QDialog {
  Q_OBJECT

 public:
  MapNumberDialog(MapNumberModel& model, QWidget* parent = nullptr);

  QLineEdit* folderEdit() const { return folderEdit_; }
  QListWidget* mapList() const { return list_; }
  QLineEdit* numberEdit() const { return numberEdit_; }
  QLabel* caption() const { return caption_; }
  QLabel* numberLabel() const { return numberLabel_; }
  QPushButton* okButton() const { return ok_; }
  /// The preview as drawn: the picture scaled to the model's preview size.
  const QImage& previewImage() const;

 public slots:
  void FolderEdited();
  void ChooseFolder();
  void NumberEdited();
  void ClickEntry(int row);
  void DoubleClickEntry(QListWidgetItem* item);
  void accept() override;

 private:
  /// Writes the model's state into the widgets; `withList` refills the list.
  void ShowModel(bool withList);
  void ShowPreview();

  MapNumberModel& model_;
  QLineEdit* folderEdit_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* caption_ = nullptr;
  PreviewFrame* preview_ = nullptr;
  QLabel* numberLabel_ = nullptr;
  QLineEdit* numberEdit_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace maptesk
