#include "core/app/map_number_flows.h"

#include "core/app/dialogs.h"
#include "core/map/edit_steps.h"
#include "core/map/hex_map.h"
#include "core/map/picture_link.h"
#include "core/settings/tool_settings.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {

bool ChangeMapNumberCommand(HexMap& map, Dialogs& dialogs, MapNumberHost& host, EditSteps& steps) {
  MapNumberModel model(map, map.prompts(), host);
  model.folder = map.settings().mapFolder;
  model.number = map.MapNumber;
  model.numberLabel = "Set as map number #";
  model.createMode = false;
  model.Start();
  if (dialogs.RunMapNumber(model) != DialogEnd::kOk) return false;
  if (model.number < 0 || model.number > MapNumberModel::kMaxNumber) return false;
  if (model.number == map.MapNumber) return false;

  {
    EditStep step(steps, "Change map number");
    map.modified = true;
    map.MapNumber = uint16_t(model.number);
  }
  map.settings().mapFolder = WithTrailingSeparator(model.folder);
  map.CheckPicture();
  if (map.hasS16Picture &&
      map.prompts().AskYesNo("\n Do you want to load the new Map picture \n")) {
    // The after-load steps only make sense for a picture that was built.
    if (map.pictureLink() && map.pictureLink()->AssemblePicture(map.pictureFile)) {
      host.AfterPictureLoaded();
    }
  }
  host.UpdateStatusLine();
  return true;
}

bool CreatePictureForNumber(HexMap& map, Dialogs& dialogs, MapNumberHost& host) {
  MapNumberModel model(map, map.prompts(), host);
  model.folder = map.settings().mapFolder;
  model.number = map.MapNumber;
  model.createMode = true;
  model.Start();
  if (dialogs.RunMapNumber(model) != DialogEnd::kOk) return false;
  if (model.number < 0 || model.number > MapNumberModel::kMaxNumber) return false;

  if (model.number != map.MapNumber &&
      map.prompts().AskYesNo(Format("\nDo you want to set map number to %d ?\n", model.number))) {
    // Not marked modified: the save that runs this writes the number.
    map.MapNumber = uint16_t(model.number);
  }
  // A typed folder may lack its separator; the tiles belong inside it.
  const std::string base =
      WithTrailingSeparator(model.folder) + "MAP" + MapNumberText(model.number);
  return host.WriteS16Tiles(base);
}

}  // namespace maptesk
