#include "core/picture/s16_tiles.h"

#include <algorithm>

#include "core/picture/bmp_image.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/text_format.h"

namespace maptesk {

bool S16Tiles::ParseHeader(const uint8_t* data, size_t size, Header& header) {
  if (size < size_t(kHeaderSize) || GetLe32(data) != 1) return false;
  for (size_t i = 0; i < header.size(); ++i) header[i] = GetLe32s(data + 4 + 4 * i);
  return true;
}

std::string S16Tiles::TileName(const std::string& folderAndBase, int column, int row,
                               const char* extension) {
  return Format("%s%d%d%s", folderAndBase.c_str(), column, row, extension);
}

std::string S16Tiles::BaseOf(const std::string& path) {
  std::string name = PathPart(path, kPartName);
  if (name.size() > 5) name.resize(name.size() - 2);
  return name;
}

std::vector<uint8_t> S16Tiles::Encode(const uint8_t* rows, int rowBytes, int pictureHeight, int x0,
                                      int y0, int w, int h, bool packed) {
  std::vector<uint8_t> out(kHeaderSize);
  const int32_t words[10] = {w, h, 0, 0, w, h, 0, w * h * 2, packed ? 1 : 0, 0};
  PutLe32(out.data(), 1);
  for (int i = 0; i < 10; ++i) PutLe32(out.data() + 4 + 4 * i, uint32_t(words[i]));
  out.reserve(kHeaderSize + size_t(w) * size_t(h) * 2);
  auto pixel = [&](int x, int y) {
    const uint8_t* p =
        rows + size_t(pictureHeight - 1 - (y0 + y)) * size_t(rowBytes) + size_t(x0 + x) * 3;
    return FromBgr(p);
  };
  if (!packed) {
    out.resize(kHeaderSize + size_t(w) * size_t(h) * 2);
    uint8_t* o = out.data() + kHeaderSize;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x, o += 2) PutLe16(o, pixel(x, y));
    }
    return out;
  }
  // Runs follow the reading order and may continue from one row to the next.
  int run = 0;
  uint16_t colour = 0;
  auto flush = [&]() {
    if (run == 0) return;
    out.push_back(uint8_t(run));
    out.push_back(uint8_t(colour));
    out.push_back(uint8_t(colour >> 8));
    run = 0;
  };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint16_t v = pixel(x, y);
      if (run > 0 && (v != colour || run == 255)) flush();
      colour = v;
      ++run;
    }
  }
  flush();
  PutLe32(out.data() + 4 + 4 * kDataBytes, uint32_t(out.size() - kHeaderSize));
  return out;
}

namespace {

// Width and height from the header of one S16 tile; false when the tile is
// missing or its signature is not 1.
bool ReadS16TileSize(const std::string& path, int& width, int& height) {
  std::vector<uint8_t> header;
  if (ReadFileBytes(path, header, 44) != ReadStatus::kOk || header.size() < 44) return false;
  auto word = [&](size_t offset) {
    return int32_t(uint32_t(header[offset]) | uint32_t(header[offset + 1]) << 8 |
                   uint32_t(header[offset + 2]) << 16 | uint32_t(header[offset + 3]) << 24);
  };
  if (word(0) != 1) return false;
  width = word(4);
  height = word(8);
  return true;
}

}  // namespace

// The size of the picture a set of S16 tiles assembles to: the widths of the
// first row's tiles and the heights of the first column's, as the picture
// loader sums them, cut to the largest picture it can hold.
void S16SetSize(const std::string& anyTile, int& width, int& height) {
  const std::string folder = PathPart(anyTile, kPartFolder);
  std::string base = PathPart(anyTile, kPartName);
  if (base.size() > 5) base.resize(base.size() - 2);
  auto tile = [&](int c, int r) {
    return Format("%s%s%d%d.s16", folder.c_str(), base.c_str(), c, r);
  };
  width = 0;
  height = 0;
  for (int c = 0; c < 3; ++c) {
    int w = 0, h = 0;
    if (!ReadS16TileSize(tile(c, 0), w, h)) continue;
    width += std::clamp(w, 0, S16Tiles::kMaxWidth);
    if (c == 0) height += std::clamp(h, 0, S16Tiles::kMaxWidth);
  }
  for (int r = 1; r < 4; ++r) {
    int w = 0, h = 0;
    if (!ReadS16TileSize(tile(0, r), w, h)) continue;
    height += std::clamp(h, 0, S16Tiles::kMaxWidth);
  }
  width = std::min(width, S16Tiles::kMaxWidth);
  height = std::min(height, S16Tiles::kMaxWidth);
}

}  // namespace maptesk
