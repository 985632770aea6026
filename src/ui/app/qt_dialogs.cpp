#include "ui/app/qt_dialogs.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "core/view/display_rules.h"
#include "core/view/map_view.h"
#include "ui/app/global_change_dialog.h"
#include "ui/app/maps_report_dialog.h"
#include "ui/display/main_frame.h"
#include "ui/map/map_number_dialog.h"
#include "ui/picture/map_file_dialog.h"
#include "ui/picture/new_map_dialog.h"
#include "ui/picture/open_map_dialog.h"
#include "ui/view/name_picker_dialog.h"
#include "ui/view/terrain_filter_dialog.h"

namespace maptesk {
namespace {

// The panels are laid out on the back surface, which a full-screen mode shows
// scaled inside the canvas: map the point the same way the frame is shown.
std::optional<QPoint> PanelPoint(const MapCanvas* canvas, const ScreenLayout* layout, int x,
                                 int y) {
  if (canvas == nullptr || layout == nullptr || layout->screen.width() <= 0 ||
      layout->screen.height() <= 0) {
    return std::nullopt;
  }
  const QRect shown = canvas->ShownRect();
  const QPoint inCanvas(shown.left() + int(int64_t(x) * shown.width() / layout->screen.width()),
                        shown.top() + int(int64_t(y) * shown.height() / layout->screen.height()));
  return canvas->mapToGlobal(inCanvas);
}

// Places a dialog at a point, moved in as far as needed for all of it to be
// on the screen that holds the point: a dialog cut by the screen's edge
// hides its buttons.
void PlaceOnScreen(QDialog& dialog, QPoint at) {
  dialog.adjustSize();
  const QScreen* screen = QGuiApplication::screenAt(at);
  if (screen == nullptr) screen = dialog.screen();
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    const QSize size = dialog.frameGeometry().size().expandedTo(dialog.sizeHint());
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
  }
  dialog.move(at);
}

}  // namespace

void QtDialogs::Attach(const MapCanvas* canvas, const ScreenLayout* layout, IdleStep* idle) {
  canvas_ = canvas;
  layout_ = layout;
  idle_ = idle;
}

DialogEnd QtDialogs::RunTerrainFilter(TerrainFilterModel& model) {
  BeforeDialog();
  TerrainFilterDialog dialog(model, parent_);
  // Beside the right panel's top, at the screen's left edge.
  if (layout_ != nullptr) {
    if (auto at = PanelPoint(canvas_, layout_, layout_->screen.left, layout_->rightPanel.top)) {
      PlaceOnScreen(dialog, *at);
    }
  }
  return dialog.exec() == QDialog::Accepted ? DialogEnd::kOk : DialogEnd::kCancel;
}

DialogEnd QtDialogs::RunNamePicker(NamePickerModel& model) {
  BeforeDialog();
  NamePickerDialog dialog(model, parent_);
  // Over the terrain chooser, which it stands in for while names are set.
  if (layout_ != nullptr) {
    if (auto at = PanelPoint(canvas_, layout_, layout_->terrainChooser.left,
                             layout_->terrainChooser.top)) {
      PlaceOnScreen(dialog, *at);
    }
  }
  return dialog.exec() == QDialog::Accepted ? DialogEnd::kOk : DialogEnd::kCancel;
}

std::optional<std::string> QtDialogs::AskText(const std::string& prompt, const std::string& text) {
  // No frame is drawn while the text is entered.
  if (idle_ != nullptr) idle_->Set(kStateTextEntry);
  BeforeDialog();
  TextEntryDialog dialog(parent_);
  std::optional<std::string> result = dialog.AskText(prompt, text);
  if (idle_ != nullptr) idle_->Clear(kStateTextEntry);
  return result;
}

void QtDialogs::SetDocument(MapRecord* map, Prompts* prompts, EditSteps* steps) {
  map_ = map;
  prompts_ = prompts;
  steps_ = steps;
}

DialogEnd QtDialogs::RunMapNumber(MapNumberModel& model) {
  BeforeDialog();
  return MapNumberDialog::Run(model, parent_);
}

DialogEnd QtDialogs::RunMapsReport(MapsReport& model) {
  if (prompts_ == nullptr) return DialogEnd::kCancel;
  BeforeDialog();
  return MapsReportDialog::Run(model, *prompts_, parent_);
}

DialogEnd QtDialogs::RunGlobalChange(GlobalChange& model) {
  if (map_ == nullptr || prompts_ == nullptr || steps_ == nullptr) return DialogEnd::kCancel;
  BeforeDialog();
  return GlobalChangeDialog::Run(model, *map_, *prompts_, *steps_, parent_);
}

DialogEnd QtDialogs::RunOpenMap(OpenMapModel& model) {
  BeforeDialog();
  return OpenMapDialog::Run(model, parent_);
}

DialogEnd QtDialogs::RunNewMap(NewMapModel& model) {
  BeforeDialog();
  return NewMapDialog::Run(model, parent_);
}

std::string QtDialogs::RunMapFile(MapFileModel& model, const std::string& initialPath,
                                  const std::string& title, bool save) {
  BeforeDialog();
  return MapFileDialog::Run(model, initialPath, title, save, parent_);
}

}  // namespace maptesk
