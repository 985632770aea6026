// The maps report: the MAP files of a folder with the number each one holds,
// listed in a sorted list and written as a text report sorted by name, by
// number or both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace maptesk {

class Prompts;
struct ToolSettings;

/// One MAP file of the scanned folder.
struct MapEntry {
  std::string fileName;  ///< name with extension, as the folder spells it
  /// The number in the file's first two bytes: 0 to 65534, or -1 for 65535
  /// (no number), a file too short to hold one, or one that cannot be read.
  int number = -1;
};

/// One line of the report's list: its text and, as the item's data, the
/// number of its entry.
struct ReportLine {
  std::string text;
  int number = 0;
  size_t entry = 0;  ///< index into MapsReport::mapEntries
};

/// The three choices of "Include".
enum ReportSort : int { kSortByName = 0, kSortByNumber = 1, kSortBoth = 2 };

/// Default name of the report file, in the scanned folder.
inline constexpr char kReportFileName[] = "MapsReport.txt";

/// The state and steps of the report dialog. The view writes what the user
/// typed into the public fields and calls the step of each control.
class MapsReport {
 public:
  std::string folder;
  int sortChoice = kSortByNumber;
  std::string reportFile;
  /// The choice the list was last shown in; -1 before the first showing.
  int lastShownChoice = -1;
  std::vector<MapEntry> mapEntries;

  /// Dialog start: fills an empty folder (the SCENARIO folder beside the
  /// last map opened) and an empty report file, then scans the folder.
  void Start(const ToolSettings& settings, Prompts& prompts);

  /// Collects the MAP files of `folder`. A file that cannot be read is listed
  /// as -1 and named in one note after the scan. False (after the message)
  /// when `folder` is not a folder.
  bool ScanFolder(Prompts& prompts);

  /// Rebuilds the list from the entries in the display format of `sortChoice`.
  void ShowList();

  /// The folder edit lost the focus with `text`: a separator is added when
  /// missing and the folder is scanned.
  void FolderEdited(const std::string& text, Prompts& prompts);
  /// "..." beside the folder.
  void ChooseFolder(Prompts& prompts);
  /// "..." beside the report file.
  void ChooseReportFile(Prompts& prompts);
  /// A click on one of the "Include" buttons.
  void SelectSort(int choice);

  /// "Report": writes `reportFile` and has the shell open it. False (after
  /// the message) when there is nothing to report or the file cannot be made.
  bool Report(Prompts& prompts);
  /// The text Report writes, with its carriage return and line feed ends.
  std::string ReportText() const;

  /// "Close": the entries are dropped.
  void Close();

  const std::vector<ReportLine>& lines() const { return lines_; }
  /// The list's selection: its first line, -1 when the list is empty.
  int selectedLine() const { return lines_.empty() ? -1 : 0; }
  /// The "Maps" static: "%d mapfiles".
  const std::string& countText() const { return countText_; }

  /// The list lines of the entries for a choice, in the list's order; the
  /// report format is the one written to the file.
  std::vector<ReportLine> SortedLines(int choice, bool reportFormat) const;
  /// One entry's line.
  static std::string LineText(const MapEntry& entry, int choice, bool reportFormat);

 private:
  std::string NameSection() const;
  std::string NumberSection() const;

  std::vector<ReportLine> lines_;
  std::string countText_;
};

}  // namespace maptesk
