// maptesk-render: one frame of the editor for a map, into a PNG, without a
// display: the same planner, renderer and art as the window.
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "cli/cli_common.h"
#include "cli/render/render_frame.h"
#include "core/app/dialogs.h"
#include "core/app/map_tool_app.h"
#include "core/app/shell_host.h"
#include "core/util/file_io.h"
#include "core/view/map_view.h"
#include "core/view/view_host.h"
#include "ui/display/display_surfaces.h"
#include "ui/view/map_renderer.h"

namespace maptesk::cli {
namespace {

constexpr char kRenderUsage[] =
    "usage: maptesk-render MAP OUT.png [--size WxH] [--zoom] [--grid] [--terrain] [--roads]\n"
    "                      [--names] [--labels] [--scroll X,Y] [--mode 800|1024]\n"
    "                      [--game DIR] [--map-folder DIR] [--scn-folder DIR]\n"
    "       (maptesk-cli render ... runs it with the same options)\n";

bool ParsePair(const std::string& text, char separator, int& a, int& b) {
  const size_t at = text.find(separator);
  if (at == std::string::npos) return false;
  char* end = nullptr;
  const long x = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + at) return false;
  const long y = std::strtol(text.c_str() + at + 1, &end, 10);
  if (*end != '\0' || end == text.c_str() + at + 1) return false;
  if (x < -100000 || x > 100000 || y < -100000 || y > 100000) return false;
  a = int(x);
  b = int(y);
  return true;
}

}  // namespace

int RenderFrame(const std::vector<std::string>& raw) {
  Arguments args;
  std::vector<std::string> valued = kFolderOptions;
  valued.insert(valued.end(), {"--size", "--scroll", "--mode"});
  std::string error;
  if (!args.Parse(raw, valued, {"--zoom", "--grid", "--terrain", "--roads", "--names", "--labels"},
                  error)) {
    return UsageError(error, kRenderUsage);
  }
  if (args.positional().size() != 2) return UsageError("", kRenderUsage);
  const std::string out = args.positional()[1];
  if (out.empty()) return UsageError("the picture to write needs a name", kRenderUsage);

  int width = 1024, height = 768, mode = 0;
  if (auto m = args.Value("--mode")) {
    if (*m == "800") {
      mode = 2, width = 800, height = 600;
    } else if (*m == "1024") {
      mode = 3;
    } else {
      return UsageError("--mode takes 800 or 1024", kRenderUsage);
    }
  } else if (auto size = args.Value("--size")) {
    if (!ParsePair(*size, 'x', width, height) || width < 320 || height < 240 || width > 8192 ||
        height > 8192) {
      return UsageError("--size takes WxH, from 320x240 to 8192x8192", kRenderUsage);
    }
  }
  int scrollX = 0, scrollY = 0;
  const bool scroll = args.Value("--scroll").has_value();
  if (scroll && !ParsePair(*args.Value("--scroll"), ',', scrollX, scrollY)) {
    return UsageError("--scroll takes X,Y", kRenderUsage);
  }

  ConsolePrompts prompts;
  Workspace ws(prompts);
  SetFolders(ws.settings, args, args.positional()[0]);
  if (!ws.OpenMap(AbsolutePath(args.positional()[0]))) return kExitFailed;
  uint16_t toggles = kToggleDrawPicture;
  const std::pair<const char*, uint16_t> flags[] = {
      {"--zoom", kToggleZoom},   {"--grid", kToggleGrid},        {"--terrain", kToggleTerrainMarks},
      {"--roads", kToggleRoads}, {"--names", kToggleNamedHexes}, {"--labels", kToggleLabels}};
  for (const auto& [flag, bit] : flags) {
    if (args.Has(flag)) toggles |= bit;
  }
  ws.settings.viewToggles = toggles;
  // The full-screen modes have their own, smaller zoomed scale.
  ws.settings.displayMode = uint8_t(mode);

  // Fonts and images need a Qt application, but never a display.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "maptesk-render";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  NoDisplayOutput output;
  DisplaySurfaces display;
  display.Create(&output);
  QRect rect;
  int32_t result = kOk;
  if (mode != 0) {
    display.SetScreenSize(QSize(width, height));
    int bits = 16;
    result = display.InitFullScreen(rect, bits, mode);
  } else {
    result = display.InitWindowed(rect, 32, QSize(width, height));
  }
  if (result != kOk || display.backSurface().isNull()) {
    prompts.ShowError("Error setting video mode.");
    return kExitFailed;
  }
  NoWindow window;
  MapView view(ws.map, ws.names, ws.settings, window, ws.history);
  // The same steps after a load as in the editor: grid, status line, names.
  NoShell shell;
  CancelledDialogs dialogs;
  MapToolApp tool(ws, dialogs, dialogs, shell);
  tool.AttachView(&view, nullptr);
  tool.AfterMapLoaded();
  const QImage& back = display.backSurface();
  view.layout({0, 0, back.width(), back.height()}, mode != 0);
  if (scroll) view.grid.scrollTo(scrollX, scrollY);

  MapRenderer renderer(display, view, ws.picture, ws.history);
  renderer.build();
  FrameInputs inputs;
  // The pointer rests off the window: no hex under it.
  inputs.pointerX = inputs.pointerY = -1000;
  inputs.edgeScroll = false;
  inputs.pictureLoaded = ws.picture.loaded;
  inputs.statusLine = tool.statusLine();
  inputs.releaseTitle = Format("%s - %s", kVersion, kBuildDate);
  QImage frame(back.size(), QImage::Format_RGB32);
  renderer.DrawUncached(inputs, frame);

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!frame.save(&buffer, "PNG")) {
    ErrorCreating(prompts, out);
    return kExitFailed;
  }
  std::string reason;
  if (!SaveFileSafely(AbsolutePath(out), png.constData(), size_t(png.size()), &reason,
                      Durability::kToSystem)) {
    ErrorCreating(prompts, out, reason);
    return kExitFailed;
  }
  std::printf("%s: %d x %d\n", out.c_str(), frame.width(), frame.height());
  return kExitOk;
}

}  // namespace maptesk::cli
