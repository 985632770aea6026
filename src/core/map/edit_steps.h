// Where the editing code says "this is one change": every change to the map
// or to its names happens inside a step, so that the edit history can undo it
// as the user made it. The editor records the steps; work without an editor
// (the command-line tool, most tests) records nothing.
#pragma once

#include <string_view>

namespace maptesk {

class EditSteps {
 public:
  virtual ~EditSteps() = default;

  /// Opens a step named for the menu ("Paint terrain"). A step opened while
  /// another is open joins it: a drag or a command made of smaller commands
  /// stays one step under the outermost name.
  virtual void OpenStep(std::string_view name) = 0;
  /// Closes the innermost open step. Closing the outermost one records what
  /// changed since it opened; a step that changed nothing leaves no trace.
  virtual void CloseStep() = 0;

  /// Steps for documents that keep no history.
  static EditSteps& None();
};

/// One step for the lifetime of a scope.
class EditStep {
 public:
  EditStep(EditSteps& steps, std::string_view name) : steps_(steps) { steps_.OpenStep(name); }
  ~EditStep() { steps_.CloseStep(); }
  EditStep(const EditStep&) = delete;
  EditStep& operator=(const EditStep&) = delete;

 private:
  EditSteps& steps_;
};

}  // namespace maptesk
