// What the map document asks of the picture that belongs to it. The map
// knows its number and the tile names; building and writing the picture
// itself happens in the layers above, which implement this.
#pragma once

#include <string>

namespace maptesk {

class PictureLink {
 public:
  virtual ~PictureLink() = default;

  /// Assembles the map picture from the first S16 tile of a set; false when
  /// no picture could be built (the reader has told the user).
  virtual bool AssemblePicture(const std::string& firstTile) = 0;
  /// Before a map whose number has no S16 picture is saved: lets the user
  /// write the current picture as the tiles of a number (and adopt it).
  virtual void CreatePictureForNumber() = 0;
};

}  // namespace maptesk
