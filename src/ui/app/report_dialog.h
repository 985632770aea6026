// The maps report dialog: the MAP files of a folder with their numbers, and
// the "Report" button that writes them to a text file. The rules are the
// model's; the widgets only show its state and pass the user's actions on.
#pragma once

#include <QDialog>

#include "core/app/dialogs.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace maptesk {

class MapsReport;
class Prompts;

class ReportDialog : public QDialog {
  Q_OBJECT

 public:
  /// On a started model. The dialog has only "Close", so it ends cancelled;
  /// whoever runs it drops the model's entries afterwards.
  ReportDialog(MapsReport& model, Prompts& prompts, QWidget* parent = nullptr);

  QLineEdit* folderEdit() const { return folderEdit_; }
  QLineEdit* reportFileEdit() const { return reportEdit_; }
  QListWidget* mapList() const { return list_; }
  QLabel* countLabel() const { return countLabel_; }
  QRadioButton* sortButton(int choice) const { return sortButtons_[choice]; }
  QPushButton* reportButton() const { return reportButton_; }

 public slots:
  void FolderEdited();
  void ChooseFolder();
  void ChooseReportFile();
  void SelectSort(int choice);
  void WriteReport();

 private:
  /// Writes the model's state into the widgets.
  void ShowModel();

  MapsReport& model_;
  Prompts& prompts_;
  QLineEdit* folderEdit_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* countLabel_ = nullptr;
  QLineEdit* reportEdit_ = nullptr;
  QRadioButton* sortButtons_[3] = {};
  QPushButton* reportButton_ = nullptr;
};

}  // namespace maptesk
