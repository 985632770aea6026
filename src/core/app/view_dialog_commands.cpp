#include "core/app/view_dialog_commands.h"

#include "core/app/dialogs.h"
#include "core/map/hex_map.h"
#include "core/view/edit_input.h"
#include "core/view/map_view.h"
#include "core/view/name_picker_model.h"
#include "core/view/terrain_filter_model.h"
#include "core/view/view_host.h"

namespace maptesk {

bool RunViewDialogCommand(int id, MapView& view, Dialogs& dialogs, TextEntry& textEntry) {
  switch (id) {
    case kCmdPickName: {
      view.host().ShowOrdinarySurface();
      NamePickerModel model(view.names(), view.map().prompts(), textEntry, view.steps());
      model.Open(view.nameToSet);
      if (dialogs.RunNamePicker(model) == DialogEnd::kOk) view.nameToSet = model.chosenIndex;
      return true;
    }
    case kCmdTerrainFilter: {
      view.host().ShowOrdinarySurface();
      TerrainFilterModel model(view.settings());
      if (dialogs.RunTerrainFilter(model) == DialogEnd::kOk) model.Accept(view.settings());
      return true;
    }
    default: return false;
  }
}

}  // namespace maptesk
