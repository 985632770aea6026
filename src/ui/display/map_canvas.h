// The widget the editor's frames are shown in. In full screen it scales the
// mode's back surface to fill the screen with its aspect kept.
#pragma once

#include <QImage>
#include <QWidget>

#include "ui/display/display_surfaces.h"

namespace maptesk {

class MapCanvas final : public QWidget, public DisplayOutput {
 public:
  explicit MapCanvas(QWidget* parent);
  void ShowFrame(const QImage& back, const QRect& displayRect) override;
  /// Asks for a repaint of the widget's part that shows `changed` only.
  void ShowChanged(const QImage& back, const QRect& displayRect, const QRegion& changed) override;
  /// The widget's part that shows `changed` of the back surface.
  QRegion ToWidget(const QRegion& changed) const;
  /// Maps a point of the widget to the back surface.
  QPoint ToBack(const QPoint& widgetPoint) const;
  /// Where the back surface is shown inside the widget.
  QRect ShownRect() const;
  void SetBack(const QImage* back) { back_ = back; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* back_ = nullptr;
};

}  // namespace maptesk
