// The small picture previews of the tool dialogs: a frame of fixed size that
// draws a map picture scaled to the size its dialog's model asks for.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <string>

#include "core/map/map_number_model.h"

class QToolButton;

namespace maptesk {

class BmpImage;

class PreviewFrame : public QWidget {
 public:
  /// `inner` is the largest preview; `offset` the space from the frame's
  /// corner to the picture's, kept on every side.
  PreviewFrame(QSize inner, int offset, QWidget* parent = nullptr);

  /// Fills the inner square when set (a null colour leaves the dialog's own).
  void SetFill(QColor fill) { fill_ = fill; }

  /// The picture of a file (a BMP or a set's first tile) scaled to `size`,
  /// as a dialog's model has it loaded: from `kept` when the model holds the
  /// picture, else read from the file. Not `loaded`, an empty file or size
  /// clear; the same file at the same size is not drawn again.
  void Show(bool loaded, const std::string& file, PictureSize size, const BmpImage* kept = nullptr);
  void Clear();

  /// The preview as drawn.
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int offset_ = 0;
  QColor fill_;
  QImage image_;
  std::string shownFile_;
  QSize shownSize_;
};

/// The button beside a folder box that asks for another folder.
QToolButton* MakeFolderButton(QWidget* parent);

}  // namespace maptesk
