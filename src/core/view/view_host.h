// What the map view asks of the window that shows it: window services only.
// Commands that belong to the application (open a file, close, run a dialog)
// go back to it by command id, as a menu item would send them. The editor's
// frame implements it with Qt; the tests record the calls.
#pragma once

namespace maptesk {

enum class PointerShape { kArrow, kCross, kFourArrows };

class ViewHost {
 public:
  virtual ~ViewHost() = default;

  /// Places the mouse pointer on a point of the window (the host converts it
  /// to desktop coordinates in windowed mode).
  virtual void PlacePointer(int windowX, int windowY) = 0;
  virtual void SetPointerShape(PointerShape shape) = 0;
  /// Keeps the mouse events coming to the view while a button is held.
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  /// Shows the ordinary drawing surface, so that a modal dialog can be seen
  /// in full screen.
  virtual void ShowOrdinarySurface() = 0;
  /// Queues an application command, to run once the current input event is
  /// handled, exactly as if its menu item had been chosen.
  virtual void PostCommand(int commandId) = 0;
};

/// For views drawn without a window (pictures made in batch, benchmarks):
/// no pointer to move or capture, nobody to hand commands to.
class NoWindow final : public ViewHost {
 public:
  void PlacePointer(int, int) override {}
  void SetPointerShape(PointerShape) override {}
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  void ShowOrdinarySurface() override {}
  void PostCommand(int) override {}
};

}  // namespace maptesk
