// The tool dialogs, as the core asks for them: each runs modally on its
// model, which holds the dialog's state and rules, and says how it ended.
// The editor shows them with widgets; tests script them.
#pragma once

namespace maptesk {

class GlobalChange;
class MapNumberModel;
class MapsReport;
class NamePickerModel;
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
};

}  // namespace maptesk
