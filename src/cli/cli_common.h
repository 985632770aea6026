// Shared pieces of maptesk-cli: argument handling, the console's answers to
// the core's questions, the document objects set up from the folder options,
// and a small JSON writer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/workspace.h"
#include "core/util/prompts.h"

namespace maptesk::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

/// Messages go to standard error; questions take a fixed answer (No unless
/// told otherwise) and choosers are cancelled, since nobody is there to ask.
class ConsolePrompts : public Prompts {
 public:
  void ShowError(const std::string& text) override;
  void ShowNote(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  YesNoCancel AskYesNoCancel(const std::string& text) override;
  std::string ChooseOpenFile(int type, const std::string& folder,
                             const std::string& title) override;
  std::string ChooseSaveFile(int type, const std::string& folder,
                             const std::string& title) override;
  std::string BrowseFolder(const std::string& start, const std::string& title) override;
  std::string ChooseFileDialog(const std::string& startPath, const std::string& title,
                               const std::string& filter, const std::string& defaultExtension,
                               bool open) override;
  void OpenWithShell(const std::string& path) override;
  void SetWaitCursor(bool) override {}
  void ShowRemark(const std::string& text) override;

  bool answerYes = false;
  /// For commands whose note is their result ("Done !"): print it on
  /// standard output instead.
  bool notesToStdout = false;
  /// Keeps notes back until ReleaseNotes: a command's result is told only
  /// once it was saved.
  bool holdNotes = false;
  std::vector<std::string> heldNotes;
  void ReleaseNotes();
  int errorCount = 0;
};

/// Command-line arguments: positional words and "--name [value]" options.
class Arguments {
 public:
  /// `valued` lists the options that take a value, `flags` those that don't.
  /// False (with `error` set) on an unknown option or a missing value.
  bool Parse(const std::vector<std::string>& args, const std::vector<std::string>& valued,
             const std::vector<std::string>& flags, std::string& error);
  const std::vector<std::string>& positional() const { return positional_; }
  bool Has(const std::string& name) const;
  std::optional<std::string> Value(const std::string& name) const;

 private:
  std::vector<std::string> positional_;
  std::vector<std::pair<std::string, std::string>> values_;
  std::vector<std::string> flags_;
};

/// The options every command that reads a map takes.
inline const std::vector<std::string> kFolderOptions = {"--game", "--map-folder", "--scn-folder"};

/// Folders from the options, else from the standard layout around `mapFile`
/// (GAME/SCENARIO/x.MAP, GAME/MAP/...).
void SetFolders(ToolSettings& settings, const Arguments& args, const std::string& mapFile);

/// The options --clean and its absence set "Save clean" for the command's save.
void SetSaveClean(ToolSettings& settings, const Arguments& args);

/// An absolute form of `path` (as given when it cannot be made absolute).
std::string AbsolutePath(const std::string& path);

/// A hex name (Windows-1252 bytes) for text output: UTF-8, with control
/// characters escaped so a name cannot break the line or the terminal.
std::string NameText(const std::string& cp1252);

/// Minimal JSON output. Bytes that form no well-formed UTF-8 character
/// are written as \ufffd, so the output stays JSON whatever a name holds.
std::string JsonString(const std::string& utf8);
/// Whether `text` is well-formed UTF-8 throughout.
bool IsUtf8(const std::string& text);
/// "name": "path" for a file name; when the name is not UTF-8 (as JSON
/// shows it, with \ufffd), also "nameBytes": its bytes in hex, to open it by.
std::string JsonPathField(const std::string& name, const std::string& path);

/// Prints a usage error and returns kExitUsage.
int UsageError(const std::string& message, const char* usage);

/// An output name from the command line, checked before anything is written:
/// an empty one is a usage error (kExitUsage); a file name (not a tile base)
/// that ends in a separator or names a folder is refused with the save's
/// message (kExitFailed). kExitOk when it may be used.
int CheckOutputName(const std::string& name, const char* usage, bool tileBase = false);
/// CheckOutputName for the --out option, when it was given.
int CheckOutOption(const Arguments& args, const char* usage);

}  // namespace maptesk::cli
