#include "core/picture/s16_set.h"

#include <algorithm>

#include "core/picture/map_picture.h"
#include "core/picture/s16_tiles.h"
#include "core/picture/tile_export.h"
#include "core/util/path_utils.h"
#include "core/util/text_format.h"

namespace maptesk {

std::vector<std::string> S16SetHoles(const std::string& anyTile) {
  std::vector<std::string> holes;
  if (anyTile.empty()) return holes;
  const std::string baseName = S16Tiles::BaseOf(anyTile);
  const std::string base = PathPart(anyTile, kPartFolder) + baseName;
  bool present[S16Tiles::kColumns][S16Tiles::kRows] = {};
  for (int c = 0; c < S16Tiles::kColumns; ++c) {
    for (int r = 0; r < S16Tiles::kRows; ++r) {
      present[c][r] = FileExists(S16Tiles::TileName(base, c, r));
    }
  }
  // line 0 walks the first row (its widths), line 1 the first column (its
  // heights); a tile "beyond" a hole lies in a later column, or a later row.
  for (int line = 0; line < 2; ++line) {
    const int count = line == 0 ? S16Tiles::kColumns : S16Tiles::kRows;
    for (int i = 0; i < count; ++i) {
      const int c = line == 0 ? i : 0;
      const int r = line == 0 ? 0 : i;
      if (present[c][r]) continue;
      if (line == 1 && i == 0 && !holes.empty()) break;  // the first tile, said once
      // The next tile of the same line names where the picture ends; else
      // the first tile of any later column (row).
      int bc = -1, br = -1;
      for (int j = i + 1; j < count && bc < 0; ++j) {
        const int nc = line == 0 ? j : 0;
        const int nr = line == 0 ? 0 : j;
        if (present[nc][nr]) {
          bc = nc;
          br = nr;
        }
      }
      for (int x = 0; x < S16Tiles::kColumns && bc < 0; ++x) {
        for (int y = 0; y < S16Tiles::kRows && bc < 0; ++y) {
          const bool later = line == 0 ? x > i : y > i;
          if (later && present[x][y]) {
            bc = x;
            br = y;
          }
        }
      }
      if (bc >= 0) {
        holes.push_back(Format("%s: tile %s is missing; the picture ends before %s",
                               baseName.c_str(), S16Tiles::TileName(baseName, c, r).c_str(),
                               S16Tiles::TileName(baseName, bc, br).c_str()));
      }
      break;  // the picture ends at the first gap of the line either way
    }
  }
  return holes;
}

std::vector<std::string> PictureRemarks(const MapPicture& picture) {
  if (!picture.loaded || picture.extension == ".BMP" || picture.extension == ".SHP") return {};
  return S16SetHoles(picture.fullPath);
}

std::vector<std::string> S16TilesLeftOut(const std::string& base, const TileGrid& grid) {
  std::vector<std::string> left;
  const std::string baseName = PathPart(base, kPartFileName);
  if (baseName.empty()) return left;
  for (const std::string& file : FindFiles(PathPart(base, kPartFolder), baseName + "??.s16")) {
    const std::string name = PathPart(file, kPartFileName);
    for (int k = 0; k < 20; ++k) {
      const int c = k % 5, r = k / 5;
      if (!EqualsNoCase(name, S16Tiles::TileName(baseName, c, r))) continue;
      if (c >= grid.columns() || r >= grid.rows()) left.push_back(file);
      break;
    }
  }
  std::sort(left.begin(), left.end());
  return left;
}

}  // namespace maptesk
