// The tool dialogs, as the core asks for them: each runs modally on its
// model, which holds the dialog's state and rules, and says how it ended.
// The editor shows them with widgets; tests script them.
#pragma once

#include <string>

namespace maptesk {

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
};

}  // namespace maptesk
