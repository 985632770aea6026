#include "core/view/name_picker_model.h"

#include "core/map/edit_steps.h"
#include "core/map/map_names.h"
#include "core/util/prompts.h"

namespace maptesk {

NamePickerModel::NamePickerModel(MapNames& names, Prompts& prompts, TextEntry& textEntry,
                                 EditSteps& steps)
    : names_(names), prompts_(prompts), textEntry_(textEntry), steps_(steps) {}

std::string NamePickerModel::LineText(int slot, const std::string& name) {
  if (slot == 0) return Format("[%-2d]  No named", 0);
  return Format("[%-2d]  %s", slot, name.c_str());
}

void NamePickerModel::Open(int nameToSet) {
  lines_.clear();
  lines_.push_back(LineText(0, ""));
  for (int slot = 1; slot < names_.nameCount; ++slot) {
    lines_.push_back(LineText(slot, names_.NameOf(slot)));
  }
  chosenIndex = nameToSet;
  SelectChosen();
}

void NamePickerModel::SelectChosen() {
  selected_ = (chosenIndex >= 0 && size_t(chosenIndex) < lines_.size()) ? chosenIndex : -1;
}

void NamePickerModel::Select(int line) {
  if (line >= 0 && size_t(line) < lines_.size()) selected_ = line;
}

int NamePickerModel::Accept() {
  // A name to set left over from a map with more names selects no line;
  // leaving then must not hand -1 on as a slot.
  chosenIndex = selected_ < 0 ? 0 : selected_;
  return chosenIndex;
}

void NamePickerModel::Add() {
  std::optional<std::string> text = textEntry_.AskText("Enter new Terrain name", "");
  if (text && !text->empty()) {
    int next = names_.nameCount == 0 ? 1 : names_.nameCount;
    if (names_.FindName(*text) == 0 && next > MapNames::kMaxHexSlot) {
      // A hex holds its name's slot in one byte: a name in a higher slot
      // could be listed but never set.
      prompts_.ShowError(Format("A map can hold no more than %d names:\n[%s] was not added",
                                MapNames::kMaxHexSlot, text->c_str()));
    } else {
      EditStep step(steps_, "Add name");
      int slot = names_.AddName(*text);
      if (slot > 0 && lines_.size() < size_t(names_.nameCount)) {
        lines_.push_back(Format("[%d]  %s", slot, names_.NameOf(slot).c_str()));
      }
    }
  }
  SelectChosen();
}

void NamePickerModel::Edit() {
  chosenIndex = selected_;
  if (chosenIndex < 1) {
    prompts_.ShowError("No name to edit !");
    return;
  }
  const std::string current = names_.NameOf(chosenIndex);
  std::optional<std::string> text = textEntry_.AskText("Edit map name", current);
  if (text && !text->empty() && *text != current && names_.FindName(*text) != 0) {
    // Two slots with one name: only the first would ever be found again.
    prompts_.ShowError(
        Format("[%s] is already a name of this map:\n"
               "two names cannot be the same",
               text->c_str()));
  } else if (text && !text->empty() && *text != current) {
    EditStep step(steps_, "Edit name");
    names_.names[size_t(chosenIndex)] = *text;
    // The hexes of that slot now carry another name: the names file must
    // be offered for saving, or the rename is lost.
    names_.namesModified = true;
    lines_[size_t(chosenIndex)] = LineText(chosenIndex, *text);
  }
  SelectChosen();
}

}  // namespace maptesk
