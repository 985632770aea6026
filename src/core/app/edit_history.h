// The editor's undo and redo: every step the editing code opens and closes
// becomes one entry that can be undone and redone, and the "modified" flags
// of the map and of its names follow the history back and forth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/map/edit_steps.h"
#include "core/map/hex_map.h"
#include "core/map/map_names.h"

namespace maptesk {

class EditHistory final : public EditSteps {
 public:
  static constexpr size_t kDefaultBudget = size_t(64) << 20;

  EditHistory(HexMap& map, MapNames& names, size_t budgetBytes = kDefaultBudget);

  void OpenStep(std::string_view name) override;
  /// Closing more steps than were opened is ignored: Undo, Redo and Clear
  /// may have closed the step under an EditStep guard that is still alive.
  void CloseStep() override;

  /// False when there is nothing to undo (redo). Both close an open step first.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return current_ > 0; }
  bool CanRedo() const { return current_ < steps_.size(); }
  /// The names of the steps Undo and Redo would apply; "" when none.
  const std::string& UndoName() const;
  const std::string& RedoName() const;
  bool StepOpen() const { return depth_ > 0; }

  /// Forgets every step, for another map loaded or created.
  void Clear();
  /// Learns of saves and of changes made outside the history from the
  /// documents' flags: a cleared flag makes the current state the saved one.
  void SyncSavedMarks();

  /// The documents changed in a way that is no step ("Save clean" dropping
  /// the marks): what shows them must be drawn again.
  void NoteChangeOutside() { ++revision_; }

  /// Changes with every recorded step, undo, redo and Clear; never repeats.
  uint64_t revision() const { return revision_; }
  /// Heap and object bytes held by the recorded steps.
  size_t MemoryUsed() const { return bytes_; }
  size_t StepCount() const { return steps_.size(); }

 private:
  struct NamesList {
    std::vector<std::string> names;  // slots 0..count-1
    int count = 0;
    std::string path;
  };
  // What a step holds is always the state on its other side: applying it
  // swaps those values with the documents', which undoes or redoes it.
  struct Step {
    std::string name;
    std::vector<uint16_t> cellAt;  // row * kMapColumns + column
    std::vector<HexCell> cellValue;
    std::vector<uint16_t> slotAt;
    std::vector<uint8_t> slotValue;
    std::unique_ptr<NamesList> list;  // only when the list, its count or path changed
    bool hasMapNumber = false;
    uint16_t mapNumber = 0;
    bool touchesMap = false;
    bool touchesNames = false;
    size_t bytes = 0;
  };

  void Record();
  bool Move(bool forward);
  void Swap(Step& step);
  void ApplyFlags();
  static size_t BytesOf(const Step& step);

  HexMap& map_;
  MapNames& names_;
  size_t budget_;
  std::deque<Step> steps_;
  size_t current_ = 0;  // steps before it are done, the rest can be redone
  size_t bytes_ = 0;
  uint64_t revision_ = 0;
  int depth_ = 0;
  std::string openName_;

  // A saved mark counts the steps touching its document rather than naming a
  // position: states that differ only by steps of the other document are the
  // same for this one. kNever: the saved state cannot be reached again.
  static constexpr int64_t kNever = -1;
  int64_t mapLevel_ = 0, namesLevel_ = 0;
  int64_t savedMap_ = 0, savedNames_ = 0;

  // The state at the outermost OpenStep, kept between steps so that taking it
  // reuses its storage.
  CellGrid beforeCells_{};
  uint16_t beforeNumber_ = 0;
  NameIndexGrid beforeIndex_{};
  NamesList beforeList_;
};

}  // namespace maptesk
