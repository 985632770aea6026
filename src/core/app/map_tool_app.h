// The application: start-up and exit, and every document command of the
// menu (new, open, save, exports, names, tools, help), each as a flow on the
// workspace that asks the user through the prompts and the dialogs. The
// editor's window only shows what these flows decide; the tests script them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/check_list.h"
#include "core/app/command_table.h"
#include "core/app/map_number_flows.h"
#include "core/app/recovery_store.h"
#include "core/picture/kept_preview.h"

namespace maptesk {

class Dialogs;
class EditInput;
class RecoveryStore;
class MapView;
class ProfileStore;
class ShellHost;
class TextEntry;
class Workspace;

/// Where the first-run folder chooser starts: the game's usual folder on a
/// system with drive letters, else the user's home folder.
std::string FirstRunFolder();

class MapToolApp final : public MapNumberHost {
 public:
  /// Everything given must outlive the application.
  MapToolApp(Workspace& workspace, Dialogs& dialogs, TextEntry& textEntry, ShellHost& shell);
  MapToolApp(const MapToolApp&) = delete;
  MapToolApp& operator=(const MapToolApp&) = delete;

  /// The view the window shows (null: none, as in batch work).
  void AttachView(MapView* view, EditInput* input);
  MapView* view() { return view_; }
  EditInput* input() { return input_; }
  Workspace& workspace() { return ws_; }
  ShellHost& shell() { return shell_; }

  /// The start-up after the profile was opened: settings, window, folders
  /// (asking on a first run), the map named on the command line ("" for
  /// none), the status line. False when the window cannot be made.
  bool StartUp(ProfileStore& profile, const std::string& commandLineMap);
  /// Writes the settings at exit.
  void SaveSettings(ProfileStore& profile) const;
  /// A request to close the main window (Exit, Alt+X, Ctrl+Q): closes it
  /// once ConfirmClose allows. Returns whether it closed.
  bool CloseRequest();
  /// What closing asks (ConfirmDiscard); when it may close, the map's
  /// recovery copy goes: a clean exit leaves none.
  bool ConfirmClose();

  /// Where recovery copies are kept (null: none are kept).
  void SetRecovery(RecoveryStore* store) { recovery_ = store; }
  /// Called often (every frame): writes a recovery copy when one is due.
  void Tick(RecoveryStore::Clock::time_point now);
  /// Undo and redo of the edit history, with what a step that changed the
  /// map's number needs (its picture).
  bool Undo();
  bool Redo();

  /// Runs the command of an id, when it is enabled; false for an unknown id.
  bool RunCommand(int id);
  bool CommandEnabled(const Command& command) const;
  /// The check mark, or none for a command that has none.
  std::optional<bool> CommandChecked(const Command& command) const;
  /// The label shown: the recent files' names and the release title are
  /// filled in; "" hides a recent entry that is empty.
  std::string CommandLabel(const Command& command) const;

  /// Offers to save a modified map and modified names; false when the
  /// caller must stop (Cancel, or a save that did not happen).
  bool ConfirmDiscard();
  bool NewMapCommand();
  bool LoadPictureCommand();
  bool OpenCommand();
  /// Opens a map file without asking about unsaved work ("" is the last
  /// file opened).
  bool OpenByName(const std::string& name);
  bool OpenLastCommand();
  bool RecentFileCommand(int index);
  /// The map named on the command line: opened, then put on the recent list.
  bool OpenNamedMap(const std::string& name);
  /// "Save MAP": over its own file when it has one and an S16 picture,
  /// else as Save as.
  bool SaveCommand();
  bool SaveAsCommand();
  bool ExportBmpCommand();
  bool ExportBmpTilesCommand();
  bool ExportS16Command();
  bool HelpCommand();
  void ReportCommand();
  bool GlobalChangesCommand();
  bool ChangeMapNumberCommand();
  bool LoadNamesCommand();
  bool SaveNamesCommand();
  bool BrowseNamesCommand();
  bool ResetFolders();
  /// "Check map": the findings of the open map in a list beside it.
  void CheckMapCommand();
  CheckList& checkList() { return checkList_; }
  /// The name picker (kCmdPickName) or the terrain filter (kCmdTerrainFilter).
  bool RunViewDialog(int id);
  void SwitchVideoMode(int mode);
  /// A file dropped on the window: a map is opened (after ConfirmDiscard),
  /// a picture is loaded as by "Load BMP".
  bool DropFile(const std::string& path);

  /// After every load or picture change: display, status line, folders and
  /// (unless they hold unsaved changes of the same map) the default names.
  void AfterMapLoaded();
  void UpdateStatusLine() override;
  const std::string& statusLine() const { return statusLine_; }
  /// "ARDEN.MAP[*] - Tesk Map Tool", or the bare application name.
  std::string WindowTitle() const;
  /// The map or its names hold unsaved changes.
  bool documentModified() const;

  /// Folders searched for the help page after the program's own and the
  /// game folder (the installed data folder, the build tree).
  std::vector<std::string> helpFolders;
  /// The program's own folder, with its separator.
  std::string programFolder;

 private:
  // MapNumberHost
  std::optional<PictureSize> LoadPreview(const std::string& firstTile) override;
  const BmpImage* KeptPicture(const std::string& firstTile) const override;
  bool WriteS16Tiles(const std::string& baseName) override;
  void AfterPictureLoaded() override { AfterMapLoaded(); }

  /// Loads a picture file into the map (creating the map when none is
  /// loaded), as "Load BMP" does once its dialog named the file.
  bool LoadPictureFile(const std::string& file);
  /// The proposal of the Names commands: MAPnnn_<map>.TXT beside a BMP picture.
  std::string NamesProposal() const;
  /// A tile base from a chosen file: no extension, no trailing "?", "*" or blanks.
  static std::string TileBase(const std::string& chosen);
  /// After a map was opened: offers its recovery copy when one is newer.
  void OfferRecovery();
  /// After a save: the copies of the old and the new path go.
  void Saved(const std::string& oldPath);
  /// The names half of ConfirmDiscard: offers to save modified names.
  bool ConfirmNames();
  /// The grid laid over the picture as it is now, and the window's image of it.
  void ShowPicture();
  /// After undo or redo: the picture of the number the map has now.
  void AfterHistoryMove(int numberBefore);

  Workspace& ws_;
  Dialogs& dialogs_;
  TextEntry& textEntry_;
  ShellHost& shell_;
  MapView* view_ = nullptr;
  EditInput* input_ = nullptr;
  KeptPreview numberPreview_;
  CheckList checkList_;
  RecoveryStore* recovery_ = nullptr;
  std::string statusLine_ = " No file loaded";
  /// The map whose names were last loaded (its path and number), so that a
  /// picture change keeps unsaved names of the same map.
  std::string namesOfMap_;
};

}  // namespace maptesk
