#include "core/view/display_rules.h"

namespace maptesk {

const DisplayMode* FindDisplayMode(int number) {
  for (const DisplayMode& mode : kDisplayModes) {
    if (mode.number == number) return &mode;
  }
  return nullptr;
}

int32_t WalkDisplayModes(ModeSetter& screen, int number, ScreenRect& rect, int& bits) {
  if (FindDisplayMode(number) == nullptr) return kOk;
  int32_t result = kOk;
  // Largest first: a request for mode n may end in any mode up to n, never
  // in a larger one.
  for (int tried = number; tried >= 1; --tried) {
    const DisplayMode& mode = *FindDisplayMode(tried);
    rect = ScreenRect{0, 0, mode.width, mode.height};
    bits = mode.bits;
    result = screen.SetDisplayMode(mode.width, mode.height, mode.bits);
    if (Succeeded(result)) return result;
  }
  return result;
}

Palette MakePalette332(const SystemColours* system) {
  Palette palette{};
  for (int i = 0; i < 256; ++i) {
    palette[i].red = uint8_t(((i >> 5) & 7) * 255 / 7);
    palette[i].green = uint8_t(((i >> 2) & 7) * 255 / 7);
    palette[i].blue = uint8_t((i & 3) * 255 / 3);
  }
  if (system != nullptr) {
    for (int i = 0; i < 10; ++i) {
      palette[i] = (*system)[i];
      palette[246 + i] = (*system)[10 + i];
    }
  }
  return palette;
}

uint8_t Index332(uint8_t red, uint8_t green, uint8_t blue) {
  // Rounded, so that every palette colour maps back onto its own entry.
  const int r = (red * 7 + 127) / 255;
  const int g = (green * 7 + 127) / 255;
  const int b = (blue * 3 + 127) / 255;
  return uint8_t((r << 5) | (g << 2) | b);
}

IdleResult IdleStep::Step(FrameDrawer& drawer) {
  if (state_ != 0) return IdleResult::kSkipped;
  if (Succeeded(drawer.DrawFrame())) {
    failures_ = 0;
    return IdleResult::kDrew;
  }
  // One failure may be a passing state of the screen (a mode change, a lost
  // surface being rebuilt); a second in a row means the display is gone.
  if (++failures_ < 2) return IdleResult::kRetry;
  failures_ = 0;
  state_ |= kStateSwitching;
  return IdleResult::kClose;
}

}  // namespace maptesk
