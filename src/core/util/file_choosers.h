// What the file and folder choosers show: their titles, filters, starting
// folders and names, worked out here so that every front end asks the same
// question. The front ends only draw the dialogs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace maptesk {

/// One entry of a "Description|pattern;pattern|" filter.
struct FilterEntry {
  std::string description;
  std::vector<std::string> patterns;
};

/// The entries of a filter in the bar-separated form; an entry without its
/// pattern is left out.
std::vector<FilterEntry> ParseFilter(std::string_view filter);

/// The set-up of an open or save file chooser. One record serves every call
/// of a program's chooser, so that a call of the type kFileAny asks again
/// with the set-up of the call before.
struct FileChooserSetup {
  static constexpr int kModeOpen = 5;
  static constexpr int kModeSave = 7;

  /// The name the chooser starts with: a file, or a pattern such as "*.*".
  std::string fileName = "*.*";
  /// The extension given to a name typed without one, without its dot; ""
  /// for none.
  std::string defaultExtension;
  std::string initialFolder;
  std::string title;
  /// "Description|pattern|" pairs.
  std::string filter;
  int mode = kModeOpen;
  /// The path chosen last, and whether the last call chose one.
  std::string lastPath;
  bool chosen = false;
  bool setUp = false;

  bool save() const { return mode == kModeSave; }

  /// Sets up a chooser of a file type (FileType). `start` is a folder (the
  /// chooser lists it), a proposed file, or a pattern; a non-empty `title`
  /// replaces the type's own.
  void Prepare(int type, const std::string& start, const std::string& title, bool save);
  /// The chooser closed with `path` ("" when cancelled): remembered, and
  /// given back.
  std::string Finish(const std::string& path);
};

/// The set-up of the larger general file dialog: `startPath` is its name,
/// its folder the one of that path (with a second drive prefix cut off);
/// empty title, filter and extension take "Select File" or "Save File As",
/// "All files (*.*)|*.*|" and the extension of `startPath`.
FileChooserSetup GeneralFileDialogSetup(const std::string& startPath, const std::string& title,
                                        const std::string& filter,
                                        const std::string& defaultExtension, bool open);

/// The starting folder and title of a folder chooser of a kind (FileType):
/// the given ones, or the tool's standard folder under `gameFolder` and its
/// title when they are empty.
struct FolderQuestion {
  std::string start;
  std::string title;
};
FolderQuestion FolderQuestionFor(int kind, const std::string& gameFolder, const std::string& start,
                                 const std::string& title);

/// The title of a folder chooser asked without one.
inline constexpr char kDefaultFolderTitle[] = "Select Folder";

}  // namespace maptesk
