#include "core/picture/kept_preview.h"

namespace maptesk {

std::optional<PictureSize> KeptPreview::LoadPreview(const std::string& firstTile) {
  file_.clear();
  if (!picture_.LoadPicture(firstTile) || picture_.width <= 0 || picture_.height <= 0) {
    return std::nullopt;
  }
  file_ = firstTile;
  return PictureSize{picture_.width, picture_.height};
}

const MapPicture* KeptPreview::Picture(const std::string& firstTile) const {
  return !file_.empty() && file_ == firstTile ? &picture_ : nullptr;
}

}  // namespace maptesk
