// Which parts of the screen a frame must draw again, worked out from the
// plan and overlay key of the frame before and of the frame now. Moving the
// pointer changes the info line, the road preview and the brush outline;
// an edit changes the marks of a few hexes and a text or two; a scroll, a
// zoom or a new layout changes everything. Drawing and handing over only
// those rectangles keeps a frame's cost to what it shows anew.
#pragma once

#include <functional>
#include <vector>

#include "core/view/frame_plan.h"

namespace maptesk {

struct FrameChanges {
  /// Everything is drawn again: the first frame, a new layout, a scroll, a
  /// zoom, new toggles, new art.
  bool whole = false;
  /// The overlay layer is built again as a whole (only with `whole`).
  bool overlayWhole = false;
  /// The rectangles to draw again and hand over, inside the screen; they
  /// may overlap. Empty with `whole`.
  std::vector<ScreenRect> areas;
  /// The parts of the overlay layer to build again, in screen coordinates
  /// (hexes whose marks changed); each is also in `areas` unless `whole`.
  /// Empty with `overlayWhole`.
  std::vector<ScreenRect> overlayAreas;

  bool nothing() const { return !whole && areas.empty(); }
};

/// Where a text without a box can put pixels; the display measures it with
/// the font the text is drawn in.
using TextExtent = std::function<ScreenRect(const TextDraw&)>;

class FrameChangeTracker {
 public:
  explicit FrameChangeTracker(const FramePlanner& planner) : planner_(planner) {}

  /// Without one, a text with no box that changes redraws the whole frame.
  void SetTextExtent(TextExtent extent) { textExtent_ = std::move(extent); }
  /// The next frame is drawn whole: the screen lost what was on it, or what
  /// it was drawn from (the art, the picture) changed.
  void Forget() { valid_ = false; }

  /// What changed from the last frame to this one on a screen of `screen`,
  /// which then becomes the last frame.
  FrameChanges Next(const FramePlan& plan, const OverlayKey& key, const ScreenRect& screen);

 private:
  ScreenRect ExtentOf(const TextDraw& text, bool& unknown) const;
  void HexChanges(FrameChanges& out);

  const FramePlanner& planner_;
  TextExtent textExtent_;
  FramePlan last_;
  OverlayKey lastKey_;
  ScreenRect screen_;
  HexMarks marks_{};
  HexMarks scratch_{};
  bool valid_ = false;
};

}  // namespace maptesk
