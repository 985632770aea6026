#include "core/app/workspace.h"

#include "core/app/global_change.h"
#include "core/app/map_number_flows.h"
#include "core/picture/s16_set.h"
#include "core/picture/s16_tiles.h"
#include "core/util/file_io.h"
#include "core/util/prompts.h"
#include "core/util/text_format.h"

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

bool Workspace::OpenMap(const std::string& path, bool withPicture) {
  map.SetPictureLink(withPicture ? static_cast<PictureLink*>(this) : nullptr);
  const bool read = map.MapFileLoad(path);
  map.SetPictureLink(this);
  if (!read) return false;
  // The last map's picture is not this map's.
  if (!map.hasS16Picture) picture.loaded = false;
  history.Clear();
  return true;
}

bool Workspace::OpenMapWithNames(const std::string& path, bool withPicture) {
  if (!OpenMap(path, withPicture)) return false;
  LoadDefaultNames();
  return true;
}

void Workspace::NewMap(const std::string& path) {
  map.Clear();
  map.path = path;
  map.loaded = true;
  map.foreignPicture = true;
  map.MapNumber = kNoMapNumber;
  map.modified = false;
  map.CheckPicture();
  history.Clear();
}

bool Workspace::LoadPicture(const std::string& file) {
  picture.loaded = false;
  pictureRemarks.clear();
  WaitCursor wait(prompts);
  if (!picture.LoadPicture(file)) return false;
  pictureRemarks = PictureRemarks(picture);
  for (const std::string& remark : pictureRemarks) prompts.ShowRemark(remark);
  return true;
}

std::optional<PictureSize> Workspace::PictureSizeOf() const {
  if (picture.loaded) return PictureSize{picture.width, picture.height};
  if (!map.hasS16Picture) return std::nullopt;
  PictureSize size;
  S16SetSize(map.pictureFile, size.width, size.height);
  if (size.width <= 0 || size.height <= 0) return std::nullopt;
  return size;
}

void Workspace::LoadDefaultNames() {
  names.LoadDefaultNames();
  // What was read is the saved state of the names.
  history.NoteChangeOutside();
}

bool Workspace::SaveNames(const std::string& path) {
  if (!names.WriteNamesFile(path)) return false;
  history.SyncSavedMarks();
  return true;
}

int Workspace::ReplaceTerrain(int from, int to) {
  GlobalChange change;
  change.fromType = from;
  change.toType = to;
  const int count = change.MakeChanges(map, prompts, history);
  if (change.changed) map.modified = true;
  return count;
}

bool Workspace::RestoreCopy(const std::string& mapFile, const std::string& namesFile) {
  std::vector<uint8_t> mapBytes;
  std::vector<uint8_t> namesBytes;
  const bool mapRead =
      ReadFileBytes(mapFile, mapBytes, kMapFileSize + 1, true) == ReadStatus::kOk &&
      mapBytes.size() == kMapFileSize;
  const ReadStatus namesStatus = ReadFileBytes(namesFile, namesBytes, MapNames::kMaxFileSize, true);
  if (!mapRead || (namesStatus != ReadStatus::kOk && namesStatus != ReadStatus::kNotFound)) {
    prompts.ShowError(
        Format("The recovery copy [%s] cannot be read.\nIt is kept as it is.", mapFile.c_str()));
    return false;
  }
  auto scratch = std::make_unique<MapRecord>(static_cast<const MapRecord&>(map));
  DecodeMapFile(mapBytes.data(), mapBytes.size(), *scratch);
  const std::string namesBefore = names.FormatNamesFile();
  {
    EditStep step(history, "Restore recovery copy");
    static_cast<MapRecord&>(map) = *scratch;
    map.ClearSelection();
    map.modified = true;
    const std::string namesPath = names.namesPath;
    names.ClearNames();
    names.ReadNamesText(
        std::string_view(reinterpret_cast<const char*>(namesBytes.data()), namesBytes.size()),
        namesPath);
    names.namesPath = namesPath;
    names.namesModified = names.FormatNamesFile() != namesBefore;
  }
  map.CheckPicture();
  return true;
}

bool Workspace::Renumber(uint16_t number) {
  if (number == map.MapNumber) return false;
  EditStep step(history, "Change map number");
  map.MapNumber = number;
  map.modified = true;
  map.CheckPicture();
  return true;
}

bool Workspace::SaveMap(const std::string& path, bool askPicture) {
  if (!map.MapFileSave(path, askPicture)) return false;
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

bool Workspace::AssemblePicture(const std::string& firstTile) { return LoadPicture(firstTile); }

void Workspace::CreatePictureForNumber() {
  if (dialogs_ && numberHost_) maptesk::CreatePictureForNumber(map, *dialogs_, *numberHost_);
}

}  // namespace maptesk
