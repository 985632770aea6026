#include "core/picture/map_picture_link.h"

#include "core/map/hex_map.h"
#include "core/picture/map_picture.h"
#include "core/util/path_utils.h"
#include "core/util/text_format.h"

namespace maptesk {

void ConnectMapPicture(HexMap& map, MapPicture& picture) {
  // MapFileLoad asks only when the map has a picture by number; the old
  // picture counts as gone until the new one is assembled.
  map.assemblePicture = [&picture](const std::string& firstTile) {
    picture.loaded = false;
    return picture.LoadPicture(firstTile);
  };
}

std::string PictureBaseForNumber(const std::string& folder, int number) {
  return Format(number < 10 ? "%sMAP0%d" : "%sMAP%d", WithTrailingSeparator(folder).c_str(),
                number);
}

bool CreatePictureForNumber(MapPicture& picture, const std::string& folder, int number) {
  return picture.SplitToS16Tiles(PictureBaseForNumber(folder, number));
}

}  // namespace maptesk
