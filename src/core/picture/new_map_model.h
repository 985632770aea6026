// The new-map-from-picture dialog: the BMP files, S16 sets or SHP sets of a
// folder, a preview of the one selected, and what a new map drawn on it gets.
// The preview is a picture of the dialog's own, so the map's picture, its
// exports and the view over it stay as they were until the user confirms.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/map/map_number_model.h"
#include "core/picture/map_picture.h"

namespace maptesk {

class Prompts;
struct ToolSettings;

/// What the dialog lists, in the order of its radio buttons.
enum class PictureType : int { kShp = 0, kBmp = 1, kS16 = 2 };

/// The edge of the preview frame a mark sits on.
enum class FrameEdge { kTop, kBottom, kLeft, kRight };

/// A small mark on the preview frame, at (x, y) from the frame's top-left;
/// the frame's outline runs from (0, 0) to (width, height).
struct FrameMark {
  FrameEdge edge = FrameEdge::kTop;
  int x = 0;
  int y = 0;
  friend bool operator==(const FrameMark&, const FrameMark&) = default;
};

/// The size words of a map's header.
struct MapSize {
  uint16_t rows = 0;
  uint16_t columns = 0;
  friend bool operator==(const MapSize&, const MapSize&) = default;
};

/// What a new map drawn on the chosen picture gets.
struct NewMapResult {
  /// The picture file to load into the map; "" when none was chosen.
  std::string picturePath;
  PictureType pictureType = PictureType::kBmp;
  /// The picture's size in pixels.
  PictureSize pictureSize;
  /// The rows and columns of the grid the view lays over the picture,
  /// within the map's 40 x 45.
  MapSize mapSize;
  /// The number the picture's name gives, to offer as the map's number.
  std::optional<uint16_t> mapNumber;
  /// The map's file when the picture comes before any map: the picture's
  /// name with ".map", in the scenario folder.
  std::string mapPath;
};

class NewMapModel {
 public:
  /// One line of the list.
  struct Entry {
    /// The file name of a BMP; "MAP" and the set's number (at least three
    /// digits) for an S16 or SHP set.
    std::string text;
    /// The file itself: the BMP, or the set's first tile.
    std::string path;
    /// The map number the name gives, -1 when it gives none.
    int number = -1;
  };

  static constexpr char kFolderLabel[] = "Map picture files from folder";
  static constexpr char kPrompt[] = "Select BMP / SHP / S16 file for the new MAP";
  static constexpr std::array<const char*, 3> kTypeLabels = {"Zeb-SHP files", "BMP  files",
                                                             "S16  files"};
  static constexpr char kFitToFrameLabel[] = "Fit to frame";
  static constexpr char kLoadLabel[] = "LOAD";

  /// A full map picture (1920 pixels) is previewed at 330.
  static constexpr int kPreviewScale = 330;
  static constexpr int kPictureScale = 1920;
  /// The preview is drawn this many pixels right of and below the frame's corner.
  static constexpr int kPreviewOffset = 3;
  /// The frame: the largest preview with the offset on every side.
  static constexpr PictureSize kFrameSize = {kPreviewScale + 2 * kPreviewOffset,
                                             kPreviewScale + 2 * kPreviewOffset};

  /// Reads `bmpFolder` of `settings` at Start and sets it at Accept.
  NewMapModel(ToolSettings& settings, Prompts& prompts);
  NewMapModel(const NewMapModel&) = delete;
  NewMapModel& operator=(const NewMapModel&) = delete;

  /// Dialog start: the folder is `startFolder`, or the setting `bmpFolder`
  /// when that is empty; the list is filled and its first entry previewed.
  void Start(const std::string& startFolder = {});
  /// Lists the pictures of the folder by the picture type, selects the first
  /// entry and previews it.
  void FillList();
  /// A radio button: the list is filled again for that type (before Start,
  /// the type the dialog opens with).
  void SetPictureType(PictureType type);
  /// The selection moved (-1: none): the entry's picture is previewed.
  void Select(int index);
  /// "Fit to frame": the preview is drawn at the whole frame, or to scale.
  void SetFitToFrame(bool on);
  /// The folder button: another folder is taken and listed.
  void ChooseFolder();
  /// "LOAD". False, after a message, when the selected picture cannot be
  /// loaded: the dialog stays open. Otherwise the result is set (no picture
  /// when the list is empty), the folder becomes the setting `bmpFolder` and
  /// the dialog closes.
  bool Accept();
  /// A double click on an entry: selects it and acts as "LOAD".
  bool DoubleClickEntry(int index);

  const std::string& folder() const { return folder_; }
  PictureType pictureType() const { return pictureType_; }
  bool fitToFrame() const { return fitToFrame_; }
  const std::vector<Entry>& entries() const { return entries_; }
  /// Index of the selected entry, -1 when none.
  int selectedEntry() const { return selected_; }

  /// The dialog's own picture; the dialog draws it while previewLoaded().
  const MapPicture& preview() const { return preview_; }
  bool previewLoaded() const { return previewLoaded_; }
  /// The size the preview is drawn at, from kPreviewOffset in the frame.
  PictureSize previewSize() const { return previewSize_; }

  /// Set by Accept.
  const NewMapResult& result() const { return result_; }

  /// The ten marks around the frame: at one and two thirds of its width on
  /// the top and bottom edges, at one, two and three quarters of its height
  /// on the left and right edges. Over a full picture they stand near where
  /// its 640 x 480 tiles meet.
  static std::array<FrameMark, 10> FrameMarks(PictureSize frame = kFrameSize);
  /// The rows and columns of the grid over a picture of that size.
  static MapSize MapSizeFor(PictureSize picture);

 private:
  void DropPreview();
  void SizePreview();

  ToolSettings& settings_;
  Prompts& prompts_;
  MapPicture preview_;
  std::string folder_;
  PictureType pictureType_ = PictureType::kBmp;
  bool started_ = false;
  bool fitToFrame_ = false;
  std::vector<Entry> entries_;
  int selected_ = -1;
  bool previewLoaded_ = false;
  PictureSize previewSize_;
  NewMapResult result_;
};

}  // namespace maptesk
