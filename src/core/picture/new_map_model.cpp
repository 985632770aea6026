#include "core/picture/new_map_model.h"

#include <algorithm>

#include "core/map/hex_topology.h"
#include "core/map/map_file.h"
#include "core/settings/tool_settings.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number that fits the map's 16-bit field without being its "no number"
// value; -1 for anything else, so that no other map's number is offered.
int MapNumberOf(long long value) { return value >= 0 && value < kNoMapNumber ? int(value) : -1; }

// The digits of `text` as a map number; -1 when it holds anything else.
int MapNumberOfDigits(std::string_view text) {
  if (text.empty()) return -1;
  long long value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return -1;
    value = std::min<long long>(value * 10 + (c - '0'), kNoMapNumber);
  }
  return MapNumberOf(value);
}

const char* PatternOf(PictureType type) {
  switch (type) {
    case PictureType::kShp: return "*.shp";
    case PictureType::kS16: return "*.s16";
    case PictureType::kBmp: break;
  }
  return "*.bmp";
}

const char* BrowseTitleOf(PictureType type) {
  switch (type) {
    case PictureType::kShp: return "Select folder for Zeb-SHP files";
    case PictureType::kS16: return "Select folder for S16 files";
    case PictureType::kBmp: break;
  }
  return "Select folder for BMP files";
}

// The line of a file of the folder. A set is listed by its first tile,
// "<3 characters><number>00": the entry is "MAP" and the number with at
// least three digits, and its file is that tile as the folder holds it, so
// that MAP500 (map 5 written with one digit) opens the set it names. A name
// of five characters or fewer is no first tile: the picture reader takes
// such a name whole as a set's base.
std::optional<NewMapModel::Entry> EntryFor(PictureType type, const std::string& path) {
  const std::string name = PathPart(path, kPartName);
  if (type == PictureType::kBmp) {
    return NewMapModel::Entry{PathPart(path, kPartFileName), path,
                              MapNumberOf(TrailingNumber(name, -1))};
  }
  if (name.size() <= 5 || name.compare(name.size() - 2, 2, "00") != 0) return std::nullopt;
  const std::string middle = name.substr(3, name.size() - 5);
  return NewMapModel::Entry{"MAP" + PadText(middle, 3, '0', true), path, MapNumberOfDigits(middle)};
}

}  // namespace

NewMapModel::NewMapModel(ToolSettings& settings, Prompts& prompts)
    : settings_(settings), prompts_(prompts), preview_(prompts) {}

void NewMapModel::Start(const std::string& startFolder) {
  // Every path is the folder followed by a name, so the folder ends with a
  // separator whoever gave it.
  folder_ = WithTrailingSeparator(startFolder.empty() ? settings_.bmpFolder : startFolder);
  started_ = true;
  FillList();
}

void NewMapModel::FillList() {
  WaitCursor wait(prompts_);
  entries_.clear();
  for (const std::string& file : FindFiles(folder_, PatternOf(pictureType_))) {
    if (std::optional<Entry> entry = EntryFor(pictureType_, file)) entries_.push_back(*entry);
  }
  // The list keeps its lines in alphabetical order, as a sorted list box does.
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    const int c = CompareNoCase(a.text, b.text);
    return c != 0 ? c < 0 : a.path < b.path;
  });
  Select(entries_.empty() ? -1 : 0);
}

void NewMapModel::SetPictureType(PictureType type) {
  if (type == pictureType_) return;
  pictureType_ = type;
  // Before Start there is no folder yet: "" would list the working folder.
  if (started_) FillList();
}

void NewMapModel::Select(int index) {
  DropPreview();
  if (index < 0 || size_t(index) >= entries_.size()) {
    selected_ = -1;
    return;
  }
  selected_ = index;
  // Only the dialog's own picture is loaded: the map's picture keeps its
  // pixels whatever the user looks at, and a cancel leaves it as it was.
  // A set without one readable tile loads as 0 x 0: nothing to draw a map on.
  previewLoaded_ = preview_.LoadPicture(entries_[size_t(index)].path) && preview_.width > 0 &&
                   preview_.height > 0;
  SizePreview();
}

void NewMapModel::SetFitToFrame(bool on) {
  fitToFrame_ = on;
  SizePreview();
}

void NewMapModel::ChooseFolder() {
  std::string chosen = prompts_.BrowseFolder(folder_, BrowseTitleOf(pictureType_));
  if (chosen.empty()) return;
  chosen = WithTrailingSeparator(chosen);
  if (chosen == folder_) return;
  folder_ = chosen;
  FillList();
}

bool NewMapModel::Accept() {
  result_ = {};
  result_.pictureType = pictureType_;
  if (selected_ >= 0) {
    const Entry& entry = entries_[size_t(selected_)];
    // The map would be left without a picture by one that cannot be read:
    // the user chooses another instead.
    if (!previewLoaded_) {
      ErrorCannotOpen(prompts_, entry.path);
      return false;
    }
    result_.picturePath = entry.path;
    result_.pictureSize = {preview_.width, preview_.height};
    result_.mapSize = MapSizeFor(result_.pictureSize);
    if (entry.number >= 0) result_.mapNumber = uint16_t(entry.number);
    result_.mapPath = settings_.scnFolder + PathPart(entry.path, kPartName) + ".map";
  }
  settings_.bmpFolder = folder_;
  return true;
}

bool NewMapModel::DoubleClickEntry(int index) {
  if (index < 0 || size_t(index) >= entries_.size()) return false;
  Select(index);
  return Accept();
}

std::array<FrameMark, 10> NewMapModel::FrameMarks(PictureSize frame) {
  const int w = frame.width;
  const int h = frame.height;
  return {{{FrameEdge::kTop, w / 3, 0},
           {FrameEdge::kTop, 2 * w / 3, 0},
           {FrameEdge::kBottom, w / 3, h},
           {FrameEdge::kBottom, 2 * w / 3, h},
           {FrameEdge::kLeft, 0, h / 4},
           {FrameEdge::kLeft, 0, h / 2},
           {FrameEdge::kLeft, 0, 3 * h / 4},
           {FrameEdge::kRight, w, h / 4},
           {FrameEdge::kRight, w, h / 2},
           {FrameEdge::kRight, w, 3 * h / 4}}};
}

MapSize NewMapModel::MapSizeFor(PictureSize picture) {
  int32_t lastRow = 0;
  int32_t lastColumn = 0;
  GridLimitsForPicture(picture.width, picture.height, lastRow, lastColumn);
  return {uint16_t(lastRow + 1), uint16_t(lastColumn + 1)};
}

void NewMapModel::DropPreview() {
  preview_.Reset();
  previewLoaded_ = false;
  previewSize_ = {};
}

void NewMapModel::SizePreview() {
  if (!previewLoaded_) {
    previewSize_ = {};
  } else if (fitToFrame_) {
    previewSize_ = {kPreviewScale, kPreviewScale};
  } else {
    previewSize_ = {int(int64_t(preview_.width) * kPreviewScale / kPictureScale),
                    int(int64_t(preview_.height) * kPreviewScale / kPictureScale)};
  }
}

}  // namespace maptesk
