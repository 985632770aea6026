#include "core/app/workspace.h"

#include "core/app/map_number_flows.h"

namespace maptesk {

Workspace::Workspace(Prompts& prompts)
    : prompts(prompts),
      map(settings, prompts),
      names(map, settings, prompts),
      picture(prompts),
      history(map, names) {
  map.SetPictureLink(this);
}

void Workspace::SetApplication(Dialogs* dialogs, MapNumberHost* numberHost) {
  dialogs_ = dialogs;
  numberHost_ = numberHost;
}

bool Workspace::OpenMap(const std::string& path) {
  if (!map.MapFileLoad(path)) return false;
  history.Clear();
  return true;
}

bool Workspace::SaveMap(const std::string& path) {
  if (!map.MapFileSave(path)) return false;
  // "Save clean" drops the marks from the map in memory too.
  if (settings.saveClean()) history.NoteChangeOutside();
  history.SyncSavedMarks();
  return true;
}

bool Workspace::LoadNamesFile(const std::string& path) {
  bool read = false;
  {
    EditStep step(history, "Load names file");
    names.ClearNames();
    read = names.ReadNamesFile(path);
  }
  // The step marks the names changed; they are what the file holds, unless
  // it could not be read.
  if (read) {
    names.namesModified = false;
    history.SyncSavedMarks();
  }
  return read;
}

bool Workspace::ChangeMapNumber() {
  if (!dialogs_ || !numberHost_) return false;
  return ChangeMapNumberCommand(map, *dialogs_, *numberHost_, history);
}

bool Workspace::AssemblePicture(const std::string& firstTile) {
  // The old picture counts as gone until the new one is assembled.
  picture.loaded = false;
  return picture.LoadPicture(firstTile);
}

void Workspace::CreatePictureForNumber() {
  if (dialogs_ && numberHost_) maptesk::CreatePictureForNumber(map, *dialogs_, *numberHost_);
}

}  // namespace maptesk
