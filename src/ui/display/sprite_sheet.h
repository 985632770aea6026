// A picture of equal frames at several scales: the hex overlays, road marks
// and terrain icons at each zoom size.
#pragma once

#include <vector>

#include "ui/display/surface_image.h"

namespace maptesk {

/// One scale of a sheet: `frames` frames of frameWidth x frameHeight starting
/// at (x, y) of the picture.
struct SpriteScale {
  int frames = 0;
  int frameWidth = 0;
  int frameHeight = 0;
  int x = 0;
  int y = 0;
};

class SpriteSheet : public SurfaceImage {
 public:
  /// Scales are rows stacked top to bottom, frames running right; with
  /// `vertical`, scales are columns side by side, frames running down.
  void SetScaleCount(int count, bool vertical);
  void DefineScale(int index, int frames, int frameWidth, int frameHeight);
  /// Makes `index` the current scale; returns the one before.
  int SetScale(int index);

  int scale() const { return scale_; }
  int scaleCount() const { return int(scales_.size()); }
  bool vertical() const { return vertical_; }
  /// The scale's place; a default scale for unknown indexes.
  SpriteScale scaleAt(int index) const;
  /// The picture rectangle of a frame; empty when there is no such frame.
  QRect FrameSource(int scale, int frame) const;

  /// Draws a frame of the current scale with its top-left at (x, y).
  int32_t DrawFrame(int frame, int x, int y, QImage* target = nullptr);
  int32_t DrawFrame(QPainter& painter, int frame, int x, int y);
  /// Draws the part of a frame at (x, y) that lies inside `clip`.
  int32_t DrawFrameClipped(int scale, int frame, int x, int y, const QRect& clip,
                           QImage* target = nullptr);
  int32_t DrawFrameClipped(QPainter& painter, int scale, int frame, int x, int y,
                           const QRect& clip);

 private:
  // The source and position of the clipped frame; false when nothing shows.
  bool Clip(int scale, int frame, int& x, int& y, const QRect& clip, QRect& source) const;
  void PlaceScales();

  std::vector<SpriteScale> scales_;
  int scale_ = 0;
  bool vertical_ = false;
};

}  // namespace maptesk
