#include "core/app/maps_report.h"

#include <algorithm>

#include "core/settings/tool_settings.h"
#include "core/util/file_io.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {
namespace {

constexpr char kLineEnd[] = "\r\n";
const std::string kRule(39, '=');

}  // namespace

void MapsReport::Start(const ToolSettings& settings, Prompts& prompts) {
  if (folder.empty()) {
    folder = ParentFolder(settings.lastOpen) + "SCENARIO" + std::string(1, kPathSeparator);
  }
  if (reportFile.empty()) reportFile = folder + kReportFileName;
  ScanFolder(prompts);
}

bool MapsReport::ScanFolder(Prompts& prompts) {
  WaitCursor wait(prompts);
  mapEntries.clear();
  for (const std::string& found : FindFiles(folder, "*.map")) {
    MapEntry entry;
    entry.fileName = PathPart(found, kPartFileName);
    std::vector<uint8_t> head;
    if (ReadFileBytes(found, head, 2) != ReadStatus::kOk) {
      ErrorNotFound(prompts, folder + entry.fileName);
      return false;
    }
    // A file too short to hold a number is listed as having none.
    if (head.size() == 2) entry.number = int16_t(uint16_t(head[0] | (head[1] << 8)));
    mapEntries.push_back(std::move(entry));
  }
  ShowList();
  return true;
}

std::string MapsReport::LineText(const MapEntry& entry, int choice, bool reportFormat) {
  const std::string& name = entry.fileName;
  if (choice == kSortByName) {
    if (!reportFormat) return Format("%s   #%d", name.c_str(), int(entry.number));
    return PadText(name, 31, '.', false) + PadNumber(entry.number, 4, '.', true);
  }
  if (!reportFormat) return PadNumber(entry.number, 4, ' ', true) + "   " + name;
  return Format("%4d.%s", int(entry.number), name.c_str());
}

std::vector<ReportLine> MapsReport::SortedLines(int choice, bool reportFormat) const {
  std::vector<ReportLine> out;
  out.reserve(mapEntries.size());
  for (size_t i = 0; i < mapEntries.size(); ++i) {
    out.push_back({LineText(mapEntries[i], choice, reportFormat), mapEntries[i].number, i});
  }
  // The list sorts without regard to case; lines equal but for case (two
  // files on a case-sensitive disk) keep a fixed order.
  std::sort(out.begin(), out.end(), [](const ReportLine& a, const ReportLine& b) {
    int c = CompareNoCase(a.text, b.text);
    if (c != 0) return c < 0;
    if (a.text != b.text) return a.text < b.text;
    return a.entry < b.entry;
  });
  return out;
}

void MapsReport::ShowList() {
  lines_ = SortedLines(sortChoice, false);
  countText_ = Format("%d mapfiles", int(mapEntries.size()));
  lastShownChoice = sortChoice;
}

void MapsReport::FolderEdited(const std::string& text, Prompts& prompts) {
  folder = WithTrailingSeparator(text);
  ScanFolder(prompts);
}

void MapsReport::ChooseFolder(Prompts& prompts) {
  std::string chosen = prompts.BrowseFolder(folder, "Select SCENARIO folder (for .map files)");
  if (chosen.empty() || chosen == folder) return;
  folder = WithTrailingSeparator(chosen);
  ScanFolder(prompts);
}

void MapsReport::ChooseReportFile(Prompts& prompts) {
  std::string chosen =
      prompts.ChooseSaveFile(kFileText, folder + kReportFileName, "Select File for Report");
  if (!chosen.empty()) reportFile = chosen;
}

void MapsReport::SelectSort(int choice) {
  if (choice < kSortByName || choice > kSortBoth) return;
  sortChoice = choice;
  // Only the name and number buttons refresh the list; "Both list" is shown
  // in the number format once the list is next rebuilt.
  if (choice != kSortBoth && choice != lastShownChoice) ShowList();
}

std::string MapsReport::NameSection() const {
  if (mapEntries.empty()) return {};
  std::string text = "Mapname                       Mapnumber" + std::string(kLineEnd);
  text += kRule + kLineEnd;
  for (const ReportLine& line : SortedLines(kSortByName, true)) text += line.text + kLineEnd;
  return text + kLineEnd;
}

std::string MapsReport::NumberSection() const {
  if (mapEntries.empty()) return {};
  std::string text = "Mapno     Mapname" + std::string(kLineEnd);
  text += kRule + kLineEnd;
  std::vector<ReportLine> lines = SortedLines(kSortByNumber, true);
  // Equal numbers share their "%4d." prefix, so each number's lines are
  // adjacent in the sorted list: one report line per run.
  for (size_t i = 0; i < lines.size();) {
    const int number = lines[i].number;
    std::string names;
    for (; i < lines.size() && lines[i].number == number; ++i) {
      if (!names.empty()) names += " ; ";
      // The name comes from the entry, not from the line after a fixed five
      // characters: numbers of five characters (-1000, 10000) would leave
      // the dot in front of the name.
      names += mapEntries[lines[i].entry].fileName;
    }
    text += Format("%5d     %s", number, names.c_str()) + kLineEnd;
  }
  return text + kLineEnd;
}

std::string MapsReport::ReportText() const {
  std::string text = Format("Map files on folder: %s", folder.c_str()) + kLineEnd + kLineEnd;
  if (sortChoice == kSortByName || sortChoice == kSortBoth) text += NameSection();
  if (sortChoice == kSortByNumber || sortChoice == kSortBoth) text += NumberSection();
  return text;
}

bool MapsReport::Report(Prompts& prompts) {
  // What is written is what the entries hold (the list is rebuilt from them
  // right after), so an empty set of entries is the thing to refuse.
  if (mapEntries.empty()) {
    prompts.ShowError("There is nothing to do !");
    return false;
  }
  if (!SaveFileSafely(reportFile, ReportText())) {
    ErrorCreating(prompts, reportFile);
    return false;
  }
  prompts.OpenWithShell(SaveTargetFor(reportFile));
  ShowList();
  return true;
}

void MapsReport::Close() {
  mapEntries.clear();
  lines_.clear();
}

}  // namespace maptesk
