// The name picker dialog: the hex names of the map with their slots, from
// which the user picks the name to set, adds a name or renames one.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace maptesk {

class MapNames;
class Prompts;

class NamePickerModel {
 public:
  /// Asks for one line of text with a prompt and an initial text; nullopt
  /// on Cancel. The application shows its text-entry dialog (and holds the
  /// frame's drawing while it is open).
  using TextEntry =
      std::function<std::optional<std::string>(const std::string& prompt, const std::string& text)>;

  NamePickerModel(MapNames& names, Prompts& prompts, TextEntry textEntry);

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
  TextEntry textEntry_;
  std::vector<std::string> lines_;
  int selected_ = -1;
};

}  // namespace maptesk
