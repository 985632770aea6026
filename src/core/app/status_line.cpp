#include "core/app/status_line.h"

#include "core/map/hex_map.h"
#include "core/picture/map_picture.h"
#include "core/util/path_utils.h"
#include "core/util/text_format.h"

namespace maptesk {

std::string StatusLineText(const HexMap& map, const MapPicture& picture) {
  if (!map.loaded) return " No file loaded";
  std::string name;
  if (EqualsNoCase(picture.extension, ".BMP") || EqualsNoCase(picture.extension, "BMP")) {
    name = Format("%s - %db", PathPart(picture.fullPath, kPartFileName).c_str(),
                  picture.HeaderBitCount());
  } else {
    name = picture.fileName + "xx.s16";
  }
  const std::string pictureText =
      Format("%s  (%d x %d)", name.c_str(), int(picture.width), int(picture.height));
  return Format("Map: %s #%s *  %s", map.path.c_str(),
                PadNumber(map.MapNumber, 3, '0', true).c_str(), pictureText.c_str());
}

}  // namespace maptesk
