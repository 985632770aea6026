// Builders of picture files for tests: each test shows the bytes it reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace maptesk::testing {

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

/// The 44-byte head of an S16 tile.
inline std::vector<uint8_t> S16Head(int32_t w, int32_t h, int32_t packing = 0, int32_t gap = 0,
                                    uint32_t signature = 1) {
  std::vector<uint8_t> out;
  Put32(out, signature);
  for (int32_t v : {w, h, 0, 0, w, h, gap, w * h * 2, packing, 0}) Put32(out, uint32_t(v));
  return out;
}

/// A plain S16 tile whose pixel (x, y) has colour `colour(x, y)`.
inline std::vector<uint8_t> S16Plain(int w, int h,
                                     const std::function<uint16_t(int, int)>& colour) {
  std::vector<uint8_t> out = S16Head(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) Put16(out, colour(x, y));
  }
  return out;
}

/// A run-length S16 tile of the given packets {run, colour}.
inline std::vector<uint8_t> S16Packed(int w, int h,
                                      const std::vector<std::pair<int, uint16_t>>& packets) {
  std::vector<uint8_t> out = S16Head(w, h, 1);
  for (auto [run, colour] : packets) {
    out.push_back(uint8_t(run));
    Put16(out, colour);
  }
  return out;
}

/// An SHP file of one shape with the given line codes.
inline std::vector<uint8_t> ShpFile(int16_t heightMinus1, int16_t widthMinus1, int32_t left,
                                    int32_t top, int32_t bottom, const std::vector<uint8_t>& codes,
                                    uint32_t shapes = 1) {
  std::vector<uint8_t> out;
  Put32(out, 0);
  Put32(out, shapes);
  Put32(out, 12);
  Put16(out, uint16_t(heightMinus1));
  Put16(out, uint16_t(widthMinus1));
  Put32(out, 0);
  Put32(out, uint32_t(left));
  Put32(out, uint32_t(top));
  Put32(out, 0);
  Put32(out, uint32_t(bottom));
  out.insert(out.end(), codes.begin(), codes.end());
  return out;
}

/// A BMP file: file header, a 40-byte info header (or `infoSize` bytes),
/// `colours` colour-table entries and `pixels`. Fields can be overridden.
struct BmpSpec {
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t clrUsed = 0;
  uint32_t infoSize = 40;
  uint32_t sizeImage = 0;
  std::vector<uint32_t> colours = {};  // 0xRRGGBB
  std::vector<uint8_t> pixels = {};
  int64_t offBits = -1;  // -1: right after the colour table
};

inline std::vector<uint8_t> BmpFile(const BmpSpec& s) {
  std::vector<uint8_t> out{'B', 'M'};
  const uint32_t off =
      s.offBits >= 0 ? uint32_t(s.offBits) : uint32_t(14 + s.infoSize + 4 * s.colours.size());
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, off);
  Put32(out, s.infoSize);
  Put32(out, uint32_t(s.width));
  Put32(out, uint32_t(s.height));
  Put16(out, 1);
  Put16(out, s.bitCount);
  Put32(out, s.compression);
  Put32(out, s.sizeImage);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, s.clrUsed);
  Put32(out, 0);
  out.resize(14 + s.infoSize, 0);
  for (uint32_t c : s.colours) Put32(out, c);
  if (s.offBits >= 0) out.resize(size_t(s.offBits), 0);
  out.insert(out.end(), s.pixels.begin(), s.pixels.end());
  return out;
}

}  // namespace maptesk::testing
