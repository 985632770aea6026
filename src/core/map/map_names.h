// Hex names: the list of distinct names of the open map, the one-byte name
// slot of every hex, and the names text file the game reads.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/map/map_file.h"

namespace maptesk {

class HexMap;
class Prompts;
struct ToolSettings;

using NameIndexGrid = std::array<std::array<uint8_t, kMapColumns>, kMapRows>;

class MapNames {
 public:
  /// Slots 1..1799 can hold names; slot 0 means "no name".
  static constexpr int kSlots = 1800;
  /// The per-hex index is one byte: only slots up to 255 can be given to hexes.
  static constexpr int kMaxHexSlot = 255;
  /// A names file of 1,800 hexes is well under 2 MB; a file far larger is
  /// refused rather than read.
  static constexpr size_t kMaxFileSize = size_t(16) << 20;

  MapNames(HexMap& map, ToolSettings& settings, Prompts& prompts);

  std::string namesPath;
  bool namesModified = false;
  std::vector<std::string> names;  // kSlots entries, Windows-1252 bytes
  int nameCount = 0;
  NameIndexGrid nameIndex{};

  void ClearNames();
  /// The slot of `text`, adding it when new; 0 when empty or the list is full.
  int AddName(const std::string& text);
  /// The slot holding `text` exactly, or 0.
  int FindName(const std::string& text) const;
  /// Number of names held (slots 1..nameCount-1).
  int NameTotal() const { return nameCount > 0 ? nameCount - 1 : 0; }
  const std::string& NameOf(int slot) const;

  /// MAP<num>.TXT if it exists, else MAP<num>_<map>.TXT if that exists, else
  /// the first, in the MAP folder.
  std::string DefaultNamesFile() const;
  /// After a map was loaded or created: empty the list and read the map's
  /// names file when there is one.
  void LoadDefaultNames();
  /// Reads a names file into the list. False when it could not be read.
  bool ReadNamesFile(const std::string& path);
  /// Reads the text of a names file into the list (`source` names it in
  /// messages).
  void ReadNamesText(std::string_view text, const std::string& source);
  /// Writes the names file safely; false (with a message) on failure.
  bool WriteNamesFile(const std::string& path);
  /// The text WriteNamesFile writes.
  std::string FormatNamesFile() const;

  /// "005" for map 5: the last three digits of the map number.
  static std::string NumberPart(int mapNumber);

  /// What the last read skipped, for reports.
  struct ReadReport {
    int emptyNames = 0;
    int malformedLines = 0;
    int droppedForSlots = 0;
    /// The hexes named by the file, {row, column}, in the order of their
    /// first line.
    std::vector<std::pair<int, int>> hexOrder;
  };
  const ReadReport& lastRead() const { return lastRead_; }

 private:
  HexMap& map_;
  ToolSettings& settings_;
  Prompts& prompts_;
  ReadReport lastRead_;
};

/// One hex line of a names file, parsed: "(col,row) #name".
struct NameLine {
  int column = 0;
  int row = 0;
  std::string name;
};
enum class NameLineKind { kNotHexLine, kHexLine, kMalformed };
/// Classifies one line (without its line break) and parses a hex line.
NameLineKind ParseNameLine(std::string_view line, NameLine& out);

/// The complete lines of names-file text, one at a time and without copies,
/// so that a file of millions of short lines costs no more than its bytes.
/// A line ends at "\n" or "\r\n" (not part of the line); a last line
/// without a line break is left out.
class NamesFileLines {
 public:
  explicit NamesFileLines(std::string_view text) : text_(text) {}
  /// The next line into `line`; false when no complete line is left.
  bool Next(std::string_view& line);

 private:
  std::string_view text_;
  size_t start_ = 0;
};

}  // namespace maptesk
