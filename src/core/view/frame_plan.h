// What one frame of the editor shows, worked out without drawing anything:
// which frame of which sprite sheet goes where, which panel buttons are
// pressed, the texts with their places, colours and fonts. The display layer
// only carries a plan out, so everything a frame shows is decided (and
// tested) here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/view/hex_grid.h"

namespace maptesk {

class MapView;

/// Colours are COLORREF values, 0x00BBGGRR.
inline constexpr uint32_t kTextGrey = 0x464646;
inline constexpr uint32_t kTextWhite = 0xFAFAFA;
inline constexpr uint32_t kTextRed = 0x0000FF;
inline constexpr uint32_t kTitleStripColour = 0xF25700;
inline constexpr uint32_t kBackgroundColour = 0x00DCEDEF;

/// The sprite sheets of the view.
enum class Sheet { kGrid, kRoads, kTerrainIcons, kTerrainLabels };
/// Grid sheet frames.
inline constexpr int kSelectionFrame = 0;
inline constexpr int kGridFrame = 1;
/// Road sheet frame of the Auto mark (frames 0..7 are the road bits).
inline constexpr int kAutoMarkFrame = 8;
/// Terrain icon sheet frame of the named-hex mark (0..19 are the terrains).
inline constexpr int kNamedHexFrame = 20;

/// The size of one frame of a sheet at a scale: the art is cut to these.
using FrameSize = SpriteFrameSize;
FrameSize SheetFrameSize(Sheet sheet, int scale);

/// The panels drawn from a picture of their own.
enum class Panel {
  kToggleStrip,
  kSetData,
  kModeStrip,
  kTerrainChooser,
  kRoadChooser,
  kRoadPreview,
};

/// One sprite: frame `frame` of `sheet` at scale `scale`, its top-left at
/// (x, y), clipped to `clip`.
struct SpriteDraw {
  Sheet sheet = Sheet::kGrid;
  int scale = 0;
  int frame = 0;
  int32_t x = 0;
  int32_t y = 0;
  ScreenRect clip;
  friend bool operator==(const SpriteDraw&, const SpriteDraw&) = default;
};

/// One panel at its place; `pressed` holds one flag per button of a strip
/// (empty for panels without buttons).
struct PanelDraw {
  Panel panel = Panel::kSetData;
  ScreenRect place;
  std::vector<uint8_t> pressed;
  friend bool operator==(const PanelDraw&, const PanelDraw&) = default;
};

enum class TextFont { kDefault, kCourierNew9, kTahoma8 };
/// Where x is on the text: its left end, its middle, or its right end.
enum class TextAnchor { kLeft, kCentre, kRight };

struct TextDraw {
  std::string text;  ///< Windows-1252 bytes
  int32_t x = 0;
  int32_t y = 0;  ///< the top of the text
  TextAnchor anchor = TextAnchor::kLeft;
  uint32_t colour = kTextGrey;
  TextFont font = TextFont::kDefault;
  /// Drawn on an opaque background of the frame's background colour.
  bool opaque = false;
  /// The place the text's pixels must stay inside, empty for none: fonts
  /// differ from machine to machine, so a text too wide or too high for it
  /// is drawn in a smaller size, one that overhangs an edge is moved in, and
  /// what still does not fit (a very long name) is cut off at the edge
  /// rather than drawn over the panel beside it.
  ScreenRect box = {};
  friend bool operator==(const TextDraw&, const TextDraw&) = default;
};

/// The map picture's part of the frame.
struct PictureDraw {
  bool shown = false;
  /// The part of the picture shown, in picture pixels.
  ScreenRect source;
  /// Where it goes; the source is stretched into it in the zoomed view.
  ScreenRect dest;
  friend bool operator==(const PictureDraw&, const PictureDraw&) = default;
};

/// The pixels a sprite can touch: its frame at its place, inside its clip.
ScreenRect SpriteBounds(const SpriteDraw& sprite);

/// What the overlays show of each hex, one word per hex (roads, Auto mark,
/// terrain, named, selected): where two of these differ, the hex's marks do.
using HexMarks = std::array<std::array<uint32_t, HexGrid::kLastColumn + 1>, HexGrid::kLastRow + 1>;

/// What decides the hex overlays: while it stays the same, the overlay layer
/// drawn last time can be shown again as it is.
struct OverlayKey {
  uint64_t revision = 0;   ///< the edit history's revision
  uint64_t selection = 0;  ///< a hash of the selection grid
  uint16_t toggles = 0;
  uint32_t terrainMask = 0;
  int scale = 0;
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  int32_t fitToView = 0;
  ScreenRect viewRect;
  bool mapLoaded = false;
  friend bool operator==(const OverlayKey&, const OverlayKey&) = default;
};

/// Everything but the hex overlays, in drawing order: background, title
/// strip, picture, panels (and the road marks on them), texts.
/// The outline of the hexes a tool covers (the brush under the pointer):
/// each hex by its top-left, all of one size, clipped to `clip`.
struct HexOutlines {
  std::vector<ScreenPoint> hexes;
  int32_t width = 0;
  int32_t height = 0;
  /// How far the top and bottom edges stand in from the sides.
  int32_t slant = 0;
  ScreenRect clip;
  friend bool operator==(const HexOutlines&, const HexOutlines&) = default;
};

struct FramePlan {
  uint32_t background = kBackgroundColour;
  /// Full screen only; empty in window mode.
  ScreenRect titleStrip;
  PictureDraw picture;
  std::vector<PanelDraw> panels;
  /// The road-to-set marks on the road chooser and the current hex's roads
  /// in the road preview.
  std::vector<SpriteDraw> panelSprites;
  HexOutlines outlines;
  std::vector<TextDraw> texts;
  friend bool operator==(const FramePlan&, const FramePlan&) = default;
};

/// What the frame needs besides the view.
struct FrameInputs {
  /// The pointer in desktop coordinates, and the desktop's extent for edge
  /// scrolling.
  int32_t pointerX = 0;
  int32_t pointerY = 0;
  int32_t desktopRight = 0;
  int32_t desktopBottom = 0;
  /// Scroll when the pointer touches the desktop's edge (only while the
  /// editor has the focus: the pointer may be over another program).
  bool edgeScroll = true;
  /// The window's client origin on the desktop ((0, 0) in full screen).
  int32_t windowLeft = 0;
  int32_t windowTop = 0;
  /// The map's picture is loaded (and its size is the grid's).
  bool pictureLoaded = false;
  std::string statusLine;
  /// "Tesk Map Tool  *  <release title>" in full screen.
  std::string releaseTitle;
};

class FramePlanner {
 public:
  explicit FramePlanner(MapView& view) : view_(view) {}

  /// The hex info line step: the current hex follows the pointer (or none,
  /// and the info line is the hovered button's tooltip), then the rest of the
  /// frame is planned. Changes the view's current hex and currentCell.
  FramePlan Plan(const FrameInputs& inputs);

  /// The hex overlays, in drawing order, each clipped to viewRect; empty
  /// without a map picture.
  void PlanOverlays(std::vector<SpriteDraw>& out) const;
  /// The overlays of one hex, as PlanOverlays draws them; nothing for a hex
  /// out of view.
  void PlanHexOverlays(int row, int column, std::vector<SpriteDraw>& out) const;
  /// Relative to a hex's top-left corner on the screen, the rectangle every
  /// overlay of that hex stays inside, whatever its marks, at the present
  /// scale and toggles.
  ScreenRect HexFootprint() const;
  /// Where the overlays of a hex can put pixels on the screen now: its
  /// footprint at its place, inside the view; empty for a hex out of view.
  ScreenRect HexArea(int row, int column) const;
  /// What every hex's overlays depend on besides the key's view state.
  void Marks(HexMarks& out) const;
  OverlayKey Key(uint64_t revision) const;

  /// Kept from the last Plan: the info line and the hovered road value.
  const std::string& infoLine() const { return infoLine_; }
  const std::string& hoveredRoads() const { return hoveredRoads_; }

  /// Tooltips of the strips, by button.
  static const char* ToggleTooltip(int button);
  static const char* ModeTooltip(int button);
  /// The terrain name, or the value with at least two digits past the table.
  static std::string TerrainText(int terrain);

 private:
  MapView& view_;
  std::string infoLine_;
  std::string hoveredRoads_;
};

}  // namespace maptesk
