// What the core asks of the person using the tool: message boxes, file and
// folder choosers, the shell's "open" and the wait cursor. The editor
// implements it with Qt dialogs, maptesk-cli with standard error, the tests
// with a script of expected questions.
#pragma once

#include <string>

#include "core/util/text_format.h"

namespace maptesk {

enum class YesNoCancel { kYes, kNo, kCancel };

/// The file types of the open/save chooser.
enum FileType : int {
  kFileAny = 0,
  kFileText = 1,
  kFileLog = 2,
  kFileIni = 3,
  kFileMap = 4,
  kFileS16 = 5,
  kFileShp = 6,
  kFileBmp = 7,
  kFilePicture = 8,
  kFileExe = 9,
};

/// Filter ("description|pattern|" pairs, "All Files" appended) and title of a type.
std::string FileTypeFilter(int type);
std::string FileTypeTitle(int type);

class Prompts {
 public:
  virtual ~Prompts() = default;

  /// Error box: stop icon, OK.
  virtual void ShowError(const std::string& text) = 0;
  /// Note box: OK.
  virtual void ShowNote(const std::string& text) = 0;
  /// Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  /// Yes/No/Cancel question.
  virtual YesNoCancel AskYesNoCancel(const std::string& text) = 0;

  /// Open-file chooser of a type, starting in `folder` (a file or pattern may
  /// be given); "" when cancelled. An empty title takes the type's title.
  virtual std::string ChooseOpenFile(int type, const std::string& folder,
                                     const std::string& title) = 0;
  /// Save-file chooser; asks before replacing an existing file.
  virtual std::string ChooseSaveFile(int type, const std::string& folder,
                                     const std::string& title) = 0;
  /// Folder chooser; the result ends with a separator, "" when cancelled.
  /// It starts in the current folder when `start` is empty, and an empty
  /// title is "Select Folder".
  virtual std::string BrowseFolder(const std::string& start, const std::string& title) = 0;
  /// The larger general file dialog (see GeneralFileDialogSetup); "" when
  /// cancelled.
  virtual std::string ChooseFileDialog(const std::string& startPath, const std::string& title,
                                       const std::string& filter,
                                       const std::string& defaultExtension, bool open) = 0;

  /// The folder chooser of a kind of file (FileType): an empty start or
  /// title takes that kind's standard folder under `gameFolder` and its title.
  std::string ChooseFolderFor(int kind, const std::string& gameFolder, const std::string& start,
                              const std::string& title);

  /// Opens a file in the user's default program for its type.
  virtual void OpenWithShell(const std::string& path) = 0;
  /// Shows or hides the wait cursor around long operations.
  virtual void SetWaitCursor(bool on) = 0;
  /// A remark that needs no answer and stops nothing (a picture that loaded
  /// narrower than its set): the console prints it on standard error; the
  /// editor shows such remarks on its status line instead, so by default
  /// nothing is shown.
  virtual void ShowRemark(const std::string& text) { (void)text; }
};

/// Shows nothing, answers No and cancels every chooser: for runs with
/// nobody to ask (benchmarks, fuzzing, batch work).
class SilentPrompts : public Prompts {
 public:
  void ShowError(const std::string&) override {}
  void ShowNote(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
  YesNoCancel AskYesNoCancel(const std::string&) override { return YesNoCancel::kCancel; }
  std::string ChooseOpenFile(int, const std::string&, const std::string&) override { return {}; }
  std::string ChooseSaveFile(int, const std::string&, const std::string&) override { return {}; }
  std::string BrowseFolder(const std::string&, const std::string&) override { return {}; }
  std::string ChooseFileDialog(const std::string&, const std::string&, const std::string&,
                               const std::string&, bool) override {
    return {};
  }
  void OpenWithShell(const std::string&) override {}
  void SetWaitCursor(bool) override {}
};

/// Stock messages. ErrorCreating puts the system's reason, when given, on a
/// line of its own after "Error on creating [NAME]".
void ErrorCreating(Prompts& prompts, const std::string& name, const std::string& reason = "");
void ErrorNotFound(Prompts& prompts, const std::string& name);
void ErrorCannotOpen(Prompts& prompts, const std::string& name);

/// Shows the wait cursor for the life of the object.
class WaitCursor {
 public:
  explicit WaitCursor(Prompts& prompts) : prompts_(prompts) { prompts_.SetWaitCursor(true); }
  ~WaitCursor() { prompts_.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Prompts& prompts_;
};

}  // namespace maptesk
