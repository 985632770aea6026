// The program's one top-level window: it hosts the display, switches between
// the window and the two full-screen modes, hands mouse, key and menu input
// to the view's editing, and draws frames from a timer paced to the screen.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "core/view/display_rules.h"
#include "core/view/edit_input.h"
#include "core/view/map_view.h"
#include "core/view/view_host.h"
#include "ui/app/qt_dialogs.h"
#include "ui/display/display_surfaces.h"
#include "ui/view/map_renderer.h"

class QAction;

namespace maptesk {

class Workspace;

/// The widget frames are shown in. In full screen it scales the mode's back
/// surface to fill the screen with its aspect kept.
class MapCanvas final : public QWidget, public DisplayOutput {
 public:
  explicit MapCanvas(QWidget* parent);
  void ShowFrame(const QImage& back, const QRect& displayRect) override;
  /// Maps a point of the widget to the back surface.
  QPoint ToBack(const QPoint& widgetPoint) const;
  /// Where the back surface is shown inside the widget.
  QRect ShownRect() const;
  void SetBack(const QImage* back) { back_ = back; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* back_ = nullptr;
};

class MainFrame final : public QMainWindow, public ViewHost, private FrameDrawer {
 public:
  explicit MainFrame(Workspace& workspace);
  ~MainFrame() override;

  /// Creates the display and sets up window mode; false (after the
  /// message) when that fails.
  bool Create();
  /// Opens a MAP file with its picture and names.
  bool OpenMap(const std::string& path);
  /// The steps after a map or picture was loaded.
  void AfterMapLoaded();

  /// 0 window, 2 800 x 600 full screen, 3 1024 x 768 full screen.
  int videoMode() const { return videoMode_; }
  void SwitchVideoMode(int mode);
  IdleStep& idle() { return idle_; }
  MapView& view() { return view_; }
  EditInput& input() { return input_; }
  MapRenderer& renderer() { return renderer_; }
  DisplaySurfaces& display() { return display_; }
  MapCanvas* canvas() { return canvas_; }
  /// Draws one frame now, as the idle step would.
  IdleResult StepFrame() { return idle_.Step(*this); }

  // ViewHost
  void PlacePointer(int windowX, int windowY) override;
  void SetPointerShape(PointerShape shape) override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  void ShowOrdinarySurface() override;
  void PostCommand(int commandId) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  int32_t DrawFrame() override;
  int32_t SetVideoMode();
  void LayOut();
  void BuildMenus();
  void RunCommand(int id);
  void UpdateMenuChecks();
  FrameInputs Inputs() const;
  bool HandleKey(QKeyEvent* key, bool down);
  PointerEvent ToPointer(QMouseEvent* mouse) const;
  /// The menu item whose shortcut a key press is, or null.
  QAction* ActionFor(const QKeyEvent* key) const;

  Workspace& ws_;
  DisplaySurfaces display_;
  MapView view_;
  EditInput input_;
  MapRenderer renderer_;
  IdleStep idle_;
  QTimer frameTimer_;
  MapCanvas* canvas_ = nullptr;
  QtDialogs dialogs_{this};
  int videoMode_ = 0;
  std::string statusLine_;
  std::vector<std::pair<int, QAction*>> actions_;
};

}  // namespace maptesk
