// The menu bar of the main window, built from the command table: the same
// menus in the window's bar and in the bar that opens over a full-screen
// frame, each command an action carrying its id, its keys and its prompt.
#pragma once

#include <QObject>
#include <utility>
#include <vector>

class QAction;
class QKeyEvent;
class QMainWindow;
class QMenu;
class QMenuBar;

namespace maptesk {

class MapToolApp;

class FrameMenus final : public QObject {
 public:
  /// Builds the menus into the window's bar and into `overlay`; every
  /// action is also the window's, so its keys work while no bar shows.
  FrameMenus(QMainWindow& window, QMenuBar& overlay);

  /// The application the actions run on and whose state they show.
  void SetApplication(MapToolApp* app) { app_ = app; }
  /// Labels (recent files), enabling and check marks from the application.
  void Update();
  /// The action whose accelerator a key press is, or null.
  QAction* ActionFor(const QKeyEvent* key) const;
  /// The action of a command id, or null.
  QAction* ActionOf(int id) const;
  const std::vector<QMenu*>& menus() const { return menus_; }

 private:
  QMenu* MenuFor(const char* path);
  void Run(int id);

  QMainWindow& window_;
  MapToolApp* app_ = nullptr;
  std::vector<QMenu*> menus_;
  std::vector<std::pair<QString, QMenu*>> byPath_;
  std::vector<std::pair<int, QAction*>> actions_;
};

}  // namespace maptesk
