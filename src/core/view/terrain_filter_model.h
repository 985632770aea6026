// The terrain filter dialog: for which terrain types the view draws a mark,
// and whether the marks are icons or text labels.
#pragma once

#include <array>
#include <cstdint>

#include "core/map/terrain_table.h"

namespace maptesk {

struct ToolSettings;

class TerrainFilterModel {
 public:
  /// One box per terrain type, 1 when ticked.
  std::array<uint8_t, TerrainTable::kCount> flags{};
  /// "Show Labels no icons".
  bool labels = false;

  /// Opening: the boxes show the current filter and labels option.
  explicit TerrainFilterModel(const ToolSettings& settings);

  /// "Set All": every type but "Clear" ticked; the labels box untouched.
  void SetAll();
  /// "Reaset All": every type cleared; the labels box untouched.
  void ResetAll();
  /// OK: the boxes become the filter, the terrain marks are switched on so
  /// the choice shows at once, and the labels option follows its box.
  void Accept(ToolSettings& settings) const;

  /// The boxes as a mask, bit i for terrain type i.
  uint32_t Mask() const;
};

}  // namespace maptesk
