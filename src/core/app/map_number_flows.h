// The two flows that run the map-number dialog: "Change Map Number", and the
// picture step of saving a map whose number has no picture.
#pragma once

#include <string>

#include "core/map/map_number_model.h"

namespace maptesk {

class Dialogs;
class EditSteps;
class HexMap;

/// What the map-number flows ask of the application beyond the dialog.
class MapNumberHost : public PicturePreview {
 public:
  /// Writes the current map picture as the S16 tiles of a base name
  /// ("<folder>MAP07"), replacing tiles of that base; false when it failed
  /// (the writer has told the user).
  virtual bool WriteS16Tiles(const std::string& baseName) = 0;
  /// After the picture of a new number was assembled: the after-load steps
  /// (display, folders, default names).
  virtual void AfterPictureLoaded() = 0;
  /// Rebuilds the status line.
  virtual void UpdateStatusLine() = 0;
};

/// "Change Map Number": gives the open map another number (one edit step)
/// and offers to load that number's picture. Returns whether the number changed.
bool ChangeMapNumberCommand(HexMap& map, Dialogs& dialogs, MapNumberHost& host, EditSteps& steps);

/// Before a map without a picture is saved: lets the user write the current
/// picture as the S16 tiles of a number and adopt that number. Returns
/// whether tiles were written.
bool CreatePictureForNumber(HexMap& map, Dialogs& dialogs, MapNumberHost& host);

}  // namespace maptesk
