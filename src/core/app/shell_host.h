// What the application asks of the editor's window beyond the view's
// services: the window itself, its picture image, its video modes and its
// closing. The editor's main frame implements it; tests record the calls.
#pragma once

namespace maptesk {

class ShellHost {
 public:
  virtual ~ShellHost() = default;

  /// Creates the main window and its display; false ends the start-up.
  virtual bool CreateMainWindow() = 0;
  virtual void ShowMainWindow() = 0;
  /// The map's picture changed: the window rebuilds its image of it, lays
  /// the screen out again and draws a frame.
  virtual void PictureChanged() = 0;
  /// The title, the menus' state or the status line may have changed.
  virtual void DocumentChanged() = 0;
  /// 0 window, 2 800 x 600 full screen, 3 1024 x 768 full screen.
  virtual int VideoMode() const = 0;
  virtual void SwitchVideoMode(int mode) = 0;
  /// Closes the main window for good: the questions were asked already.
  virtual void CloseMainWindow() = 0;
};

/// For the application's flows run without a window (pictures made in
/// batch): nothing to create, show or redraw.
class NoShell final : public ShellHost {
 public:
  bool CreateMainWindow() override { return true; }
  void ShowMainWindow() override {}
  void PictureChanged() override {}
  void DocumentChanged() override {}
  int VideoMode() const override { return 0; }
  void SwitchVideoMode(int) override {}
  void CloseMainWindow() override {}
};

}  // namespace maptesk
