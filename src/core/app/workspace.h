// The one map being worked on, with everything wired to it: the settings,
// the map document, its names, its picture, its edit history and the prompts
// that speak to the user. The editor and the command-line tool both stand on
// it, so a map opens, edits and saves the same way in either.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/edit_history.h"
#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/map/map_number_model.h"
#include "core/map/picture_link.h"
#include "core/picture/map_picture.h"
#include "core/settings/tool_settings.h"

namespace maptesk {

class Dialogs;
class MapNumberHost;
class Prompts;

class Workspace final : private PictureLink {
 public:
  /// `prompts` must outlive the workspace.
  explicit Workspace(Prompts& prompts);
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  Prompts& prompts;
  ToolSettings settings;
  HexMap map;
  MapNames names;
  /// The map's picture, assembled when a map with a picture is opened.
  MapPicture picture;
  EditHistory history;

  /// The application's dialogs and map-number services (both or neither).
  /// Without them, saving a map whose number has no picture asks nothing.
  void SetApplication(Dialogs* dialogs, MapNumberHost* numberHost);

  /// Reads a MAP file with its picture; the history starts afresh. A load
  /// that fails leaves everything as it was. A map whose number has no
  /// picture is left without one.
  bool OpenMap(const std::string& path, bool withPicture = true);
  /// Reads a MAP file as OpenMap does, then its default names: everything
  /// a program needs that shows or changes the map without a window.
  /// `withPicture` false leaves the picture unread (a check needs only its
  /// size, which PictureSizeOf then takes from the tiles' headers).
  bool OpenMapWithNames(const std::string& path, bool withPicture = true);
  /// An empty map to be saved as `path`, with no number; the history starts
  /// afresh. The picture stays as it is.
  void NewMap(const std::string& path);
  /// Loads the map's picture from a BMP file, any tile of an S16 set or an
  /// SHP set; false (the old picture gone) when it cannot be loaded. An S16
  /// set with a hole in its first row or column loads narrower than its
  /// tiles: that is said once, as a remark, and kept in pictureRemarks.
  bool LoadPicture(const std::string& file);
  /// What LoadPicture said about the picture loaded last (S16SetHoles).
  std::vector<std::string> pictureRemarks;
  /// The size of the map's picture, or none without one: the assembled
  /// picture's, else that of the map's S16 set from its tiles' headers.
  std::optional<PictureSize> PictureSizeOf() const;
  /// Writes the map ("" writes it back to its own file); `askPicture` as
  /// HexMap::MapFileSave.
  bool SaveMap(const std::string& path, bool askPicture = true);
  /// Empties the names and reads the map's default names file; the names
  /// then match that file.
  void LoadDefaultNames();
  /// Writes the names; false (after the message) leaves them modified.
  bool SaveNames(const std::string& path);
  /// Turns every hex of terrain `from` into `to`, as one edit step; the
  /// number of hexes changed, or -1 for an impossible pair. Shows "Done !".
  int ReplaceTerrain(int from, int to);
  /// Takes the map and names of a recovery copy into the open map as one
  /// edit step, leaving them modified. False, keeping everything as it was,
  /// when the copy cannot be read (the user is told).
  bool RestoreCopy(const std::string& mapFile, const std::string& namesFile);
  /// Gives the map another number as one edit step, and looks for that
  /// number's picture file (not loaded). False when the number is the same.
  bool Renumber(uint16_t number);
  /// Replaces the names with those of a names file, as one edit step; the
  /// names then match that file. False when it could not be read.
  bool LoadNamesFile(const std::string& path);
  /// "Change Map Number", with the application's dialogs; false when none
  /// are set or the number did not change.
  bool ChangeMapNumber();

 private:
  bool AssemblePicture(const std::string& firstTile) override;
  void CreatePictureForNumber() override;

  Dialogs* dialogs_ = nullptr;
  MapNumberHost* numberHost_ = nullptr;
};

}  // namespace maptesk
