#include "core/view/frame_changes.h"

#include <algorithm>

namespace maptesk {

namespace {

// More changed hexes than this (a global change, a big selection) and the
// overlay layer is built again as a whole: one pass is cheaper than many
// small ones.
constexpr size_t kMostHexAreas = 64;

// The brush outline's dark line is 3 pixels wide, centred on the hex edge.
constexpr int32_t kOutlineMargin = 2;

bool Empty(const ScreenRect& r) { return r.width() <= 0 || r.height() <= 0; }

ScreenRect Intersect(const ScreenRect& a, const ScreenRect& b) {
  const ScreenRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
  return Empty(r) ? ScreenRect{} : r;
}

// The view the overlays are laid out in: all of the key but what the marks say.
bool SameView(const OverlayKey& a, const OverlayKey& b) {
  OverlayKey x = a;
  x.revision = b.revision;
  x.selection = b.selection;
  return x == b;
}

ScreenRect OutlineBounds(const HexOutlines& o) {
  if (o.hexes.empty()) return {};
  ScreenRect r{o.hexes.front().x, o.hexes.front().y, o.hexes.front().x, o.hexes.front().y};
  for (const ScreenPoint& p : o.hexes) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x + o.width + 1);
    r.bottom = std::max(r.bottom, p.y + o.height + 1);
  }
  r = {r.left - kOutlineMargin, r.top - kOutlineMargin, r.right + kOutlineMargin,
       r.bottom + kOutlineMargin};
  return Intersect(r, o.clip);
}

class Areas {
 public:
  Areas(std::vector<ScreenRect>& out, const ScreenRect& screen) : out_(out), screen_(screen) {}
  void Add(const ScreenRect& r) {
    const ScreenRect in = Intersect(r, screen_);
    if (Empty(in)) return;
    // The same place twice (a panel that only changed its pressed button).
    if (std::find(out_.begin(), out_.end(), in) != out_.end()) return;
    out_.push_back(in);
  }

 private:
  std::vector<ScreenRect>& out_;
  const ScreenRect& screen_;
};

// Items of two lists compared place by place: an item that differs, or has
// no partner, changes the pixels under both.
// Gives whether any differed.
template <typename T, typename Bounds>
bool Compare(const std::vector<T>& before, const std::vector<T>& now, Bounds bounds) {
  bool differs = false;
  const size_t n = std::max(before.size(), now.size());
  for (size_t i = 0; i < n; ++i) {
    const bool inBefore = i < before.size();
    const bool inNow = i < now.size();
    if (inBefore && inNow && before[i] == now[i]) continue;
    differs = true;
    if (inBefore) bounds(before[i]);
    if (inNow) bounds(now[i]);
  }
  return differs;
}

}  // namespace

ScreenRect FrameChangeTracker::ExtentOf(const TextDraw& text, bool& unknown) const {
  if (!Empty(text.box)) return text.box;
  if (!textExtent_) {
    unknown = true;
    return {};
  }
  return textExtent_(text);
}

void FrameChangeTracker::HexChanges(FrameChanges& out) {
  std::vector<ScreenRect> hexes;
  for (int row = 0; row <= HexGrid::kLastRow; ++row) {
    for (int column = 0; column <= HexGrid::kLastColumn; ++column) {
      if (marks_[size_t(row)][size_t(column)] == scratch_[size_t(row)][size_t(column)]) continue;
      const ScreenRect area = planner_.HexArea(row, column);
      if (Empty(area)) continue;
      if (hexes.size() == kMostHexAreas) {
        out.whole = true;
        out.overlayWhole = true;
        return;
      }
      hexes.push_back(area);
    }
  }
  Areas overlay(out.overlayAreas, screen_);
  Areas areas(out.areas, screen_);
  for (const ScreenRect& r : hexes) {
    overlay.Add(r);
    areas.Add(r);
  }
}

FrameChanges FrameChangeTracker::Next(const FramePlan& plan, const OverlayKey& key,
                                      const ScreenRect& screen) {
  FrameChanges c;
  const bool sameView = valid_ && SameView(key, lastKey_);
  c.whole = !sameView || !(screen == screen_) || plan.background != last_.background ||
            !(plan.titleStrip == last_.titleStrip) || !(plan.picture == last_.picture);
  c.overlayWhole = !sameView;
  screen_ = screen;

  if (!valid_ || !(key == lastKey_)) {
    planner_.Marks(scratch_);
    // Even a whole frame keeps the overlay layer when only marks changed:
    // the hexes that did are drawn on it again.
    if (!c.overlayWhole) HexChanges(c);
    marks_ = scratch_;
  }

  // An unchanged plan is not copied: most frames change nothing.
  bool planChanged = true;
  if (!c.whole) {
    Areas areas(c.areas, screen_);
    planChanged = false;
    planChanged |=
        Compare(last_.panels, plan.panels, [&](const PanelDraw& p) { areas.Add(p.place); });
    planChanged |= Compare(last_.panelSprites, plan.panelSprites,
                           [&](const SpriteDraw& s) { areas.Add(SpriteBounds(s)); });
    if (!(last_.outlines == plan.outlines)) {
      planChanged = true;
      areas.Add(OutlineBounds(last_.outlines));
      areas.Add(OutlineBounds(plan.outlines));
    }
    bool unknown = false;
    planChanged |= Compare(last_.texts, plan.texts,
                           [&](const TextDraw& t) { areas.Add(ExtentOf(t, unknown)); });
    if (unknown) c.whole = true;
  }
  if (c.whole) {
    c.areas.clear();
    if (c.overlayWhole) c.overlayAreas.clear();
  }

  if (planChanged) last_ = plan;
  lastKey_ = key;
  valid_ = true;
  return c;
}

}  // namespace maptesk
