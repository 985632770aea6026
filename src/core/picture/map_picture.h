// The map picture: a BmpImage filled from a BMP file, from the game's S16
// tiles or from the sibling game's SHP tiles, and cut into tiles again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/picture/bmp_image.h"
#include "core/picture/s16_tiles.h"
#include "core/picture/shp_picture.h"

namespace maptesk {

class MapPicture : public BmpImage {
 public:
  /// Bytes of the pixel block of an assembled picture: 1920 x 1920 x 3.
  static constexpr size_t kStoreSize = size_t(S16Tiles::kMaxWidth) * S16Tiles::kMaxHeight * 3;
  /// The value every byte of the block holds where no tile painted.
  static constexpr uint8_t kFillValue = 0xDC;

  /// Allocates this picture's own pixel block, once for its life: pictures
  /// never share pixels, so a preview cannot disturb the map's picture.
  explicit MapPicture(Prompts& prompts);
  ~MapPicture() override;

  /// Fills the picture from `path` by its extension: ".BMP" a BMP file,
  /// ".SHP" an SHP set, anything else an S16 set (any of its tile names).
  /// False, without a message, when `path` does not exist; with one when it
  /// is a folder, FIFO or device.
  bool LoadPicture(const std::string& path);
  /// The size LoadPicture would give the S16 set of `path`, read from its
  /// tiles' headers alone, with LoadPicture's messages and its finishing of
  /// an interrupted save; the picture itself is left as it is. False when
  /// LoadPicture would be.
  bool MeasureS16Set(const std::string& path, int& width, int& height);

  /// An empty 24-bit picture of the current `width` and `height` on this
  /// picture's block, every byte kFillValue.
  void StartAssembly();
  /// Decodes the tile held in the read buffer into the cell (column, row).
  void DecodeS16Tile(int column, int row);
  /// Assembles the SHP set of `path`; false when its first tile is missing.
  bool LoadShp(const std::string& path);
  /// Decodes the shape held in the SHP tile buffer into the cell (column, row).
  void DecodeShpTile(int column, int row);

  /// Writes 24-bit BMP tiles base + column + row + ".bmp". False, writing
  /// nothing, unless the picture is larger than one cell both ways.
  bool SplitToBmpTiles(const std::string& base);
  /// Writes the S16 tiles base + column + row + ".s16" as one set: the old
  /// tiles of the base stay whole unless every new tile was written.
  bool SplitToS16Tiles(const std::string& base);

  /// BmpImage's, then the block is filled with kFillValue.
  void FreeBits() override;

  /// True while `bits` is this picture's assembly block.
  bool assembled() const { return bits == store_.get(); }

  std::string fullPath;
  std::string folder;
  std::string extension;
  S16Tiles::Header tileHeader{};
  ShpShapeHeader shapeHeader{};
  int32_t tileOriginX = 0;
  int32_t tileOriginY = 0;

 private:
  /// Reads a tile file into its buffer: S16 header checked and the data
  /// position set (the header alone unless `withPixels`), or the SHP shape
  /// parsed. False when it cannot be used.
  bool OpenS16Tile(const std::string& name, bool withPixels = true);
  /// Whether `path` may be read as a picture: false when it is missing, and
  /// with a message when it is a folder, FIFO or device.
  bool MayReadPicture(const std::string& path);
  /// Finishes an interrupted save of the set `base`, then sums its tiles'
  /// sizes as the assembly lays them out.
  void SizeS16Set(const std::string& base, int32_t& width, int32_t& height);
  bool OpenShpTile(const std::string& name);
  /// Stores colour (b, g, r) at picture column x, row y from the top.
  void Put(int64_t x, int64_t y, const uint8_t* bgr) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint8_t* p = store_.get() + size_t(height - 1 - y) * size_t(stride) + size_t(x) * 3;
    p[0] = bgr[0];
    p[1] = bgr[1];
    p[2] = bgr[2];
  }

  // Both blocks are reserved once and left untouched until used: a picture
  // that only ever holds a BMP costs no pages of them. Every byte of the
  // store is filled before an assembly shows any of it, and only the bytes
  // read into the tile buffer are decoded.
  std::unique_ptr<uint8_t[]> store_;
  std::unique_ptr<uint8_t[]> tileBuffer_;
  // An SHP tile, grown to the largest tile read (at most 4 MiB) only when
  // the picture is an SHP set.
  std::vector<uint8_t> shpTile_;
  size_t tileBytes_ = 0;  // bytes of the current tile's buffer holding it
  size_t tileData_ = 0;   // where its pixel data or line codes begin
};

}  // namespace maptesk
