#include "core/map/hex_map.h"

#include <memory>
#include <vector>

#include "core/map/picture_link.h"
#include "core/settings/tool_settings.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {

std::string MapNumberText(int number) { return Format(number < 10 ? "0%d" : "%d", number); }

HexMap::HexMap(ToolSettings& settings, Prompts& prompts) : settings_(settings), prompts_(prompts) {}

void HexMap::Clear() {
  for (auto& row : cells) row.fill(HexCell{});
  for (auto& row : selected) row.fill(0);
  selectionActive = false;
  pictureFile.clear();
  MapNumber = kNoMapNumber;
}

void HexMap::ClearSelection() {
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      selected[size_t(r)][size_t(c)] = 0;
      cell(r, c).flags &= uint16_t(~kSelectionMark);
    }
  }
  selectionActive = false;
}

std::string HexMap::S16PictureName(int number, const std::string& folder) const {
  if (number < 0) return {};
  const std::string numberText = MapNumberText(number);
  const std::string base = folder.empty() ? settings_.mapFolder : folder;
  std::string candidate = WithTrailingSeparator(base) + "MAP" + numberText + "00.s16";
  if (auto found = FindFileNoCase(candidate)) return *found;
  std::string fallback =
      settings_.gameFolder + "MAP" + kPathSeparator + "MAP" + numberText + "00.s16";
  return ResolveExisting(fallback);
}

void HexMap::CheckPicture() {
  if (MapNumber == kNoMapNumber || foreignPicture) {
    pictureFile.clear();
    hasS16Picture = false;
    return;
  }
  pictureFile = S16PictureName(MapNumber, "");
  hasS16Picture = FileExists(pictureFile) && !foreignPicture;
}

void HexMap::TakeMapNumberFromName(const std::string& pictureName) {
  long long n = TrailingNumber(PathPart(pictureName, kPartName), -1);
  // A number that does not fit the 16-bit field (or is the "no number"
  // value itself) would be stored as some other map's number: don't offer it.
  if (n < 0 || n >= kNoMapNumber || n == MapNumber) return;
  if (!prompts_.AskYesNo(Format("\nWill you change map number to: %d \n", int(n)))) return;
  modified = true;
  MapNumber = uint16_t(n);
  CheckPicture();
}

bool HexMap::MapFileLoad(const std::string& requested) {
  // A name is resolved once, by one rule (FindFileNoCase: the exact entry,
  // else a case-blind match), into the file that is then read and becomes
  // `path`. A name that stands for no file is not looked for elsewhere: a
  // map of the same name in another folder is another map.
  auto resolve = [](const std::string& given) {
    const auto found = FindFileNoCase(given);
    return found ? *found : given;
  };
  std::string name = requested;
  if (!name.empty()) name = resolve(PathPart(name, kPartWithoutExtension) + ".MAP");

  std::vector<uint8_t> bytes;
  ReadStatus status =
      name.empty() ? ReadStatus::kNotFound : ReadFileBytes(name, bytes, kMapFileSize);
  // A folder, FIFO or device is named for what it is at once: the chooser
  // stands in for a map that is missing.
  if (status != ReadStatus::kOk && status != ReadStatus::kNotAFile) {
    // A cancelled chooser leaves the message naming the map that was asked for.
    std::string chosen = prompts_.ChooseOpenFile(kFileMap, PathPart(name, kPartFolder), "");
    if (!chosen.empty()) {
      name = resolve(chosen);
      status = ReadFileBytes(name, bytes, kMapFileSize);
    } else if (!requested.empty()) {
      name = PathPart(requested, kPartWithoutExtension) + ".MAP";
    }
  }
  if (status == ReadStatus::kNotAFile) {
    prompts_.ShowError(
        Format("Map file [%s]\nis %s, not a map file", name.c_str(), NotAFileKind(name).c_str()));
    return false;
  }
  if (status != ReadStatus::kOk) {
    prompts_.ShowError(Format("Map file [%s]\nnot found", name.c_str()));
    return false;
  }
  if (bytes.size() < kMapHeaderSize) {
    prompts_.ShowError(Format("Map file [%s]\nis too short to be a map (%d bytes)", name.c_str(),
                              int(bytes.size())));
    return false;
  }

  // Decode into a scratch copy: the document changes only once the file was read.
  auto scratch = std::make_unique<MapRecord>(static_cast<const MapRecord&>(*this));
  for (auto& row : scratch->cells) row.fill(HexCell{});
  scratch->MapNumber = kNoMapNumber;
  DecodeMapFile(bytes.data(), bytes.size(), *scratch);

  Clear();
  static_cast<MapRecord&>(*this) = *scratch;
  modified = false;
  path = name;
  loaded = true;
  CheckPicture();
  if (bytes.size() < kMapFileSize) {
    prompts_.ShowNote(
        Format("Map file [%s]\nis shorter than a map (%d of %d bytes):\n"
               "the hexes it lacks are left empty",
               path.c_str(), int(bytes.size()), int(kMapFileSize)));
  }
  if (hasS16Picture && pictureLink_) pictureLink_->AssemblePicture(pictureFile);
  return true;
}

bool HexMap::MapFileSave(const std::string& requested, bool askPicture) {
  std::string name = requested.empty() ? path : requested;
  if (name.empty()) {
    prompts_.ShowError(Format("Error on creating [%s]", ".MAP"));
    return false;
  }
  // A name ending in a separator is refused as it is, not saved as "folder/.MAP".
  if (!IsSeparator(name.back())) name = PathPart(name, kPartWithoutExtension) + ".MAP";

  // Refuse a target that cannot be written before asking about pictures.
  std::string error;
  if (!CheckSaveTarget(name, &error)) {
    ErrorCreating(prompts_, name, error);
    return false;
  }
  const std::string target = SaveTargetFor(name);

  if (askPicture && pictureLink_ && !hasS16Picture && !FileExists(S16PictureName(MapNumber, ""))) {
    pictureLink_->CreatePictureForNumber();
  }

  // "Save clean" drops the editor's marks; they are dropped from the document
  // only once the file is safely written.
  auto out = std::make_unique<MapRecord>(static_cast<const MapRecord&>(*this));
  const bool clean = settings_.saveClean();
  if (clean) {
    for (auto& row : out->cells) {
      for (HexCell& c : row) {
        c.extra = 0;
        c.flags = 0;
      }
    }
  }
  std::vector<uint8_t> bytes(kMapFileSize);
  EncodeMapFile(*out, bytes.data());
  if (!SaveFileSafely(target, bytes.data(), bytes.size(), &error)) {
    ErrorCreating(prompts_, name, error);
    return false;
  }
  if (clean) cells = out->cells;
  path = target;
  modified = false;
  CheckPicture();
  return true;
}

}  // namespace maptesk
