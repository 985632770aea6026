// The program's one top-level window: it hosts the display, switches between
// the window and the two full-screen modes (main_frame_modes.cpp), hands
// mouse, key and menu input to the view's editing (main_frame_input.cpp)
// and the application, and draws frames from a timer paced to the screen.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <string>

#include "core/app/shell_host.h"
#include "core/view/display_rules.h"
#include "core/view/edit_input.h"
#include "core/view/map_view.h"
#include "core/view/view_host.h"
#include "ui/display/display_surfaces.h"
#include "ui/display/map_canvas.h"
#include "ui/view/map_renderer.h"

class QMenuBar;

namespace maptesk {

class FrameMenus;
class MapToolApp;
class Workspace;

class MainFrame final : public QMainWindow, public ViewHost, public ShellHost, private FrameDrawer {
 public:
  explicit MainFrame(Workspace& workspace);
  ~MainFrame() override;

  /// The application the menus, keys and close requests go to; until it is
  /// set the window only draws and edits.
  void SetApplication(MapToolApp* app);

  /// Creates the display and sets up window mode; false (after the
  /// message) when that fails.
  bool Create();

  /// 0 window, 2 800 x 600 full screen, 3 1024 x 768 full screen.
  int videoMode() const { return videoMode_; }
  IdleStep& idle() { return idle_; }
  MapView& view() { return view_; }
  EditInput& input() { return input_; }
  MapRenderer& renderer() { return renderer_; }
  DisplaySurfaces& display() { return display_; }
  MapCanvas* canvas() { return canvas_; }
  FrameMenus& menus() { return *menus_; }
  /// The bar that opens over the frame in full screen.
  QMenuBar* overlayBar() { return overlayBar_; }
  /// Draws one frame now, as the idle step would.
  IdleResult StepFrame() { return idle_.Step(*this); }

  // ViewHost
  void PlacePointer(int windowX, int windowY) override;
  void SetPointerShape(PointerShape shape) override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  void ShowOrdinarySurface() override;
  void PostCommand(int commandId) override;

  // ShellHost
  bool CreateMainWindow() override { return Create(); }
  void ShowMainWindow() override;
  void PictureChanged() override;
  void DocumentChanged() override;
  int VideoMode() const override { return videoMode_; }
  void SwitchVideoMode(int mode) override;
  void CloseMainWindow() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  int32_t DrawFrame() override;
  int32_t SetVideoMode();
  void LayOut();
  /// The title and its modified mark, when they changed.
  void UpdateTitle();
  FrameInputs Inputs() const;
  bool HandleKey(QKeyEvent* key, bool down);
  /// Opens the menu bar over a full-screen frame.
  void OpenOverlayMenu();

  Workspace& ws_;
  MapToolApp* app_ = nullptr;
  DisplaySurfaces display_;
  MapView view_;
  EditInput input_;
  MapRenderer renderer_;
  IdleStep idle_;
  QTimer frameTimer_;
  MapCanvas* canvas_ = nullptr;
  QMenuBar* overlayBar_ = nullptr;
  FrameMenus* menus_ = nullptr;
  int videoMode_ = 0;
  /// Set once the application allowed the close.
  bool closing_ = false;
  std::string statusLine_;
  QString title_;
  uint64_t shownRevision_ = 0;
};

}  // namespace maptesk
