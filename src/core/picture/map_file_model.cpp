#include "core/picture/map_file_model.h"

#include <optional>
#include <vector>

#include "core/map/hex_map.h"
#include "core/map/map_file.h"
#include "core/settings/tool_settings.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/text_format.h"

namespace maptesk {

MapFileModel::MapFileModel(const ToolSettings& settings, PicturePreview& preview)
    : settings_(settings), preview_(preview) {}

MapFileModel::MapFileModel(const ToolSettings& settings)
    : settings_(settings), ownPreview_(std::make_unique<KeptPreview>()), preview_(*ownPreview_) {}

MapFileModel::~MapFileModel() = default;

const MapPicture* MapFileModel::previewPicture() const {
  return ownPreview_ && previewLoaded_ ? ownPreview_->Picture(previewFile_) : nullptr;
}

std::string MapFileModel::FolderText() const {
  return "Pictures on folder: " + settings_.mapFolder;
}

void MapFileModel::SelectFile(const std::string& path) {
  previewLoaded_ = false;
  previewFile_.clear();
  previewSize_ = {};
  std::vector<uint8_t> head;
  const ReadStatus status = ReadFileBytes(path, head, 2);
  // A folder in the list, or a name being typed, is no file to tell about.
  if (status == ReadStatus::kNotFound ||
      (status == ReadStatus::kNotAFile && NotAFileKind(path) == "a folder")) {
    caption_ = "Select any file...";
    return;
  }
  if (status != ReadStatus::kOk) {
    caption_ = "Error opening file";
    return;
  }
  const int value = head.size() == 2 ? head[0] | head[1] << 8 : kNoMapNumber;
  const int number = value == kNoMapNumber ? -1 : value;
  std::optional<std::string> tile;
  if (number >= 0) {
    tile = FindFileNoCase(WithTrailingSeparator(settings_.mapFolder) + "MAP" +
                          MapNumberText(number) + "00.s16");
  }
  caption_ = Format("%s  ( #%d )  %s", PathPart(path, kPartFileName).c_str(), number,
                    tile ? "Pic OK" : " * No Pic *");
  if (!tile) return;
  const std::optional<PictureSize> size = preview_.LoadPreview(*tile);
  if (!size || size->width <= 0 || size->height <= 0) return;
  previewLoaded_ = true;
  previewFile_ = *tile;
  previewSize_ = {int(static_cast<long long>(size->width) * kPreviewSide / kPictureScale),
                  int(static_cast<long long>(size->height) * kPreviewSide / kPictureScale)};
}

}  // namespace maptesk
