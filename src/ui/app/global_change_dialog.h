// The global terrain change dialog: two lists of the terrain types and
// "Make Changes", which the model carries out on the map as one edit step.
#pragma once

#include <QDialog>

#include "core/app/dialogs.h"

class QComboBox;
class QPushButton;

namespace maptesk {

class EditSteps;
class GlobalChange;
class Prompts;
struct MapRecord;

class GlobalChangeDialog : public QDialog {
  Q_OBJECT

 public:
  /// Changes are made while the dialog is open, so it ends cancelled
  /// ("Close") and the caller reads the model's `changed`.
  GlobalChangeDialog(GlobalChange& model, MapRecord& map, Prompts& prompts, EditSteps& steps,
                     QWidget* parent = nullptr);

  QComboBox* fromList() const { return from_; }
  QComboBox* toList() const { return to_; }
  QPushButton* makeChangesButton() const { return makeChanges_; }

 public slots:
  void MakeChanges();

 private:
  GlobalChange& model_;
  MapRecord& map_;
  Prompts& prompts_;
  EditSteps& steps_;
  QComboBox* from_ = nullptr;
  QComboBox* to_ = nullptr;
  QPushButton* makeChanges_ = nullptr;
};

}  // namespace maptesk
