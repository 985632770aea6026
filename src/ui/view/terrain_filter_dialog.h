// The terrain filter dialog: a column of boxes, one per terrain type, with
// the types named beside them, and the labels-instead-of-icons option.
#pragma once

#include <QDialog>
#include <array>

#include "core/app/dialogs.h"
#include "core/map/terrain_table.h"

class QCheckBox;

namespace maptesk {

class TerrainFilterModel;

class TerrainFilterDialog : public QDialog {
 public:
  /// The boxes show the model; every click is written back at once, so the
  /// model holds the dialog's state whichever way it ends.
  TerrainFilterDialog(TerrainFilterModel& model, QWidget* parent);

  /// Runs the dialog modally; the caller applies the model on kOk.
  static DialogEnd Run(TerrainFilterModel& model, QWidget* parent);

  /// The picture beside the boxes: each type's icon and name on a row.
  static QPixmap TypesPicture(int rowPitch);

 private:
  void ShowModel();

  TerrainFilterModel& model_;
  std::array<QCheckBox*, TerrainTable::kCount> boxes_{};
  QCheckBox* labels_ = nullptr;
};

}  // namespace maptesk
