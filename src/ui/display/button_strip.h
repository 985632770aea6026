// A row (or column) of buttons drawn from one picture: the buttons side by
// side, their pressed look one step further across the picture.
#pragma once

#include <string>
#include <vector>

#include "ui/display/surface_image.h"

namespace maptesk {

class ButtonStrip : public SurfaceImage {
 public:
  /// Sizes and steps below 1 default from the loaded picture: across the
  /// strip the picture is split among the buttons, the other way in two (up
  /// and pressed); a step defaults to the button's size. Sets the source and
  /// destination to the strip of buttons as they look when up.
  void SetButtons(int count, int width = 0, int height = 0, int stepX = 0, int stepY = 0,
                  bool horizontal = true);

  int count() const { return int(buttons_.size()); }
  QSize buttonSize() const { return buttonSize_; }
  int stepX() const { return stepX_; }
  int stepY() const { return stepY_; }
  bool horizontal() const { return horizontal_; }
  bool pressed(int index) const;

  void SetState(int index, bool pressed);
  /// Releases every other button.
  void SetOnlyPressed(int index, bool pressed);

  /// Where in the picture a button's current look is.
  QRect ButtonSource(int index) const;
  int32_t DrawButton(int index, QImage* target = nullptr);
  int32_t DrawButton(QPainter& painter, int index);
  int32_t DrawAll(QImage* target = nullptr);
  int32_t DrawAll(QPainter& painter);

 private:
  struct Button {
    bool pressed = false;
  };
  QPoint ButtonPlace(int index) const;

  std::vector<Button> buttons_;
  QSize buttonSize_;
  int stepX_ = 0;
  int stepY_ = 0;
  bool horizontal_ = true;
};

}  // namespace maptesk
