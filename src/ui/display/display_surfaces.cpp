#include "ui/display/display_surfaces.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "ui/display/qt_geometry.h"
#include "ui/display/surface_image.h"

namespace maptesk {
namespace {

// The screen's static colours, which a window sharing an 8-bit screen with
// other programs must leave in place.
constexpr SystemColours kSystemColours = {{
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
}};

constexpr QRgb kEmpty = 0xFF000000;

// The screen as the mode walk sees it: a mode fits when the screen is at
// least that large.
class ScreenModes final : public ModeSetter {
 public:
  explicit ScreenModes(QSize screen) : screen_(screen) {}

  int32_t SetDisplayMode(int width, int height, int) override {
    return screen_.width() < width || screen_.height() < height ? kErrFail : kOk;
  }

 private:
  QSize screen_;
};

// The largest rectangle of the back surface's aspect inside the screen,
// centred: the bars go to the long side.
QRect FitKeepingAspect(QSize picture, QSize screen) {
  if (picture.isEmpty() || screen.isEmpty()) return QRect(QPoint(0, 0), picture);
  const int64_t wide = int64_t(screen.width()) * picture.height();
  const int64_t tall = int64_t(screen.height()) * picture.width();
  if (wide >= tall) {
    const int w = int(tall / picture.height());
    return QRect((screen.width() - w) / 2, 0, w, screen.height());
  }
  const int h = int(wide / picture.width());
  return QRect(0, (screen.height() - h) / 2, screen.width(), h);
}

QImage EmptySurface(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(kEmpty);
  return image;
}

}  // namespace

DisplaySurfaces::~DisplaySurfaces() {
  for (SurfaceImage* image : images_) image->display_ = nullptr;
}

int32_t DisplaySurfaces::Create(DisplayOutput* owner) {
  if (owner == nullptr) return kErrPointer;
  if (owner_ != nullptr) return kErrExclusiveModeAlreadySet;
  owner_ = owner;
  lost_ = false;
  if (screenSize_.isEmpty()) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) screenSize_ = screen->size();
  }
  return kOk;
}

void DisplaySurfaces::ReleaseAll() {
  ReleaseSurfaces();
  owner_ = nullptr;
  lost_ = false;
}

void DisplaySurfaces::ReleaseSurfaces() {
  back_ = QImage();
  reduced_ = QImage();
  reducedValid_ = false;
  palette_.clear();
  displayRect_ = QRect();
  fullScreen_ = false;
  mode_ = kWindowMode;
}

int32_t DisplaySurfaces::InitFullScreen(QRect& out, int& bits, int mode) {
  if (!created()) return kErrFail;
  ReleaseSurfaces();
  ScreenRect rect{out.left(), out.top(), out.left() + out.width(), out.top() + out.height()};
  ScreenModes screen(screenSize_);
  const int32_t result = WalkDisplayModes(screen, mode, rect, bits);
  out = ToQRect(rect);
  if (!Succeeded(result)) return result;
  if (out.isEmpty()) return kErrFail;

  back_ = EmptySurface(out.size());
  fullScreen_ = true;
  bits_ = bits;
  mode_ = kWindowMode;
  for (const DisplayMode& m : kDisplayModes) {
    if (m.width == out.width() && m.height == out.height() && m.bits == bits) mode_ = m.number;
  }
  displayRect_ = FitKeepingAspect(out.size(), screenSize_.isEmpty() ? out.size() : screenSize_);
  // An 8-bit screen shows nothing sensible until its palette is set.
  return bits == 8 ? MakePalette() : kOk;
}

int32_t DisplaySurfaces::InitWindowed(QRect& out, int bits, QSize clientSize) {
  if (!created()) return kErrFail;
  ReleaseSurfaces();
  if (clientSize.width() < 1 || clientSize.height() < 1) return kErrFail;
  back_ = EmptySurface(clientSize);
  bits_ = bits;
  out = displayRect_ = QRect(QPoint(0, 0), clientSize);
  return kOk;
}

QImage DisplaySurfaces::CreateOffscreenSurface(int width, int height) const {
  if (!created() || width < 1 || height < 1) return QImage();
  return EmptySurface(QSize(width, height));
}

int DisplaySurfaces::ResizeBackSurface(int width, int height) {
  // Full-screen surfaces keep the mode's size whatever the window does.
  if (!created() || fullScreen_ || back_.isNull() || width < 1 || height < 1) return 0;
  if (back_.size() != QSize(width, height)) back_ = EmptySurface(QSize(width, height));
  displayRect_ = QRect(0, 0, width, height);
  return 1;
}

QRgb DisplaySurfaces::ColorMatch(ColorRef colour) const {
  return qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

int32_t DisplaySurfaces::FillBackSurface(QRgb colour) {
  if (back_.isNull()) return kErrFail;
  if (lost_) return kErrSurfaceLost;
  if (colour != 0) fillColor_ = colour;
  back_.fill(fillColor_);
  return kOk;
}

int32_t DisplaySurfaces::FillBackRect(int left, int top, int right, int bottom, QRgb colour) {
  if (back_.isNull()) return kErrFail;
  if (lost_) return kErrSurfaceLost;
  // An empty or reversed rectangle fills nothing.
  if (right <= left || bottom <= top) return kOk;
  const QRect rect = QRect(left, top, right - left, bottom - top).intersected(back_.rect());
  const QRgb pixel = colour | 0xFF000000;
  for (int y = rect.top(); y < rect.top() + rect.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(back_.scanLine(y));
    std::fill(line + rect.left(), line + rect.left() + rect.width(), pixel);
  }
  return kOk;
}

int32_t DisplaySurfaces::MakePalette() {
  if (!created()) return kErrFail;
  const Palette palette = MakePalette332(fullScreen_ ? nullptr : &kSystemColours);
  reducedValid_ = false;
  palette_.clear();
  palette_.reserve(int(palette.size()));
  for (const PaletteEntry& entry : palette)
    palette_.append(qRgb(entry.red, entry.green, entry.blue));
  return kOk;
}

int32_t DisplaySurfaces::CanShow() const {
  if (owner_ == nullptr || back_.isNull()) return kErrFail;
  if (lost_) return kErrSurfaceLost;
  return kOk;
}

const QImage& DisplaySurfaces::FrameToShow(const QRegion& changed) {
  if (bits_ != 8 || palette_.size() != 256) return back_;
  QRegion reduce = changed;
  if (reduced_.size() != back_.size() || !reducedValid_) {
    reduced_ = QImage(back_.size(), QImage::Format_RGB32);
    reduce = back_.rect();
  }
  for (const QRect& part : reduce.intersected(back_.rect())) {
    for (int y = part.top(); y <= part.bottom(); ++y) {
      const QRgb* from = reinterpret_cast<const QRgb*>(back_.constScanLine(y));
      QRgb* to = reinterpret_cast<QRgb*>(reduced_.scanLine(y));
      for (int x = part.left(); x <= part.right(); ++x) {
        to[x] = palette_[Index332(uint8_t(qRed(from[x])), uint8_t(qGreen(from[x])),
                                  uint8_t(qBlue(from[x])))];
      }
    }
  }
  reducedValid_ = true;
  return reduced_;
}

int32_t DisplaySurfaces::Present() { return Present(QRegion(back_.rect())); }

int32_t DisplaySurfaces::Flip() { return Flip(QRegion(back_.rect())); }

int32_t DisplaySurfaces::Present(const QRegion& changed) {
  if (fullScreen_) return kOk;
  const int32_t ready = CanShow();
  if (ready != kOk) return ready;
  owner_->ShowChanged(FrameToShow(changed), displayRect_, changed);
  return kOk;
}

int32_t DisplaySurfaces::Flip(const QRegion& changed) {
  if (!fullScreen_) return kErrFail;
  const int32_t ready = CanShow();
  if (ready != kOk) return ready;
  owner_->ShowChanged(FrameToShow(changed), displayRect_, changed);
  return kOk;
}

void DisplaySurfaces::LoseSurfaces() {
  lost_ = true;
  reducedValid_ = false;
  if (!back_.isNull()) back_.fill(kEmpty);
  for (SurfaceImage* image : images_) {
    QImage& picture = image->picture_;
    if (!picture.isNull()) picture.fill(picture.hasAlphaChannel() ? 0u : kEmpty);
  }
}

int32_t DisplaySurfaces::Restore() {
  if (!created()) return kErrFail;
  lost_ = false;
  return kOk;
}

void DisplaySurfaces::Attach(SurfaceImage* image) {
  if (std::find(images_.begin(), images_.end(), image) == images_.end()) images_.push_back(image);
}

void DisplaySurfaces::Detach(SurfaceImage* image) {
  images_.erase(std::remove(images_.begin(), images_.end(), image), images_.end());
}

}  // namespace maptesk
