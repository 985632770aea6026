// Builders for MAP file bytes, so each test shows its input.
#pragma once

#include <cstdint>
#include <vector>

#include "core/map/map_file.h"

namespace maptesk::testing {

/// A complete MAP file whose every byte is known: a pattern that a codec
/// swapping, dropping or misplacing any field would get wrong.
inline std::vector<uint8_t> PatternMapFile(uint16_t number, uint16_t columns, uint16_t rows) {
  std::vector<uint8_t> bytes(kMapFileSize);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t((i * 131 + 7) ^ (i >> 8));
  bytes[0] = uint8_t(number);
  bytes[1] = uint8_t(number >> 8);
  bytes[2] = uint8_t(columns);
  bytes[3] = uint8_t(columns >> 8);
  bytes[4] = uint8_t(rows);
  bytes[5] = uint8_t(rows >> 8);
  return bytes;
}

/// Offset of the record of hex (row, column) in a MAP file.
constexpr size_t CellOffset(int row, int column) {
  return kMapHeaderSize + size_t(row * kMapColumns + column) * HexCell::kFileSize;
}

}  // namespace maptesk::testing
