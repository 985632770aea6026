// The core's questions and messages as Qt message boxes and file dialogs.
#pragma once

#include "core/util/prompts.h"

class QWidget;

namespace maptesk {

class QtPrompts final : public Prompts {
 public:
  /// Boxes and choosers are modal to `parent` (may be null before the
  /// window exists).
  void SetParent(QWidget* parent) { parent_ = parent; }

  void ShowError(const std::string& text) override;
  void ShowNote(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  YesNoCancel AskYesNoCancel(const std::string& text) override;
  std::string ChooseOpenFile(int type, const std::string& folder,
                             const std::string& title) override;
  std::string ChooseSaveFile(int type, const std::string& folder,
                             const std::string& title) override;
  std::string BrowseFolder(const std::string& start, const std::string& title) override;
  void OpenWithShell(const std::string& path) override;
  void SetWaitCursor(bool on) override;

  /// "Tesk Map Tool": the title of every box.
  static const char* Title();
  /// The core's "Description|*.ext|..." filter in Qt's "Description (*.ext);;..." form.
  static std::string QtFilter(int type);

 private:
  QWidget* parent_ = nullptr;
  int waitDepth_ = 0;
};

}  // namespace maptesk
