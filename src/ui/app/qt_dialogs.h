// The core's tool dialogs and its text entry, shown as Qt dialogs modal to
// the editor's window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/app/dialogs.h"
#include "core/view/name_picker_model.h"

#include <QPoint>

class QDialog;
class QWidget;

namespace maptesk {

class CheckMapDialog;
class EditSteps;
class IdleStep;
class MapCanvas;
struct MapRecord;
class Prompts;
struct ScreenLayout;

class QtDialogs final : public Dialogs, public TextEntry {
 public:
  /// Dialogs are modal to `parent` (may be null).
  explicit QtDialogs(QWidget* parent);
  ~QtDialogs() override;

  /// Where the dialogs are placed over the frame's panels, and whose drawing
  /// is held while a text is entered. Without it they open where Qt puts them.
  void Attach(const MapCanvas* canvas, const ScreenLayout* layout, IdleStep* idle);

  /// Called before every dialog is shown, so that a full-screen display can
  /// make way for it.
  void SetBeforeDialog(std::function<void()> hook) { beforeDialog_ = std::move(hook); }

  /// The document the global change edits and the prompts the reports and
  /// changes speak through; until it is set those dialogs end cancelled.
  void SetDocument(MapRecord* map, Prompts* prompts, EditSteps* steps);

  DialogEnd RunMapNumber(MapNumberModel& model) override;
  DialogEnd RunNamePicker(NamePickerModel& model) override;
  DialogEnd RunTerrainFilter(TerrainFilterModel& model) override;
  DialogEnd RunMapsReport(MapsReport& model) override;
  DialogEnd RunGlobalChange(GlobalChange& model) override;
  DialogEnd RunOpenMap(OpenMapModel& model) override;
  DialogEnd RunNewMap(NewMapModel& model) override;
  std::string RunMapFile(MapFileModel& model, const std::string& initialPath,
                         const std::string& title, bool save) override;

  void ShowMapCheck(CheckList& list) override;

  std::optional<std::string> AskText(const std::string& prompt, const std::string& text) override;

 private:
  /// Shows a dialog modally, at `at` when given (moved in to stay whole on
  /// the screen), once the display made way for it.
  DialogEnd Exec(QDialog& dialog, std::optional<QPoint> at) const;
  /// Where the tool dialogs stand; none without a canvas.
  std::optional<QPoint> ToolDialogPoint() const;

  QWidget* parent_ = nullptr;
  /// The findings' tool window, made at its first showing.
  std::unique_ptr<CheckMapDialog> checkMap_;
  std::function<void()> beforeDialog_;
  const MapCanvas* canvas_ = nullptr;
  const ScreenLayout* layout_ = nullptr;
  IdleStep* idle_ = nullptr;
  MapRecord* map_ = nullptr;
  Prompts* prompts_ = nullptr;
  EditSteps* steps_ = nullptr;
};

}  // namespace maptesk
