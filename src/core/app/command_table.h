// Every command of the editor in one table: its id, where it stands in the
// menu, its label, its keys, its status-bar prompt, when it is enabled or
// checked, and what it runs. The menu bar (in a window and in full screen),
// the accelerators and the help page's key list are all built from it, so a
// new command is one row and its operation.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace maptesk {

class MapToolApp;

/// Ids of the application's commands; the view's own ids are in edit_input.h.
enum AppCommand : int {
  kCmdNewMap = 32777,
  kCmdLoadPicture = 32817,
  kCmdOpen = 57601,
  kCmdChangeNumber = 32828,
  kCmdExportS16 = 32786,
  kCmdSaveAs = 57603,
  kCmdExportBmpTiles = 32773,
  kCmdExportBmp = 32783,
  kCmdRecentFirst = 57616,  ///< 57616..57621: the six recent files
  kCmdWindowMode = 32795,
  kCmdMode800 = 32796,
  kCmdMode1024 = 32797,
  kCmdResetFolders = 32833,
  kCmdLoadNames = 32788,
  kCmdSaveNames = 32789,
  kCmdBrowseNames = 32810,
  kCmdReport = 32825,
  kCmdGlobalChanges = 32826,
  kCmdAboutName = 32784,
  kCmdRelease = 32808,
  kCmdAboutCredit = 32811,
  kCmdAboutContact = 32812,
  kCmdHelp = 57670,
  kCmdHelpIndex = 57667,
  /// Saves over the map's own file (Ctrl+S).
  kCmdSave = 32900,
  kCmdUndo = 57643,
  kCmdRedo = 57644,
  // The hex tools; their keys are the view's letters.
  kCmdFill = 33010,
  kCmdRoadPath = 33011,
  kCmdSelectTerrain = 33012,
  kCmdBrush1 = 33013,
  kCmdBrush7 = 33014,
  kCmdBrush19 = 33015,
  kCmdCheckMap = 33020,
};

/// When a command can be chosen.
enum class Enable : uint8_t {
  kAlways,
  kNever,        ///< a greyed line of text (the About lines)
  kMapLoaded,    ///< a map is loaded
  kLastOpen,     ///< there is a last file to open again
  kNames,        ///< the names list holds names
  kPicture,      ///< the map has a picture
  kOtherMode,    ///< the video mode `arg` is not the one in use
  kRecentEntry,  ///< recent entry `arg` is not empty
  kCanUndo,      ///< the edit history has a step to undo
  kCanRedo,      ///< the edit history has a step to redo
};

/// What a command's check mark shows.
enum class Check : uint8_t {
  kNone,
  kToggle,     ///< the view toggle bit `arg`
  kSetMode,    ///< SetMode is `arg`
  kVideoMode,  ///< the video mode in use is `arg`
  kBrush,      ///< the brush's radius is `arg`
};

struct Command {
  int id;
  /// The menu path ("&File", "&Help/&About..."); null for a key-only command.
  const char* menu;
  /// The label as shown, with its mnemonic and, after a tab, its keys' text.
  const char* label;
  /// The accelerators, in portable key-sequence text, ';' between two:
  /// "Alt+O;Ctrl+O". Plain letters are the view's and never stand here.
  const char* keys;
  /// The status-bar prompt; "" for none.
  const char* prompt;
  Enable enable;
  Check check;
  /// The toggle bit, set mode, video mode or recent entry the rules and
  /// the operation use.
  int arg;
  void (*run)(MapToolApp& app, int arg);
  /// A separator line stands above the item in its menu.
  bool separatorBefore = false;
};

/// The table, in menu order.
std::span<const Command> Commands();
/// The row of an id, or null.
const Command* FindCommand(int id);
/// The menus of the menu bar, left to right.
std::span<const char* const> MenuTitles();
/// A label or menu title without its '&' mnemonic marks and its keys' text.
std::string PlainLabel(const char* label);

/// The command table as HTML rows for the help page: menu, label, keys and
/// prompt of every command.
std::string CommandTableHtml();

}  // namespace maptesk
