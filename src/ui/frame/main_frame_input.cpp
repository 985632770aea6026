#include "ui/frame/main_frame.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "ui/frame/frame_menus.h"

// The main frame's input: Qt's key and mouse events turned into the view's
// calls, with the accelerators of the command table going first.
namespace maptesk {

namespace {

ViewKey ViewKeyOf(int key) {
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
    case Qt::Key_Escape: return ViewKey::kEscape;
    default:
      if (key >= Qt::Key_1 && key <= Qt::Key_9) return ViewKey(int('1' + (key - Qt::Key_1)));
      return ViewKey::kOther;
  }
}

PointerEvent PointerOf(const MapCanvas& canvas, QMouseEvent* mouse) {
  const QPoint p = canvas.ToBack(mouse->position().toPoint());
  PointerEvent e;
  e.x = p.x();
  e.y = p.y();
  e.left = (mouse->buttons() & Qt::LeftButton) != 0;
  e.right = (mouse->buttons() & Qt::RightButton) != 0;
  e.shift = (mouse->modifiers() & Qt::ShiftModifier) != 0;
  e.ctrl = (mouse->modifiers() & Qt::ControlModifier) != 0;
  return e;
}

}  // namespace

bool MainFrame::HandleKey(QKeyEvent* key, bool down) {
  if (!down) {
    if (!key->isAutoRepeat()) input_.keyUp(ViewKeyOf(key->key()));
    return true;
  }
  if (key->key() == Qt::Key_Alt && videoMode_ != 0) {
    // Alt opens the menu in full screen, where the bar is otherwise hidden.
    OpenOverlayMenu();
    return true;
  }
  if (key->modifiers() & Qt::AltModifier) {
    if (QAction* action = menus_->ActionFor(key)) {
      action->trigger();
      return true;
    }
    input_.systemKeyDown(ViewKeyOf(key->key()));
    return false;  // Alt with a letter may still be a menu shortcut
  }
  input_.keyDown(ViewKeyOf(key->key()));
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
  if (key->key() == Qt::Key_CapsLock) input_.flipCapsWarning();
  return true;
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched != canvas_) return QMainWindow::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      // An accelerator wins over a menu title's mnemonic ("Show Roads" is
      // Alt+R although the menu "AutoRoads" underlines its R).
      auto* key = static_cast<QKeyEvent*>(event);
      if ((key->modifiers() & Qt::AltModifier) && menus_->ActionFor(key) != nullptr) {
        event->accept();
        return true;
      }
      return false;
    }
    case QEvent::KeyPress: return HandleKey(static_cast<QKeyEvent*>(event), true);
    case QEvent::KeyRelease: return HandleKey(static_cast<QKeyEvent*>(event), false);
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      PointerEvent e = PointerOf(*canvas_, mouse);
      // The frame keeps the hex under the pointer; a press must not wait
      // for the next frame to know it.
      view_.followPointer(e.x, e.y);
      if (mouse->button() == Qt::LeftButton) input_.leftButtonDown(e);
      if (mouse->button() == Qt::RightButton) input_.rightButtonDown(e);
      return true;
    }
    case QEvent::MouseMove: {
      PointerEvent e = PointerOf(*canvas_, static_cast<QMouseEvent*>(event));
      view_.followPointer(e.x, e.y);
      input_.mouseMove(e);
      return true;
    }
    case QEvent::MouseButtonRelease:
      input_.buttonUp(PointerOf(*canvas_, static_cast<QMouseEvent*>(event)));
      return true;
    case QEvent::MouseButtonDblClick:
      input_.doubleClick(PointerOf(*canvas_, static_cast<QMouseEvent*>(event)));
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
