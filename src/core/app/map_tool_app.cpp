#include "core/app/map_tool_app.h"

#include <algorithm>

#include "core/app/dialogs.h"
#include "core/app/global_change.h"
#include "core/app/maps_report.h"
#include "core/app/shell_host.h"
#include "core/app/status_line.h"
#include "core/app/view_dialog_commands.h"
#include "core/app/workspace.h"
#include "core/picture/map_file_model.h"
#include "core/picture/new_map_model.h"
#include "core/picture/open_map_model.h"
#include "core/settings/profile_store.h"
#include "core/util/path_utils.h"
#include "core/util/prompts.h"
#include "core/util/text_format.h"
#include "core/view/edit_input.h"
#include "core/view/map_view.h"

namespace maptesk {

namespace {

constexpr char kAppTitle[] = "Tesk Map Tool";
constexpr char kHelpBase[] = "tesk_maptool_readme";

}  // namespace

std::string FirstRunFolder() {
#ifdef _WIN32
  return "c:\\norvane\\";
#else
  return HomeFolder();
#endif
}

MapToolApp::MapToolApp(Workspace& workspace, Dialogs& dialogs, TextEntry& textEntry,
                       ShellHost& shell)
    : ws_(workspace),
      dialogs_(dialogs),
      textEntry_(textEntry),
      shell_(shell),
      checkList_(workspace) {
  ws_.SetApplication(&dialogs_, this);
}

void MapToolApp::AttachView(MapView* view, EditInput* input) {
  view_ = view;
  input_ = input;
  checkList_.AttachView(view);
}

void MapToolApp::CheckMapCommand() {
  checkList_.Refresh(true);
  dialogs_.ShowMapCheck(checkList_);
}

// --- Start and exit ------------------------------------------------------------

bool MapToolApp::StartUp(ProfileStore& profile, const std::string& commandLineMap) {
  ws_.settings.LoadSettings(profile);
  // A first run with a map named takes the folders of the game around that
  // map, as a profile holding only that map would; without one it asks.
  if (ws_.settings.lastOpen.empty() && !commandLineMap.empty()) {
    ws_.settings.lastOpen = commandLineMap;
  }
  if (!shell_.CreateMainWindow()) return false;
  ws_.settings.CheckFolders(ws_.prompts, FirstRunFolder());
  shell_.ShowMainWindow();
  OpenNamedMap(commandLineMap);
  UpdateStatusLine();
  return true;
}

void MapToolApp::SaveSettings(ProfileStore& profile) const { ws_.settings.SaveSettings(profile); }

bool MapToolApp::CloseRequest() {
  if (!ConfirmClose()) return false;
  shell_.CloseMainWindow();
  return true;
}

bool MapToolApp::ConfirmClose() {
  if (!ConfirmDiscard()) return false;
  if (recovery_ != nullptr && ws_.map.loaded) recovery_->Remove(ws_.map.path);
  return true;
}

// --- Undo and recovery --------------------------------------------------------------

void MapToolApp::Tick(RecoveryStore::Clock::time_point now) {
  if (recovery_ == nullptr) return;
  // A copy of a map that was replaced or whose changes were undone is not
  // work to recover.
  if (recovery_->wroteCopy() && (recovery_->writtenFor() != ws_.map.path || !documentModified())) {
    recovery_->Remove(recovery_->writtenFor());
  }
  if (!ws_.map.loaded) return;
  if (!recovery_->Due(ws_.history.revision(), documentModified(), now)) return;
  std::string error;
  // A copy that cannot be written is tried again after the next changes;
  // saving, which tells its failure, is the designer's own safeguard.
  if (!recovery_->Write(ws_.map, ws_.names, ws_.history.revision(), &error)) {
    recovery_->Settle(ws_.history.revision());
  }
}

void MapToolApp::OfferRecovery() {
  if (recovery_ == nullptr) return;
  const std::optional<RecoveryCopy> copy = recovery_->Find(ws_.map.path);
  if (!copy) return;
  const std::string question = Format("A recovery copy of %s from %s exists.\nRestore it ?",
                                      ws_.map.path.c_str(), LocalTimeText(copy->writtenAt).c_str());
  if (!ws_.prompts.AskYesNo(question)) {
    recovery_->Remove(ws_.map.path);
    return;
  }
  const int numberBefore = ws_.map.MapNumber;
  if (!ws_.RestoreCopy(copy->mapFile, copy->namesFile)) return;  // said so, and kept
  AfterHistoryMove(numberBefore);
}

void MapToolApp::Saved(const std::string& oldPath) {
  if (recovery_ == nullptr) return;
  recovery_->Remove(oldPath);
  recovery_->Remove(ws_.map.path);
  recovery_->Settle(ws_.history.revision());
}

bool MapToolApp::Undo() {
  const int numberBefore = ws_.map.MapNumber;
  if (!ws_.history.Undo()) return false;
  AfterHistoryMove(numberBefore);
  return true;
}

bool MapToolApp::Redo() {
  const int numberBefore = ws_.map.MapNumber;
  if (!ws_.history.Redo()) return false;
  AfterHistoryMove(numberBefore);
  return true;
}

void MapToolApp::AfterHistoryMove(int numberBefore) {
  if (ws_.map.MapNumber != numberBefore) {
    ws_.map.CheckPicture();
    // The number's picture comes back with the number.
    if (ws_.map.hasS16Picture &&
        (!ws_.picture.loaded || ws_.picture.fullPath != ws_.map.pictureFile) &&
        ws_.LoadPicture(ws_.map.pictureFile)) {
      ShowPicture();
    }
  }
  UpdateStatusLine();
}

// --- The command table's side ----------------------------------------------------

bool MapToolApp::RunCommand(int id) {
  const Command* command = FindCommand(id);
  if (command == nullptr) return false;
  if (!CommandEnabled(*command)) return true;
  command->run(*this, command->arg);
  shell_.DocumentChanged();
  return true;
}

bool MapToolApp::CommandEnabled(const Command& command) const {
  switch (command.enable) {
    case Enable::kAlways: return true;
    case Enable::kNever: return false;
    case Enable::kMapLoaded: return ws_.map.loaded;
    case Enable::kLastOpen: return !ws_.settings.lastOpen.empty();
    case Enable::kNames: return ws_.names.nameCount > 0;
    case Enable::kPicture: return ws_.picture.loaded;
    case Enable::kOtherMode: return shell_.VideoMode() != command.arg;
    case Enable::kRecentEntry:
      return command.arg >= 0 && command.arg < kRecentFileCount &&
             !ws_.settings.recentFiles[size_t(command.arg)].empty();
    case Enable::kCanUndo: return ws_.history.CanUndo();
    case Enable::kCanRedo: return ws_.history.CanRedo();
  }
  return true;
}

std::optional<bool> MapToolApp::CommandChecked(const Command& command) const {
  switch (command.check) {
    case Check::kNone: return std::nullopt;
    case Check::kToggle: return ws_.settings.Toggle(uint16_t(command.arg));
    case Check::kSetMode: return ws_.settings.setMode == command.arg;
    case Check::kVideoMode: return shell_.VideoMode() == command.arg;
    case Check::kBrush: return ws_.settings.brushRadius == command.arg;
  }
  return std::nullopt;
}

std::string MapToolApp::CommandLabel(const Command& command) const {
  if (command.enable == Enable::kRecentEntry) {
    const std::string& file = ws_.settings.recentFiles[size_t(command.arg)];
    if (file.empty()) return {};
    return Format("&%d %s", command.arg + 1, file.c_str());
  }
  if (command.id == kCmdRelease) return ReleaseTitle();
  // "&Undo Paint terrain\tCtrl+Z": the step's name before the keys.
  const bool undo = command.enable == Enable::kCanUndo;
  if ((undo || command.enable == Enable::kCanRedo) && CommandEnabled(command)) {
    const std::string label = command.label;
    const size_t tab = label.find('\t');
    const std::string& step = undo ? ws_.history.UndoName() : ws_.history.RedoName();
    return label.substr(0, tab) + " " + step + label.substr(tab);
  }
  return command.label;
}

// --- Unsaved work -------------------------------------------------------------------

bool MapToolApp::documentModified() const { return ws_.map.modified || ws_.names.namesModified; }

bool MapToolApp::ConfirmDiscard() {
  Prompts& prompts = ws_.prompts;
  if (ws_.map.modified) {
    switch (
        prompts.AskYesNoCancel(Format("%s\nIS modified\nSave changes ?", ws_.map.path.c_str()))) {
      case YesNoCancel::kCancel: return false;
      // A save that was cancelled or failed keeps the changes: the command
      // that would replace them stops.
      case YesNoCancel::kYes:
        if (!SaveAsCommand()) return false;
        break;
      case YesNoCancel::kNo: break;
    }
  }
  return ConfirmNames();
}

bool MapToolApp::ConfirmNames() {
  if (!ws_.names.namesModified) return true;
  const std::string question =
      Format("Names loaded from:\n%s\nhave been modified\nSave changes (same or different file) ?",
             ws_.names.namesPath.c_str());
  switch (ws_.prompts.AskYesNoCancel(question)) {
    case YesNoCancel::kCancel: return false;
    case YesNoCancel::kYes: return SaveNamesCommand();
    case YesNoCancel::kNo: return true;
  }
  return true;
}

// --- Maps and pictures ----------------------------------------------------------------

bool MapToolApp::NewMapCommand() {
  if (!ConfirmDiscard()) return false;
  const std::string chosen =
      ws_.prompts.ChooseFileDialog(ws_.settings.scnFolder + "*.map", "Select filename to create",
                                   "Files (*.MAP)|*.map|", ".map", false);
  if (chosen.empty()) return false;
  ws_.NewMap(chosen);
  UpdateStatusLine();
  // Without a picture chosen the new map stays, on the previous picture.
  LoadPictureCommand();
  return true;
}

bool MapToolApp::LoadPictureCommand() {
  NewMapModel model(ws_.settings, ws_.prompts);
  if (dialogs_.RunNewMap(model) != DialogEnd::kOk) return false;
  if (model.result().picturePath.empty()) return false;
  return LoadPictureFile(model.result().picturePath);
}

bool MapToolApp::LoadPictureFile(const std::string& file) {
  if (!ws_.LoadPicture(file)) {
    // The old picture is gone with the failed load: the window shows none.
    AfterMapLoaded();
    return false;
  }
  if (!ws_.map.loaded) {
    ws_.NewMap(ws_.settings.scnFolder + PathPart(file, kPartName) + ".map");
  }
  // A tile's name ends in its column and row: the set's number stands before
  // them (MAP1200.s16 is map 12's picture, not map 1200's).
  std::string named = file;
  if (EqualsNoCase(PathPart(file, kPartExtension), ".s16")) {
    const std::string base = PathPart(file, kPartName);
    named = base.size() > 2 ? base.substr(0, base.size() - 2) : base;
  }
  ws_.map.TakeMapNumberFromName(named);
  ws_.map.hasS16Picture = false;
  AfterMapLoaded();
  return true;
}

bool MapToolApp::OpenCommand() {
  if (!ConfirmDiscard()) return false;
  OpenMapModel model(ws_.settings, ws_.prompts);
  if (dialogs_.RunOpenMap(model) != DialogEnd::kOk || model.mapPath().empty()) return false;
  ws_.map.foreignPicture = model.foreignPicture();
  if (!ws_.OpenMap(model.mapPath())) return false;
  if (ws_.picture.loaded) {
    AfterMapLoaded();
  } else if (model.searchShp() && !model.picturePath().empty() &&
             ws_.LoadPicture(model.picturePath())) {
    AfterMapLoaded();
  } else {
    AfterMapLoaded();
    LoadPictureCommand();
  }
  ws_.settings.lastOpen = ws_.map.path;
  ws_.settings.AddRecentFile(ws_.map.path);
  OfferRecovery();
  return true;
}

bool MapToolApp::OpenByName(const std::string& requested) {
  const std::string name = requested.empty() ? ws_.settings.lastOpen : requested;
  if (!FileExists(name)) {
    ErrorNotFound(ws_.prompts, name);
    return false;
  }
  ws_.map.foreignPicture = false;
  if (!ws_.OpenMap(name)) return false;
  // The map is shown, with its names, before a missing picture is asked for.
  AfterMapLoaded();
  if (!ws_.picture.loaded) LoadPictureCommand();
  ws_.settings.lastOpen = ws_.map.path;
  OfferRecovery();
  return true;
}

bool MapToolApp::OpenLastCommand() {
  if (ws_.settings.lastOpen.empty() || !ConfirmDiscard()) return false;
  return OpenByName(ws_.settings.lastOpen);
}

bool MapToolApp::RecentFileCommand(int index) {
  if (index < 0 || index >= kRecentFileCount) return false;
  auto& recent = ws_.settings.recentFiles;
  const std::string name = recent[size_t(index)];
  if (name.empty() || !ConfirmDiscard()) return false;
  const bool opened = OpenByName(name);
  // The entry goes whether the map opened or not.
  std::rotate(recent.begin() + index, recent.begin() + index + 1, recent.end());
  recent.back().clear();
  return opened;
}

bool MapToolApp::OpenNamedMap(const std::string& name) {
  if (name.empty()) return true;
  if (OpenByName(name)) ws_.settings.AddRecentFile(ws_.map.path);
  return true;
}

void MapToolApp::ShowPicture() {
  if (view_ != nullptr) {
    if (ws_.picture.loaded) {
      view_->grid.setMapSize(ws_.picture.width, ws_.picture.height);
    } else {
      view_->grid.mapLoaded = false;
    }
  }
  shell_.PictureChanged();
}

void MapToolApp::AfterMapLoaded() {
  ShowPicture();
  UpdateStatusLine();
  if (ws_.map.loaded) ws_.settings.scnFolder = PathPart(ws_.map.path, kPartFolder);
  if (ws_.map.hasS16Picture) ws_.settings.mapFolder = PathPart(ws_.map.pictureFile, kPartFolder);
  // A new picture for the same map keeps the names the designer is editing.
  const std::string mapKey = ws_.map.path + "#" + std::to_string(ws_.map.MapNumber);
  if (!(ws_.names.namesModified && mapKey == namesOfMap_)) ws_.LoadDefaultNames();
  namesOfMap_ = mapKey;
}

void MapToolApp::UpdateStatusLine() {
  statusLine_ = StatusLineText(ws_.map, ws_.picture);
  // A set that loaded narrower than its tiles says so where the picture is named.
  if (ws_.picture.loaded) {
    for (const std::string& remark : ws_.pictureRemarks) statusLine_ += "   " + remark;
  }
  shell_.DocumentChanged();
}

std::string MapToolApp::WindowTitle() const {
  if (!ws_.map.loaded) return kAppTitle;
  return PathPart(ws_.map.path, kPartFileName) + "[*] - " + kAppTitle;
}

// --- Saving ---------------------------------------------------------------------------

bool MapToolApp::SaveCommand() {
  if (!ws_.map.loaded) return false;
  if (ws_.map.path.empty() || !ws_.map.hasS16Picture) return SaveAsCommand();
  if (!ws_.SaveMap("")) return false;
  Saved(ws_.map.path);
  UpdateStatusLine();
  return true;
}

bool MapToolApp::SaveAsCommand() {
  if (!ws_.map.loaded) return false;
  // The picture step runs here, once: the save below does not ask again.
  if (!ws_.map.hasS16Picture) CreatePictureForNumber(ws_.map, dialogs_, *this);
  MapFileModel model(ws_.settings);
  const std::string target =
      dialogs_.RunMapFile(model, ws_.map.path, "Select MAP file to Save As", true);
  if (target.empty()) return false;
  const std::string oldPath = ws_.map.path;
  if (!ws_.SaveMap(target, false)) return false;
  Saved(oldPath);
  UpdateStatusLine();
  return true;
}

// --- Exports ---------------------------------------------------------------------------

std::string MapToolApp::TileBase(const std::string& chosen) {
  std::string base = PathPart(chosen, kPartWithoutExtension);
  while (!base.empty() && (base.back() == '?' || base.back() == '*' || base.back() == ' ')) {
    base.pop_back();
  }
  return base;
}

bool MapToolApp::ExportBmpCommand() {
  if (!ws_.picture.loaded) return false;
  const std::string proposal = ws_.picture.folder + PathPart(ws_.map.path, kPartName) + ".bmp";
  const std::string chosen =
      ws_.prompts.ChooseSaveFile(kFileBmp, proposal, "Select filename to save as");
  if (chosen.empty()) return false;
  WaitCursor wait(ws_.prompts);
  return ws_.picture.Save(chosen);
}

bool MapToolApp::ExportBmpTilesCommand() {
  if (!ws_.picture.loaded) return false;
  const std::string proposal =
      ws_.picture.folder + PathPart(ws_.picture.fileName, kPartName) + ".bmp";
  const std::string chosen =
      ws_.prompts.ChooseSaveFile(kFileBmp, proposal, "Select folder and base filename to split");
  const std::string base = TileBase(chosen);
  if (base.empty()) return false;
  WaitCursor wait(ws_.prompts);
  return ws_.picture.SplitToBmpTiles(base);
}

bool MapToolApp::ExportS16Command() {
  if (!ws_.picture.loaded) return false;
  const std::string proposal =
      ws_.map.loaded
          ? ws_.picture.folder + "MAP" + PadNumber(ws_.map.MapNumber, 2, '0', true) + ".s16"
          : ws_.picture.folder + PathPart(ws_.picture.fileName, kPartName) + ".s16";
  const std::string chosen = ws_.prompts.ChooseSaveFile(
      kFileS16, proposal, "Select folder and base filename to map tiles");
  const std::string base = TileBase(chosen);
  if (base.empty()) return false;
  WaitCursor wait(ws_.prompts);
  return ws_.picture.SplitToS16Tiles(base);
}

// --- MapNumberHost ---------------------------------------------------------------------

std::optional<PictureSize> MapToolApp::LoadPreview(const std::string& firstTile) {
  return numberPreview_.LoadPreview(firstTile);
}

const BmpImage* MapToolApp::KeptPicture(const std::string& firstTile) const {
  return numberPreview_.KeptPicture(firstTile);
}

bool MapToolApp::WriteS16Tiles(const std::string& baseName) {
  WaitCursor wait(ws_.prompts);
  return ws_.picture.loaded && ws_.picture.SplitToS16Tiles(baseName);
}

bool MapToolApp::ChangeMapNumberCommand() { return ws_.ChangeMapNumber(); }

// --- Tools and help -------------------------------------------------------------------

bool MapToolApp::HelpCommand() {
  const std::string chm = std::string(kHelpBase) + ".chm";
  const std::string htm = std::string(kHelpBase) + ".htm";
  std::vector<std::string> candidates = {programFolder + chm, ws_.settings.gameFolder + chm,
                                         programFolder + htm, ws_.settings.gameFolder + htm};
  // Our page is HTML: it is also looked for where it is installed or built.
  for (const std::string& folder : helpFolders) candidates.push_back(folder + htm);
  for (const std::string& page : candidates) {
    if (FileExists(page)) {
      ws_.prompts.OpenWithShell(page);
      return true;
    }
  }
  ErrorNotFound(ws_.prompts, candidates.back());
  return false;
}

void MapToolApp::ReportCommand() {
  MapsReport model;
  model.Start(ws_.settings, ws_.prompts);
  dialogs_.RunMapsReport(model);
}

bool MapToolApp::GlobalChangesCommand() {
  GlobalChange model;
  dialogs_.RunGlobalChange(model);
  if (model.changed) ws_.map.modified = true;
  return model.changed;
}

bool MapToolApp::RunViewDialog(int id) {
  return view_ != nullptr && RunViewDialogCommand(id, *view_, dialogs_, textEntry_);
}

void MapToolApp::SwitchVideoMode(int mode) { shell_.SwitchVideoMode(mode); }

bool MapToolApp::ResetFolders() { return ws_.settings.ResetFolders(ws_.prompts, FirstRunFolder()); }

// --- Names -------------------------------------------------------------------------------

std::string MapToolApp::NamesProposal() const {
  return PathPart(ws_.picture.fileName, kPartFolder) + "MAP" +
         MapNames::NumberPart(ws_.map.MapNumber) + "_" + PathPart(ws_.map.path, kPartName) + ".TXT";
}

bool MapToolApp::LoadNamesCommand() {
  if (!ws_.map.loaded) return false;
  // Names edited since they were read are not dropped without a question.
  if (!ConfirmNames()) return false;
  const std::string chosen = ws_.prompts.ChooseOpenFile(
      kFileText, NamesProposal(), "Select a text file with the names for this MAP");
  if (chosen.empty()) return false;
  if (!FileExists(chosen)) {
    ws_.prompts.ShowError(Format("%s not found", chosen.c_str()));
    return false;
  }
  return ws_.LoadNamesFile(chosen);
}

bool MapToolApp::SaveNamesCommand() {
  if (!ws_.map.loaded) return false;
  const std::string proposal = ws_.names.namesPath.empty() ? NamesProposal() : ws_.names.namesPath;
  const std::string chosen = ws_.prompts.ChooseSaveFile(
      kFileText, proposal, "Select a text file with the names for this MAP");
  if (chosen.empty()) return false;
  // A failed write has said why and leaves the names modified.
  return ws_.SaveNames(chosen);
}

bool MapToolApp::BrowseNamesCommand() {
  const std::string start =
      ws_.names.namesPath.empty() ? ws_.names.DefaultNamesFile() : ws_.names.namesPath;
  const std::string chosen = ws_.prompts.ChooseOpenFile(kFileText, start, "MapNames files");
  if (chosen.empty()) return false;
  ws_.prompts.OpenWithShell(chosen);
  return true;
}

// --- Dropped files -----------------------------------------------------------------------

bool MapToolApp::DropFile(const std::string& path) {
  const std::string extension = PathPart(path, kPartExtension);
  if (EqualsNoCase(extension, ".map")) {
    if (!ConfirmDiscard()) return false;
    if (!OpenByName(path)) return false;
    ws_.settings.AddRecentFile(ws_.map.path);
    return true;
  }
  if (EqualsNoCase(extension, ".bmp") || EqualsNoCase(extension, ".s16") ||
      EqualsNoCase(extension, ".shp")) {
    return LoadPictureFile(path);
  }
  ws_.prompts.ShowError(Format("[%s] is not a map or a picture file", path.c_str()));
  return false;
}

}  // namespace maptesk
