// Draws the editor's bitmaps: the sprite sheets of the map view and the
// pictures of its panels. Their sizes and frame places are fixed by the view's
// layout code (core/view), so the numbers here are the ones the view relies on.
//
//   maptesk_make_art OUT_DIR [CHECK_DIR]
//
// OUT_DIR receives the BMP files and the icon PNGs. CHECK_DIR, when given,
// receives pictures put together from the files just written, keyed the way
// the editor keys them, for a person to look at.
//
// It uses the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/map/hex_cell.h"
#include "core/map/hex_topology.h"
#include "core/map/terrain_table.h"
#include "core/view/hex_grid.h"
#include "core/view/map_view.h"
#include "core/view/panel_layout.h"
#include "ui/display/qt_geometry.h"

namespace {

// The loader makes the colour of every image's top-left pixel transparent.
constexpr QRgb kKey = 0xFFFF00FF;
// Drawn pixels that came out as the key would vanish; they get its near twin.
constexpr QRgb kNotKey = 0xFFFE00FE;

constexpr QRgb kGridColour = 0xFF1C1C1C;
constexpr QRgb kSelectBand = 0xFFFFDE00;
constexpr QRgb kSelectInner = 0xFF5A3A00;
constexpr QRgb kRoadColour = 0xFFB93719;
constexpr QRgb kAutoFill = 0xFF1E5FEB;
constexpr QRgb kAutoEdge = 0xFFFFFFFF;

// The window's own background (the view's kBackgroundColour), so that the
// gaps of the strips blend into it.
constexpr QRgb kWindow = 0xFFEFEDDC;
constexpr QRgb kPanelFace = 0xFFE4E1D2;
constexpr QRgb kPanelEdge = 0xFF8C8878;
constexpr QRgb kInk = 0xFF282828;
constexpr QRgb kSlotFace = 0xFFFFFFFB;
constexpr QRgb kHexFill = 0xFFCDE6AA;
constexpr QRgb kHexLine = 0xFF6E6E64;

const char* TerrainName(int terrain) { return maptesk::TerrainTable::Name(terrain); }

// Used only where the full name does not fit a hex label.
const char* const kTerrainShortNames[20] = {
    "Clear",    "City",       "Airfield", "Forest", "Jungle",      "Hill",       "Mountain",
    "Sand",     "Swamp",      "Ocean",    "River",  "Fortific.",   "Port",       "Stream",
    "Escarpm.", "Imp. River", "Rough",    "Lake",   "Rice Fields", "Lake region"};

// ---------------------------------------------------------------------------
// Hex geometry of the three drawing scales.

struct HexScale {
  int width;
  int height;
  int slant;
  int frameWidth;
  int frameHeight;
  int rowY;  // where the scale's row of frames starts in a sheet
  int columnStep;
  int rowStep;
  QPointF centre() const { return {width / 2.0, height / 2.0}; }
};

// The view's numbers for each scale; the sheets stack the scales' rows of
// frames one below the other.
constexpr HexScale ScaleOf(size_t k) {
  int rowY = 0;
  for (size_t i = 0; i < k; ++i) rowY += maptesk::kHexFrameSizes[i].height;
  const maptesk::HexMetrics& m = maptesk::kScaleMetrics[k];
  return {m.hexWidth,
          m.hexHeight,
          m.slantWidth,
          maptesk::kHexFrameSizes[k].width,
          maptesk::kHexFrameSizes[k].height,
          rowY,
          m.columnStep,
          m.rowStep};
}

constexpr std::array<HexScale, 3> kScales = {ScaleOf(0), ScaleOf(1), ScaleOf(2)};
static_assert(kScales[2].rowY == 67, "the sheets' third row of frames starts at 67");

std::array<QPoint, 6> Corners(const HexScale& s) {
  return {QPoint(s.slant, 0),
          QPoint(s.width - s.slant, 0),
          QPoint(s.width, s.height / 2),
          QPoint(s.width - s.slant, s.height),
          QPoint(s.slant, s.height),
          QPoint(0, s.height / 2)};
}

int FloorDiv(int n, int d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// n / d rounded, half up; d > 0.
int RoundDiv(int n, int d) { return FloorDiv(2 * n + d, 2 * d); }

// The same pixels whichever end the line is given from: an edge two
// neighbouring hexes share comes out identical in both their frames.
std::vector<QPoint> LinePixels(QPoint a, QPoint b) {
  std::vector<QPoint> out;
  const bool alongX = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
  if (alongX ? b.x() < a.x() : b.y() < a.y()) std::swap(a, b);
  const int dx = b.x() - a.x();
  const int dy = b.y() - a.y();
  if (dx == 0 && dy == 0) return {a};
  if (alongX) {
    for (int i = 0; i <= dx; ++i) out.emplace_back(a.x() + i, a.y() + RoundDiv(i * dy, dx));
  } else {
    for (int i = 0; i <= dy; ++i) out.emplace_back(a.x() + RoundDiv(i * dx, dy), a.y() + i);
  }
  return out;
}

// Distance of a pixel centre from the hexagon's edge lines, positive inside.
double InsideDistance(const HexScale& s, QPointF p) {
  const auto c = Corners(s);
  double best = 1e9;
  for (int i = 0; i < 6; ++i) {
    const QPointF a = c[size_t(i)];
    const QPointF b = c[size_t((i + 1) % 6)];
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    const QPointF inward(-d.y() / len, d.x() / len);
    best = std::min(best, QPointF::dotProduct(p - a, inward));
  }
  return best;
}

// ---------------------------------------------------------------------------
// Image helpers.

QImage KeyedImage(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(kKey);
  return img;
}

QImage Layer(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

QRgb Opaque(QRgb c) {
  const QRgb o = c | 0xFF000000u;
  return o == kKey ? kNotKey : o;
}

void Put(QImage& img, const QRect& frame, int x, int y, QRgb c) {
  if (x < 0 || y < 0 || x >= frame.width() || y >= frame.height()) return;
  img.setPixel(frame.x() + x, frame.y() + y, Opaque(c));
}

// Copies a drawing onto a keyed sheet. Edge pixels are either drawn or not:
// a half-covered pixel blended with the key would show as a pink fringe.
void Stamp(QImage& sheet, const QImage& layer, int x0, int y0) {
  const QImage plain = layer.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < plain.height(); ++y) {
    for (int x = 0; x < plain.width(); ++x) {
      const QRgb p = plain.pixel(x, y);
      if (qAlpha(p) >= 128) sheet.setPixel(x0 + x, y0 + y, Opaque(p));
    }
  }
}

// A panel is opaque, but its loader still keys the top-left colour: each
// listed rectangle (the panel, or each of its buttons) gets key-coloured
// corners, which reads as slightly rounded, and no other pixel is the key.
void FinishPanel(QImage& img, const std::vector<QRect>& rects) {
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if ((img.pixel(x, y) | 0xFF000000u) == kKey) img.setPixel(x, y, kNotKey);
    }
  }
  for (const QRect& r : rects) {
    img.setPixel(r.left(), r.top(), kKey);
    img.setPixel(r.right(), r.top(), kKey);
    img.setPixel(r.left(), r.bottom(), kKey);
    img.setPixel(r.right(), r.bottom(), kKey);
  }
}

QFont UiFont(int pixels, bool bold = false, bool condensed = false) {
  QFont f(condensed ? "DejaVu Sans Condensed" : "DejaVu Sans");
  f.setPixelSize(pixels);
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

void Text(QPainter& p, const QRectF& r, int flags, const QString& s, const QFont& f, QRgb c) {
  p.save();
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setFont(f);
  p.setPen(QColor::fromRgb(c));
  p.drawText(r, flags, s);
  p.restore();
}

QPainterPath HexPath(QPointF centre, double w, double h, double slant) {
  QPainterPath path;
  const double l = centre.x() - w / 2;
  const double t = centre.y() - h / 2;
  path.moveTo(l + slant, t);
  path.lineTo(l + w - slant, t);
  path.lineTo(l + w, t + h / 2);
  path.lineTo(l + w - slant, t + h);
  path.lineTo(l + slant, t + h);
  path.lineTo(l, t + h / 2);
  path.closeSubpath();
  return path;
}

// ---------------------------------------------------------------------------
// Terrain pictograms, drawn pixel by pixel: at this size only hand placed
// pixels stay sharp.
//
// The icon sheet has one scale, so the same 16 x 11 frame lands on a 60 x 50
// hex in the normal view and on a 24 x 16 or 18 x 12 hex zoomed out, where the
// columns stand 17 and 13 pixels apart. The badge therefore fills only the
// middle 12 x 9 of its frame: at the smallest scale the map still shows
// around it and between neighbouring badges, so a field of one terrain reads
// as many marks and not as one slab. The pictograms differ in shape and not
// only in colour, so that the names a user mixes up most (River and Stream,
// Swamp and Lake region) are told apart by their outline alone.

QRgb PaletteColour(char c) {
  switch (c) {
    case 'k': return qRgb(40, 36, 30);
    case 'w': return qRgb(255, 255, 255);
    case 'g': return qRgb(170, 216, 122);
    case 'C': return qRgb(112, 186, 70);
    case 'h': return qRgb(48, 112, 36);
    case 'f': return qRgb(126, 190, 96);
    case 'G': return qRgb(20, 92, 34);
    case 'J': return qRgb(30, 105, 40);
    case 'L': return qRgb(170, 230, 60);
    case 'b': return qRgb(110, 66, 30);
    case 'P': return qRgb(246, 196, 184);
    case 'S': return qRgb(80, 80, 88);
    case 'e': return qRgb(208, 206, 196);
    case 'y': return qRgb(250, 220, 90);
    case 'p': return qRgb(236, 224, 172);
    case 'o': return qRgb(184, 132, 64);
    case 'O': return qRgb(110, 72, 34);
    case 'v': return qRgb(214, 226, 238);
    case 'M': return qRgb(118, 106, 96);
    case 'n': return qRgb(250, 250, 250);
    case 'm': return qRgb(150, 146, 80);
    case 'R': return qRgb(66, 96, 30);
    case 'c': return qRgb(60, 140, 225);
    case 'B': return qRgb(22, 52, 140);
    case 'l': return qRgb(164, 208, 246);
    case 'r': return qRgb(215, 30, 30);
    case 't': return qRgb(220, 196, 146);
    case 'x': return qRgb(228, 206, 166);
    case 'u': return qRgb(192, 162, 122);
    case 'q': return qRgb(214, 234, 140);
    default: return 0;
  }
}

// The badge's inside, 10 x 7.
constexpr int kPictogramWidth = 10;
constexpr int kPictogramHeight = 7;
using Pictogram = std::array<std::string, kPictogramHeight>;

Pictogram TerrainPictogram(int terrain) {
  switch (terrain) {
    case 0:  // Clear: open grass with a few tufts
      return {"CCCCCCCCCC", "ChChCCCCCC", "CChCCCCCCC", "CCCCCChChC",
              "CCCCCCChCC", "CChChCCCCC", "CCChCCCCCC"};
    case 1:  // City: a skyline with lit windows
      return {"PPPPPSPPPP", "PPPPSSSPPP", "PSSPSySPPP", "PSySSSSPSS",
              "PSSSSySPSy", "PSySSSSSSS", "SSSSSSSSSS"};
    case 2:  // Airfield: an aeroplane on concrete
      return {"eeeeSSeeee", "eeeeSSeeee", "eeeSSSSeee", "SSSSSSSSSS",
              "eeeeSSeeee", "eeeSSSSeee", "eeeeeeeeee"};
    case 3:  // Forest: two conifers
      return {"ffGffffGff", "fGGGffGGGf", "GGGGGGGGGG", "fGGGffGGGf",
              "GGGGGGGGGG", "ffbffffbff", "ffbffffbff"};
    case 4:  // Jungle: palms over undergrowth
      return {"LLJLLJJJJJ", "LJbJLLLJLL", "JJbJJLJbJL", "JJbJJJJbJJ",
              "JbJJJJJbJJ", "JbJJJJJJbJ", "LLLLLLLLLL"};
    case 5:  // Hill: a round dome
      return {"pppppppppp", "ppppOOOppp", "pppOoooOpp", "ppOoooooOp",
              "pOoooooooO", "Oooooooooo", "oooooooooo"};
    case 6:  // Mountain: snow-capped peaks against the sky
      return {"vvvvMvvvvv", "vvvMnMvvvv", "vvMnnnMvMv", "vMMMnMMMnM",
              "MMMMMMMMMM", "MMMMMMMMMM", "MMMMMMMMMM"};
    case 7:  // Sand: grains and a dune
      return {"yyyyyyyyyy", "yoyyyoyyyo", "yyyyyyyyyy", "yyyoyyyoyy",
              "yOOyyyyOOy", "OyyOyyOyyO", "yyyyOOyyyy"};
    case 8:  // Swamp: upright reeds over streaks of standing water
      return {"mRmmmRmmRm", "mRmRmRmmRm", "mRmRmRmRRm", "mmRRmmRRmm",
              "ccmmcccmmc", "mmmmmmmmmm", "mcccmmmccm"};
    case 9:  // Ocean: rows of wave crests on deep water
      return {"BBBBBBBBBB", "BllBBBllBB", "lBBlBlBBlB", "BBBBBBBBBB",
              "BBBllBBBll", "BBlBBlBlBB", "BBBBBBBBBB"};
    case 10:  // River: a broad band winding across the whole badge
      return {"gggggggggg", "cccggggccc", "ccccgggccc", "cccccccccc",
              "gggcccccgg", "ggggcccggg", "gggggggggg"};
    case 11:  // Fortification: a castle with its gate
      return {"tStSttStSt", "tSSSttSSSt", "tSSSSSSSSt", "tSSSSSSSSt",
              "tSSSkkSSSt", "tSSkkkkSSt", "tSSkkkkSSt"};
    case 12:  // Port: an anchor
      return {"llllBBllll", "lllBllBlll", "llllBBllll", "llBBBBBBll",
              "llllBBllll", "lBllBBllBl", "llBBBBBBll"};
    case 13:  // Stream: one thin line running down across the badge
      return {"ccgggggggg", "gcccgggggg", "gggccggggg", "ggggcccggg",
              "ggggggccgg", "gggggggccc", "gggggggggc"};
    case 14:  // Escarpment: a plateau breaking off in a cliff, teeth down
      return {"oooooooooo", "oooooooooo", "bbbbbbbbbb", "bbbbbbbbbb",
              "bbbxbbbxbb", "xbxxxbxxxb", "xxxxxxxxxx"};
    case 15:  // Impassable River: a straight deep band, crossed out
      return {"ggrrgggrrg", "gggrrgrrgg", "BBBBrrrBBB", "BBBrrrrBBB",
              "BBBrrBrrBB", "ggrrgggrrg", "grrgggggrr"};
    case 16:  // Rough: scattered rocks
      return {"uuuuuuuuuu", "uMMuuuuMuu", "MMMMuuMMMu", "uuuuuuuuuu",
              "uuuMMuuuuM", "uuMMMMuuMM", "uuuuuuuuuu"};
    case 17:  // Lake: one large body of water
      return {"ggBBBBBBgg", "gBccccccBg", "BccllccccB", "BccccccccB",
              "BccccccccB", "gBccccccBg", "ggBBBBBBgg"};
    case 18:  // Rice Fields: rows of stalks between flooded furrows
      return {"qGqqGqqGqq", "qGqqGqqGqq", "cccccccccc", "qqGqqGqqGq",
              "qqGqqGqqGq", "cccccccccc", "qGqqGqqGqq"};
    case 19:  // Lake region: small lakes with land all round each
      return {"gggggggBgg", "ggBgggBcBg", "gBcBgggBgg", "ggBggggggg",
              "gggggBgggg", "ggggBcBggg", "gggggBgggg"};
    default: return {};
  }
}

// The named-hex mark: a small flag at the frame's right, with no badge so
// that it never reads as terrain. Zoomed out it lands on the same frame as
// the terrain badge, so it hides only the badge's right edge.
const std::array<std::string, 11> kNamedMark = {
    "................", "................", "................", "...........kkkkk",
    "...........krrrk", "...........krwrk", "...........krrrk", "...........kkkkk",
    "...........k....", "...........k....", "..........kkk..."};

void Fail(const std::string& what) {
  std::fprintf(stderr, "maptesk_make_art: %s\n", what.c_str());
  std::exit(1);
}

// Frames 0..19 are the terrains, 20 the named-hex mark; transparent outside.
QImage TerrainIcon(int frame) {
  QImage img = Layer(16, 11);
  std::array<std::string, 11> rows;
  if (frame == 20) {
    rows = kNamedMark;
  } else {
    // The badge: a dark border with clipped corners round the pictogram, in
    // the middle of the frame.
    const Pictogram in = TerrainPictogram(frame);
    const std::string margin(2, '.');
    rows.fill(std::string(16, '.'));
    rows[1] = rows[9] = margin + "." + std::string(kPictogramWidth, 'k') + "." + margin;
    for (int y = 0; y < kPictogramHeight; ++y) {
      if (in[size_t(y)].size() != size_t(kPictogramWidth)) {
        Fail("icon " + std::to_string(frame) + " row size");
      }
      rows[size_t(y + 2)] = margin + "k" + in[size_t(y)] + "k" + margin;
    }
  }
  for (int y = 0; y < 11; ++y) {
    if (rows[size_t(y)].size() != 16) Fail("icon " + std::to_string(frame) + " row size");
    for (int x = 0; x < 16; ++x) {
      const char c = rows[size_t(y)][size_t(x)];
      if (c == '.') continue;
      const QRgb colour = PaletteColour(c);
      if (colour == 0) Fail("icon " + std::to_string(frame) + " colour " + std::string(1, c));
      img.setPixel(x, y, colour | 0xFF000000u);
    }
  }
  return img;
}

// The part of an icon that is drawn, for placing it by its picture rather
// than by its frame.
QImage Trimmed(const QImage& icon) {
  QRect used;
  for (int y = 0; y < icon.height(); ++y) {
    for (int x = 0; x < icon.width(); ++x) {
      if (qAlpha(icon.pixel(x, y)) != 0) used |= QRect(x, y, 1, 1);
    }
  }
  return icon.copy(used);
}

// ---------------------------------------------------------------------------
// 133: grid and selection.

void DrawGridOutline(QImage& img, const QRect& frame, const HexScale& s) {
  const auto c = Corners(s);
  for (int i = 0; i < 6; ++i) {
    for (const QPoint& p : LinePixels(c[size_t(i)], c[size_t((i + 1) % 6)])) {
      Put(img, frame, p.x(), p.y(), kGridColour);
    }
  }
}

struct SelectionStyle {
  double band;    // width of the yellow band inside the edge
  double inner;   // width of the dark line inside the band, 0 for none
  int hatchStep;  // spacing of the diagonal hatch, 0 for none
};

void DrawSelection(QImage& img, const QRect& frame, const HexScale& s, const SelectionStyle& st) {
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const double d = InsideDistance(s, QPointF(x, y));
      // The edge itself stays free for the grid line.
      if (d <= 0.6) continue;
      if (d <= 0.6 + st.band) {
        Put(img, frame, x, y, kSelectBand);
      } else if (d <= 0.6 + st.band + st.inner) {
        Put(img, frame, x, y, kSelectInner);
      } else if (st.hatchStep > 0 && (x + y) % st.hatchStep == 0) {
        Put(img, frame, x, y, kSelectBand);
      }
    }
  }
}

QImage MakeGridSheet() {
  QImage img = KeyedImage(184, 80);
  const SelectionStyle styles[3] = {{2.0, 1.0, 6}, {2.0, 0.0, 4}, {1.0, 0.0, 4}};
  for (int k = 0; k < 3; ++k) {
    const HexScale& s = kScales[size_t(k)];
    DrawSelection(img, QRect(0, s.rowY, s.frameWidth, s.frameHeight), s, styles[k]);
    DrawGridOutline(img, QRect(s.frameWidth, s.rowY, s.frameWidth, s.frameHeight), s);
    // Frame 2 of scale 0 stays blank.
  }
  return img;
}

// ---------------------------------------------------------------------------
// 139: road marks.

// N, NE, E, SE, S, SW, W, NW: the middle of a side, or a corner for E and W.
QPointF RoadEnd(const HexScale& s, int direction) {
  const double w = s.width;
  const double h = s.height;
  const double sl = s.slant;
  switch (direction) {
    case 0: return {w / 2, 0};
    case 1: return {w - sl / 2, h / 4};
    case 2: return {w, h / 2};
    case 3: return {w - sl / 2, 3 * h / 4};
    case 4: return {w / 2, h};
    case 5: return {sl / 2, 3 * h / 4};
    case 6: return {0, h / 2};
    default: return {sl / 2, h / 4};
  }
}

constexpr double kRoadWidths[3] = {3.0, 2.0, 1.5};

// A road is the band of pixels within half its width of the line from the
// centre to the side. The neighbour's road lies on the same line, so the two
// halves join without a step; an even width shifts the line by half a pixel
// the same way in every frame.
void DrawRoad(QImage& img, const QRect& frame, const HexScale& s, int direction, double width) {
  const double half = width / 2;
  const QPointF shift =
      (int(width) == width && int(width) % 2 == 0) ? QPointF(-0.5, -0.5) : QPointF(0, 0);
  const QPointF c = s.centre() + shift;
  const QPointF e = RoadEnd(s, direction) + shift;
  const QPointF d = e - c;
  const double len = std::hypot(d.x(), d.y());
  const QPointF u = d / len;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const QPointF p = QPointF(x, y) - c;
      const double t = QPointF::dotProduct(p, u);
      const double off = std::abs(p.x() * u.y() - p.y() * u.x());
      const bool onLine = t >= 0 && t <= len + 1e-6 && off <= half + 1e-6;
      const bool atCentre = std::hypot(p.x(), p.y()) <= half + 1e-6;
      if (onLine || atCentre) Put(img, frame, x, y, kRoadColour);
    }
  }
}

void DrawAutoMark(QImage& img, const QRect& frame, const HexScale& s, int radius, bool edged) {
  const int cx = s.width / 2;
  const int cy = s.height / 2;
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const int r = std::abs(dx) + std::abs(dy);
      if (r > radius) continue;
      Put(img, frame, cx + dx, cy + dy, edged && r == radius ? kAutoEdge : kAutoFill);
    }
  }
}

QImage MakeRoadSheet() {
  QImage img = KeyedImage(552, 81);
  const int autoRadius[3] = {6, 3, 2};
  for (int k = 0; k < 3; ++k) {
    const HexScale& s = kScales[size_t(k)];
    for (int dir = 0; dir < 8; ++dir) {
      DrawRoad(img, QRect(dir * s.frameWidth, s.rowY, s.frameWidth, s.frameHeight), s, dir,
               kRoadWidths[k]);
    }
    DrawAutoMark(img, QRect(8 * s.frameWidth, s.rowY, s.frameWidth, s.frameHeight), s,
                 autoRadius[k], k < 2);
  }
  return img;
}

// ---------------------------------------------------------------------------
// 144: terrain icons, 162: terrain labels.

QImage MakeIconSheet() {
  QImage img = KeyedImage(337, 11);
  for (int k = 0; k <= 20; ++k) Stamp(img, TerrainIcon(k), 16 * k, 0);
  return img;
}

// The pixels a text covers when drawn with its baseline's left end at (0, 0):
// the ink, which is what must stay inside a box, rather than the font's
// advance and line height, which a descender or an overhang can pass.
QRect InkRect(const QString& text, const QFont& font) {
  const QFontMetrics fm(font);
  const int pad = 8;
  QImage layer = Layer(fm.horizontalAdvance(text) + 2 * pad, fm.height() + 2 * pad);
  QPainter p(&layer);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(pad, pad + fm.ascent(), text);
  p.end();
  QRect ink;
  for (int y = 0; y < layer.height(); ++y) {
    for (int x = 0; x < layer.width(); ++x) {
      if (qAlpha(layer.pixel(x, y)) != 0) ink |= QRect(x, y, 1, 1);
    }
  }
  return ink.translated(-pad, -pad - fm.ascent());
}

// Inside the label's border, the ink keeps this far from it.
constexpr int kLabelPadX = 2;
constexpr int kLabelPadY = 1;
constexpr int kLabelTop = 3;

const QFont& LabelFont() {
  static const QFont f = UiFont(9, false, true);
  return f;
}

QString LabelText(int terrain) {
  const QString full = TerrainName(terrain);
  const int room = 58 - 2 * (1 + kLabelPadX);
  return InkRect(full, LabelFont()).width() <= room ? full : QString(kTerrainShortNames[terrain]);
}

QImage MakeLabelSheet() {
  QImage img = KeyedImage(58, 381);
  // Every label gets the same height and baseline, from the tallest ascent
  // and the deepest descent among the names, so that a row of labels lines up.
  std::array<QRect, 20> inks;
  int inkTop = 0;
  int inkBottom = 0;
  for (int k = 0; k < 20; ++k) {
    inks[size_t(k)] = InkRect(LabelText(k), LabelFont());
    inkTop = std::min(inkTop, inks[size_t(k)].top());
    inkBottom = std::max(inkBottom, inks[size_t(k)].bottom());
  }
  const int h = (inkBottom - inkTop + 1) + 2 * (1 + kLabelPadY);
  if (kLabelTop + h > 19) Fail("labels too high");
  for (int k = 0; k < 20; ++k) {
    const QString text = LabelText(k);
    const QRect& ink = inks[size_t(k)];
    const int w = ink.width() + 2 * (1 + kLabelPadX);
    if (w > 58) Fail("label too wide: " + text.toStdString());
    QImage layer = Layer(58, 19);
    QPainter p(&layer);
    const QRect box((58 - w) / 2, kLabelTop, w, h);
    p.fillRect(box, QColor(255, 250, 214));
    p.setPen(QColor(96, 84, 60));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(LabelFont());
    p.setPen(QColor::fromRgb(kInk));
    p.drawText(box.left() + 1 + kLabelPadX - ink.left(), box.top() + 1 + kLabelPadY - inkTop, text);
    p.end();
    Stamp(img, layer, 0, 19 * k);
  }
  return img;
}

// ---------------------------------------------------------------------------
// Buttons and panel icons.

void DrawButton(QImage& img, const QRect& r, bool pressed) {
  QPainter p(&img);
  p.fillRect(r, QColor::fromRgb(pressed ? 0xFFB4AF98 : 0xFFF7F5EA));
  const int l = r.left();
  const int t = r.top();
  const int rr = r.right();
  const int b = r.bottom();
  auto line = [&](int x1, int y1, int x2, int y2, QRgb c) {
    p.setPen(QColor::fromRgb(c));
    p.drawLine(x1, y1, x2, y2);
  };
  if (pressed) {
    // Sunken: the shadow falls on the top and left inside the frame.
    line(l + 1, t + 1, rr - 1, t + 1, 0xFF6E6A5C);
    line(l + 1, t + 1, l + 1, b - 1, 0xFF6E6A5C);
    line(l + 2, t + 2, rr - 1, t + 2, 0xFF948F7C);
    line(l + 2, t + 2, l + 2, b - 1, 0xFF948F7C);
    line(l + 2, b - 1, rr - 1, b - 1, 0xFFC8C4B2);
    line(rr - 1, t + 2, rr - 1, b - 1, 0xFFC8C4B2);
  } else {
    line(l + 1, t + 1, rr - 1, t + 1, 0xFFFFFFFF);
    line(l + 1, t + 1, l + 1, b - 1, 0xFFFFFFFF);
    line(l + 1, b - 1, rr - 1, b - 1, 0xFFA8A392);
    line(rr - 1, t + 1, rr - 1, b - 1, 0xFFA8A392);
  }
  p.setPen(QColor::fromRgb(0xFF5A564A));
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

void DrawPixelIcon(QPainter& p, const QImage& icon, QPointF centre) {
  p.drawImage(QPointF(std::floor(centre.x() - icon.width() / 2.0),
                      std::floor(centre.y() - icon.height() / 2.0)),
              icon);
}

void IconGrid(QPainter& p, QPointF c) {
  p.save();
  // A patch of map under the grid: bare lines alone read as a pattern, not
  // as a grid over something.
  const QRectF tile(c.x() - 8.5, c.y() - 7.5, 17, 15);
  p.fillRect(tile, QColor::fromRgb(kHexFill));
  p.setClipRect(tile);
  p.setPen(QPen(QColor(40, 40, 40), 1.0));
  p.setBrush(Qt::NoBrush);
  const double w = 9;
  const double h = 7.5;
  for (int col = -2; col <= 2; ++col) {
    for (int row = -2; row <= 2; ++row) {
      const double x = c.x() + col * 0.75 * w;
      const double y = c.y() + row * h + ((col % 2 != 0) ? h / 2 : 0);
      p.drawPath(HexPath(QPointF(x, y), w, h, w / 4));
    }
  }
  p.setClipping(false);
  p.setPen(QPen(QColor(70, 70, 60), 1.0));
  p.drawRect(tile);
  p.restore();
}

void IconZoom(QPainter& p, QPointF c) {
  p.save();
  p.setPen(QPen(QColor(60, 44, 30), 3.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(c.x() + 2.2, c.y() + 2.2), QPointF(c.x() + 7, c.y() + 7));
  p.setPen(QPen(QColor(40, 40, 40), 1.8));
  p.setBrush(QColor(190, 225, 250));
  p.drawEllipse(QPointF(c.x() - 2, c.y() - 2), 5.5, 5.5);
  p.setPen(QPen(QColor(255, 255, 255), 1.2, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(c.x() - 5.5, c.y() - 5.5, 7, 7), 100 * 16, 70 * 16);
  p.restore();
}

void IconRoadHex(QPainter& p, QPointF c, double w, double h) {
  p.save();
  p.setPen(QPen(QColor(70, 70, 60), 1.2));
  p.setBrush(QColor::fromRgb(kHexFill));
  p.drawPath(HexPath(c, w, h, w / 4));
  p.setPen(QPen(QColor::fromRgb(kRoadColour), std::max(2.0, w / 8), Qt::SolidLine, Qt::FlatCap,
                Qt::RoundJoin));
  const QPointF sw(c.x() - w * 3 / 8, c.y() + h / 4);
  const QPointF ne(c.x() + w * 3 / 8, c.y() - h / 4);
  const QPointF n(c.x(), c.y() - h / 2);
  QPainterPath road;
  road.moveTo(sw);
  road.lineTo(c);
  road.lineTo(ne);
  road.moveTo(c);
  road.lineTo(n);
  p.setBrush(Qt::NoBrush);
  p.drawPath(road);
  p.restore();
}

void IconLandscape(QPainter& p, QPointF c) {
  p.save();
  p.setPen(QPen(QColor(50, 46, 40), 1.0));
  QPolygonF mountain;
  mountain << QPointF(c.x() - 13, c.y() + 7) << QPointF(c.x() - 4, c.y() - 7)
           << QPointF(c.x() + 5, c.y() + 7);
  p.setBrush(QColor(128, 116, 104));
  p.drawPolygon(mountain);
  QPolygonF snow;
  snow << QPointF(c.x() - 7.2, c.y() - 2) << QPointF(c.x() - 4, c.y() - 7)
       << QPointF(c.x() - 0.8, c.y() - 2) << QPointF(c.x() - 4, c.y() - 3.5);
  p.setBrush(QColor(250, 250, 250));
  p.drawPolygon(snow);
  p.setBrush(QColor(110, 66, 30));
  p.drawRect(QRectF(c.x() + 7.5, c.y() + 3, 2, 4));
  QPolygonF tree;
  tree << QPointF(c.x() + 8.5, c.y() - 8) << QPointF(c.x() + 13.5, c.y() + 4)
       << QPointF(c.x() + 3.5, c.y() + 4);
  p.setBrush(QColor(30, 120, 44));
  p.drawPolygon(tree);
  p.setPen(QPen(QColor(70, 140, 50), 1.5));
  p.drawLine(QPointF(c.x() - 14, c.y() + 7.5), QPointF(c.x() + 14, c.y() + 7.5));
  p.restore();
}

void IconNameTag(QPainter& p, QPointF c) {
  p.save();
  QPainterPath tag;
  tag.moveTo(c.x() - 13, c.y());
  tag.lineTo(c.x() - 8, c.y() - 6.5);
  tag.lineTo(c.x() + 13, c.y() - 6.5);
  tag.lineTo(c.x() + 13, c.y() + 6.5);
  tag.lineTo(c.x() - 8, c.y() + 6.5);
  tag.closeSubpath();
  p.setPen(QPen(QColor(60, 56, 48), 1.2));
  p.setBrush(QColor(255, 252, 225));
  p.drawPath(tag);
  p.setBrush(QColor(60, 56, 48));
  p.drawEllipse(QPointF(c.x() - 8, c.y()), 1.3, 1.3);
  Text(p, QRectF(c.x() - 6, c.y() - 7, 19, 14), Qt::AlignCenter, "Ab", UiFont(10, true), kInk);
  p.restore();
}

// ---------------------------------------------------------------------------
// 153: toggle strip, 188: mode strip.

template <typename DrawIcon>
QImage MakeStrip(int width, int buttons, int buttonWidth, int pitch, DrawIcon drawIcon) {
  using maptesk::kStripHeight;
  QImage img(width, 2 * kStripHeight, QImage::Format_RGB32);
  img.fill(kWindow);
  std::vector<QRect> rects;
  for (int half = 0; half < 2; ++half) {
    const bool pressed = half == 1;
    for (int i = 0; i < buttons; ++i) {
      const QRect r(i * pitch, kStripHeight * half, buttonWidth, kStripHeight);
      DrawButton(img, r, pressed);
      QPainter p(&img);
      p.setRenderHint(QPainter::Antialiasing, true);
      p.setClipRect(r.adjusted(2, 2, -2, -2));
      // Pressed icons move down and right with the sunken face.
      const double o = pressed ? 1.0 : 0.0;
      drawIcon(p, i, QPointF(r.x() + buttonWidth / 2.0 + o, r.y() + kStripHeight / 2.0 + o));
      rects.push_back(r);
    }
  }
  FinishPanel(img, rects);
  return img;
}

QImage MakeToggleStrip() {
  return MakeStrip(
      maptesk::kToggleStripWidth, maptesk::ScreenLayout::kToggleButtons, maptesk::kToggleButtonSize,
      maptesk::kToggleButtonPitch, [](QPainter& p, int i, QPointF c) {
        switch (i) {
          case 0: IconGrid(p, c); break;
          case 1: IconZoom(p, c); break;
          case 2:
            // Two badges of the map, one over the other: marks, not one terrain.
            DrawPixelIcon(p, Trimmed(TerrainIcon(6)), c + QPointF(-3, -3));
            DrawPixelIcon(p, Trimmed(TerrainIcon(3)), c + QPointF(3, 3));
            break;
          case 3: IconRoadHex(p, c, 18, 15); break;
          default: {
            // The flag is small on the map; the button shows it twice the size.
            const QImage flag = Trimmed(TerrainIcon(20));
            DrawPixelIcon(
                p, flag.scaled(flag.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation), c);
            break;
          }
        }
      });
}

QImage MakeModeStrip() {
  return MakeStrip(maptesk::kPanelWidth, maptesk::ScreenLayout::kModeButtons,
                   maptesk::kModeButtonWidth, maptesk::kModeButtonPitch,
                   [](QPainter& p, int i, QPointF c) {
                     switch (i) {
                       case 0: IconLandscape(p, c); break;
                       case 1: IconRoadHex(p, c, 22, 17); break;
                       default: IconNameTag(p, c); break;
                     }
                   });
}

// ---------------------------------------------------------------------------
// 189: set-data panel.

QImage PanelBase(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(kPanelFace);
  QPainter p(&img);
  p.setPen(QColor::fromRgb(kPanelEdge));
  p.drawRect(0, 0, w - 1, h - 1);
  p.setPen(QColor(250, 248, 240));
  p.drawLine(1, 1, w - 2, 1);
  p.drawLine(1, 1, 1, h - 2);
  return img;
}

// A text box, sunken, covering the view's slot rectangle (right and bottom
// exclusive).
void DrawSlot(QImage& img, const QRect& r) {
  QPainter p(&img);
  p.fillRect(r, QColor::fromRgb(kSlotFace));
  p.setPen(QColor(120, 116, 104));
  p.drawLine(r.left(), r.top(), r.right(), r.top());
  p.drawLine(r.left(), r.top(), r.left(), r.bottom());
  p.setPen(QColor(250, 250, 246));
  p.drawLine(r.left() + 1, r.bottom(), r.right(), r.bottom());
  p.drawLine(r.right(), r.top() + 1, r.right(), r.bottom());
}

QImage MakeSetDataPanel() {
  QImage img = PanelBase(maptesk::kPanelWidth, maptesk::kSetDataHeight);
  const char* captions[3] = {"Terrain to set", "Name to set", "Roads to set"};
  const maptesk::ScreenRect slotRects[3] = {maptesk::kTerrainSlot, maptesk::kNameSlot,
                                            maptesk::kRoadsSlot};
  for (int i = 0; i < 3; ++i) {
    const QRect slot = maptesk::ToQRect(slotRects[i]);
    DrawSlot(img, slot);
    QPainter p(&img);
    Text(p, QRectF(4, slot.top() - 15, 106, 13), Qt::AlignLeft | Qt::AlignVCenter, captions[i],
         UiFont(10, true), kInk);
  }
  FinishPanel(img, {img.rect()});
  return img;
}

// ---------------------------------------------------------------------------
// 186: terrain chooser.

// The names start a little right of the badge, which ends at x 18.
constexpr int kChooserTextX = 23;

QImage MakeTerrainChooser() {
  using maptesk::kPanelWidth;
  using maptesk::kTerrainButtonHeight;
  constexpr int kButtons = maptesk::ScreenLayout::kTerrainButtons;
  QImage img(2 * kPanelWidth, kButtons * kTerrainButtonHeight, QImage::Format_RGB32);
  img.fill(kWindow);
  std::vector<QRect> rects;
  const QFont font = UiFont(10);
  for (int half = 0; half < 2; ++half) {
    const bool pressed = half == 1;
    for (int k = 0; k < kButtons; ++k) {
      const QRect r(kPanelWidth * half, kTerrainButtonHeight * k, kPanelWidth,
                    kTerrainButtonHeight);
      DrawButton(img, r, pressed);
      const int o = pressed ? 1 : 0;
      QPainter p(&img);
      p.drawImage(r.x() + 5 + o, r.y() + 4 + o, TerrainIcon(k));
      // The name's ink stays a pixel clear of the bevel (x 112), pressed too.
      if (kChooserTextX + 1 + InkRect(TerrainName(k), font).right() > 110) {
        Fail(std::string("chooser name too wide: ") + TerrainName(k));
      }
      Text(p,
           QRectF(r.x() + kChooserTextX + o, r.y() + o, kPanelWidth - kChooserTextX - 2,
                  kTerrainButtonHeight),
           Qt::AlignLeft | Qt::AlignVCenter, TerrainName(k), font, pressed ? 0xFF000000 : kInk);
      rects.push_back(r);
    }
  }
  FinishPanel(img, rects);
  return img;
}

// ---------------------------------------------------------------------------
// 183: road chooser.

// Where the view draws the road sheet's scale 0 frames on the chooser.
const QPoint kChooserHex = maptesk::ToQPoint(maptesk::kChooserHexPlace);

void DrawArrow(QPainter& p, QPointF from, QPointF to) {
  const QPointF d = to - from;
  const double len = std::hypot(d.x(), d.y());
  const QPointF u = d / len;
  const QPointF n(-u.y(), u.x());
  p.setPen(QPen(QColor(60, 60, 70), 2.0, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(from, to - u * 4);
  QPolygonF head;
  head << to << to - u * 6 + n * 3.6 << to - u * 6 - n * 3.6;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 60, 70));
  p.drawPolygon(head);
}

QImage MakeRoadChooser() {
  QImage img = PanelBase(maptesk::kPanelWidth, maptesk::kRoadChooserHeight);
  const HexScale& s = kScales[0];
  // The hex the roads are drawn into, outlined with the same pixels as the
  // grid sheet so the chosen roads end exactly on its sides.
  {
    QImage hex = Layer(s.frameWidth, s.frameHeight);
    for (int y = 0; y < s.frameHeight; ++y) {
      for (int x = 0; x < s.frameWidth; ++x) {
        if (InsideDistance(s, QPointF(x, y)) > 0) hex.setPixel(x, y, kHexFill);
      }
    }
    QImage sheet = img.copy(kChooserHex.x(), kChooserHex.y(), s.frameWidth, s.frameHeight);
    Stamp(sheet, hex, 0, 0);
    const auto c = Corners(s);
    for (int i = 0; i < 6; ++i) {
      for (const QPoint& q : LinePixels(c[size_t(i)], c[size_t((i + 1) % 6)])) {
        sheet.setPixel(q, kHexLine);
      }
    }
    QPainter p(&img);
    p.drawImage(kChooserHex, sheet);
  }

  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  Text(p, QRectF(2, 2, 110, 12), Qt::AlignCenter, "Road directions", UiFont(10, true), kInk);

  const QPointF centre = QPointF(kChooserHex) + s.centre();
  const QFont font = UiFont(10, true);
  struct Pointer {
    int direction;  // as RoadEnd numbers them
    const char* label;
    QPointF labelCentre;
    double reach;  // the arrow's length
  };
  // Each label sits inside the view's hit area of its direction, which the
  // areas list in this order.
  const Pointer pointers[6] = {{0, "N", {55, 29}, 13},   {1, "NE", {99, 52}, 11},
                               {3, "SE", {99, 105}, 11}, {4, "S", {55, 127}, 13},
                               {5, "SW", {25, 105}, 9},  {7, "NW", {25, 52}, 9}};
  for (size_t i = 0; i < std::size(pointers); ++i) {
    const Pointer& ptr = pointers[i];
    const QPoint at = ptr.labelCentre.toPoint();
    if (!maptesk::kRoadHitAreas[i].Contains(at.x(), at.y())) {
      Fail(std::string("road label outside its hit area: ") + ptr.label);
    }
    const QPointF end = QPointF(kChooserHex) + RoadEnd(s, ptr.direction);
    const QPointF d = end - centre;
    const QPointF u = d / std::hypot(d.x(), d.y());
    DrawArrow(p, end + u * 3, end + u * (3 + ptr.reach));
    Text(p, QRectF(ptr.labelCentre.x() - 10, ptr.labelCentre.y() - 6, 20, 12), Qt::AlignCenter,
         ptr.label, font, kInk);
  }

  // The Auto button, in the part of the Auto area no direction claims.
  p.end();
  const QRect autoButton(39, 142, 36, 18);
  const maptesk::ScreenRect autoArea = maptesk::kRoadHitAreas[maptesk::ScreenLayout::kRoadAuto];
  if (!autoArea.Contains(autoButton.left(), autoButton.top()) ||
      !autoArea.Contains(autoButton.right(), autoButton.bottom())) {
    Fail("the Auto button is outside the Auto area");
  }
  DrawButton(img, autoButton, false);
  QPainter q(&img);
  q.setRenderHint(QPainter::Antialiasing, true);
  QPolygonF diamond;
  const QPointF dc(autoButton.x() + 7.5, autoButton.y() + 9);
  diamond << dc + QPointF(0, -4) << dc + QPointF(4, 0) << dc + QPointF(0, 4) << dc + QPointF(-4, 0);
  q.setPen(Qt::NoPen);
  q.setBrush(QColor::fromRgb(kAutoFill));
  q.drawPolygon(diamond);
  Text(q, QRectF(autoButton.x() + 12, autoButton.y(), 23, 18), Qt::AlignCenter, "Auto",
       UiFont(9, true, true), kInk);
  q.end();
  FinishPanel(img, {img.rect()});
  return img;
}

// ---------------------------------------------------------------------------
// 159: road preview.

QImage MakeRoadPreview() {
  QImage img = PanelBase(maptesk::kRoadPreviewWidth, maptesk::kRoadPreviewHeight);
  {
    QPainter p(&img);
    Text(p, QRectF(3, 1, 29, 20), Qt::AlignLeft | Qt::AlignVCenter, "Roads", UiFont(9, true, true),
         kInk);
  }
  DrawSlot(img, maptesk::ToQRect(maptesk::kRoadsValueBox));
  // The box the view draws the hovered hex's roads into, at scale 1, with
  // the hex outlined by the grid sheet's own pixels.
  const HexScale& s = kScales[1];
  const QPoint box = maptesk::ToQPoint(maptesk::kPreviewHexPlace);
  QPainter p(&img);
  const int w = s.frameWidth;
  const int h = s.frameHeight;
  p.fillRect(QRect(box, QSize(w, h)), QColor(246, 244, 236));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (InsideDistance(s, QPointF(x, y)) > 0) img.setPixel(box.x() + x, box.y() + y, kHexFill);
    }
  }
  p.setPen(QColor(120, 116, 104));
  p.drawRect(box.x() - 1, box.y() - 1, w + 1, h + 1);
  p.end();
  const auto c = Corners(s);
  for (int i = 0; i < 6; ++i) {
    for (const QPoint& q : LinePixels(c[size_t(i)], c[size_t((i + 1) % 6)])) {
      if (q.x() < w && q.y() < h) img.setPixel(box + q, kHexLine);
    }
  }
  FinishPanel(img, {img.rect()});
  return img;
}

// ---------------------------------------------------------------------------
// Application icon.

QImage MakeAppIcon(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double k = size / 64.0;
  const double line = std::max(1.0, 3.0 * k);
  const QPointF c(32 * k, 32 * k);
  const double w = 62 * k - line;
  const double h = 54 * k - line;
  const QPainterPath hex = HexPath(c, w, h, w / 4);
  QLinearGradient fill(0, c.y() - h / 2, 0, c.y() + h / 2);
  fill.setColorAt(0, QColor(150, 205, 110));
  fill.setColorAt(1, QColor(95, 165, 75));
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(hex);
  // A road running through a hex says what the editor is for, even at 16 px.
  p.save();
  p.setClipPath(hex);
  const QPointF sw(c.x() - w * 3 / 8, c.y() + h / 4);
  const QPointF ne(c.x() + w * 3 / 8, c.y() - h / 4);
  const QPointF s(c.x(), c.y() + h / 2);
  QPainterPath road;
  road.moveTo(sw - (c - sw) * 0.2);
  road.lineTo(c);
  road.lineTo(ne + (ne - c) * 0.2);
  road.moveTo(c);
  road.lineTo(s + QPointF(0, h * 0.1));
  const double roadWidth = std::max(2.0, 8.0 * k);
  if (size >= 32) {
    p.setPen(
        QPen(QColor(90, 30, 12), roadWidth + 2.5 * k, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(road);
  }
  p.setPen(
      QPen(QColor::fromRgb(kRoadColour), roadWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  p.drawPath(road);
  p.restore();
  p.setPen(QPen(QColor(30, 40, 30), line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(hex);
  p.end();
  return img;
}

// ---------------------------------------------------------------------------
// Check pictures: the files as the editor sees them.

QImage LoadKeyed(const QString& path) {
  QImage img(path);
  if (img.isNull()) Fail("cannot read back " + path.toStdString());
  img = img.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = img.pixel(0, 0);
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (img.pixel(x, y) == key) img.setPixel(x, y, 0);
    }
  }
  return img;
}

struct Sheets {
  QImage grid, roads, icons, labels;
};

void Blit(QPainter& p, const QImage& sheet, const QRect& src, int x, int y) {
  p.drawImage(QPoint(x, y), sheet, src);
}

QRect FrameRect(const HexScale& s, int frame) {
  return {frame * s.frameWidth, s.rowY, s.frameWidth, s.frameHeight};
}

QImage Enlarge(const QImage& img, int factor) {
  return img.scaledToWidth(img.width() * factor, Qt::FastTransformation);
}

constexpr int kPatchRows = 4;
constexpr int kPatchColumns = 5;

struct PatchCell {
  int roads = 0;
  bool autoMark = false;
  bool selected = false;
  int terrain = -1;
  bool named = false;
};

using Patch = std::array<std::array<PatchCell, kPatchColumns>, kPatchRows>;

// A road from (row, column) to its neighbour in `direction` (the map's
// directions, 0 N clockwise to 5 NW), and the neighbour's road back.
void AddRoad(Patch& patch, int row, int column, int direction) {
  patch[size_t(row)][size_t(column)].roads |= maptesk::RoadBitOfDirection(direction);
  maptesk::ForEachNeighbour(
      row, column, kPatchRows - 1, kPatchColumns - 1, [&](int d, int r, int c) {
        if (d != direction) return;
        patch[size_t(r)][size_t(c)].roads |=
            maptesk::RoadBitOfDirection(maptesk::OppositeDirection(direction));
      });
}

Patch SamplePatch() {
  Patch patch{};
  // A road zigzagging east across the patch.
  AddRoad(patch, 2, 0, 1);
  AddRoad(patch, 1, 1, 2);
  AddRoad(patch, 2, 2, 1);
  AddRoad(patch, 1, 3, 2);
  // A road running north to south.
  for (int row = 0; row < 3; ++row) AddRoad(patch, row, 2, 3);
  // One leaving to the north-west and south-west, and the corner roads.
  AddRoad(patch, 3, 3, 5);
  AddRoad(patch, 3, 3, 4);
  // East and west bits lead to no neighbour; maps may still hold them.
  patch[0][0].roads |= maptesk::kRoadE;
  patch[0][4].roads |= maptesk::kRoadW;
  AddRoad(patch, 3, 1, 0);
  patch[3][4].autoMark = true;
  patch[1][3].selected = patch[2][3].selected = patch[1][4].selected = true;
  for (int row = 0; row < kPatchRows; ++row) {
    for (int column = 0; column < kPatchColumns; ++column) {
      patch[size_t(row)][size_t(column)].terrain = (row * kPatchColumns + column) % 20;
      patch[size_t(row)][size_t(column)].named = (row + column) % 3 == 0;
    }
  }
  return patch;
}

// Lays the patch out as the view does: column c at (c - 1) * columnStep, row
// r at r * rowStep, even columns half a row higher; the origin leaves room
// for column 0 and the raised rows.
// The terrain marks go where the view puts them: side by side with the
// named-hex flag in the normal view, both on the same spot zoomed out.
QImage DrawPatch(const Sheets& sh, const HexScale& s, const Patch& patch, bool icons, bool labels) {
  const bool zoomed = s.width != kScales[0].width;
  const int ox = s.columnStep + 4;
  const int oy = s.rowStep / 2 + 4;
  const int w = (kPatchColumns - 1) * s.columnStep + s.width + 9;
  const int h = kPatchRows * s.rowStep + s.rowStep / 2 + 9;
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(214, 206, 170));
  QPainter p(&img);
  for (int row = 0; row < kPatchRows; ++row) {
    for (int column = 0; column < kPatchColumns; ++column) {
      const PatchCell& cell = patch[size_t(row)][size_t(column)];
      const int x = ox + (column - 1) * s.columnStep;
      const int y = oy + row * s.rowStep - (column % 2 == 0 ? s.rowStep / 2 : 0);
      for (int dir = 0; dir < 8; ++dir) {
        if (cell.roads & (1 << dir)) Blit(p, sh.roads, FrameRect(s, dir), x, y);
      }
      if (cell.autoMark) Blit(p, sh.roads, FrameRect(s, 8), x, y);
      const int iconX = x + (s.width - 16) / 2;
      const int iconY = y + (s.height - 11) / 2;
      if (icons) {
        Blit(p, sh.icons, QRect(16 * cell.terrain, 0, 16, 11), iconX - (zoomed ? 0 : 8),
             iconY - (zoomed ? 0 : 5));
        if (cell.named) {
          Blit(p, sh.icons, QRect(16 * 20, 0, 16, 11), iconX + (zoomed ? 0 : 8),
               iconY + (zoomed ? 0 : 6));
        }
      }
      if (labels) {
        Blit(p, sh.labels, QRect(0, 19 * cell.terrain, 58, 19), x + s.width / 2 - 30,
             y + s.height / 2);
      }
      Blit(p, sh.grid, FrameRect(s, 1), x, y);
      if (cell.selected) Blit(p, sh.grid, FrameRect(s, 0), x, y);
    }
  }
  p.end();
  return img;
}

// Twenty patches, each all of one terrain, five to a row.
QImage DrawFields(const Sheets& sh, const HexScale& s) {
  std::vector<QImage> fields;
  for (int terrain = 0; terrain < 20; ++terrain) {
    Patch field{};
    for (auto& row : field) {
      for (auto& cell : row) cell.terrain = terrain;
    }
    fields.push_back(DrawPatch(sh, s, field, true, false));
  }
  const int gap = 6;
  const QSize one = fields[0].size();
  QImage img(5 * one.width() + 4 * gap, 4 * one.height() + 3 * gap,
             QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor::fromRgb(kWindow));
  QPainter p(&img);
  for (int i = 0; i < 20; ++i) {
    p.drawImage((i % 5) * (one.width() + gap), (i / 5) * (one.height() + gap), fields[size_t(i)]);
  }
  p.end();
  return img;
}

// The right-hand panels and the top bar's pieces put together with texts,
// pressed buttons and chosen roads, as a frame of the editor shows them.
QImage DrawPanelsMock(const QString& dir, const Sheets& sh) {
  const QImage setData = LoadKeyed(dir + "/art_189_set_data.bmp");
  const QImage modes = LoadKeyed(dir + "/art_188_mode_strip.bmp");
  const QImage chooser = LoadKeyed(dir + "/art_186_terrain_chooser.bmp");
  const QImage rose = LoadKeyed(dir + "/art_183_road_chooser.bmp");
  const QImage toggles = LoadKeyed(dir + "/art_153_toggle_strip.bmp");
  const QImage preview = LoadKeyed(dir + "/art_159_road_preview.bmp");

  QImage img(420, 600, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor::fromRgb(kWindow));
  QPainter p(&img);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QColor grey(70, 70, 70);
  auto text = [&](int x, int y, const QString& s, const QFont& f) {
    p.setFont(f);
    p.setPen(grey);
    p.drawText(QRect(x, y, 200, 16), Qt::AlignLeft | Qt::AlignTop, s);
  };
  auto strip = [&](const QImage& im, int x, int y, int pitch, int bw, int bh,
                   const std::vector<int>& pressed) {
    p.drawImage(QPoint(x, y), im, QRect(0, 0, im.width(), bh));
    for (int i : pressed) p.drawImage(QPoint(x + i * pitch, y), im, QRect(i * pitch, bh, bw, bh));
  };
  QFont uiFont("DejaVu Sans");
  uiFont.setPixelSize(12);
  QFont courier("DejaVu Sans Mono");
  courier.setPixelSize(12);

  // Left column: set data, mode strip (roads pressed), road chooser.
  int x = 4;
  int y = 4;
  p.drawImage(x, y, setData);
  text(x + 3, y + 27, "Forest", uiFont);
  text(x + 3, y + 71, "Old Mill", courier);
  text(x + 3, y + 115, "41", uiFont);
  strip(modes, x, y + 155, 38, 34, 24, {1});
  p.drawImage(x, y + 179, rose);
  for (int dir : {0, 3, 5}) Blit(p, sh.roads, FrameRect(kScales[0], dir), x + 25, y + 179 + 53);
  // The same with Auto chosen.
  p.drawImage(x, y + 179 + 175, rose);
  Blit(p, sh.roads, FrameRect(kScales[0], 8), x + 25, y + 179 + 175 + 53);

  // Middle column: mode strip (terrain pressed) over the terrain chooser.
  x = 130;
  strip(modes, x, y, 38, 34, 24, {0});
  p.drawImage(QPoint(x, y + 24), chooser, QRect(0, 0, 114, 380));
  p.drawImage(QPoint(x, y + 24 + 19 * 6), chooser, QRect(114, 19 * 6, 114, 19));

  // Right column: toggle strip (grid and roads on) and the road preview.
  x = 260;
  strip(toggles, x, y, 27, 24, 24, {0, 3});
  strip(toggles, x, y + 30, 27, 24, 24, {1, 2, 4});
  p.drawImage(x, y + 64, preview);
  text(x + 34, y + 66, "27", uiFont);
  for (int dir : {0, 1, 3, 5}) Blit(p, sh.roads, FrameRect(kScales[1], dir), x + 65, y + 67);
  p.end();
  return img;
}

void WriteChecks(const QString& artDir, const QString& checkDir) {
  Sheets sh{LoadKeyed(artDir + "/art_133_grid.bmp"), LoadKeyed(artDir + "/art_139_roads.bmp"),
            LoadKeyed(artDir + "/art_144_terrain_icons.bmp"),
            LoadKeyed(artDir + "/art_162_terrain_labels.bmp")};
  const Patch patch = SamplePatch();
  const int factors[3] = {3, 6, 8};
  for (int k = 0; k < 3; ++k) {
    const QImage img = DrawPatch(sh, kScales[size_t(k)], patch, false, false);
    const QString name = QString("%1/hex_patch_scale%2.png").arg(checkDir).arg(k);
    if (!Enlarge(img, factors[k]).save(name)) Fail("cannot write " + name.toStdString());
  }
  for (int k = 1; k < 3; ++k) {
    const QImage img = DrawPatch(sh, kScales[size_t(k)], patch, true, false);
    const QString name = QString("%1/hex_patch_icons_scale%2.png").arg(checkDir).arg(k);
    if (!Enlarge(img, factors[k]).save(name)) Fail("cannot write " + name.toStdString());
  }
  // Every terrain over a whole field of hexes, at each scale: neighbouring
  // badges must stay apart and the map must show between them.
  for (int k = 0; k < 3; ++k) {
    const QImage img = DrawFields(sh, kScales[size_t(k)]);
    const QString name = QString("%1/icon_fields_scale%2.png").arg(checkDir).arg(k);
    if (!Enlarge(img, factors[k] / 2 + 1).save(name)) Fail("cannot write " + name.toStdString());
  }
  if (!Enlarge(DrawPatch(sh, kScales[0], patch, true, false), 3)
           .save(checkDir + "/hex_patch_icons.png") ||
      !Enlarge(DrawPatch(sh, kScales[0], patch, false, true), 3)
           .save(checkDir + "/hex_patch_labels.png") ||
      !Enlarge(DrawPanelsMock(artDir, sh), 2).save(checkDir + "/panels_mock.png")) {
    Fail("cannot write the check pictures");
  }
}

// ---------------------------------------------------------------------------

void Save(const QImage& img, const QString& dir, const char* name, int w, int h) {
  if (img.width() != w || img.height() != h) Fail(std::string("wrong size: ") + name);
  if (img.format() != QImage::Format_ARGB32_Premultiplied && img.pixel(0, 0) != kKey) {
    Fail(std::string("top-left pixel is not the key: ") + name);
  }
  const QString path = dir + "/" + name;
  const bool bmp = path.endsWith(".bmp");
  const QImage out = bmp ? img.convertToFormat(QImage::Format_RGB32) : img;
  if (!out.save(path, bmp ? "BMP" : "PNG")) Fail("cannot write " + path.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr,
                 "usage: maptesk_make_art OUT_DIR [CHECK_DIR]\n"
                 "  writes the editor's bitmaps (24-bit BMP) and icons into OUT_DIR;\n"
                 "  with CHECK_DIR, also pictures composed from them for review\n");
    return 2;
  }
  // Nothing is shown, so no display should be needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  // The labels are measured to fit their frames in this font; another one
  // would change which names get abbreviated.
  const QString family = QFontInfo(UiFont(10)).family();
  if (!family.startsWith("DejaVu")) {
    std::fprintf(stderr, "maptesk_make_art: warning: DejaVu fonts missing, using %s\n",
                 family.toLocal8Bit().constData());
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(out)) Fail("cannot create " + out.toStdString());

  Save(MakeGridSheet(), out, "art_133_grid.bmp", 184, 80);
  Save(MakeRoadSheet(), out, "art_139_roads.bmp", 552, 81);
  Save(MakeIconSheet(), out, "art_144_terrain_icons.bmp", 337, 11);
  Save(MakeLabelSheet(), out, "art_162_terrain_labels.bmp", 58, 381);
  using namespace maptesk;
  Save(MakeToggleStrip(), out, "art_153_toggle_strip.bmp", kToggleStripWidth, 2 * kStripHeight);
  Save(MakeSetDataPanel(), out, "art_189_set_data.bmp", kPanelWidth, kSetDataHeight);
  Save(MakeModeStrip(), out, "art_188_mode_strip.bmp", kPanelWidth, 2 * kStripHeight);
  Save(MakeTerrainChooser(), out, "art_186_terrain_chooser.bmp", 2 * kPanelWidth,
       ScreenLayout::kTerrainButtons * kTerrainButtonHeight);
  Save(MakeRoadChooser(), out, "art_183_road_chooser.bmp", kPanelWidth, kRoadChooserHeight);
  Save(MakeRoadPreview(), out, "art_159_road_preview.bmp", kRoadPreviewWidth, kRoadPreviewHeight);
  Save(MakeAppIcon(64), out, "maptesk.png", 64, 64);
  Save(MakeAppIcon(32), out, "maptesk_32.png", 32, 32);
  Save(MakeAppIcon(16), out, "maptesk_16.png", 16, 16);

  if (argc == 3) {
    const QString checks = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(checks)) Fail("cannot create " + checks.toStdString());
    WriteChecks(out, checks);
  }
  return 0;
}
