// The game's S16 picture tiles: a 44-byte header and 5-6-5 colours, plain or
// run-length packed (3-byte packets: run length, colour).
//
//   0  4  signature 1
//   4 40  ten words: width, height, 0, 0, width, height, gap bytes,
//         data bytes, packing (1 = run-length), 0
//   44 + gap  pixel data, rows top to bottom
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace maptesk {

struct S16Tiles {
  static constexpr int kCellWidth = 640;
  static constexpr int kCellHeight = 480;
  static constexpr int kColumns = 3;
  static constexpr int kRows = 4;
  static constexpr int kMaxWidth = kCellWidth * kColumns;
  static constexpr int kMaxHeight = 1920;
  static constexpr int kHeaderSize = 44;
  /// Pixel data read from one tile: 640 x 480 x 3 bytes.
  static constexpr size_t kReadBufferSize = size_t(kCellWidth) * kCellHeight * 3;

  /// Word indices of the ten-word tile header.
  enum Word { kWidth = 0, kHeight = 1, kGapBytes = 6, kDataBytes = 7, kPacking = 8 };
  using Header = std::array<int32_t, 10>;

  /// 5-6-5 to blue, green, red, keeping the low bits clear.
  static void ToBgr(uint16_t v, uint8_t* bgr) {
    bgr[0] = uint8_t((v & 0x1F) * 8);
    bgr[1] = uint8_t(((v >> 5) & 0x3F) * 4);
    bgr[2] = uint8_t(((v >> 11) & 0x1F) * 8);
  }
  static uint16_t FromBgr(const uint8_t* bgr) {
    return uint16_t((bgr[2] / 8) << 11 | (bgr[1] / 4) << 5 | (bgr[0] / 8));
  }

  /// Parses the 44 leading bytes; false unless the signature is 1.
  static bool ParseHeader(const uint8_t* data, size_t size, Header& header);

  /// The file of a tile: folder + base + column + row + extension.
  static std::string TileName(const std::string& folderAndBase, int column, int row,
                              const char* extension = ".s16");

  /// The base of a picture from any of its tile names: the name without
  /// folder and extension, less its two last characters (the column and row
  /// digits) when it is longer than 5 characters.
  static std::string BaseOf(const std::string& path);

  /// A complete tile file of `w` x `h` pixels taken from 24-bit bottom-up
  /// rows, starting at picture column `x0` and row `y0` counted from the top.
  /// `packed` writes run-length packets instead of plain colours.
  static std::vector<uint8_t> Encode(const uint8_t* rows, int rowBytes, int pictureHeight, int x0,
                                     int y0, int w, int h, bool packed);
};

/// The size of the picture a set of S16 tiles assembles to, from the tiles'
/// headers alone: the widths of the first row's tiles and the heights of the
/// first column's, as the picture loader sums them, cut to the largest
/// picture it can hold. 0 x 0 when the first tile is missing.
void S16SetSize(const std::string& anyTile, int& width, int& height);

}  // namespace maptesk
