#include "ui/view/map_renderer.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/app/edit_history.h"
#include "core/picture/map_picture.h"
#include "core/util/cp1252.h"
#include "core/view/display_rules.h"
#include "core/view/hex_grid.h"
#include "core/view/map_view.h"
#include "ui/display/display_surfaces.h"
#include "ui/display/picture_image.h"
#include "ui/display/qt_geometry.h"
#include "ui/display/ui_text.h"

namespace maptesk {

namespace {

// A text shrinks to fit its box down to this size and no further: below it
// no name can be read, so the rest is cut off instead.
constexpr int kSmallestText = 8;

QColor FromColorRef(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QFont MakeFont(TextFont font) {
  QFont f;
  switch (font) {
    case TextFont::kCourierNew9:
      f = QFont("Courier New");
      f.setStyleHint(QFont::TypeWriter);
      f.setPointSize(9);
      // Where the family is missing its stand-in may be proportional.
      f = MonospaceFont(f);
      break;
    case TextFont::kTahoma8:
      f = QFont("Tahoma");
      f.setStyleHint(QFont::SansSerif);
      f.setPixelSize(11);
      break;
    case TextFont::kDefault:
      f = QFont("Tahoma");
      f.setStyleHint(QFont::SansSerif);
      f.setPixelSize(13);
      break;
  }
  return f;
}

// Made once: finding a stand-in for a missing family measures fonts.
const QFont& FontFor(TextFont font) {
  static const QFont fonts[] = {MakeFont(TextFont::kDefault), MakeFont(TextFont::kCourierNew9),
                                MakeFont(TextFont::kTahoma8)};
  switch (font) {
    case TextFont::kCourierNew9: return fonts[1];
    case TextFont::kTahoma8: return fonts[2];
    case TextFont::kDefault: break;
  }
  return fonts[0];
}

}  // namespace

MapRenderer::MapRenderer(DisplaySurfaces& display, MapView& view, const MapPicture& picture,
                         const EditHistory& history)
    : display_(display), view_(view), mapPicture_(picture), history_(history), planner_(view) {
  changes_.SetTextExtent([](const TextDraw& text) {
    const QRect r = TextExtent(text);
    return ScreenRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  });
}

int32_t MapRenderer::build() {
  struct Art {
    SurfaceImage* image;
    const char* file;
  };
  const Art art[] = {
      {&grid_, ":/art/art_133_grid.bmp"},
      {&roads_, ":/art/art_139_roads.bmp"},
      {&icons_, ":/art/art_144_terrain_icons.bmp"},
      {&labels_, ":/art/art_162_terrain_labels.bmp"},
      {&toggles_, ":/art/art_153_toggle_strip.bmp"},
      {&setData_, ":/art/art_189_set_data.bmp"},
      {&modes_, ":/art/art_188_mode_strip.bmp"},
      {&chooser_, ":/art/art_186_terrain_chooser.bmp"},
      {&roadChooser_, ":/art/art_183_road_chooser.bmp"},
      {&roadPreview_, ":/art/art_159_road_preview.bmp"},
  };
  int32_t result = kOk;
  for (const Art& a : art) {
    a.image->Attach(&display_, kBlitColourKey);
    if (int32_t r = a.image->LoadBitmap(a.file); r != kOk) result = r;
  }

  grid_.SetScaleCount(3, false);
  // The frame sizes are the core's, which tools/make_art draws the sheets at.
  roads_.SetScaleCount(3, false);
  for (int k = 0; k < 3; ++k) {
    const SpriteFrameSize frame = kHexFrameSizes[size_t(k)];
    grid_.DefineScale(k, k == 0 ? 3 : 2, frame.width, frame.height);
    roads_.DefineScale(k, 9, frame.width, frame.height);
  }
  icons_.SetScaleCount(1, false);
  icons_.DefineScale(0, 21, kTerrainIconFrame.width, kTerrainIconFrame.height);
  labels_.SetScaleCount(1, true);
  labels_.DefineScale(0, 20, kTerrainLabelFrame.width, kTerrainLabelFrame.height);

  // The strips only draw: which button the pointer is over, and its
  // tooltip, are the frame plan's.
  toggles_.SetButtons(ScreenLayout::kToggleButtons, kToggleButtonSize, kStripHeight,
                      kToggleButtonPitch, kStripHeight);
  modes_.SetButtons(ScreenLayout::kModeButtons, kModeButtonWidth, kStripHeight, kModeButtonPitch,
                    kStripHeight);
  chooser_.SetButtons(ScreenLayout::kTerrainButtons, kPanelWidth, kTerrainButtonHeight, kPanelWidth,
                      kTerrainButtonHeight, /*horizontal=*/false);

  pictureStale_ = true;
  overlayValid_ = false;
  lastValid_ = false;
  changes_.Forget();
  return result;
}

void MapRenderer::PictureChanged() {
  pictureStale_ = true;
  overlayValid_ = false;
  lastValid_ = false;
  changes_.Forget();
}

void MapRenderer::MakePictureImage() {
  pictureStale_ = false;
  scaled_ = QImage();
  picture_ = PictureToImage(mapPicture_);
}

const QImage* MapRenderer::ShownPicture(const PictureDraw& draw) {
  if (!draw.shown) return nullptr;
  if (pictureStale_) MakePictureImage();
  if (picture_.isNull()) return nullptr;
  const QRect dest = ToQRect(draw.dest);
  const QRect source = ToQRect(draw.source);
  if (source.size() == dest.size()) return &picture_;
  // The zoomed view shows the whole picture stretched: scaled once per size.
  if (scaled_.size() != dest.size()) {
    scaled_ =
        picture_.copy(source).scaled(dest.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return &scaled_;
}

SpriteSheet& MapRenderer::SheetOf(Sheet sheet) {
  switch (sheet) {
    case Sheet::kGrid: return grid_;
    case Sheet::kRoads: return roads_;
    case Sheet::kTerrainIcons: return icons_;
    case Sheet::kTerrainLabels: return labels_;
  }
  return grid_;
}

void MapRenderer::DrawSprites(QPainter& painter, const std::vector<SpriteDraw>& sprites) {
  for (const SpriteDraw& s : sprites) {
    SheetOf(s.sheet).DrawFrameClipped(painter, s.scale, s.frame, s.x, s.y, ToQRect(s.clip));
  }
}

void MapRenderer::RebuildOverlay() {
  sprites_.clear();
  planner_.PlanOverlays(sprites_);
  const QRect viewRect = ToQRect(view_.grid.viewRect);
  overlayValid_ = true;
  if (viewRect.isEmpty() || sprites_.empty()) {
    overlay_ = QImage();
    return;
  }
  if (overlay_.size() != viewRect.size()) {
    overlay_ = QImage(viewRect.size(), QImage::Format_ARGB32_Premultiplied);
  }
  overlay_.fill(Qt::transparent);
  QPainter painter(&overlay_);
  painter.translate(-viewRect.topLeft());
  DrawSprites(painter, sprites_);
}

void MapRenderer::PatchOverlay(const std::vector<ScreenRect>& areas) {
  const QRect viewRect = ToQRect(view_.grid.viewRect);
  if (overlay_.isNull() || overlay_.size() != viewRect.size()) {
    RebuildOverlay();
    return;
  }
  sprites_.clear();
  planner_.PlanOverlays(sprites_);
  QPainter painter(&overlay_);
  painter.translate(-viewRect.topLeft());
  for (const ScreenRect& area : areas) {
    const QRect rect = ToQRect(area);
    painter.setClipRect(rect);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect, Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Every sprite that reaches into the area, in the layer's order, so that
    // the neighbours' marks lie over and under it as they did.
    for (const SpriteDraw& s : sprites_) {
      const ScreenRect b = SpriteBounds(s);
      if (b.left < area.right && area.left < b.right && b.top < area.bottom &&
          area.top < b.bottom) {
        SheetOf(s.sheet).DrawFrameClipped(painter, s.scale, s.frame, s.x, s.y, ToQRect(s.clip));
      }
    }
  }
}

namespace {

bool Meets(const QRect* area, const ScreenRect& r) {
  return area == nullptr || area->intersects(ToQRect(r));
}

}  // namespace

void MapRenderer::Compose(QPainter& painter, const FramePlan& plan, const QImage* overlay,
                          const QRect* area) {
  const QRect whole(QPoint(0, 0), painter.device()
                                      ? QSize(painter.device()->width(), painter.device()->height())
                                      : QSize());
  painter.fillRect(whole, FromColorRef(plan.background));
  if (plan.titleStrip.width() > 0) {
    painter.fillRect(ToQRect(plan.titleStrip), FromColorRef(kTitleStripColour));
  }
  if (const QImage* shown = ShownPicture(plan.picture)) {
    const QRect dest = ToQRect(plan.picture.dest);
    if (shown == &picture_) {
      painter.drawImage(dest.topLeft(), picture_, ToQRect(plan.picture.source));
    } else {
      painter.drawImage(dest.topLeft(), *shown);
    }
  }
  for (const PanelDraw& panel : plan.panels) {
    if (!Meets(area, panel.place)) continue;
    const QRect place = ToQRect(panel.place);
    ButtonStrip* strip = nullptr;
    SurfaceImage* image = nullptr;
    switch (panel.panel) {
      case Panel::kToggleStrip: strip = &toggles_; break;
      case Panel::kModeStrip: strip = &modes_; break;
      case Panel::kTerrainChooser: strip = &chooser_; break;
      case Panel::kSetData: image = &setData_; break;
      case Panel::kRoadChooser: image = &roadChooser_; break;
      case Panel::kRoadPreview: image = &roadPreview_; break;
    }
    if (strip != nullptr) {
      strip->SetDestRect(place);
      for (int i = 0; i < strip->count(); ++i) {
        strip->SetState(i, size_t(i) < panel.pressed.size() && panel.pressed[size_t(i)] != 0);
      }
      strip->DrawAll(painter);
    } else if (image != nullptr) {
      image->SetDestRect(place);
      image->Draw(painter, place.left(), place.top());
    }
  }
  if (overlay != nullptr && !overlay->isNull()) {
    const QPoint at = ToQRect(view_.grid.viewRect).topLeft();
    if (area != nullptr) {
      // Only the part under the area: a blend of the whole layer would cost
      // as much as the full frame.
      const QRect part = area->intersected(QRect(at, overlay->size()));
      if (!part.isEmpty()) painter.drawImage(part.topLeft(), *overlay, part.translated(-at));
    } else {
      painter.drawImage(at, *overlay);
    }
  }
  for (const SpriteDraw& s : plan.panelSprites) {
    if (!Meets(area, SpriteBounds(s))) continue;
    SheetOf(s.sheet).DrawFrameClipped(painter, s.scale, s.frame, s.x, s.y, ToQRect(s.clip));
  }
  DrawOutlines(painter, plan.outlines);
  for (const TextDraw& t : plan.texts) {
    if (area != nullptr) {
      const bool boxed = t.box.width() > 0 && t.box.height() > 0;
      if (!area->intersects(boxed ? ToQRect(t.box) : TextExtent(t))) continue;
    }
    DrawText(painter, t);
  }
}

void MapRenderer::DrawOutlines(QPainter& painter, const HexOutlines& outlines) {
  if (outlines.hexes.empty()) return;
  painter.save();
  // Within the clip a partial frame was given.
  painter.setClipRect(ToQRect(outlines.clip), Qt::IntersectClip);
  // White over a dark line: the brush shows on sea and on land alike.
  const int32_t w = outlines.width;
  const int32_t h = outlines.height;
  const int32_t s = outlines.slant;
  for (const QColor& colour : {QColor(40, 40, 40), QColor(255, 255, 255)}) {
    painter.setPen(QPen(colour, colour.lightness() > 128 ? 1 : 3));
    for (const ScreenPoint& p : outlines.hexes) {
      const QPoint corners[] = {QPoint(p.x + s, p.y),         QPoint(p.x + w - s, p.y),
                                QPoint(p.x + w, p.y + h / 2), QPoint(p.x + w - s, p.y + h),
                                QPoint(p.x + s, p.y + h),     QPoint(p.x, p.y + h / 2)};
      painter.drawPolygon(corners, 6);
    }
  }
  painter.restore();
}

namespace {

// Where and in which size a planned text is drawn.
struct TextPlace {
  QFont font;
  QString text;
  int x = 0;
  int baseline = 0;
  int width = 0;
  // The text's pixels, relative to the start of its baseline.
  QRect ink;
  bool boxed = false;
  QRect box;
};

TextPlace PlaceText(const TextDraw& t) {
  TextPlace p;
  p.font = FontFor(t.font);
  p.text = QString::fromUtf8(Cp1252ToUtf8(t.text).c_str());
  p.boxed = t.box.width() > 0 && t.box.height() > 0;
  p.box = ToQRect(t.box);
  // The text's pixels from the start of its baseline, whole pixels outward:
  // antialiasing touches every pixel a glyph's outline enters.
  auto inkOf = [&p](const QFont& f) {
    const QRectF r = QFontMetricsF(f).boundingRect(p.text);
    return QRect(QPoint(int(std::floor(r.left())), int(std::floor(r.top()))),
                 QPoint(int(std::ceil(r.right())) - 1, int(std::ceil(r.bottom())) - 1));
  };
  p.ink = inkOf(p.font);
  if (p.boxed) {
    int pixels = QFontInfo(p.font).pixelSize();
    while ((p.ink.width() > p.box.width() || p.ink.height() > p.box.height()) &&
           pixels > kSmallestText) {
      p.font.setPixelSize(--pixels);
      p.ink = inkOf(p.font);
    }
  }
  const QFontMetrics metrics(p.font);
  p.width = metrics.horizontalAdvance(p.text);
  p.x = t.x;
  if (t.anchor == TextAnchor::kCentre) p.x -= p.width / 2;
  if (t.anchor == TextAnchor::kRight) p.x -= p.width;
  p.baseline = t.y + metrics.ascent();
  if (p.boxed) {
    // Moved in from the far edge first, so that a text wider than its box
    // keeps its start and loses its end.
    p.x -= std::max(0, p.x + p.ink.right() - p.box.right());
    p.x += std::max(0, p.box.left() - (p.x + p.ink.left()));
    p.baseline -= std::max(0, p.baseline + p.ink.bottom() - p.box.bottom());
    p.baseline += std::max(0, p.box.top() - (p.baseline + p.ink.top()));
  }
  return p;
}

QRect OpaqueBackground(const TextPlace& p) {
  const QFontMetrics metrics(p.font);
  return QRect(p.x, p.baseline - metrics.ascent(), p.width, metrics.height());
}

}  // namespace

void MapRenderer::DrawText(QPainter& painter, const TextDraw& t, bool cut) {
  const TextPlace p = PlaceText(t);
  painter.save();
  // Within the clip a partial frame was given.
  if (p.boxed && cut) painter.setClipRect(p.box, Qt::IntersectClip);
  painter.setFont(p.font);
  if (t.opaque) painter.fillRect(OpaqueBackground(p), Qt::white);
  painter.setPen(FromColorRef(t.colour));
  painter.drawText(p.x, p.baseline, p.text);
  painter.restore();
}

QRect MapRenderer::TextExtent(const TextDraw& t) {
  const TextPlace p = PlaceText(t);
  // A pixel more all round for hinting and antialiasing past the measured ink.
  QRect r = p.ink.translated(p.x, p.baseline).adjusted(-2, -2, 2, 2);
  if (t.opaque) r |= OpaqueBackground(p);
  if (p.boxed) r &= p.box;
  return r;
}

void MapRenderer::DrawTexts(QPainter& painter, const FramePlan& plan) {
  for (const TextDraw& t : plan.texts) DrawText(painter, t);
}

int32_t MapRenderer::drawFrame(const FrameInputs& inputs, bool* drawn) {
  if (drawn != nullptr) *drawn = false;
  const FramePlan plan = planner_.Plan(inputs);
  const OverlayKey key = planner_.Key(history_.revision());
  QImage& back = display_.backSurface();
  if (back.isNull()) return kErrPointer;
  if (!lastValid_ || back.cacheKey() != lastBackKey_ ||
      lastDisplayRect_ != display_.displayRect()) {
    changes_.Forget();
  }
  const FrameChanges changes = changes_.Next(plan, key, {0, 0, back.width(), back.height()});
  lastChanged_ = QRegion();
  if (changes.nothing()) return kOk;  // the frame on the screen is still right
  if (!overlayValid_ || changes.overlayWhole) {
    RebuildOverlay();
  } else if (!changes.overlayAreas.empty()) {
    PatchOverlay(changes.overlayAreas);
  }
  QRegion changed;
  if (changes.whole) {
    changed = back.rect();
  } else {
    for (const ScreenRect& r : changes.areas) changed += ToQRect(r);
  }
  {
    QPainter painter(&back);
    if (changes.whole) {
      Compose(painter, plan, &overlay_);
    } else {
      for (const QRect& rect : changed) {
        painter.setClipRect(rect);
        Compose(painter, plan, &overlay_, &rect);
      }
    }
  }
  lastChanged_ = changed;
  int32_t result = display_.fullScreen() ? display_.Flip(changed) : display_.Present(changed);
  if (result == kErrSurfaceLost) {
    // The images went with the surfaces: load everything again and draw the
    // whole frame next time.
    result = display_.Restore();
    build();
    return result;
  }
  lastDisplayRect_ = display_.displayRect();
  lastBackKey_ = back.cacheKey();
  lastValid_ = result == kOk;
  if (drawn != nullptr) *drawn = true;
  return result;
}

void MapRenderer::DrawUncached(const FrameInputs& inputs, QImage& target) {
  const FramePlan plan = planner_.Plan(inputs);
  std::vector<SpriteDraw> sprites;
  planner_.PlanOverlays(sprites);
  QPainter painter(&target);
  // The same composition with the overlays drawn straight onto the target.
  FramePlan withoutTexts = plan;
  withoutTexts.texts.clear();
  withoutTexts.panelSprites.clear();
  withoutTexts.outlines = {};
  Compose(painter, withoutTexts, nullptr);
  DrawSprites(painter, sprites);
  DrawSprites(painter, plan.panelSprites);
  DrawOutlines(painter, plan.outlines);
  DrawTexts(painter, plan);
}

}  // namespace maptesk
