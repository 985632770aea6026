// The sibling game's SHP pictures: palette-indexed shapes coded line by line.
//
//   0  4  not examined
//   4  4  shape count, must be 1
//   8  4  offset of the 24-byte shape header
//   header: height - 1 (16), width - 1 (16), 4 unused, left, top, 4 unused,
//           bottom (signed 32 each), then the coded lines from top to bottom.
//
// Line codes: 0 end of line; 1 k skip k pixels; even b: run of b/2 pixels of
// the next index; odd b >= 3: b/2 literal indices follow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace maptesk {

struct ShpShapeHeader {
  int16_t heightMinus1 = 0;
  int16_t widthMinus1 = 0;
  int32_t left = 0;
  int32_t top = 0;
  int32_t bottom = 0;
};

struct ShpPicture {
  static constexpr int kShapeHeaderSize = 24;
  /// Largest SHP tile read (a 640 x 480 shape of literals is about 310 KB).
  static constexpr size_t kMaxFileSize = size_t(4) << 20;

  /// Checks the shape count and reads the shape header; `codeOffset` is where
  /// the coded lines begin. False when the file cannot be used.
  static bool ParseShape(const uint8_t* data, size_t size, ShpShapeHeader& shape,
                         size_t& codeOffset);

  /// A one-shape SHP file of `w` x `h` palette indices (rows top to bottom),
  /// coded with runs, literals and skips for index 5. Used to make sample
  /// sets: the tool itself never writes SHP pictures.
  static std::vector<uint8_t> Encode(const uint8_t* indices, int w, int h);
};

}  // namespace maptesk
