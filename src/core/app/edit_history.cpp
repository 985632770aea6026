#include "core/app/edit_history.h"

#include <algorithm>
#include <utility>

namespace maptesk {
namespace {

// The names in use; guarded so that a count beyond the list cannot read past it.
size_t ListSize(const MapNames& names) {
  return std::min(size_t(std::max(names.nameCount, 0)), names.names.size());
}

// Short strings live inside the string object, which is already counted.
size_t HeapBytes(const std::string& text) {
  static const size_t kInline = std::string().capacity();
  return text.capacity() > kInline ? text.capacity() + 1 : 0;
}

}  // namespace

EditHistory::EditHistory(HexMap& map, MapNames& names, size_t budgetBytes)
    : map_(map),
      names_(names),
      budget_(budgetBytes),
      savedMap_(map.modified ? kNever : 0),
      savedNames_(names.namesModified ? kNever : 0) {}

void EditHistory::OpenStep(std::string_view name) {
  if (depth_++ > 0) return;
  SyncSavedMarks();
  openName_ = name;
  beforeCells_ = map_.cells;
  beforeNumber_ = map_.MapNumber;
  beforeIndex_ = names_.nameIndex;
  beforeList_.names.assign(names_.names.begin(),
                           names_.names.begin() + ptrdiff_t(ListSize(names_)));
  beforeList_.count = names_.nameCount;
  beforeList_.path = names_.namesPath;
}

void EditHistory::CloseStep() {
  if (depth_ == 0) return;
  if (--depth_ == 0) Record();
}

void EditHistory::Record() {
  Step step;
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      const HexCell& before = beforeCells_[size_t(r)][size_t(c)];
      if (map_.cells[size_t(r)][size_t(c)] == before) continue;
      step.cellAt.push_back(uint16_t(r * kMapColumns + c));
      step.cellValue.push_back(before);
    }
  }
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      const uint8_t before = beforeIndex_[size_t(r)][size_t(c)];
      if (names_.nameIndex[size_t(r)][size_t(c)] == before) continue;
      step.slotAt.push_back(uint16_t(r * kMapColumns + c));
      step.slotValue.push_back(before);
    }
  }
  const auto listBegin = names_.names.begin();
  const auto listEnd = listBegin + ptrdiff_t(ListSize(names_));
  if (beforeList_.count != names_.nameCount || beforeList_.path != names_.namesPath ||
      !std::equal(beforeList_.names.begin(), beforeList_.names.end(), listBegin, listEnd)) {
    step.list = std::make_unique<NamesList>(std::move(beforeList_));
    beforeList_ = NamesList();
  }
  if (beforeNumber_ != map_.MapNumber) {
    step.hasMapNumber = true;
    step.mapNumber = beforeNumber_;
  }
  step.touchesMap = !step.cellAt.empty() || step.hasMapNumber;
  step.touchesNames = !step.slotAt.empty() || step.list;
  if (!step.touchesMap && !step.touchesNames) {
    // Editing code sets the flags eagerly; a step that changed nothing must
    // not leave them set.
    ApplyFlags();
    return;
  }

  step.name = openName_;
  step.cellAt.shrink_to_fit();
  step.cellValue.shrink_to_fit();
  step.slotAt.shrink_to_fit();
  step.slotValue.shrink_to_fit();
  step.bytes = BytesOf(step);

  // A new step makes the redo steps unreachable, and with them a saved state
  // that lay beyond a step touching its document.
  while (steps_.size() > current_) {
    bytes_ -= steps_.back().bytes;
    steps_.pop_back();
  }
  if (savedMap_ > mapLevel_) savedMap_ = kNever;
  if (savedNames_ > namesLevel_) savedNames_ = kNever;

  mapLevel_ += step.touchesMap;
  namesLevel_ += step.touchesNames;
  bytes_ += step.bytes;
  steps_.push_back(std::move(step));
  ++current_;
  ++revision_;

  // The newest step is kept whatever its size, so the last change can always
  // be undone. A saved mark below the oldest step kept needs no update: the
  // levels reachable from here are never below it again.
  while (bytes_ > budget_ && steps_.size() > 1) {
    bytes_ -= steps_.front().bytes;
    steps_.pop_front();
    --current_;
  }
  ApplyFlags();
}

bool EditHistory::Undo() { return Move(false); }
bool EditHistory::Redo() { return Move(true); }

bool EditHistory::Move(bool forward) {
  if (depth_ > 0) {
    depth_ = 1;
    CloseStep();
  }
  SyncSavedMarks();
  if (forward ? !CanRedo() : !CanUndo()) return false;
  Step& step = steps_[forward ? current_++ : --current_];
  Swap(step);
  const int64_t sign = forward ? 1 : -1;
  mapLevel_ += sign * step.touchesMap;
  namesLevel_ += sign * step.touchesNames;
  ++revision_;
  ApplyFlags();
  // The picture link follows the number; nothing else is derived from a step.
  if (step.hasMapNumber) map_.CheckPicture();
  return true;
}

void EditHistory::Swap(Step& step) {
  for (size_t k = 0; k < step.cellAt.size(); ++k) {
    const int at = step.cellAt[k];
    std::swap(map_.cells[size_t(at / kMapColumns)][size_t(at % kMapColumns)], step.cellValue[k]);
  }
  for (size_t k = 0; k < step.slotAt.size(); ++k) {
    const int at = step.slotAt[k];
    std::swap(names_.nameIndex[size_t(at / kMapColumns)][size_t(at % kMapColumns)],
              step.slotValue[k]);
  }
  if (step.hasMapNumber) std::swap(map_.MapNumber, step.mapNumber);
  if (!step.list) return;

  NamesList& other = *step.list;
  const size_t span = std::min(std::max(ListSize(names_), other.names.size()), names_.names.size());
  other.names.resize(span);
  for (size_t i = 0; i < span; ++i) std::swap(names_.names[i], other.names[i]);
  std::swap(names_.nameCount, other.count);
  std::swap(names_.namesPath, other.path);
  other.names.resize(std::min(size_t(std::max(other.count, 0)), span));
  other.names.shrink_to_fit();
  // The two lists need not be the same size.
  bytes_ -= step.bytes;
  step.bytes = BytesOf(step);
  bytes_ += step.bytes;
}

void EditHistory::ApplyFlags() {
  map_.modified = savedMap_ != mapLevel_;
  names_.namesModified = savedNames_ != namesLevel_;
}

void EditHistory::SyncSavedMarks() {
  if (!map_.modified) {
    savedMap_ = mapLevel_;
  } else if (savedMap_ == mapLevel_) {
    savedMap_ = kNever;
  }
  if (!names_.namesModified) {
    savedNames_ = namesLevel_;
  } else if (savedNames_ == namesLevel_) {
    savedNames_ = kNever;
  }
}

void EditHistory::Clear() {
  steps_.clear();
  current_ = 0;
  bytes_ = 0;
  depth_ = 0;
  mapLevel_ = namesLevel_ = 0;
  savedMap_ = map_.modified ? kNever : 0;
  savedNames_ = names_.namesModified ? kNever : 0;
  ++revision_;
}

const std::string& EditHistory::UndoName() const {
  static const std::string kNone;
  return CanUndo() ? steps_[current_ - 1].name : kNone;
}

const std::string& EditHistory::RedoName() const {
  static const std::string kNone;
  return CanRedo() ? steps_[current_].name : kNone;
}

size_t EditHistory::BytesOf(const Step& step) {
  size_t bytes = sizeof(Step) + HeapBytes(step.name) + step.cellAt.capacity() * sizeof(uint16_t) +
                 step.cellValue.capacity() * sizeof(HexCell) +
                 step.slotAt.capacity() * sizeof(uint16_t) + step.slotValue.capacity();
  if (step.list) {
    bytes += sizeof(NamesList) + step.list->names.capacity() * sizeof(std::string) +
             HeapBytes(step.list->path);
    for (const std::string& name : step.list->names) bytes += HeapBytes(name);
  }
  return bytes;
}

}  // namespace maptesk
