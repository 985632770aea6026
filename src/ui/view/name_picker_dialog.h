// The name picker: the map's hex names by slot, from which the user picks
// the name to set, adds one or renames one; and the one-line text entry it
// asks names with.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "core/app/dialogs.h"
#include "core/view/name_picker_model.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace maptesk {

class NamePickerDialog : public QDialog {
 public:
  /// Over an opened model: the list shows its lines and selection.
  NamePickerDialog(NamePickerModel& model, QWidget* parent);

  /// Runs the dialog modally; kOk once the model's Accept took the line.
  static DialogEnd Run(NamePickerModel& model, QWidget* parent);

 private:
  void ShowModel();
  void Choose();

  NamePickerModel& model_;
  QListWidget* list_ = nullptr;
};

/// A prompt and one line of text with OK and Cancel. The core's text is
/// Windows-1252 bytes; the line edit holds Unicode, so the text is converted
/// both ways here, and OK refuses text the code page cannot hold.
class TextEntryDialog : public QDialog, public TextEntry {
 public:
  explicit TextEntryDialog(QWidget* parent);

  /// Runs the dialog modally with that prompt and starting text.
  std::optional<std::string> AskText(const std::string& prompt, const std::string& text) override;

  /// OK: closes only when the text converts to Windows-1252.
  void accept() override;

  /// The entered text as Windows-1252, after an accepted run.
  const std::string& bytes() const { return bytes_; }

 private:
  QLabel* prompt_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QLabel* error_ = nullptr;
  std::string bytes_;
};

}  // namespace maptesk
