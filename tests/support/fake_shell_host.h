// Stands in for the editor's window under the application's flows: records
// what was asked of it.
#pragma once

#include <string_view>
#include <vector>

#include "core/app/shell_host.h"

namespace maptesk::testing {

class FakeShellHost : public ShellHost {
 public:
  bool createSucceeds = true;
  /// What happened, in order: "create", "show", "picture", "close".
  std::vector<const char*> calls;
  int documentChanges = 0;
  int mode = 0;

  bool CreateMainWindow() override {
    calls.push_back("create");
    return createSucceeds;
  }
  void ShowMainWindow() override { calls.push_back("show"); }
  void PictureChanged() override { calls.push_back("picture"); }
  void DocumentChanged() override { ++documentChanges; }
  int VideoMode() const override { return mode; }
  void SwitchVideoMode(int m) override { mode = m; }
  void CloseMainWindow() override { calls.push_back("close"); }

  bool closed() const {
    for (const char* c : calls) {
      if (std::string_view(c) == "close") return true;
    }
    return false;
  }
};

}  // namespace maptesk::testing
