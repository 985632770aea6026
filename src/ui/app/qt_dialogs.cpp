#include "ui/app/qt_dialogs.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "core/app/maps_report.h"
#include "core/picture/new_map_model.h"
#include "core/picture/open_map_model.h"
#include "core/view/display_rules.h"
#include "core/view/map_view.h"
#include "ui/app/check_map_dialog.h"
#include "ui/app/global_change_dialog.h"
#include "ui/app/report_dialog.h"
#include "ui/display/map_canvas.h"
#include "ui/map/map_number_dialog.h"
#include "ui/picture/map_file_dialog.h"
#include "ui/picture/new_map_picture_dialog.h"
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

DialogEnd QtDialogs::Exec(QDialog& dialog, std::optional<QPoint> at) const {
  if (beforeDialog_) beforeDialog_();
  if (at) PlaceOnScreen(dialog, *at);
  return dialog.exec() == QDialog::Accepted ? DialogEnd::kOk : DialogEnd::kCancel;
}

std::optional<QPoint> QtDialogs::ToolDialogPoint() const {
  if (canvas_ == nullptr) return std::nullopt;
  // The tool dialogs stand at the display's left edge, just below the
  // screen's top: below the title bar in a window, higher in full screen.
  constexpr int kWindowTop = 48;
  constexpr int kFullScreenTop = 22;
  const int left = canvas_->mapToGlobal(canvas_->ShownRect().topLeft()).x();
  const QScreen* screen = canvas_->screen();
  const int top = screen != nullptr ? screen->geometry().top() : 0;
  return QPoint(left, top + (canvas_->window()->isFullScreen() ? kFullScreenTop : kWindowTop));
}

DialogEnd QtDialogs::RunTerrainFilter(TerrainFilterModel& model) {
  TerrainFilterDialog dialog(model, parent_);
  // Beside the right panel's top, at the screen's left edge.
  return Exec(dialog, layout_ != nullptr ? PanelPoint(canvas_, layout_, layout_->screen.left,
                                                      layout_->rightPanel.top)
                                         : std::nullopt);
}

DialogEnd QtDialogs::RunNamePicker(NamePickerModel& model) {
  NamePickerDialog dialog(model, parent_);
  // Over the terrain chooser, which it stands in for while names are set.
  return Exec(dialog, layout_ != nullptr
                          ? PanelPoint(canvas_, layout_, layout_->terrainChooser.left,
                                       layout_->terrainChooser.top)
                          : std::nullopt);
}

std::optional<std::string> QtDialogs::AskText(const std::string& prompt, const std::string& text) {
  // No frame is drawn while the text is entered.
  if (idle_ != nullptr) idle_->Set(kStateTextEntry);
  if (beforeDialog_) beforeDialog_();
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
  MapNumberDialog dialog(model, parent_);
  return Exec(dialog, ToolDialogPoint());
}

DialogEnd QtDialogs::RunMapsReport(MapsReport& model) {
  if (prompts_ == nullptr) return DialogEnd::kCancel;
  ReportDialog dialog(model, *prompts_, parent_);
  const DialogEnd end = Exec(dialog, ToolDialogPoint());
  // The folder's list is dropped when the dialog closes.
  model.Close();
  return end;
}

DialogEnd QtDialogs::RunGlobalChange(GlobalChange& model) {
  if (map_ == nullptr || prompts_ == nullptr || steps_ == nullptr) return DialogEnd::kCancel;
  GlobalChangeDialog dialog(model, *map_, *prompts_, *steps_, parent_);
  return Exec(dialog, ToolDialogPoint());
}

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

QtDialogs::~QtDialogs() = default;

void QtDialogs::ShowMapCheck(CheckList& list) {
  if (beforeDialog_) beforeDialog_();
  if (!checkMap_) {
    checkMap_ = std::make_unique<CheckMapDialog>(list, parent_);
    if (std::optional<QPoint> at = ToolDialogPoint()) checkMap_->move(*at);
  }
  checkMap_->ShowList();
  checkMap_->show();
  checkMap_->raise();
}

DialogEnd QtDialogs::RunOpenMap(OpenMapModel& model) {
  if (!model.Start()) return DialogEnd::kCancel;
  OpenMapDialog dialog(model, parent_);
  return Exec(dialog, std::nullopt);
}

DialogEnd QtDialogs::RunNewMap(NewMapModel& model) {
  model.Start();
  NewMapPictureDialog dialog(model, parent_);
  return Exec(dialog, std::nullopt);
}

std::string QtDialogs::RunMapFile(MapFileModel& model, const std::string& initialPath,
                                  const std::string& title, bool save) {
  if (beforeDialog_) beforeDialog_();
  return MapFileDialog::Run(model, initialPath, title, save, parent_);
}

}  // namespace maptesk
