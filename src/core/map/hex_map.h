// The map document: the one map in memory, its selection and the link from
// its number to its picture files.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/map/map_file.h"

namespace maptesk {

class PictureLink;
class Prompts;
struct ToolSettings;

using SelectionGrid = std::array<std::array<uint8_t, kMapColumns>, kMapRows>;

class HexMap : public MapRecord {
 public:
  HexMap(ToolSettings& settings, Prompts& prompts);

  std::string path;
  bool modified = false;
  bool loaded = false;
  bool foreignPicture = false;
  bool selectionActive = false;
  SelectionGrid selected{};
  std::string pictureFile;
  bool hasS16Picture = false;

  /// Connects the map to its picture (which must outlive the connection);
  /// without one, loading makes no picture and saving asks for none.
  void SetPictureLink(PictureLink* link) { pictureLink_ = link; }
  PictureLink* pictureLink() const { return pictureLink_; }

  /// Reads a MAP file. A load that fails leaves the document as it was.
  bool MapFileLoad(const std::string& name);
  /// Writes the document; an empty name means `path`. A failed save leaves
  /// the previous file and the document as they were. A map whose number
  /// has no picture first offers to write one, unless `askPicture` is false
  /// (the caller has offered it already).
  bool MapFileSave(const std::string& name, bool askPicture = true);

  void Clear();
  void ClearSelection();
  void CheckPicture();
  void TakeMapNumberFromName(const std::string& pictureName);
  /// The first S16 tile of map `number`: in `folder` (the MAP folder when
  /// empty), else under the game folder's MAP folder. "" for a negative number.
  std::string S16PictureName(int number, const std::string& folder) const;

  HexCell& cell(int row, int column) { return cells[size_t(row)][size_t(column)]; }
  const HexCell& cell(int row, int column) const { return cells[size_t(row)][size_t(column)]; }
  static bool InGrid(int row, int column) {
    return row >= 0 && row < kMapRows && column >= 0 && column < kMapColumns;
  }

  /// The bytes of the MAP file as a save would write them (without cleaning).
  void Encode(uint8_t* out) const { EncodeMapFile(*this, out); }

  ToolSettings& settings() { return settings_; }
  const ToolSettings& settings() const { return settings_; }
  Prompts& prompts() { return prompts_; }

 private:
  ToolSettings& settings_;
  Prompts& prompts_;
  PictureLink* pictureLink_ = nullptr;
};

/// The map's number as it appears in picture tile names: "0%d" below 10.
std::string MapNumberText(int number);

}  // namespace maptesk
