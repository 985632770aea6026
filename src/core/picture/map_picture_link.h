// Ties the map document to its picture: loading a map assembles the S16
// picture of its number into the map's MapPicture.
#pragma once

#include <string>

namespace maptesk {

class HexMap;
class MapPicture;

/// Sets the map's picture seam: MapFileLoad then assembles the picture of
/// the map's number into `picture` (which must outlive the map's use of it).
void ConnectMapPicture(HexMap& map, MapPicture& picture);

/// Folder + "MAP0%d" below 10, else folder + "MAP%d": the base of the S16
/// tiles of map `number`.
std::string PictureBaseForNumber(const std::string& folder, int number);

/// Writes the current picture as the S16 tiles of map `number` in `folder`
/// (existing tiles of that number are replaced as one set).
bool CreatePictureForNumber(MapPicture& picture, const std::string& folder, int number);

}  // namespace maptesk
