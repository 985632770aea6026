// The file dialog for MAP files: Qt's own file dialog (not the platform's,
// so that a panel can sit beside the file list) whose panel tells, for the
// file selected, its map number, whether its picture exists, and shows a
// small preview of that picture.
#pragma once

#include <QFileDialog>
#include <string>

class QLabel;

namespace maptesk {

class MapFileModel;
class PreviewFrame;

class MapFileDialog : public QFileDialog {
  Q_OBJECT

 public:
  /// Shows the dialog modally; the chosen path, "" when cancelled.
  static std::string Run(MapFileModel& model, const std::string& initialPath,
                         const std::string& title, bool save, QWidget* parent);

  MapFileDialog(MapFileModel& model, const std::string& initialPath, const std::string& title,
                bool save, QWidget* parent = nullptr);

  QLabel* folderLabel() const { return folder_; }
  QLabel* statusLine() const { return status_; }
  const PreviewFrame& preview() const { return *preview_; }

  /// The file list's selection moved to `path`.
  void ShowFile(const QString& path);

 private:
  MapFileModel& model_;
  QLabel* folder_ = nullptr;
  QLabel* status_ = nullptr;
  PreviewFrame* preview_ = nullptr;
};

}  // namespace maptesk
