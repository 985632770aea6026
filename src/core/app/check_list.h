// The editor's list of map findings: checked again whenever the edit
// history moves, each line leading to its hex, the chosen fixable ones
// fixed as one edit step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app/map_check.h"

namespace maptesk {

class MapView;
class Workspace;

class CheckList {
 public:
  explicit CheckList(Workspace& workspace) : ws_(workspace) {}
  /// The view the list leads to (null: none).
  void AttachView(MapView* view) { view_ = view; }

  /// Checks the map again when the history's revision moved since the last
  /// check, or when `force`; true when it checked.
  bool Refresh(bool force = false);
  const std::vector<Finding>& findings() const { return findings_; }
  /// "(12,07) warning one-sided road NE: ...", one a finding.
  std::vector<std::string> Lines() const;
  /// The count line under the list: "3 findings: 1 error, ...".
  std::string Summary() const;
  /// Makes finding `index`'s hex the current and only selected hex and
  /// scrolls the view to it; false for a finding without a hex.
  bool GoTo(int index);
  /// Fixes the chosen findings that can be fixed, as one edit step; the
  /// number fixed.
  int Fix(const std::vector<int>& chosen);

 private:
  Workspace& ws_;
  MapView* view_ = nullptr;
  std::vector<Finding> findings_;
  uint64_t checkedRevision_ = 0;
  bool checked_ = false;
};

}  // namespace maptesk
