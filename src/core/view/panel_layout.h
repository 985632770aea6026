// The sizes of the top bar's strips and the right-hand panels, and the places
// inside them that the view draws into or hit-tests. The screen layout, the
// frame plan and the art tool all take them from here, so the pictures of
// the panels and what the view does with them cannot drift apart.
#pragma once

#include <cstdint>

#include "core/view/hex_grid.h"

namespace maptesk {

/// The toggle strip (top bar) and the mode strip (right panel): one row of
/// buttons, `kStripHeight` high; their pictures hold the raised row over the
/// pressed one.
inline constexpr int32_t kStripHeight = 24;
inline constexpr int32_t kToggleStripWidth = 135;
inline constexpr int32_t kToggleButtonSize = 24;
inline constexpr int32_t kToggleButtonPitch = 27;
inline constexpr int32_t kModeButtonWidth = 34;
inline constexpr int32_t kModeButtonPitch = 38;

/// Every panel of the right-hand column is this wide.
inline constexpr int32_t kPanelWidth = 114;
inline constexpr int32_t kSetDataHeight = 155;
/// One button of the terrain chooser; its picture holds the raised column
/// beside the pressed one.
inline constexpr int32_t kTerrainButtonHeight = 19;
inline constexpr int32_t kRoadChooserHeight = 169;
inline constexpr int32_t kRoadPreviewWidth = 92;
inline constexpr int32_t kRoadPreviewHeight = 22;

/// The set-data panel's text slots, relative to the panel (texts sit one
/// pixel in); the brush's size stands under the roads slot, on the face.
inline constexpr ScreenRect kTerrainSlot{2, 26, 111, 43};
inline constexpr ScreenRect kNameSlot{2, 70, 111, 87};
inline constexpr ScreenRect kRoadsSlot{2, 114, 111, 131};
inline constexpr ScreenRect kBrushSlot{2, 134, 111, 152};

/// Where the road chooser shows the chosen roads: the top-left of a scale 0
/// hex frame, relative to the chooser.
inline constexpr ScreenPoint kChooserHexPlace{25, 53};
/// The road chooser's hit areas, relative to it and tested in this order:
/// N, NE, SE, S, SW, NW, then Auto, the middle of the rose that the six
/// directions leave free.
inline constexpr int kRoadChooserAreas = 7;
inline constexpr ScreenRect kRoadHitAreas[kRoadChooserAreas] = {
    {16, 16, 64, 48},  {83, 47, 131, 79}, {83, 92, 131, 124}, {48, 107, 96, 139},
    {14, 92, 62, 124}, {14, 47, 62, 79},  {37, 18, 76, 162}};

/// The road preview's white box, where the hovered hex's roads value stands,
/// and the top-left of the scale 1 hex frame its roads are drawn into.
inline constexpr ScreenRect kRoadsValueBox{32, 2, 63, 20};
inline constexpr ScreenPoint kPreviewHexPlace{65, 3};

}  // namespace maptesk
