#include "ui/display/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QWheelEvent>
#include <QWindow>

#include "core/app/status_line.h"
#include "core/app/view_dialog_commands.h"
#include "core/app/workspace.h"
#include "core/settings/tool_settings.h"
#include "core/util/text_format.h"

namespace maptesk {

namespace {

// The video-mode commands of the Options menu.
constexpr int kCmdWindowMode = 32795;
constexpr int kCmdMode800 = 32796;
constexpr int kCmdMode1024 = 32797;

ViewKey KeyOf(int key) {
  switch (key) {
    case Qt::Key_Shift: return ViewKey::kShift;
    case Qt::Key_Control: return ViewKey::kControl;
    case Qt::Key_PageUp: return ViewKey::kPageUp;
    case Qt::Key_PageDown: return ViewKey::kPageDown;
    case Qt::Key_Home: return ViewKey::kHome;
    case Qt::Key_End: return ViewKey::kEnd;
    case Qt::Key_Left: return ViewKey::kLeft;
    case Qt::Key_Right: return ViewKey::kRight;
    case Qt::Key_Up: return ViewKey::kUp;
    case Qt::Key_Down: return ViewKey::kDown;
    default:
      if (key >= Qt::Key_1 && key <= Qt::Key_9) return ViewKey(int('1' + (key - Qt::Key_1)));
      return ViewKey::kOther;
  }
}

}  // namespace

// --- Canvas --------------------------------------------------------------------

MapCanvas::MapCanvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void MapCanvas::ShowFrame(const QImage& back, const QRect&) {
  back_ = &back;
  update();
}

QRect MapCanvas::ShownRect() const {
  if (back_ == nullptr || back_->isNull()) return rect();
  const QSize size = back_->size();
  if (size == this->size()) return rect();
  // A full-screen mode's frame fills the screen with its aspect kept.
  const QSize shown = size.scaled(this->size(), Qt::KeepAspectRatio);
  return QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

QPoint MapCanvas::ToBack(const QPoint& p) const {
  const QRect shown = ShownRect();
  if (back_ == nullptr || back_->isNull() || shown.size() == back_->size()) {
    return p - shown.topLeft();
  }
  return QPoint(int((p.x() - shown.left()) * int64_t(back_->width()) / shown.width()),
                int((p.y() - shown.top()) * int64_t(back_->height()) / shown.height()));
}

void MapCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (back_ == nullptr || back_->isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  const QRect shown = ShownRect();
  if (shown != rect()) {
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(shown, *back_);
  } else {
    painter.drawImage(0, 0, *back_);
  }
}

// --- Frame ---------------------------------------------------------------------

MainFrame::MainFrame(Workspace& workspace)
    : ws_(workspace),
      view_(workspace.map, workspace.names, workspace.settings, *this, workspace.history),
      input_(view_),
      renderer_(display_, view_, workspace.picture, workspace.history) {
  setWindowTitle("Tesk Map Tool");
  canvas_ = new MapCanvas(this);
  canvas_->installEventFilter(this);
  setCentralWidget(canvas_);
  dialogs_.Attach(canvas_, &view_.screen, &idle_);
  dialogs_.SetDocument(&ws_.map, &ws_.prompts, &ws_.history);
  dialogs_.SetBeforeDialog([this] { ShowOrdinarySurface(); });
  BuildMenus();
  input_.setDragDistance(QGuiApplication::styleHints()->startDragDistance());
  view_.capsWarning = 0;
  statusLine_ = StatusLineText(ws_.map, ws_.picture);
  // Paced to the screen: one step per refresh. A step that finds nothing
  // changed draws nothing, so an idle editor costs next to nothing.
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, this, [this] {
    if (idle_.Step(*this) == IdleResult::kClose) close();
  });
}

MainFrame::~MainFrame() {
  frameTimer_.stop();
  display_.ReleaseAll();
}

bool MainFrame::Create() {
  if (display_.Create(canvas_) != kOk) {
    QMessageBox::critical(this, "Tesk Map Tool", "Error creating DirectDraw object.");
    return false;
  }
  // The program always starts in a window, whatever mode it ended in.
  videoMode_ = 0;
  ws_.settings.displayMode = 0;
  if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
  if (SetVideoMode() != kOk) {
    QMessageBox::critical(this, "Tesk Map Tool", "Error setting video mode.");
    return false;
  }
  idle_.Clear(kStateNotCreated);
  renderer_.build();
  LayOut();
  canvas_->setCursor(Qt::ArrowCursor);
  if (QScreen* s = screen()) {
    // A display changed from outside: a full-screen mode is set up again,
    // as large as the screen now takes; the program closes if none fits.
    connect(s, &QScreen::geometryChanged, this, [this] {
      if (videoMode_ == 0 || (idle_.state() & kStateSettingMode)) return;
      if (SetVideoMode() != kOk) {
        PostCommand(kCmdExit);
        return;
      }
      renderer_.build();
      LayOut();
    });
  }
  const qreal hz = screen() ? screen()->refreshRate() : 60.0;
  frameTimer_.start(int(1000.0 / (hz > 1.0 ? hz : 60.0)));
  return true;
}

bool MainFrame::OpenMap(const std::string& path) {
  if (!ws_.OpenMap(path)) return false;
  ws_.settings.lastOpen = ws_.map.path;
  ws_.settings.AddRecentFile(ws_.map.path);
  AfterMapLoaded();
  return true;
}

void MainFrame::AfterMapLoaded() {
  if (ws_.picture.loaded) {
    view_.grid.setMapSize(ws_.picture.width, ws_.picture.height);
  } else {
    view_.grid.mapLoaded = false;
  }
  renderer_.PictureChanged();
  ws_.names.LoadDefaultNames();
  ws_.history.Clear();
  statusLine_ = StatusLineText(ws_.map, ws_.picture);
  LayOut();
}

void MainFrame::LayOut() {
  const QImage& back = display_.backSurface();
  if (back.isNull()) return;
  view_.layout({0, 0, back.width(), back.height()}, videoMode_ != 0);
}

int32_t MainFrame::SetVideoMode() {
  if (idle_.state() & kStateMinimised) return kOk;
  idle_.Set(kStateSettingMode);
  int32_t result = kOk;
  if (videoMode_ != 0) {
    menuBar()->hide();
    showFullScreen();
    if (const QScreen* s = screen()) display_.SetScreenSize(s->size());
    QRect out;
    int bits = 16;
    result = display_.InitFullScreen(out, bits, videoMode_);
    canvas_->setFocus();
  } else {
    menuBar()->show();
    if (isFullScreen()) showNormal();
    if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
    QRect out;
    result = display_.InitWindowed(out, 32, canvas_->size().expandedTo(QSize(1, 1)));
  }
  display_.SetFillColor(qRgb(239, 237, 220));
  idle_.Clear(kStateSettingMode);
  canvas_->SetBack(&display_.backSurface());
  return result;
}

void MainFrame::SwitchVideoMode(int mode) {
  if (mode == videoMode_) return;
  videoMode_ = mode;
  ws_.settings.displayMode = uint8_t(mode);
  idle_.Set(kStateSwitching);
  if (SetVideoMode() != kOk) {
    // Back to a window, so that the settings written at exit start there.
    videoMode_ = 0;
    ws_.settings.displayMode = 0;
    PostCommand(kCmdExit);
    return;
  }
  renderer_.build();
  LayOut();
  UpdateMenuChecks();
  idle_.Clear(kStateSwitching);
}

void MainFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (idle_.state() & (kStateNotCreated | kStateSettingMode)) return;
  // In a window the frame follows the client area at once rather than being
  // stretched until the next move; a full-screen mode keeps its size.
  if (videoMode_ == 0 && canvas_->size() != display_.backSurface().size()) {
    QRect out;
    display_.InitWindowed(out, 32, canvas_->size().expandedTo(QSize(1, 1)));
    canvas_->SetBack(&display_.backSurface());
    LayOut();
  }
}

void MainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  if (isMinimized()) {
    idle_.Set(kStateMinimised);
  } else {
    idle_.Clear(kStateMinimised);
  }
}

void MainFrame::closeEvent(QCloseEvent* event) {
  frameTimer_.stop();
  QMainWindow::closeEvent(event);
}

FrameInputs MainFrame::Inputs() const {
  FrameInputs in;
  in.pictureLoaded = ws_.picture.loaded;
  in.statusLine = statusLine_;
  in.releaseTitle = Format("%s - %s", kVersion, kBuildDate);
  const QImage& back = display_.backSurface();
  const QPoint global = QCursor::pos();
  if (videoMode_ != 0) {
    // The screen shows the back surface scaled: work in its pixels.
    const QPoint p = canvas_->ToBack(canvas_->mapFromGlobal(global));
    in.pointerX = p.x();
    in.pointerY = p.y();
    in.desktopRight = back.width();
    in.desktopBottom = back.height();
  } else {
    const QPoint origin = canvas_->mapToGlobal(QPoint(0, 0));
    in.pointerX = global.x();
    in.pointerY = global.y();
    in.windowLeft = origin.x();
    in.windowTop = origin.y();
    const QRect desktop = screen() ? screen()->geometry() : QRect(0, 0, 1 << 20, 1 << 20);
    in.desktopRight = desktop.x() + desktop.width();
    in.desktopBottom = desktop.y() + desktop.height();
  }
  // Edge scrolling follows the pointer only while the editor has the focus.
  in.edgeScroll = isActiveWindow();
  return in;
}

int32_t MainFrame::DrawFrame() { return renderer_.drawFrame(Inputs()); }

// --- View host -------------------------------------------------------------------

void MainFrame::PlacePointer(int windowX, int windowY) {
  const QRect shown = canvas_->ShownRect();
  const QImage& back = display_.backSurface();
  QPoint p(windowX, windowY);
  if (!back.isNull() && shown.size() != back.size() && back.width() > 0 && back.height() > 0) {
    p = QPoint(shown.left() + int(int64_t(windowX) * shown.width() / back.width()),
               shown.top() + int(int64_t(windowY) * shown.height() / back.height()));
  }
  QCursor::setPos(canvas_->mapToGlobal(p));
}

void MainFrame::SetPointerShape(PointerShape shape) {
  switch (shape) {
    case PointerShape::kArrow: canvas_->setCursor(Qt::ArrowCursor); break;
    case PointerShape::kCross: canvas_->setCursor(Qt::CrossCursor); break;
    case PointerShape::kFourArrows: canvas_->setCursor(Qt::SizeAllCursor); break;
  }
}

// Qt keeps the mouse events coming to the widget that took the press until
// every button is released, which is what capturing asks for.
void MainFrame::CaptureMouse() {}
void MainFrame::ReleaseMouse() {}

// Dialogs are top-level windows of their own above the frame, in a window
// and in full screen alike: there is no surface to flip away.
void MainFrame::ShowOrdinarySurface() {}

void MainFrame::PostCommand(int commandId) {
  QMetaObject::invokeMethod(
      this, [this, commandId] { RunCommand(commandId); }, Qt::QueuedConnection);
}

void MainFrame::RunCommand(int id) {
  switch (id) {
    case kCmdWindowMode: SwitchVideoMode(0); break;
    case kCmdMode800: SwitchVideoMode(2); break;
    case kCmdMode1024: SwitchVideoMode(3); break;
    case kCmdClose:
    case kCmdExit: close(); break;
    case kCmdOpenLast:
      if (!ws_.settings.lastOpen.empty()) OpenMap(ws_.settings.lastOpen);
      break;
    case kCmdPickName:
    case kCmdTerrainFilter: RunViewDialogCommand(id, view_, dialogs_, dialogs_); break;
    default: input_.command(id); break;
  }
  UpdateMenuChecks();
}

// --- Menus ---------------------------------------------------------------------

void MainFrame::BuildMenus() {
  struct Item {
    const char* menu;
    const char* text;
    int id;
    const char* keys;
  };
  // The view's commands and the video modes; the document commands join
  // them with the application's menus.
  const Item items[] = {
      {"&File", "Open &Last File used", kCmdOpenLast, "Alt+L"},
      {"&File", "Save clean", kCmdSaveClean, nullptr},
      {"&File", "E&xit", kCmdExit, "Alt+X"},
      {"&Options", "Window Mode", kCmdWindowMode, "F12"},
      {"&Options", "800x600 Full Screen Mode", kCmdMode800, "F11"},
      {"&Options", "1024x768 Full Screen Mode", kCmdMode1024, "F10"},
      {"&Options", nullptr, 0, nullptr},
      {"&Options", "&Zoom to strategic", kCmdZoom, "Alt+Z"},
      {"&Options", "Show &Grid", kCmdGrid, "Alt+G"},
      {"&Options", "Show &Terrain Types", kCmdTerrainMarks, "Alt+T"},
      {"&Options", "Show &Roads", kCmdRoads, "Alt+R"},
      {"&Options", "Show &Named Hexes", kCmdNamedHexes, "Alt+N"},
      {"&Options", "&Filter Terrain to view", kCmdTerrainFilter, "Alt+F"},
      {"Select what to set", "Select Terrain type", kCmdTerrainMode, "F5"},
      {"Select what to set", "Select &Road settings", kCmdRoadsMode, "F6"},
      {"Select what to set", "Select  &Name to set", kCmdNameMode, "F7"},
      {"Auto&Roads", "Generate roads", kCmdGenerateRoads, nullptr},
      {"Auto&Roads", "Load Auto R.M.", kCmdLoadMarks, nullptr},
      {"Auto&Roads", "Clear Auto R.M.", kCmdClearMarks, nullptr},
      {"Auto&Roads", "Keep Auto R.M.", kCmdKeepMarks, nullptr},
      {"Auto&Roads", "Link with roads and cities", kCmdLinkRoads, nullptr},
  };
  QMenu* menu = nullptr;
  QString current;
  for (const Item& item : items) {
    if (current != item.menu) {
      current = item.menu;
      menu = menuBar()->addMenu(current);
      connect(menu, &QMenu::aboutToShow, this, [this] { UpdateMenuChecks(); });
      // In full screen the menu bar shows only while a menu is open.
      connect(menu, &QMenu::aboutToHide, this, [this] {
        if (videoMode_ != 0) menuBar()->hide();
      });
    }
    if (item.text == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(item.text);
    if (item.keys != nullptr) action->setShortcut(QKeySequence(item.keys));
    action->setShortcutContext(Qt::ApplicationShortcut);
    // The window holds the actions too: a hidden menu bar (full screen)
    // would otherwise take their shortcuts with it.
    addAction(action);
    const int id = item.id;
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    actions_.emplace_back(id, action);
  }
  UpdateMenuChecks();
}

void MainFrame::UpdateMenuChecks() {
  for (auto& [id, action] : actions_) {
    if (id == kCmdWindowMode || id == kCmdMode800 || id == kCmdMode1024) {
      const int mode = id == kCmdWindowMode ? 0 : (id == kCmdMode800 ? 2 : 3);
      action->setCheckable(true);
      action->setChecked(videoMode_ == mode);
      action->setEnabled(videoMode_ != mode);
      continue;
    }
    if (id == kCmdOpenLast) action->setEnabled(!ws_.settings.lastOpen.empty());
    if (std::optional<bool> checked = input_.menuChecked(id)) {
      action->setCheckable(true);
      action->setChecked(*checked);
    }
  }
}

// --- Input ---------------------------------------------------------------------

PointerEvent MainFrame::ToPointer(QMouseEvent* mouse) const {
  const QPoint p = canvas_->ToBack(mouse->position().toPoint());
  PointerEvent e;
  e.x = p.x();
  e.y = p.y();
  e.left = (mouse->buttons() & Qt::LeftButton) != 0;
  e.right = (mouse->buttons() & Qt::RightButton) != 0;
  e.shift = (mouse->modifiers() & Qt::ShiftModifier) != 0;
  e.ctrl = (mouse->modifiers() & Qt::ControlModifier) != 0;
  return e;
}

bool MainFrame::HandleKey(QKeyEvent* key, bool down) {
  if (!down) {
    if (!key->isAutoRepeat()) input_.keyUp(KeyOf(key->key()));
    return true;
  }
  if (key->key() == Qt::Key_Alt && videoMode_ != 0) {
    // Alt opens the menu in full screen, where the bar is otherwise hidden.
    menuBar()->show();
    if (!menuBar()->actions().isEmpty()) menuBar()->setActiveAction(menuBar()->actions().first());
    return true;
  }
  if (key->modifiers() & Qt::AltModifier) {
    if (QAction* action = ActionFor(key)) {
      action->trigger();
      return true;
    }
    input_.systemKeyDown(KeyOf(key->key()));
    return false;  // Alt with a letter may still be a menu shortcut
  }
  input_.keyDown(KeyOf(key->key()));
  char c = 0;
  switch (key->key()) {
    case Qt::Key_Tab: c = '\t'; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: c = '\r'; break;
    default: {
      const QString text = key->text();
      if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F) {
        c = char(text[0].unicode());
      }
    }
  }
  if (c != 0) input_.character(c);
  if (key->key() == Qt::Key_CapsLock) input_.command(kCmdCapsLock);
  return true;
}

QAction* MainFrame::ActionFor(const QKeyEvent* key) const {
  const QKeySequence pressed(key->keyCombination());
  for (const auto& [id, action] : actions_) {
    if (!action->shortcut().isEmpty() && action->shortcut() == pressed) return action;
  }
  return nullptr;
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched != canvas_) return QMainWindow::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      // An accelerator wins over a menu title's mnemonic ("Show Roads" is
      // Alt+R although the menu "AutoRoads" underlines its R).
      auto* key = static_cast<QKeyEvent*>(event);
      if ((key->modifiers() & Qt::AltModifier) && ActionFor(key) != nullptr) {
        event->accept();
        return true;
      }
      return false;
    }
    case QEvent::KeyPress: return HandleKey(static_cast<QKeyEvent*>(event), true);
    case QEvent::KeyRelease: return HandleKey(static_cast<QKeyEvent*>(event), false);
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      PointerEvent e = ToPointer(mouse);
      // The frame keeps the hex under the pointer; a press must not wait
      // for the next frame to know it.
      view_.followPointer(e.x, e.y);
      if (mouse->button() == Qt::LeftButton) input_.leftButtonDown(e);
      if (mouse->button() == Qt::RightButton) input_.rightButtonDown(e);
      return true;
    }
    case QEvent::MouseMove: {
      PointerEvent e = ToPointer(static_cast<QMouseEvent*>(event));
      view_.followPointer(e.x, e.y);
      input_.mouseMove(e);
      return true;
    }
    case QEvent::MouseButtonRelease:
      input_.buttonUp(ToPointer(static_cast<QMouseEvent*>(event)));
      return true;
    case QEvent::MouseButtonDblClick:
      input_.doubleClick(ToPointer(static_cast<QMouseEvent*>(event)));
      return true;
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      const QPoint p = canvas_->ToBack(wheel->position().toPoint());
      input_.wheel(p.x(), p.y(), wheel->angleDelta().y());
      return true;
    }
    case QEvent::FocusOut:
      // A stroke must not stay open while another window has the mouse.
      input_.endStroke();
      return false;
    default: return QMainWindow::eventFilter(watched, event);
  }
}

}  // namespace maptesk
