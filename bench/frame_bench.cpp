// Frames of the editor on a full 1920 x 1920 map with every overlay on: a
// frame where the pointer moved to another hex (the info line, the road
// preview and the brush outline are drawn again), a frame after an edit
// (the edited hex's part of the overlay layer too), and a frame where
// nothing changed.
//   build/bench/maptesk_bench_frame
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/app/workspace.h"
#include "core/map/edit_steps.h"
#include "core/map/terrain_table.h"
#include "core/util/prompts.h"
#include "core/view/map_view.h"
#include "core/view/view_host.h"
#include "sample/sample_game.h"
#include "ui/display/display_surfaces.h"
#include "ui/view/map_renderer.h"

namespace {

using namespace maptesk;

const std::string& SampleGameFolder() {
  static const std::string folder = [] {
    const auto dir = std::filesystem::temp_directory_path() / "maptesk-bench-frame";
    std::filesystem::remove_all(dir);
    SilentPrompts prompts;
    SampleGame(prompts).Write(dir.string());
    return dir.string() + "/";
  }();
  return folder;
}

struct Editor {
  SilentPrompts prompts;
  Workspace ws{prompts};
  NoWindow window;
  NoDisplayOutput output;
  DisplaySurfaces display;
  MapView view{ws.map, ws.names, ws.settings, window, ws.history};
  MapRenderer renderer{display, view, ws.picture, ws.history};
  FrameInputs inputs;

  Editor(int width, int height, bool zoomed) {
    const std::string game = SampleGameFolder();
    ws.settings.gameFolder = game;
    ws.settings.mapFolder = game + "MAP/";
    ws.OpenMap(game + "SCENARIO/ARDEN.MAP");
    ws.names.LoadDefaultNames();
    ws.settings.viewToggles = kToggleDrawPicture | kToggleGrid | kToggleTerrainMarks |
                              kToggleRoads | kToggleNamedHexes | (zoomed ? kToggleZoom : 0);
    for (int r = 0; r < kMapRows; ++r) {
      for (int c = 0; c < kMapColumns; ++c)
        ws.map.selected[size_t(r)][size_t(c)] = (r + c) % 5 == 0;
    }
    display.Create(&output);
    QRect rect;
    display.InitWindowed(rect, 32, QSize(width, height));
    view.grid.setMapSize(ws.picture.width, ws.picture.height);
    view.layout({0, 0, width, height}, false);
    renderer.build();
    inputs.pictureLoaded = ws.picture.loaded;
    inputs.edgeScroll = false;
    inputs.statusLine = "Map: ARDEN.MAP #005 *  MAP05xx.s16  (1920 x 1920)";
    renderer.drawFrame(inputs);
  }
  // Points at the middle of a hex of the view.
  void PointAt(int row, int column) {
    const HexPos p = view.grid.hexToPixel(row, column);
    inputs.pointerX = p.screenX + view.grid.metrics.hexWidth / 2;
    inputs.pointerY = p.screenY + view.grid.metrics.hexHeight / 2;
  }
};

void Frames(benchmark::State& state, int width, int height, bool zoomed, int kind) {
  Editor editor(width, height, zoomed);
  // The 7-hex brush: its outline follows the pointer.
  if (kind == 3) editor.ws.settings.brushRadius = 1;
  int i = 0;
  for (auto _ : state) {
    ++i;
    if (kind == 1 || kind == 3) {
      editor.PointAt(3 + i % 2, 4);
    } else if (kind == 2) {
      EditStep step(editor.ws.history, "Paint terrain");
      editor.ws.map.cell(5, 5).terrain = uint16_t(i % 20);
    }
    benchmark::DoNotOptimize(editor.renderer.drawFrame(editor.inputs));
  }
}

void BM_PointerMoved(benchmark::State& s, int w, int h, bool zoomed) { Frames(s, w, h, zoomed, 1); }
void BM_AfterAnEdit(benchmark::State& s, int w, int h, bool zoomed) { Frames(s, w, h, zoomed, 2); }
void BM_BrushMoved(benchmark::State& s, int w, int h, bool zoomed) { Frames(s, w, h, zoomed, 3); }
void BM_NothingChanged(benchmark::State& s, int w, int h, bool zoomed) {
  Frames(s, w, h, zoomed, 0);
}

BENCHMARK_CAPTURE(BM_PointerMoved, 1024x768, 1024, 768, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PointerMoved, 1920x1080, 1920, 1080, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PointerMoved, 2560x1440, 2560, 1440, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PointerMoved, 3840x2160, 3840, 2160, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PointerMoved, 1024x768_zoomed, 1024, 768, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PointerMoved, 1920x1080_zoomed, 1920, 1080, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BrushMoved, 1920x1080, 1920, 1080, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AfterAnEdit, 1024x768, 1024, 768, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AfterAnEdit, 1920x1080, 1920, 1080, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AfterAnEdit, 2560x1440, 2560, 1440, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AfterAnEdit, 3840x2160, 3840, 2160, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AfterAnEdit, 1920x1080_zoomed, 1920, 1080, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NothingChanged, 1920x1080, 1920, 1080, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NothingChanged, 3840x2160, 3840, 2160, false)->Unit(benchmark::kMicrosecond);

// Undo, then redo, of a step that changed all 1,800 hexes, each followed by
// the frame that shows it: what Ctrl+Z costs before the screen shows it.
void BM_UndoFullMapStepToFrame(benchmark::State& state) {
  Editor editor(1920, 1080, false);
  {
    EditStep step(editor.ws.history, "Global terrain change");
    for (auto& row : editor.ws.map.cells) {
      for (HexCell& cell : row) cell.terrain = kSwamp;
    }
  }
  editor.renderer.drawFrame(editor.inputs);
  bool undo = true;
  for (auto _ : state) {
    if (undo) {
      editor.ws.history.Undo();
    } else {
      editor.ws.history.Redo();
    }
    undo = !undo;
    benchmark::DoNotOptimize(editor.renderer.drawFrame(editor.inputs));
  }
}
BENCHMARK(BM_UndoFullMapStepToFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
