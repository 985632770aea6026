// Automatic roads: the road bits of the hexes carrying the Auto road mark are
// computed from their neighbours, so a road is drawn by marking its hexes.
#pragma once

namespace maptesk {

class HexMap;

class AutoRoads {
 public:
  /// Works over rows 0..lastRow and columns 0..lastColumn: the grid over the
  /// map's picture, never beyond the map's storage.
  AutoRoads(HexMap& map, int lastRow, int lastColumn);

  /// Gives every marked hex a road towards each neighbour that is marked or
  /// has a road (with `link`, also towards cities and ports, and links those
  /// roads back). Without `keep` the marks are removed afterwards. Returns the
  /// number of marked hexes.
  int generate(bool keep, bool link);
  /// Marks exactly the hexes that have roads. Returns the number marked.
  int loadMarksFromRoads();
  /// Removes every mark. Returns the number removed.
  int clearMarks();

 private:
  void link(int row, int column, int direction, int neighbourRow, int neighbourColumn,
            bool linkOption);

  HexMap& map_;
  int lastRow_;
  int lastColumn_;
};

}  // namespace maptesk
