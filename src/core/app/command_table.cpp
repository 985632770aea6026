#include "core/app/command_table.h"

#include <algorithm>
#include <array>

#include "core/app/map_tool_app.h"
#include "core/settings/tool_settings.h"
#include "core/util/text_format.h"
#include "core/view/edit_input.h"

namespace maptesk {

namespace {

// What a row runs: one of the application's flows, one of the view's edits
// (nothing without a view), or a flow with the row's argument.
template <auto Op>
void App(MapToolApp& app, int) {
  (app.*Op)();
}

template <void (EditInput::*Op)()>
void Input(MapToolApp& app, int) {
  if (EditInput* input = app.input()) (input->*Op)();
}

void FlipOption(MapToolApp& app, int bit) {
  if (EditInput* input = app.input()) input->flipOption(uint16_t(bit));
}

void VideoMode(MapToolApp& app, int mode) { app.SwitchVideoMode(mode); }
void Brush(MapToolApp& app, int radius) {
  if (EditInput* input = app.input()) input->setBrushRadius(radius);
}
void SelectTerrain(MapToolApp& app, int add) {
  if (EditInput* input = app.input()) input->selectByTerrain(add != 0);
}
void Recent(MapToolApp& app, int index) { app.RecentFileCommand(index); }
void ViewDialog(MapToolApp& app, int id) { app.RunViewDialog(id); }
void Nothing(MapToolApp&, int) {}

constexpr const char* kFile = "&File";
constexpr const char* kEdit = "&Edit";
constexpr const char* kOptions = "&Options";
constexpr const char* kSelect = "Select what to set";
constexpr const char* kTools = "&Tools";
constexpr const char* kAutoRoads = "Auto&Roads";
constexpr const char* kNames = "&Names";
constexpr const char* kMiscTools = "Misc. Tools";
constexpr const char* kHelp = "&Help";
constexpr const char* kAbout = "&Help/&About...";

constexpr std::array<const char*, 9> kMenuTitles = {kFile,      kEdit,  kOptions,   kSelect, kTools,
                                                    kAutoRoads, kNames, kMiscTools, kHelp};

using E = Enable;
using C = Check;

// clang-format off
const Command kCommands[] = {
  {kCmdNewMap, kFile, "&New Map ...\tAlt+B", "Alt+B", "Create a new map on a picture",
   E::kAlways, C::kNone, 0, App<&MapToolApp::NewMapCommand>},
  {kCmdLoadPicture, kFile, "Load BMP", "", "Load another picture for the map",
   E::kAlways, C::kNone, 0, App<&MapToolApp::LoadPictureCommand>},
  {kCmdOpen, kFile, "&Open MAP file...\tAlt+O", "Alt+O;Ctrl+O", "Open a map file",
   E::kAlways, C::kNone, 0, App<&MapToolApp::OpenCommand>},
  {kCmdOpenLast, kFile, "Open &Last File used\tAlt+L", "Alt+L", "Open the last map file again",
   E::kLastOpen, C::kNone, 0, App<&MapToolApp::OpenLastCommand>},
  {kCmdChangeNumber, kFile, "Change Map &Number", "", "Give the map another number",
   E::kMapLoaded, C::kNone, 0, App<&MapToolApp::ChangeMapNumberCommand>, true},
  {kCmdExportS16, kFile, "Save image &As S16 tiles", "", "Write the picture as S16 tiles",
   E::kPicture, C::kNone, 0, App<&MapToolApp::ExportS16Command>},
  {kCmdSaveClean, kFile, "Save clean", "", "Remove all marks before saving",
   E::kAlways, C::kToggle, kToggleSaveClean, FlipOption, true},
  {kCmdSave, kFile, "&Save MAP\tCtrl+S", "Ctrl+S", "Save the map over its own file",
   E::kMapLoaded, C::kNone, 0, App<&MapToolApp::SaveCommand>},
  {kCmdSaveAs, kFile, "&Save MAP as...\tAlt+S", "Alt+S;Ctrl+Shift+S",
   "Save the map to a file of your choice", E::kMapLoaded, C::kNone, 0,
   App<&MapToolApp::SaveAsCommand>},
  {kCmdExportBmpTiles, kFile, "&Save image as BMP tiles", "", "Write the picture as BMP tiles",
   E::kPicture, C::kNone, 0, App<&MapToolApp::ExportBmpTilesCommand>, true},
  {kCmdExportBmp, kFile, "Save Image as new BMP", "", "Write the picture as one BMP file",
   E::kPicture, C::kNone, 0, App<&MapToolApp::ExportBmpCommand>},
  {kCmdRecentFirst + 0, kFile, "", "", "Open this map file", E::kRecentEntry, C::kNone, 0,
   Recent, true},
  {kCmdRecentFirst + 1, kFile, "", "", "Open this map file", E::kRecentEntry, C::kNone, 1, Recent},
  {kCmdRecentFirst + 2, kFile, "", "", "Open this map file", E::kRecentEntry, C::kNone, 2, Recent},
  {kCmdRecentFirst + 3, kFile, "", "", "Open this map file", E::kRecentEntry, C::kNone, 3, Recent},
  {kCmdRecentFirst + 4, kFile, "", "", "Open this map file", E::kRecentEntry, C::kNone, 4, Recent},
  {kCmdRecentFirst + 5, kFile, "", "", "Open this map file", E::kRecentEntry, C::kNone, 5, Recent},
  {kCmdExit, kFile, "E&xit\tAlt+X", "Ctrl+Q", "Quit the application; prompts to save changes",
   E::kAlways, C::kNone, 0, App<&MapToolApp::CloseRequest>, true},

  {kCmdUndo, kEdit, "&Undo\tCtrl+Z", "Ctrl+Z", "Take back the last change", E::kCanUndo,
   C::kNone, 0, App<&MapToolApp::Undo>},
  {kCmdRedo, kEdit, "&Redo\tCtrl+Y", "Ctrl+Y;Ctrl+Shift+Z", "Make the change taken back again",
   E::kCanRedo, C::kNone, 0, App<&MapToolApp::Redo>},

  {kCmdWindowMode, kOptions, "Window Mode\tF12", "F12", "Show the map in a window",
   E::kOtherMode, C::kVideoMode, 0, VideoMode},
  {kCmdMode800, kOptions, "800x600 Full Screen Mode\tF11", "F11",
   "Show the map full screen at 800 x 600", E::kOtherMode, C::kVideoMode, 2, VideoMode},
  {kCmdMode1024, kOptions, "1024x768 Full Screen Mode\tF10", "F10",
   "Show the map full screen at 1024 x 768", E::kOtherMode, C::kVideoMode, 3, VideoMode},
  {kCmdZoom, kOptions, "&Zoom to strategic\tAlt+Z or Z", "Alt+Z",
   "Zoom out to the strategic scale and back", E::kAlways, C::kToggle, kToggleZoom,
   Input<&EditInput::toggleZoom>, true},
  {kCmdGrid, kOptions, "Show &Grid\tAlt+G or G", "Alt+G", "Show / Hide the grid",
   E::kAlways, C::kToggle, kToggleGrid, Input<&EditInput::toggleGrid>},
  {kCmdTerrainMarks, kOptions, "Show &Terrain Types\tAlt+T", "Alt+T",
   "Show icons for terrain types", E::kAlways, C::kToggle, kToggleTerrainMarks, FlipOption},
  {kCmdRoads, kOptions, "Show &Roads\tAlt+R", "Alt+R", "Show Roads on Map",
   E::kAlways, C::kToggle, kToggleRoads, FlipOption},
  {kCmdNamedHexes, kOptions, "Show &Named Hexes\tAlt+N", "Alt+N", "Mark any named hex",
   E::kAlways, C::kToggle, kToggleNamedHexes, FlipOption},
  {kCmdTerrainFilter, kOptions, "&Filter Terrain to view\tAlt+F", "Alt+F",
   "Select which terrain icons you want to show", E::kAlways, C::kNone, kCmdTerrainFilter,
   ViewDialog},
  {kCmdResetFolders, kOptions, "Reset folders settings", "",
   "Forget the folders and ask for the game folder again", E::kAlways, C::kNone, 0,
   App<&MapToolApp::ResetFolders>, true},

  {kCmdTerrainMode, kSelect, "Select Terrain type\tF5", "F5", "Select terrain type to set",
   E::kAlways, C::kSetMode, kSetTerrain, Input<&EditInput::chooseTerrainMode>},
  {kCmdRoadsMode, kSelect, "Select &Road settings\tF6", "F6", "Select road settings to set",
   E::kAlways, C::kSetMode, kSetRoads, Input<&EditInput::chooseRoadsMode>},
  {kCmdNameMode, kSelect, "Select  &Name to set\tF7", "F7", "Selecet Name to set",
   E::kAlways, C::kSetMode, kSetName, Input<&EditInput::chooseNameMode>},

  {kCmdFill, kTools, "&Fill region\tF", "",
   "Fill the hexes joined to the one under the pointer through its terrain (key F)",
   E::kAlways, C::kNone, 0, Input<&EditInput::fillRegion>},
  {kCmdRoadPath, kTools, "Road along a &path\tP", "",
   "P on a first hex, P on a last hex: a road along the straight line between them; Esc cancels",
   E::kAlways, C::kNone, 0, Input<&EditInput::roadPathPoint>},
  {kCmdSelectTerrain, kTools, "&Select by terrain\ts", "",
   "Select every hex of the terrain under the pointer (key s; S adds to the selection)",
   E::kAlways, C::kNone, 0, SelectTerrain},
  {kCmdBrush1, kTools, "Brush: &1 hex", "", "Set on the hex under the pointer only ([ and ] step)",
   E::kAlways, C::kBrush, 0, Brush, true},
  {kCmdBrush7, kTools, "Brush: &7 hexes", "", "Set on the hex under the pointer and its neighbours",
   E::kAlways, C::kBrush, 1, Brush},
  {kCmdBrush19, kTools, "Brush: 1&9 hexes", "",
   "Set on the hexes within two steps of the one under the pointer", E::kAlways, C::kBrush, 2,
   Brush},

  {kCmdGenerateRoads, kAutoRoads, "Generate roads from \"Auto R.M\"", "",
   "Generates properly linked roads for all hexes with an AutoRoad mark",
   E::kAlways, C::kNone, 0, Input<&EditInput::generateRoads>},
  {kCmdLoadMarks, kAutoRoads, "Load \"Auto R.M.\" from roads\t>", "",
   "Generates a R-Mark into hexes having any road", E::kAlways, C::kNone, 0,
   Input<&EditInput::loadMarksFromRoads>},
  {kCmdClearMarks, kAutoRoads, "Clear all \"Auto R.M.\"", "", "Reset all \"Auto R.M.\"",
   E::kAlways, C::kNone, 0, Input<&EditInput::clearMarks>},
  {kCmdKeepMarks, kAutoRoads, "Keep \"Auto R.M.\" before generating roads", "",
   "By default  \"Auto R.M.\" will be cleared before generating roads, but you can keep then",
   E::kAlways, C::kToggle, kToggleKeepAutoMarks, FlipOption, true},
  {kCmdLinkRoads, kAutoRoads, "Link with adjacent roads and cities", "",
   "Set to modify current roads id adjacent to \"Auot R.M\"", E::kAlways, C::kToggle,
   kToggleLinkRoads, FlipOption},

  {kCmdLoadNames, kNames, "&Load MapNames\tAlt+M", "Alt+M", "Load the names of the map's hexes",
   E::kMapLoaded, C::kNone, 0, App<&MapToolApp::LoadNamesCommand>},
  {kCmdSaveNames, kNames, "&Save MapNames", "", "Save the names of the map's hexes",
   E::kNames, C::kNone, 0, App<&MapToolApp::SaveNamesCommand>},
  {kCmdBrowseNames, kNames, "&Browse MapNames", "", "Open a names file in its own program",
   E::kAlways, C::kNone, 0, App<&MapToolApp::BrowseNamesCommand>},

  {kCmdReport, kMiscTools, "&Report Map files", "", "Report the map files of a folder",
   E::kAlways, C::kNone, 0, App<&MapToolApp::ReportCommand>},
  {kCmdCheckMap, kMiscTools, "&Check map\tF8", "F8",
   "List what the game would trip over in the map; double click a line to go to its hex",
   E::kMapLoaded, C::kNone, 0, App<&MapToolApp::CheckMapCommand>},
  {kCmdGlobalChanges, kMiscTools, "&Global terrain changes", "",
   "Replace one terrain type by another over the whole map", E::kMapLoaded, C::kNone, 0,
   App<&MapToolApp::GlobalChangesCommand>},

  {kCmdAboutName, kAbout, "Tesk Map Tool", "", "", E::kNever, C::kNone, 0, Nothing},
  {kCmdRelease, kAbout, "Release", "", "", E::kNever, C::kNone, 0, Nothing},
  {kCmdAboutCredit, kAbout, "Made for the scenario designers of Norvane", "", "", E::kNever,
   C::kNone, 0, Nothing},
  {kCmdAboutContact, kAbout, "Questions: see the help page", "", "", E::kNever, C::kNone, 0,
   Nothing},
  {kCmdHelp, kHelp, "&Help\tF1", "F1", "Open the help page", E::kAlways, C::kNone, 0,
   App<&MapToolApp::HelpCommand>},

  // Keys and posted commands on no menu.
  {kCmdHelpIndex, nullptr, "Help", "", "Open the help page", E::kAlways, C::kNone, 0,
   App<&MapToolApp::HelpCommand>},
  {kCmdClose, nullptr, "Close", "Alt+X", "Close the program", E::kAlways, C::kNone, 0,
   App<&MapToolApp::CloseRequest>},
  {kCmdPickUp, nullptr, "Pick up the hex's data", "Ctrl+C", "Take terrain, roads and name of the hex",
   E::kAlways, C::kNone, 0, Input<&EditInput::pickUp>},
  {kCmdCopyTerrain, nullptr, "Copy terrain", "Ctrl+T", "Take the hex's terrain to set",
   E::kAlways, C::kNone, 0, Input<&EditInput::copyTerrain>},
  {kCmdCopyRoads, nullptr, "Copy roads", "Ctrl+R", "Take the hex's roads to set",
   E::kAlways, C::kNone, 0, Input<&EditInput::copyRoads>},
  {kCmdCopyName, nullptr, "Copy name", "Ctrl+N", "Take the hex's name to set",
   E::kAlways, C::kNone, 0, Input<&EditInput::copyName>},
  {kCmdCutTerrain, nullptr, "Cut terrain", "Ctrl+Shift+T", "Take the hex's terrain and clear it",
   E::kAlways, C::kNone, 0, Input<&EditInput::cutTerrain>},
  {kCmdCutRoads, nullptr, "Cut roads", "Ctrl+Shift+R", "Take the hex's roads and clear them",
   E::kAlways, C::kNone, 0, Input<&EditInput::cutRoads>},
  {kCmdCutName, nullptr, "Cut name", "Ctrl+Shift+N", "Take the hex's name and clear it",
   E::kAlways, C::kNone, 0, Input<&EditInput::cutName>},
  {kCmdTakeTerrain, nullptr, "Take terrain", "", "Take the hex's terrain, clear the selection",
   E::kAlways, C::kNone, 0, Input<&EditInput::takeTerrainAndClearSelection>},
  {kCmdCapsLock, nullptr, "Caps Lock", "", "Warn while Caps Lock is on", E::kAlways, C::kNone, 0,
   Input<&EditInput::flipCapsWarning>},
  {kCmdPickName, nullptr, "Pick a name", "", "Choose the name to set", E::kAlways, C::kNone,
   kCmdPickName, ViewDialog},
};
// clang-format on

std::string HtmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(int id) {
  for (const Command& c : kCommands) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

std::span<const char* const> MenuTitles() { return kMenuTitles; }

std::string PlainLabel(const char* label) {
  std::string out;
  for (const char* p = label; *p != '\0' && *p != '\t'; ++p) {
    if (*p == '&' && p[1] != '&') continue;
    out += *p;
  }
  return out;
}

std::string CommandTableHtml() {
  std::string out =
      "<table class=\"commands\">\n<tr><th>Menu</th><th>Command</th>"
      "<th>Keys</th><th>What it does</th></tr>\n";
  for (const Command& c : kCommands) {
    if (c.enable == Enable::kNever || c.enable == Enable::kRecentEntry) continue;
    std::string menu = c.menu ? PlainLabel(c.menu) : "(keys only)";
    for (char& ch : menu) {
      if (ch == '/') ch = '>';
    }
    // The label's own key text first ("Alt+Z or Z", "F"), then every
    // accelerator it does not name.
    const std::string label = c.label;
    const size_t tab = label.find('\t');
    std::string keys = tab == std::string::npos ? std::string() : label.substr(tab + 1);
    const std::string all = c.keys;
    for (size_t start = 0; start < all.size();) {
      const size_t end = std::min(all.find(';', start), all.size());
      const std::string key = all.substr(start, end - start);
      if (keys.find(key) == std::string::npos) keys += keys.empty() ? key : ", " + key;
      start = end + 1;
    }
    out += "<tr><td>" + HtmlEscaped(menu) + "</td><td>" + HtmlEscaped(PlainLabel(c.label)) +
           "</td><td>" + HtmlEscaped(keys) + "</td><td>" + HtmlEscaped(c.prompt) + "</td></tr>\n";
  }
  out +=
      "<tr><td>File</td><td>1 to 6</td><td></td><td>Open one of the last six map files "
      "(the entry leaves the list)</td></tr>\n";
  return out + "</table>\n";
}

}  // namespace maptesk
