#include "ui/app/global_change_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/global_change.h"
#include "core/map/terrain_table.h"
#include "core/util/cp1252.h"

namespace maptesk {

namespace {
constexpr int kTerrainTypes = 20;
}  // namespace

GlobalChangeDialog::GlobalChangeDialog(GlobalChange& model, MapRecord& map, Prompts& prompts,
                                       EditSteps& steps, QWidget* parent)
    : QDialog(parent), model_(model), map_(map), prompts_(prompts), steps_(steps) {
  setWindowTitle("Global terrain changes");

  auto* frame = new QGroupBox("Global Terrain Changes", this);
  auto* grid = new QGridLayout(frame);
  auto* description = new QLabel(
      "Here you can change all hexes with a certain terrain type with a different value", frame);
  description->setWordWrap(true);
  grid->addWidget(description, 0, 0, 1, 2);

  from_ = new QComboBox(frame);
  to_ = new QComboBox(frame);
  // Unsorted, so that a list's index is the terrain value.
  for (QComboBox* list : {from_, to_}) {
    for (int value = 0; value < kTerrainTypes; ++value) {
      list->addItem(QString::fromStdString(Cp1252ToUtf8(TerrainTable::Name(value))));
    }
    list->setMaxVisibleItems(kTerrainTypes);
  }
  from_->setCurrentIndex(model_.fromType);
  to_->setCurrentIndex(model_.toType);
  grid->addWidget(new QLabel("Change Terrain type", frame), 1, 0);
  grid->addWidget(from_, 1, 1);
  grid->addWidget(new QLabel("To Terrain type", frame), 2, 0);
  grid->addWidget(to_, 2, 1);
  grid->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  makeChanges_ = new QPushButton("Make Changes", frame);
  makeChanges_->setDefault(true);
  auto* closeButton = new QPushButton("Close", frame);
  closeButton->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(makeChanges_);
  buttons->addWidget(closeButton);
  grid->addLayout(buttons, 3, 0, 1, 2);

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(frame);
  setMinimumWidth(340);

  connect(makeChanges_, &QPushButton::clicked, this, &GlobalChangeDialog::MakeChanges);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void GlobalChangeDialog::MakeChanges() {
  model_.fromType = from_->currentIndex();
  model_.toType = to_->currentIndex();
  model_.MakeChanges(map_, prompts_, steps_);
}

}  // namespace maptesk
