// The one-line description of the open map at the bottom of the editor.
#pragma once

#include <string>

namespace maptesk {

class HexMap;
class MapPicture;

/// " No file loaded" without a map; otherwise "Map: %s #%s *  %s" with the
/// map's path, its number in at least three digits, and the picture's name
/// and size: "NAME.bmp - 24b  (W x H)" for a BMP, "MAP07xx.s16  (W x H)"
/// for tiles.
std::string StatusLineText(const HexMap& map, const MapPicture& picture);

}  // namespace maptesk
