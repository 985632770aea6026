// The side panel of the "Save MAP as" file dialog: for the MAP file selected
// in the file list, the number it holds, whether the MAP folder has that
// number's S16 picture, and a small preview of the picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/map/map_number_model.h"
#include "core/picture/kept_preview.h"

namespace maptesk {

struct ToolSettings;

class MapFileModel {
 public:
  /// The preview square is 96 x 96 pixels: 96 of every 1920 picture pixels.
  static constexpr int kPreviewSide = 96;
  static constexpr int kPictureScale = 1920;
  /// The square's fill, silver: red, green and blue all at this level.
  static constexpr uint8_t kFillLevel = 192;

  MapFileModel(const ToolSettings& settings, PicturePreview& preview);
  /// With a preview of its own, which the dialog draws from previewPicture().
  explicit MapFileModel(const ToolSettings& settings);
  ~MapFileModel();
  MapFileModel(const MapFileModel&) = delete;
  MapFileModel& operator=(const MapFileModel&) = delete;

  /// "Pictures on folder: " and the MAP folder.
  std::string FolderText() const;
  /// The file list's selection moved to `path`: the status line, and the
  /// preview when the number's first tile is in the MAP folder.
  void SelectFile(const std::string& path);

  /// The status line: "%s  ( #%d )  %s" with the file name, its number (-1
  /// for none or a file too short to hold one) and "Pic OK" or " * No Pic *";
  /// "Select any file..." or "Error opening file" when there is no number.
  const std::string& caption() const { return caption_; }
  bool previewLoaded() const { return previewLoaded_; }
  /// The first tile the preview was loaded from.
  const std::string& previewFile() const { return previewFile_; }
  /// The size the preview is drawn at, from the square's top-left corner.
  PictureSize previewSize() const { return previewSize_; }
  /// The loaded preview when the model has a preview of its own, else null.
  const MapPicture* previewPicture() const;

 private:
  const ToolSettings& settings_;
  std::unique_ptr<KeptPreview> ownPreview_;
  PicturePreview& preview_;
  std::string caption_ = "Select any file";
  bool previewLoaded_ = false;
  std::string previewFile_;
  PictureSize previewSize_;
};

}  // namespace maptesk
