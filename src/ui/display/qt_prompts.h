// The core's questions and messages as Qt message boxes and file dialogs.
#pragma once

#include <QStringList>
#include <functional>
#include <memory>

#include "core/util/file_choosers.h"
#include "core/util/prompts.h"

class QFileDialog;
class QWidget;

namespace maptesk {

class QtPrompts final : public Prompts {
 public:
  /// Boxes and choosers are modal to `parent` (may be null before the
  /// window exists).
  void SetParent(QWidget* parent) { parent_ = parent; }
  /// Called before every chooser is shown, so that a full-screen display
  /// can make way for it.
  void SetBeforeChooser(std::function<void()> hook) { beforeChooser_ = std::move(hook); }

  void ShowError(const std::string& text) override;
  void ShowNote(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  YesNoCancel AskYesNoCancel(const std::string& text) override;
  std::string ChooseOpenFile(int type, const std::string& folder,
                             const std::string& title) override;
  std::string ChooseSaveFile(int type, const std::string& folder,
                             const std::string& title) override;
  std::string BrowseFolder(const std::string& start, const std::string& title) override;
  std::string ChooseFileDialog(const std::string& startPath, const std::string& title,
                               const std::string& filter, const std::string& defaultExtension,
                               bool open) override;
  void OpenWithShell(const std::string& path) override;
  void SetWaitCursor(bool on) override;

  /// The set-up the open and save choosers share between calls.
  const FileChooserSetup& chooserSetup() const { return setup_; }

  /// "Tesk Map Tool": the title of every box.
  static const char* Title();
  /// A "Description|pattern|..." filter as Qt's name filters. Game files
  /// come in either case, so each pattern is offered in both; "*.*" is every
  /// file, with or without a dot.
  static QStringList NameFilters(const std::string& filter);
  /// Gives a file dialog the title, mode, filter, folder, name and default
  /// extension of a set-up.
  static void SetUpFileDialog(QFileDialog& dialog, const FileChooserSetup& setup);
  /// The dialogs the choosers show, set up but not yet shown.
  static std::unique_ptr<QFileDialog> MakeFileDialog(const FileChooserSetup& setup,
                                                     QWidget* parent);
  static std::unique_ptr<QFileDialog> MakeFolderDialog(const std::string& start,
                                                       const std::string& title, QWidget* parent);
  /// The file a closed dialog chose, as the system's bytes.
  static std::string ChosenPath(const QFileDialog& dialog);
  /// The general file dialog is this much larger than a chooser: a longer
  /// list, and wide enough for long names.
  static constexpr int kGeneralExtraWidth = 24;
  static constexpr int kGeneralExtraHeight = 120;

 private:
  std::string RunFileDialog(QFileDialog& dialog);

  QWidget* parent_ = nullptr;
  std::function<void()> beforeChooser_;
  FileChooserSetup setup_;
  int waitDepth_ = 0;
};

}  // namespace maptesk
