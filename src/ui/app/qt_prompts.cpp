#include "ui/app/qt_prompts.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

#include "core/util/path_utils.h"

namespace maptesk {

namespace {

// The core speaks in Windows-1252 texts (names from the game's files) and
// native paths; message texts are plain ASCII apart from names.
QString Text(const std::string& text) { return QString::fromLatin1(text.c_str()); }
QString PathText(const std::string& path) { return QString::fromStdString(path); }

std::vector<std::string> SplitPatterns(const std::string& list) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at <= list.size()) {
    const size_t semi = std::min(list.find(';', at), list.size());
    if (semi > at) out.push_back(list.substr(at, semi - at));
    at = semi + 1;
  }
  return out;
}

}  // namespace

const char* QtPrompts::Title() { return "Tesk Map Tool"; }

std::string QtPrompts::QtFilter(int type) {
  // "Description|pattern|Description|pattern|" pairs.
  const std::string core = FileTypeFilter(type);
  std::string out;
  size_t at = 0;
  while (at < core.size()) {
    const size_t bar = core.find('|', at);
    if (bar == std::string::npos) break;
    const size_t end = core.find('|', bar + 1);
    if (end == std::string::npos) break;
    std::string description = core.substr(at, bar - at);
    description = description.substr(0, description.find(" ("));
    // Game files come in either case; list both spellings of each pattern.
    std::string patterns;
    for (const std::string& pattern : SplitPatterns(core.substr(bar + 1, end - bar - 1))) {
      std::string upper = pattern;
      for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
      patterns += (patterns.empty() ? "" : " ") + pattern;
      if (upper != pattern) patterns += " " + upper;
    }
    if (!out.empty()) out += ";;";
    out += description + " (" + patterns + ")";
    at = end + 1;
  }
  return out;
}

void QtPrompts::ShowError(const std::string& text) {
  QMessageBox::critical(parent_, Title(), Text(text));
}

void QtPrompts::ShowNote(const std::string& text) {
  QMessageBox::information(parent_, Title(), Text(text));
}

bool QtPrompts::AskYesNo(const std::string& text) {
  return QMessageBox::question(parent_, Title(), Text(text), QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

YesNoCancel QtPrompts::AskYesNoCancel(const std::string& text) {
  switch (QMessageBox::question(parent_, Title(), Text(text),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return YesNoCancel::kYes;
    case QMessageBox::No: return YesNoCancel::kNo;
    default: return YesNoCancel::kCancel;
  }
}

std::string QtPrompts::ChooseOpenFile(int type, const std::string& folder,
                                      const std::string& title) {
  const QString chosen =
      QFileDialog::getOpenFileName(parent_, Text(title.empty() ? FileTypeTitle(type) : title),
                                   PathText(folder), QString::fromStdString(QtFilter(type)));
  return chosen.toStdString();
}

std::string QtPrompts::ChooseSaveFile(int type, const std::string& folder,
                                      const std::string& title) {
  const QString chosen =
      QFileDialog::getSaveFileName(parent_, Text(title.empty() ? FileTypeTitle(type) : title),
                                   PathText(folder), QString::fromStdString(QtFilter(type)));
  return chosen.toStdString();
}

std::string QtPrompts::BrowseFolder(const std::string& start, const std::string& title) {
  const QString chosen = QFileDialog::getExistingDirectory(parent_, Text(title), PathText(start));
  return chosen.isEmpty() ? std::string() : WithTrailingSeparator(chosen.toStdString());
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
