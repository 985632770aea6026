#include "ui/frame/main_frame.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStyleHints>
#include <QWindow>

#include "core/app/command_table.h"
#include "core/app/map_tool_app.h"
#include "core/app/status_line.h"
#include "core/app/workspace.h"
#include "core/settings/tool_settings.h"
#include "core/util/text_format.h"
#include "ui/display/ui_text.h"
#include "ui/frame/frame_menus.h"

namespace maptesk {

MainFrame::MainFrame(Workspace& workspace)
    : ws_(workspace),
      view_(workspace.map, workspace.names, workspace.settings, *this, workspace.history),
      input_(view_),
      renderer_(display_, view_, workspace.picture, workspace.history) {
  setWindowTitle("Tesk Map Tool");
  setAcceptDrops(true);
  canvas_ = new MapCanvas(this);
  canvas_->installEventFilter(this);
  setCentralWidget(canvas_);
  // In full screen the menus open in a bar of their own over the frame.
  overlayBar_ = new QMenuBar(canvas_);
  overlayBar_->hide();
  menus_ = new FrameMenus(*this, *overlayBar_);
  for (QMenu* menu : menus_->menus()) {
    connect(menu, &QMenu::aboutToHide, this, [this] {
      if (videoMode_ != 0) {
        overlayBar_->hide();
        canvas_->setFocus();
      }
    });
  }
  input_.setDragDistance(QGuiApplication::styleHints()->startDragDistance());
  view_.capsWarning = 0;
  statusLine_ = StatusLineText(ws_.map, ws_.picture);
  // Paced to the screen: one step per refresh. A step that finds nothing
  // changed draws nothing, so an idle editor costs next to nothing.
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, this, [this] {
    if (idle_.Step(*this) == IdleResult::kClose) close();
    // An edit can enable Undo or Save MapNames: the actions' states (and
    // so their keys) follow the history.
    if (ws_.history.revision() != shownRevision_) {
      shownRevision_ = ws_.history.revision();
      menus_->Update();
    }
    UpdateTitle();
    // Between frames: the recovery copy, when one is due, costs well under
    // a millisecond.
    if (app_ != nullptr) app_->Tick(RecoveryStore::Clock::now());
  });
}

MainFrame::~MainFrame() {
  frameTimer_.stop();
  display_.ReleaseAll();
}

void MainFrame::SetApplication(MapToolApp* app) {
  app_ = app;
  menus_->SetApplication(app);
  if (app_ != nullptr) app_->AttachView(&view_, &input_);
  DocumentChanged();
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
  winId();  // the native window, so that its screen can be followed
  if (QWindow* window = windowHandle()) {
    // On another screen (another scale, another depth) what was drawn is
    // stale: the surfaces count as lost, and the next frame restores them
    // and draws everything again.
    connect(window, &QWindow::screenChanged, this, [this] { display_.LoseSurfaces(); });
  }
  const qreal hz = screen() ? screen()->refreshRate() : 60.0;
  frameTimer_.start(int(1000.0 / (hz > 1.0 ? hz : 60.0)));
  return true;
}

void MainFrame::ShowMainWindow() {
  show();
  StepFrame();
}

void MainFrame::PictureChanged() {
  renderer_.PictureChanged();
  LayOut();
  if (!(idle_.state() & kStateNotCreated)) StepFrame();
}

void MainFrame::DocumentChanged() {
  menus_->Update();
  UpdateTitle();
}

void MainFrame::UpdateTitle() {
  const bool modified = app_ != nullptr && app_->documentModified();
  if (app_ != nullptr) {
    const QString title = PathText(app_->WindowTitle());
    if (title != title_) {
      title_ = title;
      setWindowTitle(title);
    }
  }
  if (modified != isWindowModified()) setWindowModified(modified);
}

void MainFrame::CloseMainWindow() {
  closing_ = true;
  close();
}

void MainFrame::LayOut() {
  const QImage& back = display_.backSurface();
  if (back.isNull()) return;
  view_.layout({0, 0, back.width(), back.height()}, videoMode_ != 0);
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

void MainFrame::closeEvent(QCloseEvent* event) {
  // The close box and the window manager ask the same questions as Exit.
  if (!closing_ && app_ != nullptr && !app_->ConfirmClose()) {
    event->ignore();
    return;
  }
  closing_ = true;
  frameTimer_.stop();
  QMainWindow::closeEvent(event);
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (app_ != nullptr && urls.size() == 1 && urls.front().isLocalFile()) {
    event->acceptProposedAction();
  }
}

void MainFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (app_ == nullptr || urls.size() != 1 || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  const std::string path = PathBytes(urls.front().toLocalFile());
  // Questions are asked once the drop has ended, not inside it.
  QMetaObject::invokeMethod(
      this,
      [this, path] {
        app_->DropFile(path);
        DocumentChanged();
      },
      Qt::QueuedConnection);
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

FrameInputs MainFrame::Inputs() const {
  FrameInputs in;
  in.pictureLoaded = ws_.picture.loaded;
  in.statusLine = app_ ? app_->statusLine() : statusLine_;
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
      this,
      [this, commandId] {
        if (app_ != nullptr) app_->RunCommand(commandId);
      },
      Qt::QueuedConnection);
}

}  // namespace maptesk
