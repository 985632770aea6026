#include "core/map/map_file.h"

#include <algorithm>
#include <cstring>

namespace maptesk {
namespace {

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

void DecodeMapFile(const uint8_t* data, size_t size, MapRecord& record) {
  size = std::min(size, kMapFileSize);
  if (size >= 2) record.MapNumber = Get16(data);
  if (size >= 4) record.columns = Get16(data + 2);
  if (size >= 6) record.rows = Get16(data + 4);
  record.columns = ClampSizeWord(record.columns, kMapColumns);
  record.rows = ClampSizeWord(record.rows, kMapRows);
  if (size >= 10) record.headerExtra = Get32(data + 6);

  size_t offset = kMapHeaderSize;
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      if (offset + HexCell::kFileSize > size) return;
      const uint8_t* p = data + offset;
      HexCell& cell = record.cells[size_t(r)][size_t(c)];
      cell.terrain = Get16(p);
      cell.roads = Get16(p + 2);
      cell.extra = p[4];
      cell.flags = Get16(p + 5);
      offset += HexCell::kFileSize;
    }
  }
  size_t trailerBytes = std::min(kMapTrailerSize, size - offset);
  std::memcpy(record.trailer.data(), data + offset, trailerBytes);
}

void EncodeMapFile(const MapRecord& record, uint8_t* out) {
  Put16(out, record.MapNumber);
  Put16(out + 2, record.columns);
  Put16(out + 4, record.rows);
  Put32(out + 6, record.headerExtra);
  uint8_t* p = out + kMapHeaderSize;
  for (const auto& row : record.cells) {
    for (const HexCell& cell : row) {
      Put16(p, cell.terrain);
      Put16(p + 2, cell.roads);
      p[4] = cell.extra;
      Put16(p + 5, cell.flags);
      p += HexCell::kFileSize;
    }
  }
  std::memcpy(p, record.trailer.data(), kMapTrailerSize);
}

}  // namespace maptesk
