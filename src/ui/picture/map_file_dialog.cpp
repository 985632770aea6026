#include "ui/picture/map_file_dialog.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "core/picture/map_file_model.h"
#include "core/util/path_utils.h"
#include "ui/display/preview_frame.h"
#include "ui/display/qt_prompts.h"
#include "ui/display/ui_text.h"

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
  return dialog.exec() == QDialog::Accepted ? QtPrompts::ChosenPath(dialog) : std::string();
}

MapFileDialog::MapFileDialog(MapFileModel& model, const std::string& initialPath,
                             const std::string& title, bool save, QWidget* parent)
    : QFileDialog(parent), model_(model) {
  // Only Qt's own dialog takes a panel of ours.
  setOption(QFileDialog::DontUseNativeDialog, true);
  FileChooserSetup setup;
  setup.fileName = initialPath;
  setup.initialFolder = PathPart(initialPath, kPartFolder);
  setup.defaultExtension = "map";
  setup.title = title;
  setup.filter = "MAP Files (*.MAP)|*.map|";
  setup.mode = save ? FileChooserSetup::kModeSave : FileChooserSetup::kModeOpen;
  QtPrompts::SetUpFileDialog(*this, setup);
  setWindowIcon(QIcon(":/art/maptesk.png"));

  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(8, 0, 0, 0);
  folder_ = new QLabel(MessageText(model_.FolderText()), panel);
  folder_->setWordWrap(true);
  column->addWidget(folder_);
  status_ = new QLabel(MessageText(model_.caption()), panel);
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
  if (!initialPath.empty()) ShowFile(PathText(initialPath));
}

void MapFileDialog::ShowFile(const QString& path) {
  model_.SelectFile(PathBytes(path));
  status_->setText(MessageText(model_.caption()));
  preview_->Show(model_.previewLoaded(), model_.previewFile(), model_.previewSize(),
                 model_.previewPicture());
}

}  // namespace maptesk
