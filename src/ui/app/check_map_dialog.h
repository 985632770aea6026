// The map findings beside the map: a tool window that stays open while the
// designer edits, follows every change of the edit history, leads to a
// finding's hex on a double click and fixes the chosen ones.
#pragma once

#include <QDialog>
#include <QTimer>
#include <cstdint>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace maptesk {

class CheckList;

class CheckMapDialog final : public QDialog {
 public:
  CheckMapDialog(CheckList& list, QWidget* parent);
  /// Shows the list as it is now.
  void ShowList();
  QListWidget* list() { return list_; }

 private:
  void GoTo(QListWidgetItem* item);
  void FixChosen();
  void Follow();

  CheckList& model_;
  QListWidget* list_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* fix_ = nullptr;
  QTimer follow_;
};

}  // namespace maptesk
