// What a set of S16 tiles on disk looks like as a whole: holes that end the
// assembled picture early, and the tiles of a base that a new set leaves out.
#pragma once

#include <string>
#include <vector>

namespace maptesk {

class MapPicture;
struct TileGrid;

/// The picture of an S16 set takes its width from the tiles of its first row
/// and its height from those of its first column. A tile missing there while
/// tiles lie beyond it ends the picture before those tiles, and they are lost
/// from it: one message per such hole (first row, then first column), as
/// "MAP05: tile MAP0510.s16 is missing; the picture ends before MAP0520.s16".
/// None for a whole set or a set that simply ends. `anyTile` is any tile name
/// of the set; names are matched ignoring case, as the loader reads them.
std::vector<std::string> S16SetHoles(const std::string& anyTile);

/// S16SetHoles of the set `picture` was assembled from; none for a BMP or
/// SHP picture or one that is not loaded.
std::vector<std::string> PictureRemarks(const MapPicture& picture);

/// The existing files of the 5 x 4 tile names of `base` (folder + base name,
/// any case) at places a new set of `grid` does not write, sorted by name:
/// they would be read as part of the new set, so an export removes them,
/// but only when the user agrees, since they may hold picture data.
std::vector<std::string> S16TilesLeftOut(const std::string& base, const TileGrid& grid);

}  // namespace maptesk
