// Carries out the frames the core plans: the map picture, the panels, the
// hex overlays and the texts, drawn on the display's back surface. What
// did not change is not drawn again: the picture is made a display image
// once per load (and scaled once per zoom size), the overlay layer is kept
// and only the hexes whose marks changed are drawn on it again, and a frame
// draws and hands over only the rectangles the change tracker names (none
// at all when nothing changed).
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <vector>

#include "core/view/frame_changes.h"
#include "core/view/frame_plan.h"
#include "ui/display/button_strip.h"
#include "ui/display/sprite_sheet.h"
#include "ui/display/surface_image.h"

class QPainter;

namespace maptesk {

class DisplaySurfaces;
class EditHistory;
class MapPicture;
class MapView;

class MapRenderer {
 public:
  MapRenderer(DisplaySurfaces& display, MapView& view, const MapPicture& picture,
              const EditHistory& history);

  /// Loads every sheet and strip from the art, remakes the picture's
  /// display image and lays the view out: at start, after a video mode
  /// change and after a lost surface.
  int32_t build();
  /// A map or picture was loaded: its display image is made again.
  void PictureChanged();

  /// Plans, draws and presents one frame; kOk or the display's failure.
  /// `drawn` tells whether anything changed since the last frame.
  int32_t drawFrame(const FrameInputs& inputs, bool* drawn = nullptr);
  /// Draws everything from scratch into `target` (no kept layers, no
  /// presenting): what a frame must look like, for tests and batch pictures.
  void DrawUncached(const FrameInputs& inputs, QImage& target);

  /// Draws one planned text as every frame draws it: its font, anchor,
  /// colour, background and fitting into its box. `cut` false leaves out
  /// the cut at the box's edge, to show what the cut would take away.
  static void DrawText(QPainter& painter, const TextDraw& text, bool cut = true);
  /// Every pixel DrawText can touch for a text without a box.
  static QRect TextExtent(const TextDraw& text);

  FramePlanner& planner() { return planner_; }
  /// What the last frame drew and handed over; empty when it drew nothing.
  const QRegion& lastChanged() const { return lastChanged_; }

 private:
  void MakePictureImage();
  const QImage* ShownPicture(const PictureDraw& draw);
  /// Draws the frame, or with `area` only what reaches into it (the
  /// painter clipped to it).
  void Compose(QPainter& painter, const FramePlan& plan, const QImage* overlay,
               const QRect* area = nullptr);
  void DrawSprites(QPainter& painter, const std::vector<SpriteDraw>& sprites);
  void DrawOutlines(QPainter& painter, const HexOutlines& outlines);
  void DrawTexts(QPainter& painter, const FramePlan& plan);
  void RebuildOverlay();
  /// Draws the overlay layer again inside `areas` only.
  void PatchOverlay(const std::vector<ScreenRect>& areas);
  SpriteSheet& SheetOf(Sheet sheet);

  DisplaySurfaces& display_;
  MapView& view_;
  const MapPicture& mapPicture_;
  const EditHistory& history_;
  FramePlanner planner_;

  SpriteSheet grid_;
  SpriteSheet roads_;
  SpriteSheet icons_;
  SpriteSheet labels_;
  ButtonStrip toggles_;
  ButtonStrip modes_;
  ButtonStrip chooser_;
  SurfaceImage setData_;
  SurfaceImage roadChooser_;
  SurfaceImage roadPreview_;

  QImage picture_;
  bool pictureStale_ = true;
  QImage scaled_;

  QImage overlay_;
  bool overlayValid_ = false;
  std::vector<SpriteDraw> sprites_;

  FrameChangeTracker changes_{planner_};
  QRegion lastChanged_;
  QRect lastDisplayRect_;
  // The back surface as the last frame left it: anything else writing to it
  // (a new surface, a lost one) changes the key and the next frame is whole.
  qint64 lastBackKey_ = 0;
  bool lastValid_ = false;
};

}  // namespace maptesk
