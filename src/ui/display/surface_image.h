// A picture that is drawn onto the display's back surface: a sprite sheet, a
// button strip or a panel loaded from the art, or a picture made in memory.
// The colour key is turned into transparency once, when the picture is
// loaded, so drawing is a plain image blend.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>

class QPainter;

namespace maptesk {

class DisplaySurfaces;

/// Blit modes: copied as it is, or with the colour key left out.
inline constexpr int kBlitOpaque = 0;
inline constexpr int kBlitColourKey = 2;

class SurfaceImage {
 public:
  SurfaceImage() = default;
  virtual ~SurfaceImage();
  SurfaceImage(const SurfaceImage&) = delete;
  SurfaceImage& operator=(const SurfaceImage&) = delete;

  const QString& name() const { return name_; }
  bool loaded() const { return loaded_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int blitMode() const { return blitMode_; }
  const QRect& destRect() const { return destRect_; }
  const QRect& sourceRect() const { return sourceRect_; }
  DisplaySurfaces* display() const { return display_; }
  /// ARGB32_Premultiplied with a colour key or alpha, RGB32 when opaque.
  const QImage& picture() const { return picture_; }

  /// Draws through `display` from now on; kErrPointer without one.
  int32_t Attach(DisplaySurfaces* display, int blitMode);
  /// Drops the picture; the display stays attached.
  void Release();
  /// Loads a picture file or a Qt resource (":/..."). With the colour-key
  /// blit mode, the colour of the top-left pixel becomes transparent.
  /// A failed load keeps the old picture.
  int32_t LoadBitmap(const QString& path);
  int32_t CreateFromPicture(const QImage& picture);

  void SetDestRect(const QRect& rect) { destRect_ = rect; }
  /// x and y below 0 become 0; width or height below 1 the picture's.
  void SetSourceRect(int x, int y, int width, int height);

  /// Draws `source` (the source rectangle when null) with its top-left at
  /// (x, y) on `target`, or on the back surface when null. kErrFail without
  /// a display, a picture or a surface to draw on.
  int32_t Draw(int x, int y, const QRect* source = nullptr, QImage* target = nullptr);
  /// The same with the frame's painter, so a whole frame needs one painter.
  int32_t Draw(QPainter& painter, int x, int y, const QRect* source = nullptr);

 protected:
  /// kOk when a picture can be drawn now, else the result to give.
  int32_t CanDraw() const;
  /// `target`, or the back surface when null; null when there is neither.
  QImage* TargetOf(QImage* target) const;

 private:
  friend class DisplaySurfaces;
  int32_t TakePicture(const QImage& picture);

  QString name_;
  QImage picture_;
  QRect destRect_;
  QRect sourceRect_;
  DisplaySurfaces* display_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int blitMode_ = kBlitOpaque;
  bool loaded_ = false;
};

}  // namespace maptesk
