#include "core/app/maps_report.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/map/map_file.h"
#include "core/settings/tool_settings.h"
#include "core/util/file_io.h"
#include "core/util/fs_path.h"
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
  mapEntries.clear();
  std::error_code ec;
  if (!std::filesystem::is_directory(FsPath(NativeSeparators(folder)), ec)) {
    const std::string shown = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
    if (std::filesystem::exists(FsPath(NativeSeparators(shown)), ec)) {
      prompts.ShowError(Format("[%s] is not a folder", shown.c_str()));
    } else {
      ErrorNotFound(prompts, folder);
    }
    ShowList();
    return false;
  }
  std::vector<std::string> unreadable;
  {
    WaitCursor wait(prompts);
    for (const std::string& found : FindFiles(folder, "*.map")) {
      MapEntry entry;
      entry.fileName = PathPart(found, kPartFileName);
      std::vector<uint8_t> head;
      // One file that cannot be read must not hide the rest of the folder.
      if (ReadFileBytes(found, head, 2) != ReadStatus::kOk) {
        unreadable.push_back(entry.fileName);
      } else if (head.size() == 2) {
        const int value = head[0] | (head[1] << 8);
        entry.number = value == kNoMapNumber ? -1 : value;
      }
      mapEntries.push_back(std::move(entry));
    }
  }
  ShowList();
  if (!unreadable.empty()) {
    std::string list;
    for (const std::string& name : unreadable) list += "\n" + name;
    prompts.ShowNote(Format("%d map files could not be read and are listed as -1:%s",
                            int(unreadable.size()), list.c_str()));
  }
  return true;
}

namespace {

// A name as the report shows it: a line break or another control character
// in a file name would break the report's CRLF lines, so each stands as
// \xNN (a name holds no such character on Windows, where the game runs).
std::string ReportName(const std::string& name) {
  std::string out;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) {
      out += Format("\\x%02x", unsigned(c));
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

}  // namespace

std::string MapsReport::LineText(const MapEntry& entry, int choice, bool reportFormat) {
  const std::string name = reportFormat ? ReportName(entry.fileName) : entry.fileName;
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
  // files on a case-sensitive disk) keep a fixed order. Numbers sort by
  // value: as text, five digits would come before four.
  const bool byNumber = choice != kSortByName;
  std::sort(out.begin(), out.end(), [byNumber](const ReportLine& a, const ReportLine& b) {
    if (byNumber && a.number != b.number) return a.number < b.number;
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
      names += ReportName(mapEntries[lines[i].entry].fileName);
    }
    text += Format("%5d     %s", number, names.c_str()) + kLineEnd;
  }
  return text + kLineEnd;
}

std::string MapsReport::ReportText() const {
  std::string text =
      Format("Map files on folder: %s", ReportName(folder).c_str()) + kLineEnd + kLineEnd;
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
  std::string error;
  if (!SaveFileSafely(reportFile, ReportText(), &error)) {
    ErrorCreating(prompts, reportFile, error);
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
