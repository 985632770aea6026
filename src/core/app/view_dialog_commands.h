// The application's side of the view commands that open a tool dialog on
// the view's state: the view chooses the mode and hands the dialog back by
// command id, since dialogs are the application's to show.
#pragma once

namespace maptesk {

class Dialogs;
class MapView;
class TextEntry;

/// Runs the name picker (kCmdPickName) or the terrain filter
/// (kCmdTerrainFilter), each after flipping to the ordinary surface so that
/// it shows in full screen. False for any other id.
bool RunViewDialogCommand(int id, MapView& view, Dialogs& dialogs, TextEntry& textEntry);

}  // namespace maptesk
