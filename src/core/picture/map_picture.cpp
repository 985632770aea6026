#include "core/picture/map_picture.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/picture/shp_palette.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A tile that is not a regular file is skipped like a missing one.
FilePtr OpenExisting(const std::string& name) {
  ReadStatus status = ReadStatus::kOk;
  return FilePtr(OpenFileForReading(name, status));
}

std::string Upper(std::string text) {
  for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Adds a tile's size to a running sum; a nonsense size adds nothing.
void AddSize(int64_t& sum, int64_t size) { sum += std::clamp<int64_t>(size, 0, 1 << 20); }

// Blue, green, red of a 5-6-5 colour in the low three bytes.
inline uint32_t Bgr(uint16_t v) {
  return uint32_t(v & 0x1F) << 3 | uint32_t((v >> 5) & 0x3F) << 10 | uint32_t(v >> 11) << 19;
}

// Stores n > 0 pixels. On little-endian machines each pixel is one 4-byte
// store whose fourth byte the next pixel overwrites; the last pixel is
// stored bytewise so that nothing past the run is touched.
void ConvertPixels(const uint8_t* __restrict src, uint8_t* __restrict dst, int64_t n) {
  int64_t k = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; k + 1 < n; ++k) {
      const uint32_t c = Bgr(GetLe16(src + 2 * k));
      std::memcpy(dst + 3 * k, &c, 4);
    }
  }
  for (; k < n; ++k) S16Tiles::ToBgr(GetLe16(src + 2 * k), dst + 3 * k);
}

// How far past a run the quick run painting may store: at most 10 pixels
// and a byte for runs of up to 10, 4 pixels and a byte past longer ones.
constexpr int64_t kOverpaint = 11;

void FillPixels(uint8_t* __restrict dst, const uint8_t* bgr, int64_t n) {
  int64_t k = 0;
  if constexpr (std::endian::native == std::endian::little) {
    const uint32_t c = uint32_t(bgr[0]) | uint32_t(bgr[1]) << 8 | uint32_t(bgr[2]) << 16;
    for (; k + 1 < n; ++k) std::memcpy(dst + 3 * k, &c, 4);
  }
  for (; k < n; ++k) std::memcpy(dst + 3 * k, bgr, 3);
}

}  // namespace

MapPicture::MapPicture(Prompts& prompts)
    : BmpImage(prompts),
      store_(new uint8_t[kStoreSize]),
      tileBuffer_(new uint8_t[S16Tiles::kReadBufferSize]) {
  // A fresh process that assembles one picture otherwise spends more time in
  // page faults over the 11 MB block than in decoding it.
  AdviseLargeBuffer(store_.get(), kStoreSize);
}

MapPicture::~MapPicture() {
  Reset();
  bits = nullptr;
}

void MapPicture::FreeBits() {
  BmpImage::FreeBits();
  if (bits != nullptr) std::fill(store_.get(), store_.get() + kStoreSize, kFillValue);
}

void MapPicture::StartAssembly() {
  Reset();
  BmpImage::FreeBits();
  // The block is filled before every assembly, also when this picture came
  // from a BMP file or was never used.
  bits = store_.get();
  std::fill(store_.get(), store_.get() + kStoreSize, kFillValue);
  // The set is clipped into the block: tile headers may announce more.
  width = std::clamp(width, 0, S16Tiles::kMaxWidth);
  height = std::clamp(height, 0, S16Tiles::kMaxHeight);
  header.assign(kInfoHeaderSize, 0);
  PutLe32(header.data(), kInfoHeaderSize);
  PutLe32(header.data() + 4, uint32_t(width));
  PutLe32(header.data() + 8, uint32_t(height));
  PutLe16(header.data() + 12, 1);
  PutLe16(header.data() + 14, 24);
  stride = 4 * ((width * 3) / 4 + (((width * 3) % 4) ? 1 : 0));
  PutLe32(header.data() + 20, uint32_t(stride * height));
  loaded = true;
}

bool MapPicture::MayReadPicture(const std::string& path) {
  if (!FileExists(path)) return false;
  // Said here, since a set whose tiles cannot be opened is otherwise silent.
  ReadStatus status = ReadStatus::kOk;
  if (FilePtr probe{OpenFileForReading(path, status)}; !probe && status == ReadStatus::kNotAFile) {
    prompts().ShowError(
        Format("%s is %s, not a picture file", path.c_str(), NotAFileKind(path).c_str()));
    return false;
  }
  return true;
}

void MapPicture::SizeS16Set(const std::string& base, int32_t& setWidth, int32_t& setHeight) {
  // A save of this set that was killed half way is finished before reading.
  RecoverFileSet(base);
  int64_t w = 0, h = 0;
  for (int c = 0; c < S16Tiles::kColumns; ++c) {
    if (!OpenS16Tile(S16Tiles::TileName(base, c, 0), false)) continue;
    AddSize(w, tileHeader[S16Tiles::kWidth]);
    if (c == 0) AddSize(h, tileHeader[S16Tiles::kHeight]);
  }
  for (int r = 1; r < S16Tiles::kRows; ++r) {
    if (OpenS16Tile(S16Tiles::TileName(base, 0, r), false)) {
      AddSize(h, tileHeader[S16Tiles::kHeight]);
    }
  }
  // Clipped as StartAssembly clips them.
  setWidth = int32_t(std::min<int64_t>(w, S16Tiles::kMaxWidth));
  setHeight = int32_t(std::min<int64_t>(h, S16Tiles::kMaxHeight));
}

bool MapPicture::MeasureS16Set(const std::string& path, int& setWidth, int& setHeight) {
  setWidth = setHeight = 0;
  if (!MayReadPicture(path)) return false;
  int32_t w = 0, h = 0;
  SizeS16Set(PathPart(path, kPartFolder) + S16Tiles::BaseOf(path), w, h);
  setWidth = w;
  setHeight = h;
  return true;
}

bool MapPicture::LoadPicture(const std::string& path) {
  loaded = false;
  if (!MayReadPicture(path)) return false;
  WaitCursor wait(prompts());
  width = height = stride = 0;
  fullPath = path;
  folder = PathPart(path, kPartFolder);
  extension = Upper(PathPart(path, kPartExtension));

  if (extension == ".BMP") {
    fileName = PathPart(path, kPartName);
    return Load(path);
  }
  if (extension == ".SHP") return LoadShp(path);

  const std::string base = folder + S16Tiles::BaseOf(path);
  fileName = S16Tiles::BaseOf(path);
  SizeS16Set(base, width, height);
  StartAssembly();
  for (int c = 0; c < S16Tiles::kColumns; ++c) {
    for (int r = 0; r < S16Tiles::kRows; ++r) {
      if (OpenS16Tile(S16Tiles::TileName(base, c, r))) DecodeS16Tile(c, r);
    }
  }
  return true;
}

bool MapPicture::OpenS16Tile(const std::string& name, bool withPixels) {
  tileBytes_ = tileData_ = 0;
  FilePtr file = OpenExisting(name);
  if (!file) return false;
  uint8_t head[S16Tiles::kHeaderSize];
  const size_t got = std::fread(head, 1, sizeof head, file.get());
  if (!S16Tiles::ParseHeader(head, got, tileHeader)) return false;
  if (!withPixels) return true;
  const int32_t gap = tileHeader[S16Tiles::kGapBytes];
  // A gap that points back into the header or past any real file leaves the
  // tile without pixel data; its cell keeps the fill value.
  if (gap < 0 || std::fseek(file.get(), long(S16Tiles::kHeaderSize) + gap, SEEK_SET) != 0) {
    return true;
  }
  tileBytes_ = std::fread(tileBuffer_.get(), 1, S16Tiles::kReadBufferSize, file.get());
  return true;
}

void MapPicture::DecodeS16Tile(int column, int row) {
  tileOriginX = column * S16Tiles::kCellWidth;
  tileOriginY = row * S16Tiles::kCellHeight;
  const int64_t w = tileHeader[S16Tiles::kWidth];
  const int64_t h = tileHeader[S16Tiles::kHeight];
  if (w <= 0 || h <= 0) return;
  const int64_t n = std::min<int64_t>(w * h, int64_t(S16Tiles::kCellWidth) * S16Tiles::kCellHeight);
  const uint8_t* data = tileBuffer_.get() + tileData_;
  const size_t bytes = tileBytes_ - tileData_;
  uint8_t bgr[3];

  if (tileHeader[S16Tiles::kPacking] != 1) {
    const int64_t count = std::min<int64_t>(n, int64_t(bytes / 2));
    // Row by row: pixels of a row wider than a cell pile up on its last
    // column, rows below the cell's last row on that row.
    for (int64_t i = 0; i < count;) {
      const int64_t y = std::min<int64_t>(i / w, S16Tiles::kCellHeight - 1);
      const int64_t rowEnd = std::min(count, (i / w + 1) * w);
      const int64_t py = tileOriginY + y;
      if (py >= height) break;
      const int64_t x0 = i % w;
      const int64_t inCell = std::min<int64_t>(rowEnd - i, S16Tiles::kCellWidth - x0);
      const int64_t visible = std::clamp<int64_t>(width - (tileOriginX + x0), 0, inCell);
      const uint8_t* src = data + 2 * i;
      if (visible > 0) {
        uint8_t* dst =
            store_.get() + size_t(height - 1 - py) * size_t(stride) + size_t(tileOriginX + x0) * 3;
        ConvertPixels(src, dst, visible);
        src += 2 * visible;
      }
      for (int64_t k = std::max<int64_t>(inCell, 0); i + k < rowEnd; ++k) {
        S16Tiles::ToBgr(GetLe16(src + 2 * (k - visible)), bgr);
        Put(tileOriginX + S16Tiles::kCellWidth - 1, py, bgr);
      }
      i = rowEnd;
    }
    return;
  }

  // Position kept as a column and a row of the tile rather than divided out
  // of the pixel index for every pixel. `rowStart` and `rowWidth` say where
  // the current row lies in the block and how many of its pixels show; a run
  // within them is one fill, anything else takes the careful way.
  int64_t i = 0, col = 0, tileRow = 0;
  uint8_t* rowStart = nullptr;
  int64_t rowWidth = 0;
  auto enterRow = [&]() {
    const int64_t py = tileOriginY + tileRow;
    rowWidth = 0;
    if (tileRow >= S16Tiles::kCellHeight || py >= height) return;
    rowWidth =
        std::clamp<int64_t>(width - tileOriginX, 0, std::min<int64_t>(w, S16Tiles::kCellWidth));
    if (rowWidth > 0) {
      rowStart = store_.get() + size_t(height - 1 - py) * size_t(stride) + size_t(tileOriginX) * 3;
    }
  };
  enterRow();
  for (size_t p = 0; i < n && p + 3 <= bytes; p += 3) {
    if constexpr (std::endian::native == std::endian::little) {
      // Most runs are a few pixels well inside a row. Those are painted ten
      // pixels at a time (then five at a time) whatever their length: the
      // pixels painted past a run are painted again by the runs after it,
      // or get the fill value back below when the data ends first.
      const int64_t last = rowWidth - kOverpaint;
      const int64_t stop = n - (i - col);  // the tile's pixel count, in this row
      int64_t x = col;
      for (; p + 3 <= bytes && x < stop; p += 3) {
        const int64_t k = data[p];
        if (x + k > last) break;
        const uint64_t c = Bgr(GetLe16(data + p + 1));
        // The 3-byte colour repeated: bytes 0-7 and 8-15 of the pattern.
        const uint64_t lo = c | c << 24 | c << 48;
        const uint64_t hi = c >> 16 | c << 8 | c << 32 | c << 56;
        uint8_t* dst = rowStart + x * 3;
        std::memcpy(dst, &lo, 8);
        std::memcpy(dst + 8, &hi, 8);
        std::memcpy(dst + 15, &lo, 8);
        std::memcpy(dst + 23, &hi, 8);
        for (int64_t j = 10; j < k; j += 5) {
          std::memcpy(dst + 3 * j, &lo, 8);
          std::memcpy(dst + 3 * j + 8, &hi, 8);
        }
        x += k;
      }
      i += x - col;
      col = x;
      if (i >= n || p + 3 > bytes) break;
    }
    int64_t k = data[p];
    S16Tiles::ToBgr(GetLe16(data + p + 1), bgr);
    // The whole run is painted, even where it reaches past the tile's end.
    while (k > 0) {
      const int64_t span = std::min(k, w - col);
      if (col + span <= rowWidth) {
        FillPixels(rowStart + col * 3, bgr, span);
      } else {
        const int64_t py = tileOriginY + std::min<int64_t>(tileRow, S16Tiles::kCellHeight - 1);
        if (py < height) {
          const int64_t inCell = std::clamp<int64_t>(S16Tiles::kCellWidth - col, 0, span);
          const int64_t visible = std::clamp<int64_t>(width - (tileOriginX + col), 0, inCell);
          if (visible > 0) {
            uint8_t* dst = store_.get() + size_t(height - 1 - py) * size_t(stride) +
                           size_t(tileOriginX + col) * 3;
            FillPixels(dst, bgr, visible);
          }
          if (span > inCell) Put(tileOriginX + S16Tiles::kCellWidth - 1, py, bgr);
        }
      }
      col += span;
      i += span;
      k -= span;
      if (col == w) {
        col = 0;
        ++tileRow;
        enterRow();
      }
    }
  }
  // The data ended inside a row: the pixels after the last run were not
  // painted, so they get back the fill value the quick stores may have
  // covered.
  if (col < rowWidth) {
    const int64_t end = std::min(col + kOverpaint, rowWidth);
    std::fill(rowStart + col * 3, rowStart + end * 3, kFillValue);
  }
}

bool MapPicture::OpenShpTile(const std::string& name) {
  tileBytes_ = tileData_ = 0;
  // The tile is read to its end, up to the cap: a shape may lie far into
  // its file or spend many codes on skips.
  if (ReadFileBytes(name, shpTile_, ShpPicture::kMaxFileSize) != ReadStatus::kOk) return false;
  if (!ShpPicture::ParseShape(shpTile_.data(), shpTile_.size(), shapeHeader, tileData_)) {
    tileData_ = 0;
    return false;
  }
  tileBytes_ = shpTile_.size();
  return true;
}

bool MapPicture::LoadShp(const std::string& path) {
  const std::string base = folder + S16Tiles::BaseOf(path);
  fileName = S16Tiles::BaseOf(path);
  if (!FileExists(S16Tiles::TileName(base, 0, 0, ".shp"))) return false;
  int64_t w = 0, h = 0;
  for (int c = 0; c < S16Tiles::kColumns; ++c) {
    if (!OpenShpTile(S16Tiles::TileName(base, c, 0, ".shp"))) continue;
    AddSize(w, int64_t(shapeHeader.widthMinus1) + 1);
    if (c == 0) AddSize(h, int64_t(shapeHeader.heightMinus1) + 1);
  }
  for (int r = 1; r < S16Tiles::kRows; ++r) {
    if (OpenShpTile(S16Tiles::TileName(base, 0, r, ".shp"))) {
      AddSize(h, int64_t(shapeHeader.heightMinus1) + 1);
    }
  }
  width = int32_t(std::min<int64_t>(w, S16Tiles::kMaxWidth));
  height = int32_t(std::min<int64_t>(h, S16Tiles::kMaxHeight));
  StartAssembly();
  for (int c = 0; c < S16Tiles::kColumns; ++c) {
    for (int r = 0; r < S16Tiles::kRows; ++r) {
      if (OpenShpTile(S16Tiles::TileName(base, c, r, ".shp"))) DecodeShpTile(c, r);
    }
  }
  return true;
}

void MapPicture::DecodeShpTile(int column, int row) {
  tileOriginX = column * S16Tiles::kCellWidth;
  tileOriginY = row * S16Tiles::kCellHeight;
  int64_t y = shapeHeader.top;
  int64_t last = shapeHeader.bottom;
  if (shapeHeader.top < 0) {
    y = 0;
    last = int64_t(shapeHeader.bottom) - int64_t(shapeHeader.top);
  }
  const int64_t startX = std::max<int32_t>(shapeHeader.left, 0);
  int64_t shapeX = startX;
  const uint8_t* codes = shpTile_.data();
  size_t p = tileData_;
  const size_t end = tileBytes_;
  auto put = [&](uint8_t index) {
    if (shapeX > S16Tiles::kCellWidth - 1 || y > S16Tiles::kCellHeight - 1) return;
    if (index != kShpTransparentIndex) {
      const uint32_t rgb = kShpColours[index];
      const uint8_t bgr[3] = {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16)};
      Put(tileOriginX + shapeX, tileOriginY + y, bgr);
    }
    ++shapeX;
  };
  // Lines below the cell can paint nothing, and once the codes are used up
  // every further line is empty: both end the decoding early.
  while (y <= last && y < S16Tiles::kCellHeight && p < end) {
    const uint8_t b = codes[p++];
    if (b == 0) {
      ++y;
      shapeX = startX;
    } else if (b == 1) {
      if (p >= end) break;
      shapeX += codes[p++];
    } else if ((b & 1) == 0) {
      if (p >= end) break;
      const uint8_t index = codes[p++];
      for (int k = 0; k < b / 2; ++k) put(index);
    } else {
      const size_t count = std::min<size_t>(b / 2, end - p);
      for (size_t k = 0; k < count; ++k) put(codes[p + k]);
      p += count;
    }
  }
}

}  // namespace maptesk
