// The in-memory device-independent bitmap: an uncompressed BMP file kept in
// the file's own layout (info header, colour table, bottom-up pixel rows).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace maptesk {

class Prompts;

/// Storage for pixel rows. Growing it leaves the new bytes as they are (the
/// reader writes each of them, or fills them itself), and a large block
/// starts on a huge-page boundary, so that the system can back all of it
/// with huge pages: faulting in and clearing a picture's memory, then
/// clearing it again, cost as much as reading the picture's file.
template <class T>
struct PixelAllocator {
  using value_type = T;
  static constexpr size_t kHugePage = size_t(2) << 20;
  PixelAllocator() = default;
  template <class U>
  PixelAllocator(const PixelAllocator<U>&) noexcept {}
  T* allocate(size_t n) {
    if (n * sizeof(T) < 2 * kHugePage) return static_cast<T*>(::operator new(n * sizeof(T)));
    return static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t(kHugePage)));
  }
  void deallocate(T* p, size_t n) noexcept {
    if (n * sizeof(T) < 2 * kHugePage) {
      ::operator delete(p);
    } else {
      ::operator delete(p, std::align_val_t(kHugePage));
    }
  }
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const PixelAllocator&, const PixelAllocator&) { return true; }
  friend bool operator!=(const PixelAllocator&, const PixelAllocator&) { return false; }
};
using PixelBytes = std::vector<uint8_t, PixelAllocator<uint8_t>>;
inline bool operator==(const PixelBytes& a, const std::vector<uint8_t>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}
inline bool operator==(const std::vector<uint8_t>& a, const PixelBytes& b) { return b == a; }

/// Little-endian field access shared by the picture readers and writers.
inline uint16_t GetLe16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t GetLe32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t GetLe32s(const uint8_t* p) { return static_cast<int32_t>(GetLe32(p)); }
inline void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

class BmpImage {
 public:
  static constexpr int kFileHeaderSize = 14;
  static constexpr int kInfoHeaderSize = 40;
  /// Largest width or height accepted from a file.
  static constexpr int kMaxSide = 16384;
  /// Largest pixel block accepted from a file (256 MiB).
  static constexpr int64_t kMaxPixelBytes = int64_t(256) << 20;
  /// Largest info header + colour table block read from a file.
  static constexpr int kMaxHeaderBlock = 64 * 1024;
  /// Largest picture read from a file that ends inside its pixel data (the
  /// missing rows black): an assembled map picture's 1920 x 1920 pixels.
  static constexpr int64_t kMaxShortPicturePixels = int64_t(1920) * 1920;

  explicit BmpImage(Prompts& prompts);
  virtual ~BmpImage() = default;
  BmpImage(const BmpImage&) = delete;
  BmpImage& operator=(const BmpImage&) = delete;

  /// Replaces the image with the BMP file at `path`; false (with a message)
  /// when the file is missing or refused.
  virtual bool Load(const std::string& path);
  /// Writes the image as a BMP file in its own depth and colour table,
  /// replacing `path` safely. False without a message when there is no image.
  virtual bool Save(const std::string& path);
  /// Drops the header and colour table; the pixel block stays (FreeBits).
  virtual void Reset();
  /// Frees the pixel block when the image owns it.
  virtual void FreeBits();

  /// Makes an empty 24-bit image of `w` x `h` pixels (all zero) that owns
  /// its pixels; false when the size is out of range.
  bool CreateRgb24(int w, int h);

  /// The 24-bit rows of the picture (blue, green, red per pixel, bottom row
  /// first): `bits` itself for a 24-bit image, else a conversion into
  /// `scratch`. Null when there is no image.
  const uint8_t* Rgb24Rows(std::vector<uint8_t>& scratch, int& rowBytes) const;

  /// Blue, green, red of the pixel at (x, y), y counted from the top; 0 when
  /// outside the picture. For tests and previews, not for bulk work.
  uint32_t PixelRgb(int x, int y) const;

  /// The info header's bit count (24 for an assembled picture).
  int HeaderBitCount() const;
  uint32_t HeaderImageSize() const;
  /// Colour-table entry i (blue, green, red, reserved), or null.
  const uint8_t* ColourEntry(int i) const;

  /// Bytes per row of `w` pixels of `bitsPerPixel`, padded to 4 bytes.
  static int64_t RowBytes(int64_t w, int bitsPerPixel) {
    return 4 * ((w * bitsPerPixel) / 32 + (((w * bitsPerPixel) % 32) ? 1 : 0));
  }

  std::string fileName;
  bool loaded = false;
  int32_t width = 0;
  int32_t height = 0;
  /// The 40-byte info header followed by the colour table.
  std::vector<uint8_t> header;
  /// Pixel rows owned by the image; empty when `bits` points elsewhere.
  PixelBytes ownedBits;
  /// The pixel rows in use (`ownedBits`, or a block of a derived class).
  uint8_t* bits = nullptr;
  int32_t colourCount = 0;
  int32_t bitCount = 0;
  int32_t stride = 0;

 protected:
  /// From the header's width, height and bit count: `stride`, the header's
  /// image size, `width` and `height`.
  void ApplySizes();
  Prompts& prompts() { return prompts_; }

 private:
  Prompts& prompts_;
};

}  // namespace maptesk
