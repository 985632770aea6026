// The display layer's rules that need no pixels: its result codes, the
// full-screen mode list and the order modes are tried in, the 3-3-2 palette of
// the 8-bit mode, and the idle step that decides whether a frame is drawn.
// The layer itself (src/ui/display) carries them out on images.
#pragma once

#include <array>
#include <cstdint>

#include "core/view/hex_grid.h"

namespace maptesk {

// 32-bit results of the display layer: 0 is success, a negative value a
// failure. The values are those the callers' error paths were written for.
inline constexpr int32_t kOk = 0;
inline constexpr int32_t kErrNoInterface = int32_t(0x80004002u);
inline constexpr int32_t kErrPointer = int32_t(0x80004003u);
inline constexpr int32_t kErrFail = int32_t(0x80004005u);
inline constexpr int32_t kErrSurfaceLost = int32_t(0x887601C2u);
inline constexpr int32_t kErrWasStillDrawing = int32_t(0x8876021Cu);
inline constexpr int32_t kErrExclusiveModeAlreadySet = int32_t(0x88760245u);

inline constexpr bool Succeeded(int32_t result) { return result >= 0; }

/// A full-screen display mode; number 0 is the window.
struct DisplayMode {
  int number = 0;
  int width = 0;
  int height = 0;
  int bits = 0;
};

inline constexpr int kWindowMode = 0;
inline constexpr std::array<DisplayMode, 3> kDisplayModes = {{
    {1, 640, 480, 8},
    {2, 800, 600, 16},
    {3, 1024, 768, 16},
}};

/// The mode numbered `number`, or nullptr for the window and unknown numbers.
const DisplayMode* FindDisplayMode(int number);

/// The screen's side of a mode change.
class ModeSetter {
 public:
  virtual ~ModeSetter() = default;
  /// Switches the screen to w x h x bits; a negative result when it cannot.
  virtual int32_t SetDisplayMode(int width, int height, int bits) = 0;
};

/// Tries mode `number` and, when the screen refuses it, every smaller mode in
/// turn. Before each try `rect` becomes (0, 0, width, height) and `bits` that
/// try's depth, so they describe the mode that was set. Returns the result of
/// the last try; a number outside 1..3 tries nothing, leaves the outputs and
/// returns kOk.
int32_t WalkDisplayModes(ModeSetter& screen, int number, ScreenRect& rect, int& bits);

/// One palette colour, laid out as the platform's palette entries were.
struct PaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t flags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

using Palette = std::array<PaletteEntry, 256>;
/// The system's static colours: the first ten and the last ten entries.
using SystemColours = std::array<PaletteEntry, 20>;

/// The 8-bit palette: index bits rrrgggbb. With `system`, entries 0-9 and
/// 246-255 are the system's colours, which a window sharing the screen keeps.
Palette MakePalette332(const SystemColours* system = nullptr);

/// The index of the 3-3-2 entry nearest to a colour.
uint8_t Index332(uint8_t red, uint8_t green, uint8_t blue);

/// Display state bits: while any is set no frame is drawn.
inline constexpr uint32_t kStateNotCreated = 0x01;
inline constexpr uint32_t kStateSwitching = 0x04;
inline constexpr uint32_t kStateSettingMode = 0x08;
inline constexpr uint32_t kStateMinimised = 0x10;
inline constexpr uint32_t kStateTextEntry = 0x20;

/// What draws one frame for the idle step; returns the display layer's result.
class FrameDrawer {
 public:
  virtual ~FrameDrawer() = default;
  virtual int32_t DrawFrame() = 0;
};

enum class IdleResult {
  kDrew,     ///< a frame was drawn
  kSkipped,  ///< a state bit held the frame back
  kRetry,    ///< the frame failed; the next step tries again
  kClose,    ///< two frames in a row failed: the application should close
};

/// The application's idle processing: draws a frame when the display allows
/// it and gives up after two failed frames in a row.
class IdleStep {
 public:
  uint32_t state() const { return state_; }
  void Set(uint32_t bits) { state_ |= bits; }
  void Clear(uint32_t bits) { state_ &= ~bits; }
  int failures() const { return failures_; }

  IdleResult Step(FrameDrawer& drawer);

 private:
  // The display does not exist until the frame has created it.
  uint32_t state_ = kStateNotCreated;
  int failures_ = 0;
};

}  // namespace maptesk
