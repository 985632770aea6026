// What every fuzz target shares: a Prompts that answers nothing and shows
// nothing, and settings that point nowhere.
#pragma once

#include <string>

#include "util/prompts.h"

namespace maptesk::fuzz {

class QuietPrompts : public Prompts {
 public:
  void ShowError(const std::string&) override {}
  void ShowNote(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
  YesNoCancel AskYesNoCancel(const std::string&) override { return YesNoCancel::kCancel; }
  std::string ChooseOpenFile(int, const std::string&, const std::string&) override { return {}; }
  std::string ChooseSaveFile(int, const std::string&, const std::string&) override { return {}; }
  std::string BrowseFolder(const std::string&, const std::string&) override { return {}; }
  void OpenWithShell(const std::string&) override {}
  void SetWaitCursor(bool) override {}
};

}  // namespace maptesk::fuzz
