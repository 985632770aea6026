#include "ui/frame/main_frame.h"

#include <QMenuBar>
#include <QScreen>

#include "core/app/workspace.h"

// The main frame's video modes: a window the size of the work area, or a
// full-screen window whose 800 x 600 or 1024 x 768 back surface is scaled to
// the screen. In full screen the menu bar opens over the frame, so that the
// frame does not move while a menu is open.
namespace maptesk {

int32_t MainFrame::SetVideoMode() {
  if (idle_.state() & kStateMinimised) return kOk;
  idle_.Set(kStateSettingMode);
  int32_t result = kOk;
  if (videoMode_ != 0) {
    menuBar()->hide();
    overlayBar_->hide();
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
  DocumentChanged();
  idle_.Clear(kStateSwitching);
}

void MainFrame::OpenOverlayMenu() {
  overlayBar_->setGeometry(0, 0, canvas_->width(), overlayBar_->sizeHint().height());
  overlayBar_->show();
  overlayBar_->raise();
  overlayBar_->setFocus();
  if (!overlayBar_->actions().isEmpty())
    overlayBar_->setActiveAction(overlayBar_->actions().first());
}

}  // namespace maptesk
