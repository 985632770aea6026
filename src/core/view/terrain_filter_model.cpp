#include "core/view/terrain_filter_model.h"

#include "core/settings/tool_settings.h"

namespace maptesk {

TerrainFilterModel::TerrainFilterModel(const ToolSettings& settings)
    : labels(settings.Toggle(kToggleLabels)) {
  // The mask is taken as it is: an empty stored mask was turned into the
  // default one when the settings were read, and one emptied with "Reaset
  // All" in this run must open empty again.
  for (int i = 0; i < TerrainTable::kCount; ++i) {
    flags[size_t(i)] = (settings.terrainMask >> i) & 1u ? 1 : 0;
  }
}

void TerrainFilterModel::SetAll() {
  flags.fill(1);
  flags[0] = 0;
}

void TerrainFilterModel::ResetAll() { flags.fill(0); }

uint32_t TerrainFilterModel::Mask() const {
  uint32_t mask = 0;
  for (int i = 0; i < TerrainTable::kCount; ++i) {
    if (flags[size_t(i)] > 0) mask |= 1u << i;
  }
  return mask;
}

void TerrainFilterModel::Accept(ToolSettings& settings) const {
  settings.terrainMask = Mask();
  settings.viewToggles |= kToggleTerrainMarks;
  if (labels) {
    settings.viewToggles |= kToggleLabels;
  } else {
    settings.viewToggles &= uint16_t(~kToggleLabels);
  }
}

}  // namespace maptesk
