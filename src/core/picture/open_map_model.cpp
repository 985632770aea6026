#include "core/picture/open_map_model.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>

#include "core/map/hex_map.h"
#include "core/map/map_file.h"
#include "core/settings/tool_settings.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {

OpenMapModel::OpenMapModel(ToolSettings& settings, Prompts& prompts, PicturePreview& preview)
    : settings_(settings), prompts_(prompts), preview_(preview) {}

OpenMapModel::OpenMapModel(ToolSettings& settings, Prompts& prompts)
    : settings_(settings),
      prompts_(prompts),
      ownPreview_(std::make_unique<KeptPreview>()),
      preview_(*ownPreview_) {}

OpenMapModel::~OpenMapModel() = default;

const MapPicture* OpenMapModel::previewPicture() const {
  return ownPreview_ && previewLoaded_ ? ownPreview_->Picture(previewFile_) : nullptr;
}

std::string OpenMapModel::LineText(const Record& record, int mode) {
  const std::string name = PadText(record.fileName, 24, '.', false);
  const std::string number = PadNumber(record.number, 4, ' ', true);
  if (mode == kByName) return name + ".." + number + "  " + (record.noPicture ? "No Pic" : "ok");
  return number + "  " + name + " " + (record.noPicture ? "No Pic" : "Ok") + " ";
}

std::string OpenMapModel::PictureFile(const Record& record) const {
  return ResolveExisting(picFolder + record.pictureBase + "00." + PictureExtension());
}

bool OpenMapModel::Start() {
  if (scenarioFolder.empty()) scenarioFolder = settings_.scnFolder;
  if (picFolder.empty()) picFolder = settings_.mapFolder;
  return Refresh();
}

bool OpenMapModel::Refresh() {
  records_.clear();
  lines_.clear();
  selected_ = -1;
  if (!ReadRecords()) {
    prompts_.ShowError("Error on allocating memory");
    Cancel();
    return false;
  }
  FillList();
  ShowSelection();
  countText_ = Format("%d Maps found", int(records_.size()));
  return true;
}

bool OpenMapModel::ReadRecords() {
  WaitCursor wait(prompts_);
  const std::vector<std::string> files = FindFiles(scenarioFolder, "*.map");
  try {
    records_.reserve(files.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (const std::string& file : files) {
    std::vector<uint8_t> head;
    if (ReadFileBytes(file, head, 2) != ReadStatus::kOk) continue;
    Record record;
    record.fileName = PathPart(file, kPartFileName);
    const int value = head.size() == 2 ? head[0] | head[1] << 8 : kNoMapNumber;
    // Without a number there is no picture to look for.
    if (value != kNoMapNumber) {
      record.number = value;
      record.pictureBase = "MAP" + MapNumberText(value);
      record.noPicture = !FileExists(PictureFile(record));
    }
    records_.push_back(std::move(record));
  }
  return true;
}

void OpenMapModel::FillList() {
  std::optional<size_t> kept;
  if (selected_ >= 0) kept = lines_[size_t(selected_)].record;
  lines_.clear();
  for (size_t i = 0; i < records_.size(); ++i)
    lines_.push_back({LineText(records_[i], sortMode), i});
  // Lines sort without regard to case, as a sorted list box keeps them.
  // Numbers sort by value: as text, "10000" would come before "9999".
  const bool byNumber = sortMode == kByNumber;
  std::sort(lines_.begin(), lines_.end(), [&](const Line& a, const Line& b) {
    const int na = records_[a.record].number, nb = records_[b.record].number;
    if (byNumber && na != nb) return na < nb;
    const int c = CompareNoCase(a.text, b.text);
    if (c != 0) return c < 0;
    if (a.text != b.text) return a.text < b.text;
    return a.record < b.record;
  });
  selected_ = lines_.empty() ? -1 : 0;
  for (size_t i = 0; kept && i < lines_.size(); ++i) {
    if (lines_[i].record == *kept) selected_ = int(i);
  }
}

void OpenMapModel::SelectSort(int mode) {
  if (mode != kByName && mode != kByNumber) return;
  sortMode = mode;
  FillList();
}

void OpenMapModel::SelectLine(int index) {
  if (index < 0 || size_t(index) >= lines_.size()) return;
  selected_ = index;
  ShowSelection();
}

void OpenMapModel::ShowSelection() {
  DropPreview();
  caption_.clear();
  if (selected_ < 0) return;
  const Record& record = records_[lines_[size_t(selected_)].record];
  if (record.noPicture) {
    caption_ = Format("Picture for Map: %d * not FOUND", record.number);
    return;
  }
  const std::string tile = PictureFile(record);
  const std::optional<PictureSize> size = preview_.LoadPreview(tile);
  // A first tile that cannot be read shows no size and draws nothing.
  if (!size || size->width <= 0 || size->height <= 0) {
    caption_ = Format("Picture for Map: %d", record.number);
    return;
  }
  previewLoaded_ = true;
  previewFile_ = tile;
  previewSize_ = {int(static_cast<long long>(size->width) * kPreviewScale / kPictureScale),
                  int(static_cast<long long>(size->height) * kPreviewScale / kPictureScale)};
  caption_ = Format("Picture for Map: %d (%d x %d) ", record.number, size->width, size->height);
}

void OpenMapModel::DropPreview() {
  previewLoaded_ = false;
  previewFile_.clear();
  previewSize_ = {};
}

bool OpenMapModel::AskPictureFolder() {
  const std::string chosen =
      prompts_.BrowseFolder(picFolder, searchShp_ ? "Select MAP folder (for Zeb .shp files)"
                                                  : "Select MAP folder (for Tesk .s16 files)");
  if (chosen.empty()) return false;
  picFolder = WithTrailingSeparator(chosen);
  return true;
}

bool OpenMapModel::ChoosePictureFolder() {
  const std::string before = picFolder;
  if (!AskPictureFolder() || picFolder == before) return true;
  return Refresh();
}

bool OpenMapModel::ChooseScenarioFolder() {
  std::string chosen =
      prompts_.BrowseFolder(scenarioFolder, "Select SCENARIO folder (for .map files)");
  if (chosen.empty()) return true;
  chosen = WithTrailingSeparator(chosen);
  if (chosen == scenarioFolder) return true;
  scenarioFolder = chosen;
  // A game keeps its pictures in the MAP folder beside SCENARIO: take that
  // one without asking when it holds pictures of the kind searched.
  const std::string firstPicture =
      ParentFolder(scenarioFolder) + "MAP" + kPathSeparator + "MAP0000." + PictureExtension();
  if (std::optional<std::string> found = FindFileNoCase(firstPicture)) {
    picFolder = PathPart(*found, kPartFolder);
  } else {
    AskPictureFolder();
  }
  return Refresh();
}

bool OpenMapModel::SetSearchShp(bool on) {
  searchShp_ = on;
  if (!FileExists(picFolder + "MAP0000." + PictureExtension())) AskPictureFolder();
  return Refresh();
}

void OpenMapModel::PicFolderEdited(const std::string& text) {
  picFolder = WithTrailingSeparator(text);
}

void OpenMapModel::ScenarioFolderEdited(const std::string& text) {
  scenarioFolder = WithTrailingSeparator(text);
}

void OpenMapModel::Accept() {
  mapPath_.clear();
  picturePath_.clear();
  noPicture_ = true;
  if (selected_ >= 0) {
    const Record& record = records_[lines_[size_t(selected_)].record];
    mapPath_ = scenarioFolder + record.fileName;
    noPicture_ = record.noPicture;
    // A map without its S16 picture gets one the user picks; in SHP mode
    // the picture is the sibling game's set of the same number.
    if (noPicture_) {
      foreignPicture_ = true;
    } else if (searchShp_) {
      picturePath_ = PictureFile(record);
      foreignPicture_ = true;
    }
  }
  if (!searchShp_) settings_.mapFolder = picFolder;
  Close();
}

void OpenMapModel::Cancel() {
  mapPath_.clear();
  picturePath_.clear();
  noPicture_ = true;
  Close();
}

void OpenMapModel::Close() {
  records_.clear();
  lines_.clear();
  selected_ = -1;
  DropPreview();
}

}  // namespace maptesk
