// The tool dialogs, as the core asks for them: each runs modally on its
// model, which holds the dialog's state and rules, and says how it ended.
// The editor shows them with widgets; tests script them.
#pragma once

#include <optional>
#include <string>

#include "core/view/name_picker_model.h"

namespace maptesk {

class CheckList;
class GlobalChange;
class MapFileModel;
class MapNumberModel;
class MapsReport;
class NamePickerModel;
class NewMapModel;
class OpenMapModel;
class TerrainFilterModel;

/// How a dialog was closed: with its OK button (whatever its label), or
/// cancelled by its Cancel button, Escape or its close box.
enum class DialogEnd { kOk, kCancel };

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  /// The map-number dialog on a started model; OK only after the model's
  /// Accept took the typed number.
  virtual DialogEnd RunMapNumber(MapNumberModel& model) = 0;
  /// The name picker on an opened model; OK after the model's Accept.
  virtual DialogEnd RunNamePicker(NamePickerModel& model) = 0;
  virtual DialogEnd RunTerrainFilter(TerrainFilterModel& model) = 0;
  virtual DialogEnd RunMapsReport(MapsReport& model) = 0;
  virtual DialogEnd RunGlobalChange(GlobalChange& model) = 0;
  /// The open-map dialog; it starts the model (its folders and list) itself.
  /// The model holds the chosen map after OK.
  virtual DialogEnd RunOpenMap(OpenMapModel& model) = 0;
  /// The new-map dialog; it starts the model itself. OK only after the
  /// model's Accept took the chosen picture.
  virtual DialogEnd RunNewMap(NewMapModel& model) = 0;
  /// The file dialog for MAP files with the model's panel beside its list,
  /// starting at `initialPath`: a save dialog (asking before replacing a
  /// file) or an open one. The chosen path, "" when cancelled.
  virtual std::string RunMapFile(MapFileModel& model, const std::string& initialPath,
                                 const std::string& title, bool save) = 0;
  /// Shows the list of map findings beside the map and returns at once: it
  /// stays open while the designer edits.
  virtual void ShowMapCheck(CheckList& list) = 0;
};

/// Ends every dialog cancelled and enters no text: for flows run with nobody
/// to ask (batch work).
class CancelledDialogs final : public Dialogs, public TextEntry {
 public:
  DialogEnd RunMapNumber(MapNumberModel&) override { return DialogEnd::kCancel; }
  DialogEnd RunNamePicker(NamePickerModel&) override { return DialogEnd::kCancel; }
  DialogEnd RunTerrainFilter(TerrainFilterModel&) override { return DialogEnd::kCancel; }
  DialogEnd RunMapsReport(MapsReport&) override { return DialogEnd::kCancel; }
  DialogEnd RunGlobalChange(GlobalChange&) override { return DialogEnd::kCancel; }
  DialogEnd RunOpenMap(OpenMapModel&) override { return DialogEnd::kCancel; }
  DialogEnd RunNewMap(NewMapModel&) override { return DialogEnd::kCancel; }
  std::string RunMapFile(MapFileModel&, const std::string&, const std::string&, bool) override {
    return {};
  }
  std::optional<std::string> AskText(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void ShowMapCheck(CheckList&) override {}
};

}  // namespace maptesk
