// A dialog's preview that keeps the picture it loaded, so that the dialog
// draws it without reading the picture set a second time.
#pragma once

#include <optional>
#include <string>

#include "core/map/map_number_model.h"
#include "core/picture/map_picture.h"
#include "core/util/prompts.h"

namespace maptesk {

class KeptPreview final : public PicturePreview {
 public:
  KeptPreview() = default;
  KeptPreview(const KeptPreview&) = delete;
  KeptPreview& operator=(const KeptPreview&) = delete;

  /// Loads the picture set of a first tile. A preview that fails is only
  /// empty: its dialog's caption says so, no message box.
  std::optional<PictureSize> LoadPreview(const std::string& firstTile) override;
  /// The picture last loaded, while it is the one of `firstTile`.
  const MapPicture* Picture(const std::string& firstTile) const;
  const BmpImage* KeptPicture(const std::string& firstTile) const override {
    return Picture(firstTile);
  }

 private:
  SilentPrompts silent_;
  MapPicture picture_{silent_};
  std::string file_;
};

}  // namespace maptesk
