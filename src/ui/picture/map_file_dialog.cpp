#include "ui/picture/map_file_dialog.h"

#include <QFile>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "core/picture/map_file_model.h"
#include "core/util/path_utils.h"
#include "ui/app/qt_prompts.h"
#include "ui/display/preview_frame.h"

namespace maptesk {

namespace {

constexpr int kSide = MapFileModel::kPreviewSide;
// The square stands this far below the status line.
constexpr int kPreviewGap = 16;
constexpr int kExtraWidth = 120;
constexpr int kExtraHeight = 80;

}  // namespace

std::string MapFileDialog::Run(MapFileModel& model, const std::string& initialPath,
                               const std::string& title, bool save, QWidget* parent) {
  MapFileDialog dialog(model, initialPath, title, save, parent);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty()
             ? std::string()
             : QFile::encodeName(QDir::toNativeSeparators(chosen.front())).toStdString();
}

MapFileDialog::MapFileDialog(MapFileModel& model, const std::string& initialPath,
                             const std::string& title, bool save, QWidget* parent)
    : QFileDialog(parent, QString::fromLatin1(title.c_str())), model_(model) {
  // Only Qt's own dialog takes a panel of ours.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  setNameFilters(QtPrompts::NameFilters("MAP Files (*.MAP)|*.map|"));
  setDefaultSuffix("map");
  setWindowIcon(QIcon(":/art/maptesk.png"));
  const QString initial = QFile::decodeName(initialPath.c_str());
  const std::string folder = PathPart(initialPath, kPartFolder);
  if (!folder.empty()) setDirectory(QFile::decodeName(folder.c_str()));
  if (!PathPart(initialPath, kPartFileName).empty()) selectFile(initial);

  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(8, 0, 0, 0);
  folder_ = new QLabel(QString::fromLocal8Bit(model_.FolderText().c_str()), panel);
  folder_->setWordWrap(true);
  column->addWidget(folder_);
  status_ = new QLabel(QString::fromStdString(model_.caption()), panel);
  column->addWidget(status_);
  column->addSpacing(kPreviewGap);
  preview_ = new PreviewFrame(QSize(kSide, kSide), 0, panel);
  preview_->SetFill(
      QColor(MapFileModel::kFillLevel, MapFileModel::kFillLevel, MapFileModel::kFillLevel));
  column->addWidget(preview_);
  column->addStretch();
  // Wide enough for a status line of a long file name.
  panel->setFixedWidth(std::max(kSide, status_->fontMetrics().horizontalAdvance(
                                           "MAPNAME_LONGER.MAP  ( #65534 )   * No Pic *")) +
                       8);

  // Qt's dialog lays its controls on a grid: the panel takes a column of its
  // own on the right, from the folder row down to the file-type row.
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    grid->addWidget(panel, 0, grid->columnCount(), grid->rowCount(), 1);
  }
  // Qt's first size leaves the file list and the type box cramped once the
  // panel stands beside them.
  resize(sizeHint() + QSize(kExtraWidth, kExtraHeight));
  connect(this, &QFileDialog::currentChanged, this, &MapFileDialog::ShowFile);
  if (!initialPath.empty()) ShowFile(initial);
}

void MapFileDialog::ShowFile(const QString& path) {
  model_.SelectFile(QFile::encodeName(path).toStdString());
  status_->setText(QString::fromLocal8Bit(model_.caption().c_str()));
  preview_->ShowFile(model_.previewLoaded(), model_.previewFile(), model_.previewSize());
}

}  // namespace maptesk
