// Cutting the map picture into BMP and S16 tiles.
#include "core/picture/tile_export.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/picture/map_picture.h"
#include "core/picture/s16_set.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {

int TileGrid::CellWidth(int column) const {
  return std::clamp(pictureWidth - column * 640, 0, 640);
}

int TileGrid::CellHeight(int row) const { return std::clamp(pictureHeight - row * 480, 0, 480); }

std::string PictureBaseForNumber(const std::string& folder, int number) {
  return Format(number < 10 ? "%sMAP0%d" : "%sMAP%d", WithTrailingSeparator(folder).c_str(),
                number);
}

namespace {

bool GridFits(Prompts& prompts, const TileGrid& grid) {
  if (grid.columns() <= kMaxTileIndex && grid.rows() <= kMaxTileIndex) return true;
  prompts.ShowError(
      Format("The picture (%d x %d) is too large to be cut into tiles:\n"
             "at most %d x %d tiles of 640 x 480 can be named",
             grid.pictureWidth, grid.pictureHeight, kMaxTileIndex, kMaxTileIndex));
  return false;
}

// Older tiles of the base that the new set does not replace would be read as
// part of it, and so would a second copy of a tile whose name differs only in
// case: every file of the base's tile names, whatever its case, that the set
// does not write goes in the same commit, so a failure keeps them all.
bool RemoveOtherTiles(SafeFileBatch& batch, const std::string& base) {
  std::vector<std::string> written;
  for (const std::string& target : batch.targets()) {
    written.push_back(PathPart(target, kPartFileName));
  }
  const std::string baseName = PathPart(base, kPartFileName);
  for (const std::string& file : FindFiles(PathPart(base, kPartFolder), baseName + "??.s16")) {
    const std::string name = PathPart(file, kPartFileName);
    bool isTile = false;  // one of the 5 x 4 names
    for (int k = 0; k < 20 && !isTile; ++k) {
      isTile = EqualsNoCase(name, S16Tiles::TileName(baseName, k % 5, k / 5));
    }
    if (!isTile || std::find(written.begin(), written.end(), name) != written.end()) continue;
    if (!batch.Remove(file)) return false;
  }
  return true;
}

}  // namespace

bool MapPicture::SplitToBmpTiles(const std::string& base) {
  if (width <= S16Tiles::kCellWidth || height <= S16Tiles::kCellHeight) return false;
  if (PathPart(base, kPartFileName).empty()) return false;
  const TileGrid grid{width, height};
  if (!GridFits(prompts(), grid)) return false;
  std::vector<uint8_t> scratch;
  int rowBytes = 0;
  const uint8_t* rows = Rgb24Rows(scratch, rowBytes);
  if (!rows) return false;

  WaitCursor wait(prompts());
  // The tiles are replaced as a set: a failure half way (a full disk)
  // leaves every earlier tile of that name as it was. They are an export
  // that can be made again, so they are not forced to the disk.
  SafeFileBatch batch(Durability::kToSystem);
  if (!batch.UseJournal(base)) {
    prompts().ShowError(Format("Error on creating %s\n%s", base.c_str(), batch.error().c_str()));
    return false;
  }
  // A tile's rows go to its file straight from the picture's rows, with
  // zeros for each row's padding: nothing is copied into a tile first.
  static const uint8_t kZeros[4] = {};
  uint8_t head[kFileHeaderSize + kInfoHeaderSize];
  std::vector<ByteSpan> pieces;
  for (int c = 0; c < grid.columns(); ++c) {
    for (int r = 0; r < grid.rows(); ++r) {
      const std::string name = S16Tiles::TileName(base, c, r, ".bmp");
      const int w = grid.CellWidth(c);
      const int h = grid.CellHeight(r);
      const size_t rowData = size_t(w) * 3;
      const size_t tileRow = size_t(RowBytes(w, 24));
      const size_t imageSize = tileRow * size_t(h);
      std::fill(head, head + sizeof head, 0);
      head[0] = 'B';
      head[1] = 'M';
      PutLe32(head + 2, uint32_t(sizeof head + imageSize));
      PutLe32(head + 10, kFileHeaderSize + kInfoHeaderSize);
      uint8_t* info = head + kFileHeaderSize;
      PutLe32(info, kInfoHeaderSize);
      PutLe32(info + 4, uint32_t(w));
      PutLe32(info + 8, uint32_t(h));
      PutLe16(info + 12, 1);
      PutLe16(info + 14, 24);
      PutLe32(info + 20, uint32_t(imageSize));
      pieces.assign(1, ByteSpan{head, sizeof head});
      // Tile row y (0 = bottom) is the picture's row from the bottom
      // height - r * 480 - h + y.
      for (int y = 0; y < h; ++y) {
        const size_t srcRow = size_t(height - r * S16Tiles::kCellHeight - h + y);
        pieces.push_back(
            {rows + srcRow * size_t(rowBytes) + size_t(c) * S16Tiles::kCellWidth * 3, rowData});
        if (tileRow > rowData) pieces.push_back({kZeros, tileRow - rowData});
      }
      if (!batch.Add(name, pieces)) {
        prompts().ShowError(
            Format("Error on creating %s\n%s", name.c_str(), batch.error().c_str()));
        return false;
      }
    }
  }
  if (!batch.Commit()) {
    prompts().ShowError(
        Format("Error on creating %s\n%s", batch.failedTarget().c_str(), batch.error().c_str()));
    return false;
  }
  prompts().ShowNote(Format("Done !\nLoaded file has been splitted to %d BMP tiles", grid.cells()));
  return true;
}

bool MapPicture::SplitToS16Tiles(const std::string& base) {
  if (PathPart(base, kPartFileName).empty()) return false;
  const TileGrid grid{width, height};
  // Before the 24-bit copy, the costliest allocation here: a picture too
  // large to name is not converted at all.
  if (bits != nullptr && !GridFits(prompts(), grid)) return false;
  // Tiles of the base beyond the new set would be read as part of it, so
  // they go with the export; but they may be the only copy of a part of a
  // picture (one that loaded narrower than its set), so only when agreed.
  // A set that a killed export left half replaced is finished first, so
  // that the question below is about the set as it now stands.
  if (bits != nullptr) RecoverFileSet(base);
  if (bits != nullptr) {
    const std::vector<std::string> leftOut = S16TilesLeftOut(base, grid);
    if (!leftOut.empty()) {
      std::string names;
      for (const std::string& file : leftOut) names += "\n" + PathPart(file, kPartFileName);
      if (!prompts().AskYesNo(Format("The new tiles of %s do not replace:%s\n"
                                     "They would be read as part of the new picture.\n"
                                     "Remove them ?",
                                     PathPart(base, kPartFileName).c_str(), names.c_str()))) {
        return false;
      }
    }
  }
  std::vector<uint8_t> scratch;
  int rowBytes = 0;
  const uint8_t* rows = Rgb24Rows(scratch, rowBytes);
  if (!rows) {
    prompts().ShowError("There is no picture to cut into tiles");
    return false;
  }

  WaitCursor wait(prompts());
  // The new set goes to temporary files first and replaces the old one only
  // when all of it was written: a full disk half way loses no picture.
  SafeFileBatch batch;
  if (!batch.UseJournal(base)) {
    prompts().ShowError(Format("Error on creating %s\n%s", base.c_str(), batch.error().c_str()));
    return false;
  }
  for (int c = 0; c < grid.columns(); ++c) {
    for (int r = 0; r < grid.rows(); ++r) {
      const std::string name = S16Tiles::TileName(base, c, r);
      const std::vector<uint8_t> tile =
          S16Tiles::Encode(rows, rowBytes, height, c * S16Tiles::kCellWidth,
                           r * S16Tiles::kCellHeight, grid.CellWidth(c), grid.CellHeight(r), false);
      if (!batch.Add(name, tile.data(), tile.size())) {
        prompts().ShowError(
            Format("Error on creating %s\n%s", name.c_str(), batch.error().c_str()));
        return false;
      }
    }
  }
  if (!RemoveOtherTiles(batch, base) || !batch.Commit()) {
    prompts().ShowError(
        Format("Error on creating %s\n%s", batch.failedTarget().c_str(), batch.error().c_str()));
    return false;
  }
  prompts().ShowNote(Format("Done !\nLoaded file has been splitted to %d S16 Tiles", grid.cells()));
  return true;
}

}  // namespace maptesk
