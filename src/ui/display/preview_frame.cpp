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

void PreviewFrame::ShowFile(bool loaded, const std::string& firstTile, PictureSize scaled) {
  const QSize size(scaled.width, scaled.height);
  if (!loaded || firstTile.empty() || size.isEmpty()) return Clear();
  if (firstTile == shownFile_ && size == shownSize_) return;
  // The dialog's model has already read the picture once; a picture that
  // fails now only leaves the preview empty.
  SilentPrompts silent;
  MapPicture picture(silent);
  image_ = picture.LoadPicture(firstTile) ? Scaled(picture, size) : QImage();
  shownFile_ = firstTile;
  shownSize_ = size;
  update();
}

void PreviewFrame::ShowPicture(bool loaded, const BmpImage& picture, PictureSize scaled) {
  const QSize size(scaled.width, scaled.height);
  shownFile_.clear();
  shownSize_ = {};
  image_ = !loaded || size.isEmpty() ? QImage() : Scaled(picture, size);
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
