#include "core/map/map_names.h"

#include <unordered_map>

#include "core/map/hex_map.h"
#include "core/settings/tool_settings.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Decimal with leading blanks and zeros; false when there is no digit or
// something other than trailing blanks follows.
bool ParseCoordinate(std::string_view text, int& value) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  size_t digits = i;
  long v = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    v = v * 10 + (text[i] - '0');
    if (v > 100000) return false;
    ++i;
  }
  if (i == digits) return false;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return false;
  value = int(v);
  return true;
}

}  // namespace

bool NamesFileLines::Next(std::string_view& line) {
  const size_t nl = text_.find('\n', start_);
  if (nl == std::string_view::npos) return false;
  size_t end = nl;
  if (end > start_ && text_[end - 1] == '\r') --end;
  line = text_.substr(start_, end - start_);
  start_ = nl + 1;
  return true;
}

NameLineKind ParseNameLine(std::string_view line, NameLine& out) {
  size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i >= line.size() || line[i] != '(') return NameLineKind::kNotHexLine;
  size_t comma = line.find(',', i + 1);
  if (comma == std::string::npos) return NameLineKind::kMalformed;
  size_t close = line.find(')', comma + 1);
  if (close == std::string::npos) return NameLineKind::kMalformed;
  size_t hash = line.find('#', close + 1);
  if (hash == std::string::npos) return NameLineKind::kMalformed;
  if (!ParseCoordinate(line.substr(i + 1, comma - i - 1), out.column) ||
      !ParseCoordinate(line.substr(comma + 1, close - comma - 1), out.row)) {
    return NameLineKind::kMalformed;
  }
  if (!HexMap::InGrid(out.row, out.column)) return NameLineKind::kMalformed;
  out.name.assign(line.substr(hash + 1));
  return NameLineKind::kHexLine;
}

MapNames::MapNames(HexMap& map, ToolSettings& settings, Prompts& prompts)
    : names(kSlots), map_(map), settings_(settings), prompts_(prompts) {}

void MapNames::ClearNames() {
  for (std::string& n : names) n.clear();
  for (auto& row : nameIndex) row.fill(0);
  nameCount = 0;
  namesModified = false;
  namesPath.clear();
}

int MapNames::FindName(const std::string& text) const {
  if (text.empty()) return 0;
  for (int slot = 1; slot < nameCount; ++slot) {
    if (names[size_t(slot)] == text) return slot;
  }
  return 0;
}

int MapNames::AddName(const std::string& text) {
  if (text.empty()) return 0;
  if (int slot = FindName(text)) return slot;
  int slot = nameCount == 0 ? 1 : nameCount;
  if (slot >= kSlots) return 0;
  names[size_t(slot)] = text;
  nameCount = slot + 1;
  return slot;
}

const std::string& MapNames::NameOf(int slot) const {
  static const std::string kNone;
  return (slot > 0 && slot < nameCount) ? names[size_t(slot)] : kNone;
}

std::string MapNames::NumberPart(int mapNumber) {
  std::string text = Format("00%d", mapNumber);
  return text.substr(text.size() - 3);
}

std::string MapNames::DefaultNamesFile() const {
  const std::string folder = settings_.mapFolder;
  const std::string num = NumberPart(map_.MapNumber);
  const std::string plain = folder + "MAP" + num + ".TXT";
  const std::string specific = folder + "MAP" + num + "_" + PathPart(map_.path, kPartName) + ".TXT";
  if (auto found = FindFileNoCase(plain)) return *found;
  if (auto found = FindFileNoCase(specific)) return *found;
#ifdef _WIN32
  // Named as a found file is named, whatever separators the folder setting has.
  return NativeSeparators(plain);
#else
  return plain;
#endif
}

void MapNames::LoadDefaultNames() {
  ClearNames();
  if (map_.path.empty()) return;
  std::string file = DefaultNamesFile();
  if (FileExists(file)) ReadNamesFile(file);
}

bool MapNames::ReadNamesFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  ReadStatus status = ReadFileBytes(path, bytes, kMaxFileSize, true);
  if (status == ReadStatus::kTooLarge) {
    prompts_.ShowError(Format("[%s]\nis too large to be a names file", path.c_str()));
    return false;
  }
  if (status == ReadStatus::kNotAFile) {
    prompts_.ShowError(
        Format("[%s]\nis %s, not a names file", path.c_str(), NotAFileKind(path).c_str()));
    return false;
  }
  if (status != ReadStatus::kOk) return false;
  ReadNamesText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path);
  namesPath = ResolveExisting(path);
  return true;
}

void MapNames::ReadNamesText(std::string_view text, const std::string& path) {
  lastRead_ = {};
  // A file names each place on many hexes: look names up by hash while
  // reading rather than walking the list for every line.
  std::unordered_map<std::string, int> slots;
  for (int slot = 1; slot < nameCount; ++slot) slots.emplace(names[size_t(slot)], slot);
  NamesFileLines lines(text);
  std::string_view textLine;
  // The first line is the header, whatever it holds.
  lines.Next(textLine);
  NameLine line;
  while (lines.Next(textLine)) {
    NameLineKind kind = ParseNameLine(textLine, line);
    if (kind == NameLineKind::kMalformed) ++lastRead_.malformedLines;
    if (kind != NameLineKind::kHexLine) continue;
    if (line.name.empty()) {
      ++lastRead_.emptyNames;
      continue;
    }
    auto known = slots.find(line.name);
    int slot = known == slots.end() ? 0 : known->second;
    if (slot == 0) {
      int next = nameCount == 0 ? 1 : nameCount;
      if (next > kMaxHexSlot) {
        ++lastRead_.droppedForSlots;
        continue;
      }
      names[size_t(next)] = line.name;
      nameCount = next + 1;
      slot = next;
      slots.emplace(line.name, slot);
    }
    if (slot <= 0) continue;
    uint8_t& index = nameIndex[size_t(line.row)][size_t(line.column)];
    if (index == 0) lastRead_.hexOrder.emplace_back(line.row, line.column);
    index = uint8_t(slot);
  }

  if (lastRead_.emptyNames > 0) {
    prompts_.ShowError(
        Format("Found %d empty names!\nthey have been removed, same as in the game\n"
               "but you should check if this is correct\nor they should have some text",
               lastRead_.emptyNames));
  }
  if (lastRead_.droppedForSlots > 0) {
    prompts_.ShowError(
        Format("[%s]\nholds more than %d different names: a map can hold no more.\n"
               "%d hex lines with further names were not read",
               path.c_str(), kMaxHexSlot, lastRead_.droppedForSlots));
  }
  namesModified = false;
}

std::string MapNames::FormatNamesFile() const {
  std::string text =
      Format("[MAP:%3d] [%-20s]\r\n", int(map_.MapNumber), PathPart(map_.path, kPartName).c_str());
  text += "--------------------------------\r\n";
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      int slot = nameIndex[size_t(r)][size_t(c)];
      if (slot == 0) continue;
      const char hexLine[] = {'(',
                              char('0' + c / 10),
                              char('0' + c % 10),
                              ',',
                              char('0' + r / 10),
                              char('0' + r % 10),
                              ')',
                              ' ',
                              '#'};
      text.append(hexLine, sizeof hexLine);
      text += NameOf(slot);
      text += "\r\n";
    }
  }
  return text;
}

bool MapNames::WriteNamesFile(const std::string& path) {
  std::string error;
  if (!SaveFileSafely(path, FormatNamesFile(), &error)) {
    ErrorCreating(prompts_, path, error);
    return false;
  }
  namesModified = false;
  return true;
}

}  // namespace maptesk
