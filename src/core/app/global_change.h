// Global terrain changes: one terrain type replaced by another on every hex
// of the map in one step.
#pragma once

#include <string>

namespace maptesk {

class EditSteps;
class Prompts;
struct MapRecord;

/// The state and the "Make Changes" step of the global change dialog. Both
/// lists offer the terrain table in value order, so a list index is the
/// terrain value; -1 means nothing is chosen.
class GlobalChange {
 public:
  int fromType = -1;
  int toType = -1;
  /// Some hex was changed while the dialog was open: the caller marks the
  /// map modified.
  bool changed = false;

  /// Replaces `fromType` by `toType` on all 1,800 hexes, touching only the
  /// terrain word, and shows the "Done !" message. An incomplete choice or
  /// the same type twice does nothing and returns -1; otherwise the number
  /// of hexes changed (0 included). The change is one edit step.
  int MakeChanges(MapRecord& map, Prompts& prompts, EditSteps& steps);

  /// "Done !\n%d Terrain types changed\nfrom: %s\nto %s".
  static std::string DoneMessage(int count, int fromType, int toType);
};

}  // namespace maptesk
