#include "core/util/file_choosers.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/util/fs_path.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"

namespace maptesk {

namespace {

// An extension without its dot, "" when it is a pattern: "*.*" gives no
// extension to add to a typed name.
std::string CleanExtension(std::string extension) {
  if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
  return HasWildcard(extension) ? std::string() : extension;
}

std::string PlainExtension(std::string_view name) {
  return CleanExtension(PathPart(name, kPartExtension));
}

// A folder named without its separator is still a folder to list.
bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(FsPath(NativeSeparators(path)), error);
}

// A path typed over another ("C:\maps\D:\x.map") starts again at its second
// drive: keep what comes before it.
std::string CutSecondDrive(std::string path) {
  const size_t drive = path.find(":\\", 2);
  if (drive != std::string::npos) path.erase(drive - 1);
  return path;
}

}  // namespace

std::vector<FilterEntry> ParseFilter(std::string_view filter) {
  std::vector<FilterEntry> entries;
  size_t at = 0;
  while (at < filter.size()) {
    const size_t bar = filter.find('|', at);
    if (bar == filter.npos) break;
    size_t end = filter.find('|', bar + 1);
    if (end == filter.npos) end = filter.size();
    FilterEntry entry{std::string(filter.substr(at, bar - at)), {}};
    const std::string_view patterns = filter.substr(bar + 1, end - bar - 1);
    size_t from = 0;
    while (from <= patterns.size()) {
      const size_t semi = std::min(patterns.find(';', from), patterns.size());
      if (semi > from) entry.patterns.emplace_back(patterns.substr(from, semi - from));
      from = semi + 1;
    }
    if (!entry.patterns.empty()) entries.push_back(std::move(entry));
    at = end + 1;
  }
  return entries;
}

void FileChooserSetup::Prepare(int type, const std::string& start, const std::string& title,
                               bool saving) {
  // A call that names no type asks again as the call before it did.
  const bool reuse = type == kFileAny && setUp;
  if (!reuse) {
    filter = FileTypeFilter(type);
    this->title = FileTypeTitle(type);
  }
  if (!title.empty()) this->title = title;
  if (!reuse || !start.empty()) {
    // A folder is listed with every file; a proposed name or a pattern is
    // offered as it is.
    if (start.empty()) {
      fileName = "*.*";
    } else if (IsSeparator(start.back()) || IsFolder(start)) {
      fileName = WithTrailingSeparator(start) + "*.*";
    } else {
      fileName = start;
    }
    initialFolder = PathPart(fileName, kPartFolder);
    defaultExtension = PlainExtension(fileName);
    // A save asked over a pattern still gives a typed name the type's own
    // extension, so that "arden" is saved as "arden.map".
    if (defaultExtension.empty()) {
      const std::vector<FilterEntry> entries = ParseFilter(filter);
      if (!entries.empty()) defaultExtension = PlainExtension(entries.front().patterns.front());
    }
  }
  // Whatever was reused, a save chooser is one that asks before replacing.
  mode = saving ? kModeSave : kModeOpen;
  setUp = true;
}

std::string FileChooserSetup::Finish(const std::string& path) {
  chosen = !path.empty();
  if (chosen) lastPath = path;
  return path;
}

FileChooserSetup GeneralFileDialogSetup(const std::string& startPath, const std::string& title,
                                        const std::string& filter,
                                        const std::string& defaultExtension, bool open) {
  FileChooserSetup setup;
  const std::string path = CutSecondDrive(startPath);
  const std::string folder = CutSecondDrive(PathPart(path, kPartFolder));
  const std::string name = PathPart(path, kPartName);
  const std::string extension = PathPart(path, kPartExtension);
  setup.fileName = folder + (name.empty() ? "*" : name) + (extension.empty() ? ".*" : extension);
  setup.initialFolder = folder;
  setup.defaultExtension =
      defaultExtension.empty() ? PlainExtension(startPath) : CleanExtension(defaultExtension);
  setup.title = !title.empty() ? title : open ? "Select File" : "Save File As";
  setup.filter = filter.empty() ? "All files (*.*)|*.*|" : filter;
  setup.mode = open ? FileChooserSetup::kModeOpen : FileChooserSetup::kModeSave;
  setup.setUp = true;
  return setup;
}

FolderQuestion FolderQuestionFor(int kind, const std::string& gameFolder, const std::string& start,
                                 const std::string& title) {
  FolderQuestion question{gameFolder, kDefaultFolderTitle};
  switch (kind) {
    case kFileMap: question = {gameFolder + "SCENARIO", "Folder for MAP Files"}; break;
    case kFileS16:
    case kFileShp: question = {gameFolder + "MAP", "Folder for S16 Files"}; break;
    case kFileExe: question = {gameFolder, "Main Norvane Folder"}; break;
    default: break;
  }
  if (!start.empty()) question.start = start;
  if (!title.empty()) question.title = title;
  return question;
}

}  // namespace maptesk
