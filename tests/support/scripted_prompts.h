// A Prompts that plays a script: each question takes the next queued answer,
// every message is recorded, and a question nobody expected fails the test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "core/util/prompts.h"

namespace maptesk::testing {

class ScriptedPrompts : public Prompts {
 public:
  struct Message {
    std::string kind;  // "error", "note", "yesno", "yesnocancel", "open", "save", "folder", "shell"
    std::string text;
  };

  ~ScriptedPrompts() override {
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answers were never asked for";
  }

  /// Queues the answer to the next question (yes/no, yes/no/cancel or chooser).
  void Answer(bool yes) { answers_.push_back(yes ? "yes" : "no"); }
  void AnswerCancel() { answers_.push_back("cancel"); }
  void AnswerPath(std::string path) { answers_.push_back("path:" + path); }
  /// Lets error and note boxes pass without a queued answer (the default).
  bool allowMessages = true;

  void ShowError(const std::string& text) override { Record("error", text, false); }
  void ShowNote(const std::string& text) override { Record("note", text, false); }
  bool AskYesNo(const std::string& text) override { return Record("yesno", text, true) == "yes"; }
  YesNoCancel AskYesNoCancel(const std::string& text) override {
    std::string a = Record("yesnocancel", text, true);
    return a == "yes" ? YesNoCancel::kYes : a == "no" ? YesNoCancel::kNo : YesNoCancel::kCancel;
  }
  std::string ChooseOpenFile(int type, const std::string& folder,
                             const std::string& title) override {
    return PathAnswer(Record("open", Describe(type, folder, title), true));
  }
  std::string ChooseSaveFile(int type, const std::string& folder,
                             const std::string& title) override {
    return PathAnswer(Record("save", Describe(type, folder, title), true));
  }
  std::string BrowseFolder(const std::string& start, const std::string& title) override {
    return PathAnswer(Record("folder", title + "|" + start, true));
  }
  std::string ChooseFileDialog(const std::string& startPath, const std::string& title,
                               const std::string& filter, const std::string& defaultExtension,
                               bool open) override {
    return PathAnswer(Record(open ? "open" : "save",
                             startPath + "|" + title + "|" + filter + "|" + defaultExtension,
                             true));
  }
  void OpenWithShell(const std::string& path) override { Record("shell", path, false); }
  void SetWaitCursor(bool on) override { waitCursorDepth += on ? 1 : -1; }

  const std::vector<Message>& messages() const { return messages_; }
  /// Texts of the messages of one kind, in order.
  std::vector<std::string> Texts(const std::string& kind) const {
    std::vector<std::string> out;
    for (const Message& m : messages_) {
      if (m.kind == kind) out.push_back(m.text);
    }
    return out;
  }
  void ClearMessages() { messages_.clear(); }
  int waitCursorDepth = 0;

 private:
  static std::string Describe(int type, const std::string& folder, const std::string& title) {
    return std::to_string(type) + "|" + folder + "|" + title;
  }
  static std::string PathAnswer(const std::string& a) {
    return a.rfind("path:", 0) == 0 ? a.substr(5) : std::string();
  }
  std::string Record(const std::string& kind, const std::string& text, bool question) {
    messages_.push_back({kind, text});
    if (!question) {
      if (!allowMessages) ADD_FAILURE() << "unexpected " << kind << ": " << text;
      return {};
    }
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected question (" << kind << "): " << text;
      return "cancel";
    }
    std::string a = answers_.front();
    answers_.pop_front();
    return a;
  }

  std::deque<std::string> answers_;
  std::vector<Message> messages_;
};

}  // namespace maptesk::testing
