// What the map view asks of the window that shows it. The editor's frame
// implements it with Qt; the tests record the calls.
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
  /// Runs the name picker starting at `index`; true with the chosen index in
  /// `index` when it was closed with OK.
  virtual bool PickName(int& index) = 0;
  /// Runs the terrain filter dialog.
  virtual void OpenTerrainFilter() = 0;
  /// Asks the application to close (it offers to save changes first).
  virtual void RequestClose() = 0;
  /// Opens the last file used, as the application's command does.
  virtual void OpenLastFile() = 0;
};

}  // namespace maptesk
