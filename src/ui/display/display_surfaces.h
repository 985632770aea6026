// The one object through which pixels reach the screen. Every frame is drawn
// on a back surface (an RGB32 image) and then shown by the output, the canvas
// widget: in a window the back surface is the client area's size; in full
// screen it is the mode's size and the output scales it to fill the screen.
// Operations return the display result codes of core/view/display_rules.h so
// that the callers' failure paths (a lost surface, a refused mode) stay real.
#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <cstdint>
#include <vector>

#include "core/view/display_rules.h"

namespace maptesk {

class SurfaceImage;

/// A colour as the frame's logic gives it: 0x00BBGGRR.
using ColorRef = uint32_t;

/// Where finished frames go; the canvas widget implements it.
class DisplayOutput {
 public:
  virtual ~DisplayOutput() = default;
  /// Shows `back` scaled into `displayRect` (window or screen coordinates).
  /// Draw it before returning, or repaint later from backSurface(): a copy
  /// kept past the call would make the next frame's drawing copy the whole
  /// surface.
  virtual void ShowFrame(const QImage& back, const QRect& displayRect) = 0;
  /// The same when only `changed` (back surface pixels) differs from the
  /// frame handed over before; an output that cannot show part of a frame
  /// shows all of it.
  virtual void ShowChanged(const QImage& back, const QRect& displayRect, const QRegion& changed) {
    (void)changed;
    ShowFrame(back, displayRect);
  }
};

/// Frames drawn without being shown: pictures made in batch, benchmarks.
class NoDisplayOutput final : public DisplayOutput {
 public:
  void ShowFrame(const QImage&, const QRect&) override {}
};

class DisplaySurfaces {
 public:
  DisplaySurfaces() = default;
  ~DisplaySurfaces();
  DisplaySurfaces(const DisplaySurfaces&) = delete;
  DisplaySurfaces& operator=(const DisplaySurfaces&) = delete;

  /// Takes the output as owner; kErrPointer without one, and
  /// kErrExclusiveModeAlreadySet while another Create holds the display.
  int32_t Create(DisplayOutput* owner);
  /// Drops the surfaces and the owner; Create may be called again.
  void ReleaseAll();
  /// Drops the back surface and the palette, keeping the owner.
  void ReleaseSurfaces();

  /// Full screen in display mode `mode` (1..3) or the largest smaller mode
  /// the screen takes; `out` and `bits` become the mode set. A number outside
  /// 1..3 sets no mode and builds the surfaces at `out` as given.
  int32_t InitFullScreen(QRect& out, int& bits, int mode);
  /// A window with a client area of `clientSize`; `out` becomes its rectangle.
  int32_t InitWindowed(QRect& out, int bits, QSize clientSize);

  /// A scratch image of the display's format; null for sizes below 1 or
  /// before Create.
  QImage CreateOffscreenSurface(int width, int height) const;
  /// 1 when the windowed back surface has that size afterwards, else 0.
  int ResizeBackSurface(int width, int height);

  /// The back surface's pixel value of a colour.
  QRgb ColorMatch(ColorRef colour) const;
  void SetFillColor(QRgb colour) { fillColor_ = colour; }
  /// Fills the back surface; colour 0 keeps the current fill colour,
  /// anything else becomes it.
  int32_t FillBackSurface(QRgb colour = 0);
  /// Fills (left, top) up to, not including, (right, bottom).
  int32_t FillBackRect(int left, int top, int right, int bottom, QRgb colour);
  /// The 3-3-2 palette of the 8-bit mode (a window keeps the system's
  /// colours). While the display is 8 bits deep, frames are shown reduced to
  /// it, as the screen would show them.
  int32_t MakePalette();

  /// Windowed: hands the back surface to the output. Full screen: kOk at
  /// once, the frame is shown by Flip.
  int32_t Present();
  /// Full screen: hands the back surface to the output, scaled to fill the
  /// screen with its aspect kept. kErrFail in a window.
  int32_t Flip();
  /// The same, when only `changed` of the back surface differs from the
  /// frame handed over before: only that part is handed over.
  int32_t Present(const QRegion& changed);
  int32_t Flip(const QRegion& changed);

  /// Loses every surface as a mode change by another program would: their
  /// pixels are cleared, and drawing and presenting return kErrSurfaceLost
  /// until Restore.
  void LoseSurfaces();
  /// Brings the surfaces back, empty: the caller draws or loads them again.
  int32_t Restore();

  /// The screen the full-screen modes are checked against; Create takes the
  /// primary screen's size when none was set.
  void SetScreenSize(QSize size) { screenSize_ = size; }

  bool created() const { return owner_ != nullptr; }
  bool fullScreen() const { return fullScreen_; }
  bool lost() const { return lost_; }
  int bits() const { return bits_; }
  /// The display mode number set (0 in a window).
  int mode() const { return mode_; }
  QSize screenSize() const { return screenSize_; }
  /// Where the output shows the back surface.
  const QRect& displayRect() const { return displayRect_; }
  QRgb fillColor() const { return fillColor_; }
  /// Empty unless MakePalette ran for the current surfaces.
  const QList<QRgb>& palette() const { return palette_; }
  /// The surface every frame is drawn on; null before an Init.
  QImage& backSurface() { return back_; }
  const QImage& backSurface() const { return back_; }

 private:
  friend class SurfaceImage;
  void Attach(SurfaceImage* image);
  void Detach(SurfaceImage* image);
  int32_t CanShow() const;
  /// The frame as the display shows it; at 8 bits only `changed` is reduced
  /// again, the rest of the reduced frame is kept.
  const QImage& FrameToShow(const QRegion& changed);

  DisplayOutput* owner_ = nullptr;
  QImage back_;
  // The 8-bit frame as shown, kept to reuse its pixels from frame to frame;
  // valid while it matches the back surface outside the changed part.
  QImage reduced_;
  bool reducedValid_ = false;
  QRect displayRect_;
  QSize screenSize_;
  std::vector<SurfaceImage*> images_;
  QList<QRgb> palette_;
  QRgb fillColor_ = 0xFF000000;
  int bits_ = 0;
  int mode_ = 0;
  bool fullScreen_ = false;
  bool lost_ = false;
};

}  // namespace maptesk
