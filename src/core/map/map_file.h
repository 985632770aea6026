// The MAP file: 14,371 little-endian bytes with no magic and no version.
//
//   0      2  map number (0xFFFF = none)
//   2      2  columns (1..45)
//   4      2  rows (1..40)
//   6      4  header extra, carried through
//   10 12600  1,800 hex records of 7 bytes, row after row
//   12610 1761 trailer, carried through
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/map/hex_cell.h"

namespace maptesk {

inline constexpr int kMapRows = 40;
inline constexpr int kMapColumns = 45;
inline constexpr int kMapCells = kMapRows * kMapColumns;
inline constexpr size_t kMapHeaderSize = 10;
inline constexpr size_t kMapTrailerSize = 1761;
inline constexpr size_t kMapFileSize =
    kMapHeaderSize + size_t(kMapCells) * HexCell::kFileSize + kMapTrailerSize;
inline constexpr uint16_t kNoMapNumber = 0xFFFF;

using CellGrid = std::array<std::array<HexCell, kMapColumns>, kMapRows>;
using MapTrailer = std::array<uint8_t, kMapTrailerSize>;

/// What the MAP file holds.
struct MapRecord {
  uint16_t MapNumber = kNoMapNumber;
  uint16_t columns = 0;
  uint16_t rows = 0;
  uint32_t headerExtra = 0;
  CellGrid cells{};
  MapTrailer trailer{};
};

/// Decodes the first `size` bytes of a MAP file into `record`. Fields the data
/// does not reach keep their values; bytes beyond kMapFileSize are ignored.
/// The size words are clamped into 1..40 rows and 1..45 columns.
void DecodeMapFile(const uint8_t* data, size_t size, MapRecord& record);

/// Encodes `record` as the kMapFileSize bytes of a MAP file.
void EncodeMapFile(const MapRecord& record, uint8_t* out);

/// Clamps a stored size word into 1..limit.
constexpr uint16_t ClampSizeWord(uint16_t value, uint16_t limit) {
  return value == 0 ? 1 : (value > limit ? limit : value);
}

}  // namespace maptesk
