#include "ui/display/qt_prompts.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include "core/util/path_utils.h"
#include "ui/display/ui_text.h"

namespace maptesk {

namespace {

// The folder chooser is made larger than Qt's first size, for a deep tree
// of game folders.
constexpr int kFolderExtraWidth = 80;
constexpr int kFolderExtraHeight = 110;

void Enlarge(QFileDialog& dialog, int width, int height) {
  dialog.resize(dialog.sizeHint() + QSize(width, height));
}

}  // namespace

const char* QtPrompts::Title() { return "Tesk Map Tool"; }

QStringList QtPrompts::NameFilters(const std::string& filter) {
  QStringList out;
  for (const FilterEntry& entry : ParseFilter(filter)) {
    QStringList patterns;
    for (const std::string& pattern : entry.patterns) {
      if (pattern == "*.*") {
        patterns << "*";
        continue;
      }
      const QString given = QString::fromStdString(pattern);
      patterns << given;
      if (given.toUpper() != given) patterns << given.toUpper();
    }
    // Qt reads the patterns from the last parentheses: the description's
    // own "(*.MAP)" gives way to the patterns matched.
    QString description = QString::fromStdString(entry.description);
    description = description.left(description.indexOf(" (")).trimmed();
    out << description + " (" + patterns.join(' ') + ")";
  }
  return out;
}

void QtPrompts::SetUpFileDialog(QFileDialog& dialog, const FileChooserSetup& setup) {
  dialog.setWindowTitle(MessageText(setup.title));
  dialog.setAcceptMode(setup.save() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(setup.save() ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // Asking before replacing a file is the save dialog's own default.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setNameFilters(NameFilters(setup.filter));
  if (!setup.initialFolder.empty()) dialog.setDirectory(PathText(setup.initialFolder));
  const std::string name = PathPart(setup.fileName, kPartFileName);
  // A pattern is what the filter already does; a name is offered as typed.
  if (!name.empty() && !HasWildcard(name)) dialog.selectFile(PathText(setup.fileName));
  dialog.setDefaultSuffix(QString::fromStdString(setup.defaultExtension));
  // Qt's own dialog cuts the size and date columns to a few characters; the
  // name column takes what they leave. Its saved layout is put back when it
  // shows, so the columns are set once it is shown.
  QTimer::singleShot(0, &dialog, [&dialog] {
    auto* tree = dialog.findChild<QTreeView*>("treeView");
    if (tree == nullptr) return;
    QHeaderView* header = tree->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column) {
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
  });
}

std::unique_ptr<QFileDialog> QtPrompts::MakeFileDialog(const FileChooserSetup& setup,
                                                       QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent);
  SetUpFileDialog(*dialog, setup);
  return dialog;
}

std::unique_ptr<QFileDialog> QtPrompts::MakeFolderDialog(const std::string& start,
                                                         const std::string& title,
                                                         QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(
      parent, MessageText(title.empty() ? kDefaultFolderTitle : title),
      start.empty() ? QDir::currentPath() : PathText(start));
  dialog->setFileMode(QFileDialog::Directory);
  dialog->setOption(QFileDialog::ShowDirsOnly, true);
  Enlarge(*dialog, kFolderExtraWidth, kFolderExtraHeight);
  return dialog;
}

std::string QtPrompts::RunFileDialog(QFileDialog& dialog) {
  if (beforeChooser_) beforeChooser_();
  return dialog.exec() == QDialog::Accepted ? ChosenPath(dialog) : std::string();
}

std::string QtPrompts::ChosenPath(const QFileDialog& dialog) {
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? std::string() : PathBytes(QDir::toNativeSeparators(chosen.front()));
}

void QtPrompts::ShowError(const std::string& text) {
  QMessageBox::critical(parent_, Title(), MessageText(text));
}

void QtPrompts::ShowNote(const std::string& text) {
  QMessageBox::information(parent_, Title(), MessageText(text));
}

bool QtPrompts::AskYesNo(const std::string& text) {
  return QMessageBox::question(parent_, Title(), MessageText(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

YesNoCancel QtPrompts::AskYesNoCancel(const std::string& text) {
  switch (QMessageBox::question(parent_, Title(), MessageText(text),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return YesNoCancel::kYes;
    case QMessageBox::No: return YesNoCancel::kNo;
    default: return YesNoCancel::kCancel;
  }
}

std::string QtPrompts::ChooseOpenFile(int type, const std::string& folder,
                                      const std::string& title) {
  setup_.Prepare(type, folder, title, false);
  return setup_.Finish(RunFileDialog(*MakeFileDialog(setup_, parent_)));
}

std::string QtPrompts::ChooseSaveFile(int type, const std::string& folder,
                                      const std::string& title) {
  setup_.Prepare(type, folder, title, true);
  return setup_.Finish(RunFileDialog(*MakeFileDialog(setup_, parent_)));
}

std::string QtPrompts::BrowseFolder(const std::string& start, const std::string& title) {
  const std::string chosen = RunFileDialog(*MakeFolderDialog(start, title, parent_));
  return chosen.empty() ? chosen : WithTrailingSeparator(chosen);
}

std::string QtPrompts::ChooseFileDialog(const std::string& startPath, const std::string& title,
                                        const std::string& filter,
                                        const std::string& defaultExtension, bool open) {
  const FileChooserSetup setup =
      GeneralFileDialogSetup(startPath, title, filter, defaultExtension, open);
  std::unique_ptr<QFileDialog> dialog = MakeFileDialog(setup, parent_);
  Enlarge(*dialog, kGeneralExtraWidth, kGeneralExtraHeight);
  return RunFileDialog(*dialog);
}

void QtPrompts::OpenWithShell(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(PathText(path)));
}

void QtPrompts::SetWaitCursor(bool on) {
  if (on) {
    if (waitDepth_++ == 0) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (waitDepth_ > 0 && --waitDepth_ == 0) {
    QGuiApplication::restoreOverrideCursor();
  }
}

}  // namespace maptesk
