// The picture readers read sets of files, so the picture targets cut their
// input into tiles in a scratch folder of their own and load the set the way
// the editor does.
#pragma once

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "core/picture/map_picture.h"
#include "core/picture/s16_tiles.h"
#include "core/util/prompts.h"

namespace maptesk::fuzz {

inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    auto p = std::filesystem::temp_directory_path() / ("maptesk-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(p);
    return p.string() + "/";
  }();
  return folder;
}

inline void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

/// Cuts the input into up to 12 tiles of a 3 x 4 set named after `base`:
/// each tile is preceded by a 2-byte little-endian length (the rest of the
/// input when it runs out). Tiles not reached are left out of the set.
inline std::string WriteTileSet(const uint8_t* data, size_t size, const std::string& base,
                                const char* extension) {
  const std::string folderAndBase = ScratchFolder() + base;
  for (int i = 0; i < S16Tiles::kColumns * S16Tiles::kRows; ++i) {
    std::remove(
        S16Tiles::TileName(folderAndBase, i / S16Tiles::kRows, i % S16Tiles::kRows, extension)
            .c_str());
  }
  size_t pos = 0;
  for (int i = 0; i < S16Tiles::kColumns * S16Tiles::kRows && pos < size; ++i) {
    size_t length = size - pos;
    if (size - pos >= 2) {
      length = size_t(data[pos] | (data[pos + 1] << 8));
      pos += 2;
      length = std::min(length, size - pos);
    }
    const int column = i % S16Tiles::kColumns, row = i / S16Tiles::kColumns;
    WriteFile(S16Tiles::TileName(folderAndBase, column, row, extension), data + pos, length);
    pos += length;
  }
  return S16Tiles::TileName(folderAndBase, 0, 0, extension);
}

/// Loads `path` into one picture that lives for the whole run, as the
/// editor's map picture does, and checks what every load must leave.
inline void LoadAndCheck(const std::string& path) {
  static SilentPrompts prompts;
  static auto picture = std::make_unique<MapPicture>(prompts);
  // A set whose tiles give no size loads as an empty picture.
  if (picture->LoadPicture(path) && picture->bits && picture->width > 0 && picture->height > 0) {
    // Touch the first and last byte of the pixels the picture claims.
    volatile uint8_t first = picture->bits[0];
    volatile uint8_t last = picture->bits[size_t(picture->stride) * size_t(picture->height) - 1];
    (void)first;
    (void)last;
  }
}

}  // namespace maptesk::fuzz
