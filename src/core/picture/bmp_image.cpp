#include "core/picture/bmp_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"
#include "core/util/text_format.h"

namespace maptesk {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Info header offsets.
constexpr int kBiSize = 0, kBiWidth = 4, kBiHeight = 8, kBiPlanes = 12, kBiBitCount = 14,
              kBiCompression = 16, kBiSizeImage = 20, kBiClrUsed = 32;

bool IsKnownBitCount(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

int DefaultColourCount(int bits) {
  switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

// Five bits to eight, so that 31 gives full intensity.
inline uint8_t Expand5(unsigned v) { return uint8_t((v << 3) | (v >> 2)); }

}  // namespace

BmpImage::BmpImage(Prompts& prompts) : prompts_(prompts) {}

void BmpImage::Reset() {
  header.clear();
  header.shrink_to_fit();
  loaded = false;
  colourCount = 0;
  bitCount = 0;
}

void BmpImage::FreeBits() {
  if (!ownedBits.empty() || (bits != nullptr && bits == ownedBits.data())) {
    ownedBits.clear();
    ownedBits.shrink_to_fit();
    bits = nullptr;
  }
}

int BmpImage::HeaderBitCount() const {
  return header.size() >= size_t(kInfoHeaderSize) ? GetLe16(header.data() + kBiBitCount) : 0;
}

uint32_t BmpImage::HeaderImageSize() const {
  return header.size() >= size_t(kInfoHeaderSize) ? GetLe32(header.data() + kBiSizeImage) : 0;
}

const uint8_t* BmpImage::ColourEntry(int i) const {
  size_t offset = size_t(kInfoHeaderSize) + size_t(i) * 4;
  if (i < 0 || i >= colourCount || offset + 4 > header.size()) return nullptr;
  return header.data() + offset;
}

void BmpImage::ApplySizes() {
  const int32_t w = GetLe32s(header.data() + kBiWidth);
  const int32_t h = GetLe32s(header.data() + kBiHeight);
  const int bits = GetLe16(header.data() + kBiBitCount);
  stride = int32_t(RowBytes(w, bits));
  PutLe32(header.data() + kBiSizeImage, uint32_t(int64_t(stride) * h));
  width = w;
  height = h;
}

bool BmpImage::CreateRgb24(int w, int h) {
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return false;
  Reset();
  FreeBits();
  header.assign(kInfoHeaderSize, 0);
  PutLe32(header.data() + kBiSize, kInfoHeaderSize);
  PutLe32(header.data() + kBiWidth, uint32_t(w));
  PutLe32(header.data() + kBiHeight, uint32_t(h));
  PutLe16(header.data() + kBiPlanes, 1);
  PutLe16(header.data() + kBiBitCount, 24);
  bitCount = 24;
  ApplySizes();
  ownedBits.assign(HeaderImageSize(), 0);
  bits = ownedBits.data();
  loaded = true;
  return true;
}

bool BmpImage::Load(const std::string& path) {
  ReadStatus opened = ReadStatus::kOk;
  uint64_t fileSize = 0;
  FilePtr file(OpenFileForReading(path, opened, &fileSize));
  if (!file) {
    if (opened == ReadStatus::kNotFound) {
      prompts_.ShowError(Format("%s not found", path.c_str()));
    } else if (opened == ReadStatus::kNotAFile) {
      prompts_.ShowError(
          Format("%s is %s, not a picture file", path.c_str(), NotAFileKind(path).c_str()));
    } else {
      prompts_.ShowError(Format("Error reading %s", path.c_str()));
    }
    return false;
  }
  auto fail = [this](const std::string& message) {
    prompts_.ShowError(message);
    Reset();
    FreeBits();
    return false;
  };

  uint8_t fileHeader[kFileHeaderSize];
  if (std::fread(fileHeader, 1, kFileHeaderSize, file.get()) != size_t(kFileHeaderSize)) {
    return fail("Invalid BMP FileHeader size");
  }
  if (GetLe16(fileHeader) != 0x4D42) return fail("Invalid BMP type");
  Reset();
  FreeBits();

  // The header block runs from the file header to the pixel data: it must at
  // least hold the info header, and is never trusted to be of any size.
  const uint32_t offBits = GetLe32(fileHeader + 10);
  if (offBits < uint32_t(kFileHeaderSize + kInfoHeaderSize) ||
      offBits > uint32_t(kFileHeaderSize + kMaxHeaderBlock)) {
    return fail(Format("Invalid BMP pixel data offset: %u", offBits));
  }
  std::vector<uint8_t> block(offBits - kFileHeaderSize, 0);
  const size_t gotHeader = std::fread(block.data(), 1, block.size(), file.get());
  if (gotHeader < size_t(kInfoHeaderSize)) {
    return fail(Format("Invalid BMP: the file ends inside its info header (%d of %d bytes)",
                       int(gotHeader), kInfoHeaderSize));
  }
  if (GetLe32(block.data() + kBiCompression) != 0) return fail("No compressed BMP are supported");
  const uint32_t biSize = GetLe32(block.data() + kBiSize);
  if (biSize != uint32_t(kInfoHeaderSize)) {
    return fail(Format("Invalid BMP Header size: %d <> %d", int(biSize), kInfoHeaderSize));
  }
  const int32_t w = GetLe32s(block.data() + kBiWidth);
  const int32_t h = GetLe32s(block.data() + kBiHeight);
  const int bits16 = GetLe16(block.data() + kBiBitCount);
  // Top-down rows (negative height) and empty pictures are refused: every
  // user of the image takes bottom-up rows of a real size.
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) {
    return fail(Format("Unsupported BMP size: %d x %d (1 to %d pixels each way, bottom-up rows)",
                       int(w), int(h), kMaxSide));
  }
  if (!IsKnownBitCount(bits16)) return fail(Format("Unsupported BMP bit count: %d", bits16));
  const int64_t rowBytes = RowBytes(w, bits16);
  if (rowBytes * h > kMaxPixelBytes) {
    return fail(Format("Unsupported BMP size: %d x %d is too large", int(w), int(h)));
  }
  const uint32_t clrUsed = GetLe32(block.data() + kBiClrUsed);
  const int64_t colours = clrUsed != 0 ? int64_t(clrUsed) : DefaultColourCount(bits16);
  if (int64_t(kInfoHeaderSize) + 4 * colours > int64_t(block.size())) {
    return fail(Format("Invalid BMP header: %lld colours do not fit before the pixel data at %u",
                       static_cast<long long>(colours), offBits));
  }
  if (gotHeader < block.size()) {
    return fail(Format("Invalid BMP: the file ends inside its colour table"));
  }

  // Rows the file does not hold are left black, but only for a picture no
  // larger than the tool assembles itself: a short file must not make the
  // tool reserve memory that it could never fill.
  const uint64_t held = fileSize > offBits ? fileSize - offBits : 0;
  if (uint64_t(rowBytes * h) > held && int64_t(w) * h > kMaxShortPicturePixels) {
    return fail(
        Format("%s claims %d x %d pixels but holds only %llu of their %lld bytes:\n"
               "it is not read",
               path.c_str(), int(w), int(h), static_cast<unsigned long long>(held),
               static_cast<long long>(rowBytes * h)));
  }

  header = std::move(block);
  bitCount = bits16;
  colourCount = int32_t(colours);
  ApplySizes();

  // Rows the file does not hold are left black rather than undefined.
  const size_t want = HeaderImageSize();
  ownedBits.clear();
  ownedBits.reserve(want);
  AdviseLargeBuffer(ownedBits.data(), want);
  ownedBits.resize(want);  // not cleared: read below, the rest filled
  const size_t got = std::fread(ownedBits.data(), 1, want, file.get());
  std::fill(ownedBits.begin() + ptrdiff_t(got), ownedBits.end(), uint8_t(0));
  bits = ownedBits.data();
  if (got < want) {
    prompts_.ShowNote(
        Format("%s ends before its pixel data (%lld of %lld bytes):\n"
               "the missing rows are left black",
               path.c_str(), static_cast<long long>(got), static_cast<long long>(want)));
  }
  loaded = true;
  fileName = path;
  return true;
}

bool BmpImage::Save(const std::string& path) {
  if (header.size() < size_t(kInfoHeaderSize) || bits == nullptr) return false;
  const size_t headerBytes =
      std::min(header.size(), size_t(kInfoHeaderSize) + 4 * size_t(colourCount));
  const size_t pixelBytes = HeaderImageSize();
  const size_t offBits = kFileHeaderSize + headerBytes;
  std::vector<uint8_t> out(offBits + pixelBytes);
  out[0] = 'B';
  out[1] = 'M';
  // The true file size rather than 0: other programs check it.
  PutLe32(out.data() + 2, uint32_t(out.size()));
  PutLe32(out.data() + 10, uint32_t(offBits));
  std::memcpy(out.data() + kFileHeaderSize, header.data(), headerBytes);
  std::memcpy(out.data() + offBits, bits, pixelBytes);
  // A BMP written here is an export of a picture the tool already has, so
  // it is not forced to the disk; the rename still replaces it whole.
  std::string error;
  if (!SaveFileSafely(path, out.data(), out.size(), &error, Durability::kToSystem)) {
    prompts_.ShowError(Format("Error creating %s\n%s", path.c_str(), error.c_str()));
    return false;
  }
  return true;
}

const uint8_t* BmpImage::Rgb24Rows(std::vector<uint8_t>& scratch, int& rowBytes) const {
  if (bits == nullptr || header.size() < size_t(kInfoHeaderSize) || width <= 0 || height <= 0) {
    return nullptr;
  }
  const int depth = HeaderBitCount();
  if (depth == 24) {
    rowBytes = stride;
    return bits;
  }
  rowBytes = int(RowBytes(width, 24));
  scratch.assign(size_t(rowBytes) * size_t(height), 0);
  // Palette lookups of indices past the table give black.
  uint8_t table[256][3] = {};
  for (int i = 0; i < std::min(colourCount, 256); ++i) {
    const uint8_t* e = ColourEntry(i);
    if (e) std::memcpy(table[i], e, 3);
  }
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = bits + size_t(y) * size_t(stride);
    uint8_t* dst = scratch.data() + size_t(y) * size_t(rowBytes);
    for (int x = 0; x < width; ++x, dst += 3) {
      switch (depth) {
        case 1: std::memcpy(dst, table[(src[x >> 3] >> (7 - (x & 7))) & 1], 3); break;
        case 4: std::memcpy(dst, table[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F], 3); break;
        case 8: std::memcpy(dst, table[src[x]], 3); break;
        case 16: {
          const unsigned v = GetLe16(src + 2 * x);
          dst[0] = Expand5(v & 0x1F);
          dst[1] = Expand5((v >> 5) & 0x1F);
          dst[2] = Expand5((v >> 10) & 0x1F);
          break;
        }
        case 32: std::memcpy(dst, src + 4 * x, 3); break;
        default: break;
      }
    }
  }
  return scratch.data();
}

uint32_t BmpImage::PixelRgb(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height || bits == nullptr) return 0;
  std::vector<uint8_t> scratch;
  int rowBytes = 0;
  if (HeaderBitCount() != 24) {
    const uint8_t* rows = Rgb24Rows(scratch, rowBytes);
    if (!rows) return 0;
    const uint8_t* p = rows + size_t(height - 1 - y) * size_t(rowBytes) + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  }
  const uint8_t* p = bits + size_t(height - 1 - y) * size_t(stride) + size_t(x) * 3;
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

}  // namespace maptesk
