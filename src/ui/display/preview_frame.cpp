#include "ui/display/preview_frame.h"

#include <QPainter>
#include <QStyle>
#include <QToolButton>

#include "core/picture/map_picture.h"
#include "core/util/prompts.h"
#include "ui/display/picture_image.h"

namespace maptesk {

namespace {

QImage Scaled(const BmpImage& picture, QSize size) {
  const QImage full = PictureToImage(picture);
  if (full.isNull()) return {};
  return full.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

PreviewFrame::PreviewFrame(QSize inner, int offset, QWidget* parent)
    : QWidget(parent), offset_(offset) {
  setFixedSize(inner + QSize(2 * offset, 2 * offset));
}

void PreviewFrame::Clear() {
  shownFile_.clear();
  shownSize_ = {};
  if (image_.isNull()) return;
  image_ = {};
  update();
}

void PreviewFrame::Show(bool loaded, const std::string& file, PictureSize scaled,
                        const BmpImage* kept) {
  const QSize size(scaled.width, scaled.height);
  if (!loaded || file.empty() || size.isEmpty()) return Clear();
  if (file == shownFile_ && size == shownSize_) return;
  if (kept != nullptr) {
    image_ = Scaled(*kept, size);
  } else {
    // A model whose preview keeps no picture has read it once already; a
    // picture that fails now only leaves the preview empty.
    SilentPrompts silent;
    MapPicture picture(silent);
    image_ = picture.LoadPicture(file) ? Scaled(picture, size) : QImage();
  }
  shownFile_ = file;
  shownSize_ = size;
  update();
}

void PreviewFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (fill_.isValid())
    painter.fillRect(rect().adjusted(offset_, offset_, -offset_, -offset_), fill_);
  // A frame without a margin is all picture: no outline over it.
  if (offset_ > 0) {
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  if (!image_.isNull()) painter.drawImage(QPoint(offset_, offset_), image_);
}

QToolButton* MakeFolderButton(QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
  button->setToolTip("Choose the folder");
  button->setAutoRaise(false);
  return button;
}

}  // namespace maptesk
