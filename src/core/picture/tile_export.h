// The grid of 640 x 480 cells that pictures are cut into for export.
#pragma once

#include <string>

namespace maptesk {

struct TileGrid {
  int pictureWidth = 0;
  int pictureHeight = 0;

  int columns() const { return (pictureWidth + 639) / 640; }
  int rows() const { return (pictureHeight + 479) / 480; }
  int cells() const { return columns() * rows(); }
  /// Width and height of the cell (column, row): 640 x 480 except at the
  /// picture's right and bottom edges.
  int CellWidth(int column) const;
  int CellHeight(int row) const;
};

/// The tile names of one base hold one digit per index: a picture needing
/// more columns or rows than this cannot be cut into named tiles.
inline constexpr int kMaxTileIndex = 10;

/// Folder + "MAP0%d" below 10, else folder + "MAP%d": the base of the S16
/// tiles of map `number`.
std::string PictureBaseForNumber(const std::string& folder, int number);

}  // namespace maptesk
