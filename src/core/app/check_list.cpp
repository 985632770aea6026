#include "core/app/check_list.h"

#include "core/app/workspace.h"
#include "core/util/text_format.h"
#include "core/view/map_view.h"

namespace maptesk {

bool CheckList::Refresh(bool force) {
  const uint64_t revision = ws_.history.revision();
  if (!force && checked_ && revision == checkedRevision_) return false;
  findings_ = ws_.map.loaded ? CheckMap(ws_.map, ContextOf(ws_)) : std::vector<Finding>{};
  checkedRevision_ = revision;
  checked_ = true;
  return true;
}

std::vector<std::string> CheckList::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(findings_.size());
  for (const Finding& f : findings_) lines.push_back(FindingLine(f) + (f.fixable ? "  [fix]" : ""));
  return lines;
}

std::string CheckList::Summary() const {
  if (findings_.empty()) return ws_.map.loaded ? "No findings" : "No map loaded";
  FindingCounts counts;
  for (const Finding& f : findings_) counts.Add(f.severity);
  return CountLine(counts);
}

bool CheckList::GoTo(int index) {
  if (view_ == nullptr || index < 0 || index >= int(findings_.size())) return false;
  const Finding& f = findings_[size_t(index)];
  if (f.row < 0 || !HexMap::InGrid(f.row, f.column)) return false;
  HexGrid& g = view_->grid;
  g.setCurrent(f.row, f.column);
  g.centreOnCurrent();
  g.setCurrent(f.row, f.column);
  HexMap& map = ws_.map;
  map.ClearSelection();
  map.selected[size_t(f.row)][size_t(f.column)] = 1;
  map.selectionActive = true;
  return true;
}

int CheckList::Fix(const std::vector<int>& chosen) {
  std::vector<Finding> fixing;
  for (int i : chosen) {
    if (i >= 0 && i < int(findings_.size()) && findings_[size_t(i)].fixable) {
      fixing.push_back(findings_[size_t(i)]);
    }
  }
  if (fixing.empty()) return 0;
  const int fixed = FixFindings(ws_.map, &ws_.names, fixing, ws_.history);
  for (const Finding& f : fixing) {
    if (f.kind != CheckKind::kNameBeyondList) ws_.map.modified = true;
  }
  Refresh(true);
  return fixed;
}

}  // namespace maptesk
