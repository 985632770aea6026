#include "core/view/frame_plan.h"

#include <algorithm>

#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/map/terrain_table.h"
#include "core/settings/tool_settings.h"
#include "core/util/text_format.h"
#include "core/view/map_view.h"
#include "core/view/panel_layout.h"

namespace maptesk {

namespace {

constexpr const char* kToggleTooltips[ScreenLayout::kToggleButtons] = {
    "Toggles Grid on /off", "Toggles normal / zoomed out view",
    "Toggles marks for filtered terrain types", "Toggles roads marks on /off",
    "Toggles if named hexes will be marked"};
constexpr uint16_t kToggleButtonBits[ScreenLayout::kToggleButtons] = {
    kToggleGrid, kToggleZoom, kToggleTerrainMarks, kToggleRoads, kToggleNamedHexes};

constexpr const char* kModeTooltips[ScreenLayout::kModeButtons] = {
    "Toggles if Right Mouse button sets terrain", "Toggles if Right Mouse button sets roads",
    "Toggles if Right Mouse button sets names"};
constexpr int kModeButtonModes[ScreenLayout::kModeButtons] = {kSetTerrain, kSetRoads, kSetName};

// The road chooser's rose shows only the six directions a hex side can take:
// E and W have no place on it.
constexpr uint16_t kChooserRoadBits[] = {kRoadN, kRoadNE, kRoadSE, kRoadS, kRoadSW, kRoadNW};

// The modified marks stand in two lines from 14 pixels above the bottom bar.
constexpr int32_t kModifiedRise = 14;
// Where the terrain chooser leaves no room for those two lines (800 x 600),
// the marks share the bottom bar's row with the status line instead, at its
// right end: the status line gives up this much of the bar to them.
constexpr int32_t kModifiedRowWidth = 176;

constexpr int kRoadBits = 8;
constexpr int32_t kIconWidth = kTerrainIconFrame.width;
constexpr int32_t kIconHeight = kTerrainIconFrame.height;
constexpr int32_t kCapsLinePitch = 15;

int FrameOfBit(uint16_t bit) {
  int frame = 0;
  while ((bit >> frame) != 1) ++frame;
  return frame;
}

// One sprite per set road bit, then the Auto mark: the order the display
// layers them in.
void AddRoads(std::vector<SpriteDraw>& out, const HexCell& cell, int scale, int32_t x, int32_t y,
              const ScreenRect& clip) {
  for (int k = 0; k < kRoadBits; ++k) {
    if ((cell.roads & (1u << k)) != 0) out.push_back({Sheet::kRoads, scale, k, x, y, clip});
  }
  if (cell.autoRoadMark()) out.push_back({Sheet::kRoads, scale, kAutoMarkFrame, x, y, clip});
}

TextDraw Text(std::string text, int32_t x, int32_t y, TextAnchor anchor = TextAnchor::kLeft,
              uint32_t colour = kTextGrey) {
  TextDraw t;
  t.text = std::move(text);
  t.x = x;
  t.y = y;
  t.anchor = anchor;
  t.colour = colour;
  return t;
}

TextDraw Boxed(TextDraw t, const ScreenRect& box) {
  t.box = box;
  return t;
}

// The inside of a sunken text box of a panel, clear of its edge lines.
ScreenRect InsideSlot(const ScreenRect& panel, const ScreenRect& slot) {
  return {panel.left + slot.left + 1, panel.top + slot.top + 1, panel.left + slot.right - 1,
          panel.top + slot.bottom - 1};
}

}  // namespace

const char* FramePlanner::ToggleTooltip(int button) {
  return (button >= 0 && button < ScreenLayout::kToggleButtons) ? kToggleTooltips[button] : "";
}

const char* FramePlanner::ModeTooltip(int button) {
  return (button >= 0 && button < ScreenLayout::kModeButtons) ? kModeTooltips[button] : "";
}

std::string FramePlanner::TerrainText(int terrain) {
  const char* name = TerrainTable::Name(terrain);
  return name != nullptr ? std::string(name) : Format("%02d", terrain);
}

FramePlan FramePlanner::Plan(const FrameInputs& inputs) {
  MapView& v = view_;
  HexGrid& g = v.grid;
  const ScreenLayout& s = v.screen;
  HexMap& map = v.map();
  MapNames& names = v.names();

  FramePlan plan;
  plan.background = kBackgroundColour;
  if (s.fullScreen) plan.titleStrip = s.titleStrip;

  // The hex info line; the current hex follows the pointer here.
  if (inputs.edgeScroll) {
    g.edgeScroll(inputs.pointerX, inputs.pointerY, inputs.desktopRight, inputs.desktopBottom);
  }
  const int32_t px = inputs.pointerX - inputs.windowLeft;
  const int32_t py = inputs.pointerY - inputs.windowTop;
  v.followPointer(px, py);
  if (v.currentCell != nullptr) {
    const HexCell& cell = *v.currentCell;
    const int row = g.current.row;
    const int column = g.current.column;
    const int slot = names.nameIndex[size_t(row)][size_t(column)];
    infoLine_ = Format("%s  (%d,%d) %s", TerrainText(cell.terrain).c_str(), column, row,
                       names.NameOf(slot).c_str());
    if (v.pathStart) {
      infoLine_ = Format("Road from (%d,%d): P on its last hex, Esc cancels  -  ",
                         v.pathStart->column, v.pathStart->row) +
                  infoLine_;
    }
    hoveredRoads_ = Format("%d", cell.roads);
  } else {
    int button = s.toggleButtonAt(px, py);
    if (button >= 0) {
      infoLine_ = ToggleTooltip(button);
    } else if ((button = s.modeButtonAt(px, py)) >= 0) {
      infoLine_ = ModeTooltip(button);
    } else {
      infoLine_.clear();
    }
  }

  const bool picture = inputs.pictureLoaded && g.mapLoaded;
  if (picture) {
    PictureDraw& p = plan.picture;
    p.shown = true;
    p.dest = g.viewRect;
    if (g.fitToView == 0) {
      ScreenRect src{g.scrollX, g.scrollY, g.scrollX + g.viewWidth, g.scrollY + g.viewHeight};
      // A scroll left over from a larger picture would show past its edge.
      if (src.right > g.mapPixelWidth) {
        src.left -= src.right - g.mapPixelWidth;
        src.right = g.mapPixelWidth;
      }
      if (src.bottom > g.mapPixelHeight) {
        src.top -= src.bottom - g.mapPixelHeight;
        src.bottom = g.mapPixelHeight;
      }
      if (src.left != g.scrollX || src.top != g.scrollY) {
        g.scrollX = src.left;
        g.scrollY = src.top;
        g.setCurrent(g.current.row, g.current.column);
      }
      p.source = src;
    } else {
      p.source = {0, 0, g.mapPixelWidth, g.mapPixelHeight};
    }
  }

  // Panels, in drawing order.
  plan.panels.push_back({Panel::kSetData, s.setDataPanel, {}});
  if (v.setMode() == kSetTerrain) {
    std::vector<uint8_t> pressed(ScreenLayout::kTerrainButtons, 0);
    if (v.chooserTerrain >= 0 && v.chooserTerrain < ScreenLayout::kTerrainButtons) {
      pressed[size_t(v.chooserTerrain)] = 1;
    }
    plan.panels.push_back({Panel::kTerrainChooser, s.terrainChooser, std::move(pressed)});
  }
  if (v.setMode() == kSetRoads) {
    plan.panels.push_back({Panel::kRoadChooser, s.roadChooser, {}});
    const int32_t x = s.roadChooser.left + kChooserHexPlace.x;
    const int32_t y = s.roadChooser.top + kChooserHexPlace.y;
    if (v.autoChoice()) {
      plan.panelSprites.push_back({Sheet::kRoads, 0, kAutoMarkFrame, x, y, s.roadChooser});
    } else {
      for (uint16_t bit : kChooserRoadBits) {
        if ((v.dataToSet.roads & bit) != 0) {
          plan.panelSprites.push_back({Sheet::kRoads, 0, FrameOfBit(bit), x, y, s.roadChooser});
        }
      }
    }
  }
  std::vector<uint8_t> toggles(ScreenLayout::kToggleButtons, 0);
  for (int i = 0; i < ScreenLayout::kToggleButtons; ++i) {
    toggles[size_t(i)] = v.toggle(kToggleButtonBits[i]) ? 1 : 0;
  }
  plan.panels.push_back({Panel::kToggleStrip, s.toggleStrip, std::move(toggles)});
  std::vector<uint8_t> modes(ScreenLayout::kModeButtons, 0);
  for (int i = 0; i < ScreenLayout::kModeButtons; ++i) {
    modes[size_t(i)] = v.setMode() == kModeButtonModes[i] ? 1 : 0;
  }
  plan.panels.push_back({Panel::kModeStrip, s.modeStrip, std::move(modes)});
  plan.panels.push_back({Panel::kRoadPreview, s.roadPreview, {}});
  if (picture && v.currentCell != nullptr) {
    AddRoads(plan.panelSprites, *v.currentCell, 1, s.roadPreview.left + kPreviewHexPlace.x,
             s.roadPreview.top + kPreviewHexPlace.y, s.roadPreview);
  }

  // The brush's outline under the pointer, when it covers more than the hex.
  if (picture && v.currentCell != nullptr && v.brushRadius() > 0) {
    HexOutlines& o = plan.outlines;
    o.width = g.metrics.hexWidth;
    o.height = g.metrics.hexHeight;
    o.slant = g.metrics.slantWidth;
    o.clip = g.viewRect;
    for (HexOffset h : v.brushHexes()) {
      const HexPos p = g.hexToPixel(h.row, h.column);
      o.hexes.push_back({p.screenX, p.screenY});
    }
  }

  // Texts.
  std::vector<TextDraw>& texts = plan.texts;
  if (s.fullScreen) {
    texts.push_back(Text("ALT - Menu", s.topBar.left + 6, 2, TextAnchor::kLeft, kTextWhite));
    texts.push_back(
        Text("F12 - WinMode", s.rightPanel.right - 10, 2, TextAnchor::kRight, kTextWhite));
    texts.push_back(Text(Format("Tesk Map Tool  *  %s", inputs.releaseTitle.c_str()),
                         s.screen.left + s.screen.width() / 2, s.screen.top + 2,
                         TextAnchor::kCentre, kTextWhite));
  }
  // The info line has the top bar between the toggle strip and the road preview.
  const ScreenRect infoBox{s.toggleStrip.right + 2, s.topBar.top, s.roadPreview.left - 2,
                           s.mapArea.top};
  texts.push_back(Boxed(Text(infoLine_, g.viewRect.left + g.viewRect.width() / 2, s.topBar.top + 2,
                             TextAnchor::kCentre),
                        infoBox));
  if (picture) {
    texts.push_back(Boxed(Text(hoveredRoads_, s.roadPreview.left + 34, s.roadPreview.top + 2),
                          InsideSlot(s.roadPreview, kRoadsValueBox)));
  }
  const ScreenRect& panel = s.setDataPanel;
  texts.push_back(Boxed(Text(TerrainText(v.dataToSet.terrain), panel.left + kTerrainSlot.left + 1,
                             panel.top + kTerrainSlot.top + 1),
                        InsideSlot(panel, kTerrainSlot)));
  texts.push_back(Boxed(Text(v.autoChoice() ? " Auto" : Format("%d", v.dataToSet.roads),
                             panel.left + kRoadsSlot.left + 1, panel.top + kRoadsSlot.top + 1),
                        InsideSlot(panel, kRoadsSlot)));
  const bool named = v.nameToSet > 0 && v.nameToSet < names.nameCount;
  TextDraw name = Boxed(Text(named ? names.NameOf(v.nameToSet) : std::string("No name"),
                             panel.left + kNameSlot.left + 1, panel.top + kNameSlot.top + 1),
                        InsideSlot(panel, kNameSlot));
  name.font = TextFont::kCourierNew9;
  texts.push_back(std::move(name));
  static constexpr const char* kBrushTexts[] = {"Brush: 1 hex", "Brush: 7 hexes",
                                                "Brush: 19 hexes"};
  texts.push_back(Boxed(Text(kBrushTexts[v.brushRadius()], panel.left + kBrushSlot.left + 1,
                             panel.top + kBrushSlot.top + 1),
                        InsideSlot(panel, kBrushSlot)));

  // The 800x600 mode has no room for the default font in the bottom bar.
  const TextFont barFont =
      s.fullScreen && s.screen.width() == 800 ? TextFont::kTahoma8 : TextFont::kDefault;
  // The terrain chooser is the tallest panel of the right column; the marks
  // stay in one place whichever panel the set mode shows.
  const bool marksInBar = s.terrainChooser.bottom > s.bottomBar.top - kModifiedRise;
  ScreenRect statusBox{s.bottomBar.left + 1, s.bottomBar.top, s.bottomBar.right - 1,
                       s.bottomBar.bottom};
  if (map.modified || names.namesModified) {
    std::string which;
    if (map.modified) which += "<Map>";
    if (names.namesModified) which += " <Names>";
    if (marksInBar) {
      if (which.front() == ' ') which.erase(0, 1);
      const ScreenRect row{s.bottomBar.right - kModifiedRowWidth, s.bottomBar.top,
                           s.bottomBar.right - 1, s.bottomBar.bottom};
      TextDraw marks = Boxed(
          Text(" * Modified: " + which, row.right - 1, s.bottomBar.top + 2, TextAnchor::kRight),
          row);
      marks.font = barFont;
      texts.push_back(std::move(marks));
      statusBox.right = row.left - 4;
    } else {
      // Under the chooser, as wide as the right panel.
      const ScreenRect& right = s.rightPanel;
      texts.push_back(Boxed(
          Text(" * Modified:", s.mapArea.right + 1, s.bottomBar.top - kModifiedRise),
          {right.left + 1, s.bottomBar.top - kModifiedRise, right.right - 1, s.bottomBar.top + 1}));
      texts.push_back(Boxed(Text(std::move(which), s.mapArea.right + 1, s.bottomBar.top + 2),
                            {right.left + 1, s.bottomBar.top + 1, right.right - 1, right.bottom}));
    }
  }
  if (v.capsWarning != 0) {
    static constexpr const char* kCapsLines[] = {"CAPS LOCK", "Warning", "R,T,N & D",
                                                 "changes data"};
    const int32_t x = s.screen.right - s.terrainChooser.width() / 2 - 2;
    int32_t y = s.terrainChooser.bottom + 3;
    for (const char* line : kCapsLines) {
      texts.push_back(Text(line, x, y, TextAnchor::kCentre));
      y += kCapsLinePitch;
    }
  }
  TextDraw status =
      Boxed(Text(inputs.statusLine, s.bottomBar.left + 3, s.bottomBar.top + 2), statusBox);
  status.font = barFont;
  if (!map.hasS16Picture) {
    // A map without its S16 tiles cannot go into the game: the status line says why.
    status.colour = kTextRed;
    status.opaque = true;
  }
  texts.push_back(std::move(status));
  return plan;
}

namespace {

// What the overlays of every hex share in one frame.
struct OverlayStyle {
  uint16_t toggles = 0;
  uint32_t mask = 0;
  bool zoomed = false;
  bool icons = false;
  int scale = 0;
  int32_t w = 0;
  int32_t h = 0;
  // In the normal view the terrain and named marks share the hex side by side.
  int32_t terrainShiftX = 0;
  int32_t terrainShiftY = 0;
  int32_t namedShiftX = 0;
  int32_t namedShiftY = 0;
};

OverlayStyle StyleOf(MapView& view) {
  OverlayStyle st;
  st.toggles = view.toggles();
  st.mask = view.settings().terrainMask;
  st.zoomed = (st.toggles & kToggleZoom) != 0;
  st.icons = st.zoomed || (st.toggles & kToggleLabels) == 0;
  st.scale = view.overlayScale;
  st.w = view.grid.metrics.hexWidth;
  st.h = view.grid.metrics.hexHeight;
  st.terrainShiftX = st.zoomed ? 0 : -8;
  st.terrainShiftY = st.zoomed ? 0 : -5;
  st.namedShiftX = st.zoomed ? 0 : 8;
  st.namedShiftY = st.zoomed ? 0 : 6;
  return st;
}

void AddHexOverlays(MapView& view, const OverlayStyle& st, const HexPos& pos,
                    std::vector<SpriteDraw>& out) {
  const int row = pos.row;
  const int column = pos.column;
  const ScreenRect& clip = view.grid.viewRect;
  const int32_t sx = pos.screenX;
  const int32_t sy = pos.screenY;
  const HexCell& cell = view.map().cell(row, column);
  const int32_t iconX = sx + (st.w - kIconWidth) / 2;
  const int32_t iconY = sy + (st.h - kIconHeight) / 2;

  if ((st.toggles & kToggleRoads) != 0) AddRoads(out, cell, st.scale, sx, sy, clip);
  const int terrain = cell.terrain;
  if ((st.toggles & kToggleTerrainMarks) != 0 && terrain < TerrainTable::kCount &&
      (st.mask & (1u << terrain)) != 0) {
    if (st.icons) {
      out.push_back({Sheet::kTerrainIcons, 0, terrain, iconX + st.terrainShiftX,
                     iconY + st.terrainShiftY, clip});
    } else {
      out.push_back({Sheet::kTerrainLabels, 0, terrain, sx + st.w / 2 - 30, sy + st.h / 2, clip});
    }
  }
  if ((st.toggles & kToggleNamedHexes) != 0 &&
      view.names().nameIndex[size_t(row)][size_t(column)] > 0) {
    out.push_back({Sheet::kTerrainIcons, 0, kNamedHexFrame, iconX + st.namedShiftX,
                   iconY + st.namedShiftY, clip});
  }
  if ((st.toggles & kToggleGrid) != 0 && sx < clip.right && sy < clip.bottom) {
    out.push_back({Sheet::kGrid, st.scale, kGridFrame, sx, sy, clip});
  }
  if (view.map().selected[size_t(row)][size_t(column)] != 0) {
    out.push_back({Sheet::kGrid, st.scale, kSelectionFrame, sx, sy, clip});
  }
}

ScreenRect Unite(const ScreenRect& a, const ScreenRect& b) {
  if (a.width() <= 0 || a.height() <= 0) return b;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

ScreenRect At(int32_t x, int32_t y, FrameSize size) {
  return {x, y, x + size.width, y + size.height};
}

}  // namespace

FrameSize SheetFrameSize(Sheet sheet, int scale) {
  // The grid and road sheets follow the view's three scales.
  switch (sheet) {
    case Sheet::kGrid:
    case Sheet::kRoads:
      return scale >= 0 && scale < int(kHexFrameSizes.size()) ? kHexFrameSizes[size_t(scale)]
                                                              : FrameSize{};
    case Sheet::kTerrainIcons: return scale == 0 ? kTerrainIconFrame : FrameSize{};
    case Sheet::kTerrainLabels: return scale == 0 ? kTerrainLabelFrame : FrameSize{};
  }
  return {};
}

ScreenRect SpriteBounds(const SpriteDraw& s) {
  const FrameSize size = SheetFrameSize(s.sheet, s.scale);
  const ScreenRect r{std::max(s.x, s.clip.left), std::max(s.y, s.clip.top),
                     std::min(s.x + size.width, s.clip.right),
                     std::min(s.y + size.height, s.clip.bottom)};
  if (r.width() <= 0 || r.height() <= 0) return {};
  return r;
}

void FramePlanner::PlanOverlays(std::vector<SpriteDraw>& out) const {
  const HexGrid& g = view_.grid;
  if (!g.mapLoaded) return;
  const OverlayStyle style = StyleOf(view_);
  // A hex that starts one row or column before the corner can still reach into the view.
  const HexPos corner = g.pixelToHex(g.viewRect.left, g.viewRect.top);
  const int firstRow = std::max(corner.row - 1, 0);
  const int firstColumn = std::max(corner.column - 1, 0);
  for (int row = firstRow; row <= HexGrid::kLastRow; ++row) {
    for (int column = firstColumn; column <= HexGrid::kLastColumn; ++column) {
      const HexPos pos = g.hexToPixel(row, column);
      if (g.isVisible(pos)) AddHexOverlays(view_, style, pos, out);
    }
  }
}

void FramePlanner::PlanHexOverlays(int row, int column, std::vector<SpriteDraw>& out) const {
  const HexGrid& g = view_.grid;
  if (!g.mapLoaded) return;
  const HexPos pos = g.hexToPixel(row, column);
  if (g.isVisible(pos)) AddHexOverlays(view_, StyleOf(view_), pos, out);
}

ScreenRect FramePlanner::HexFootprint() const {
  // Every sprite a hex can have, at a corner of (0, 0) and with no clip.
  const OverlayStyle st = StyleOf(view_);
  const FrameSize hex = SheetFrameSize(Sheet::kGrid, st.scale);
  const FrameSize roads = SheetFrameSize(Sheet::kRoads, st.scale);
  const FrameSize icon = SheetFrameSize(Sheet::kTerrainIcons, 0);
  const int32_t iconX = (st.w - kIconWidth) / 2;
  const int32_t iconY = (st.h - kIconHeight) / 2;
  ScreenRect r = At(0, 0, hex);
  r = Unite(r, At(0, 0, roads));
  r = Unite(r, At(iconX + st.terrainShiftX, iconY + st.terrainShiftY, icon));
  r = Unite(r, At(iconX + st.namedShiftX, iconY + st.namedShiftY, icon));
  if (!st.icons) {
    r = Unite(r, At(st.w / 2 - 30, st.h / 2, SheetFrameSize(Sheet::kTerrainLabels, 0)));
  }
  return r;
}

ScreenRect FramePlanner::HexArea(int row, int column) const {
  const HexGrid& g = view_.grid;
  if (!g.mapLoaded) return {};
  const HexPos pos = g.hexToPixel(row, column);
  if (!g.isVisible(pos)) return {};
  const ScreenRect f = HexFootprint();
  const ScreenRect& clip = g.viewRect;
  const ScreenRect r{
      std::max(pos.screenX + f.left, clip.left), std::max(pos.screenY + f.top, clip.top),
      std::min(pos.screenX + f.right, clip.right), std::min(pos.screenY + f.bottom, clip.bottom)};
  if (r.width() <= 0 || r.height() <= 0) return {};
  return r;
}

void FramePlanner::Marks(HexMarks& out) const {
  const HexMap& map = view_.map();
  const MapNames& names = view_.names();
  for (int row = 0; row <= HexGrid::kLastRow; ++row) {
    for (int column = 0; column <= HexGrid::kLastColumn; ++column) {
      const HexCell& cell = map.cell(row, column);
      uint32_t m = uint32_t(cell.roads & 0xFF);
      if (cell.autoRoadMark()) m |= 1u << 8;
      if (names.nameIndex[size_t(row)][size_t(column)] > 0) m |= 1u << 9;
      if (map.selected[size_t(row)][size_t(column)] != 0) m |= 1u << 10;
      m |= uint32_t(cell.terrain) << 16;
      out[size_t(row)][size_t(column)] = m;
    }
  }
}

OverlayKey FramePlanner::Key(uint64_t revision) const {
  const HexGrid& g = view_.grid;
  OverlayKey key;
  key.revision = revision;
  // FNV-1a: cheap enough to run every frame over the 1,800 flags.
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const auto& row : view_.map().selected) {
    for (uint8_t flag : row) {
      hash ^= flag;
      hash *= 0x100000001b3ull;
    }
  }
  key.selection = hash;
  key.toggles = view_.toggles();
  key.terrainMask = view_.settings().terrainMask;
  key.scale = view_.overlayScale;
  key.scrollX = g.scrollX;
  key.scrollY = g.scrollY;
  key.fitToView = g.fitToView;
  key.viewRect = g.viewRect;
  key.mapLoaded = g.mapLoaded;
  return key;
}

}  // namespace maptesk
