// The name picker dialog: the hex names of the map with their slots, from
// which the user picks the name to set, adds a name or renames one.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace maptesk {

class EditSteps;
class MapNames;
class Prompts;

/// The text-entry dialog: one line of text asked for with a prompt. The
/// application shows it (and holds the frame's drawing while it is open).
class TextEntry {
 public:
  virtual ~TextEntry() = default;
  /// The text entered, starting from `text`; nullopt on Cancel.
  virtual std::optional<std::string> AskText(const std::string& prompt,
                                             const std::string& text) = 0;
};

class NamePickerModel {
 public:
  /// Each Add and each Edit that changes the names is one step of `steps`.
  NamePickerModel(MapNames& names, Prompts& prompts, TextEntry& textEntry, EditSteps& steps);

  /// The dialog's value: the slot of the chosen name, 0 for none.
  int chosenIndex = 0;

  /// Start: fills the list and selects the line of `nameToSet`.
  void Open(int nameToSet);
  /// The user moved the list's selection.
  void Select(int line);
  /// Double click or "X": the selected line becomes the chosen index, which
  /// is returned for the caller's name to set.
  int Accept();
  /// "Add": asks for a new name and lists it when it is new.
  void Add();
  /// "Edit": renames the selected name.
  void Edit();

  /// Line i shows name slot i.
  const std::vector<std::string>& lines() const { return lines_; }
  /// The selected line, -1 when none.
  int selectedLine() const { return selected_; }

  /// "[%-2d]  %s", or "[0 ]  No named" for slot 0.
  static std::string LineText(int slot, const std::string& name);

 private:
  void SelectChosen();

  MapNames& names_;
  Prompts& prompts_;
  TextEntry& textEntry_;
  EditSteps& steps_;
  std::vector<std::string> lines_;
  int selected_ = -1;
};

}  // namespace maptesk
