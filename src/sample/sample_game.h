// The sample game folder that a new user opens first: maps of two numbers
// with their S16 pictures, MAP files and names files, an SHP set of the
// sibling game and a BMP picture for new maps, all drawn by our own code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace maptesk {

class BmpImage;
class HexMap;
class MapNames;
class Prompts;

/// How a sample landscape is laid out.
enum class SampleStyle {
  kWestCoast,  ///< sea to the west with a bay, hills and mountains to the east
  kLakeland,   ///< sea along the south, a lake inland, hills to the north
};

/// One landscape: its picture and, on the same hexes, terrain, roads and names.
struct SampleLandscape {
  int width = 0;
  int height = 0;
  SampleStyle style = SampleStyle::kWestCoast;
  uint32_t seed = 1;
};

class SampleGame {
 public:
  struct MapEntry {
    int number;
    const char* scenario;  ///< the MAP file's name in SCENARIO
    int width;
    int height;
    bool packed;  ///< S16 tiles stored run-length packed
    SampleStyle style;
    uint32_t seed;
  };
  /// The maps of the sample game.
  static const std::vector<MapEntry>& Maps();

  explicit SampleGame(Prompts& prompts);

  /// Writes the folder: MAP/ (S16 sets and names files), SCENARIO/ (MAP
  /// files), ZEB/ (an SHP set) and BMP/ (a picture for new maps). False, with
  /// a message, when a file cannot be written.
  bool Write(const std::string& folder);

  /// Paints `land` into `image` (24 bits). When `map` is given, its grid gets
  /// the terrain, roads and map size that fit the picture, and `names` (when
  /// given) the names of its towns and features.
  static bool Paint(const SampleLandscape& land, BmpImage& image, HexMap* map, MapNames* names);

 private:
  Prompts& prompts_;
};

}  // namespace maptesk
