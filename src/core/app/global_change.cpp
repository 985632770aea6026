#include "core/app/global_change.h"

#include "core/map/edit_steps.h"
#include "core/map/map_file.h"
#include "core/map/terrain_table.h"
#include "core/util/prompts.h"

namespace maptesk {
namespace {

bool IsListed(int type) { return type >= 0 && type < TerrainTable::kCount; }

}  // namespace

int GlobalChange::MakeChanges(MapRecord& map, Prompts& prompts, EditSteps& steps) {
  if (!IsListed(fromType) || !IsListed(toType) || fromType == toType) return -1;
  int count = 0;
  {
    EditStep step(steps, "Global terrain change");
    // The whole grid, whatever the size words say: hexes outside the stated
    // size are still written to the file.
    for (auto& row : map.cells) {
      for (HexCell& cell : row) {
        if (cell.terrain != fromType) continue;
        cell.terrain = uint16_t(toType);
        ++count;
      }
    }
  }
  if (count > 0) changed = true;
  prompts.ShowNote(DoneMessage(count, fromType, toType));
  return count;
}

std::string GlobalChange::DoneMessage(int count, int from, int to) {
  return Format("Done !\n%d Terrain types changed\nfrom: %s\nto %s", count,
                TerrainTable::Label(from).c_str(), TerrainTable::Label(to).c_str());
}

}  // namespace maptesk
