#include "core/map/map_number_model.h"

#include <algorithm>

#include "core/map/hex_map.h"
#include "core/settings/tool_settings.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Like atoi: leading blanks, a sign, then digits up to the first other
// character; none gives 0. Runs of digits saturate instead of overflowing.
long long LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = std::min<long long>(value * 10 + (text[i] - '0'), 1'000'000'000LL);
  }
  return negative ? -value : value;
}

}  // namespace

MapNumberModel::MapNumberModel(const HexMap& map, Prompts& prompts, PicturePreview& preview)
    : map_(map), prompts_(prompts), preview_(preview) {}

std::string MapNumberModel::EntryText(int n) { return "MAP" + PadNumber(n, 4, ' ', true); }

std::optional<int> MapNumberModel::ParseMapNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty() || text.size() > 10) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > kMaxNumber) return std::nullopt;
  return int(value);
}

std::optional<int> MapNumberModel::NumberOfFirstTile(std::string_view baseName) {
  if (baseName.size() < 5 || !EqualsNoCase(baseName.substr(0, 3), "MAP") ||
      baseName.substr(baseName.size() - 2) != "00") {
    return std::nullopt;
  }
  long long value = LeadingInteger(baseName.substr(3, baseName.size() - 5));
  // A name like MAP-500 or MAP7000000 names no map: its number could only
  // be stored as some other map's 16-bit number.
  if (value < 0 || value > kMaxNumber) return std::nullopt;
  return int(value);
}

std::string MapNumberModel::RangeMessage(const std::string& text) {
  return Format("[%s] is not a map number:\nplease enter a number from 0 to %d", text.c_str(),
                kMaxNumber);
}

void MapNumberModel::Start() {
  if (folder.empty()) folder = map_.settings().mapFolder;
  FillList();
}

void MapNumberModel::FillList() {
  entries_.clear();
  for (const std::string& file : FindFiles(folder, "MAP*.s16")) {
    std::optional<int> n = NumberOfFirstTile(PathPart(file, kPartName));
    if (!n) continue;
    // MAP0500 and MAP500 (or two spellings on a case-sensitive disk) are
    // the same number: the list holds each number once.
    bool listed = std::any_of(entries_.begin(), entries_.end(),
                              [&](const Entry& e) { return e.number == *n; });
    if (!listed) entries_.push_back({EntryText(*n), *n});
  }
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    int c = CompareNoCase(a.text, b.text);
    return c != 0 ? c < 0 : a.number < b.number;
  });
  selected_ = entries_.empty() ? -1 : 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].number == number) selected_ = int(i);
  }
  ShowNumber();
}

void MapNumberModel::ShowNumber() {
  const std::string text = EntryText(number);
  auto found = std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& e) { return e.text == text; });
  if (found == entries_.end()) {
    if (createMode) okLabel_ = "OK";
    DropPreview();
    return;
  }
  selected_ = int(found - entries_.begin());
  if (createMode) okLabel_ = "Replace";
  LoadPreview(number);
}

bool MapNumberModel::NumberEdited(const std::string& text) {
  std::optional<int> n = ParseMapNumber(text);
  if (!n) {
    prompts_.ShowError(RangeMessage(text));
    return false;
  }
  number = *n;
  ShowNumber();
  return true;
}

void MapNumberModel::ClickEntry(int index) {
  if (index < 0 || size_t(index) >= entries_.size()) return;
  selected_ = index;
  LoadPreview(int(LeadingInteger(std::string_view(entries_[size_t(index)].text).substr(3))));
}

void MapNumberModel::DoubleClickEntry(int index) {
  if (index < 0 || size_t(index) >= entries_.size()) return;
  selected_ = index;
  number = entries_[size_t(index)].number;
  okLabel_ = "Replace";
}

void MapNumberModel::ChooseFolder() {
  std::string chosen = prompts_.BrowseFolder(folder, "Select folder");
  if (chosen.empty()) return;
  folder = WithTrailingSeparator(chosen);
  FillList();
}

bool MapNumberModel::Accept(const std::string& numberText) {
  std::optional<int> n = ParseMapNumber(numberText);
  if (!n) {
    prompts_.ShowError(RangeMessage(numberText));
    return false;
  }
  number = *n;
  return true;
}

void MapNumberModel::LoadPreview(int n) {
  DropPreview();
  const std::string tile = map_.S16PictureName(n, folder);
  std::optional<PictureSize> size;
  if (!tile.empty()) size = preview_.LoadPreview(tile);
  if (!size || size->width <= 0 || size->height <= 0) return;
  previewLoaded_ = true;
  previewFile_ = tile;
  pictureSize_ = *size;
  previewSize_ = {int(static_cast<long long>(size->width) * kPreviewScale / kPictureScale),
                  int(static_cast<long long>(size->height) * kPreviewScale / kPictureScale)};
  caption_ = Format("Map #%d size (%d x %d) ", n, size->width, size->height);
}

void MapNumberModel::DropPreview() {
  previewLoaded_ = false;
  previewFile_.clear();
  pictureSize_ = {};
  previewSize_ = {};
  caption_.clear();
}

const BmpImage* MapNumberModel::previewPicture() const {
  return previewLoaded() ? preview_.KeptPicture(previewFile_) : nullptr;
}

}  // namespace maptesk
