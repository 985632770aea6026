// The edit history: memory held by full-map steps, undo and redo across a
// full-map step, and the cost a one-hex edit pays for being undoable.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/app/edit_history.h"
#include "core/app/recovery_store.h"
#include "core/settings/tool_settings.h"
#include "core/util/prompts.h"

namespace {

using namespace maptesk;

constexpr int kFullSteps = 1000;

struct Document {
  SilentPrompts prompts;
  ToolSettings settings;
  HexMap map{settings, prompts};
  MapNames names{map, settings, prompts};
  EditHistory history{map, names};

  // Every hex changes: the terrain alternates between two values.
  void FullMapStep(int i) {
    EditStep step(history, "Fill");
    for (auto& row : map.cells) {
      for (HexCell& cell : row) cell.terrain = uint16_t(i % 2 ? 3 : 7);
    }
  }
  void AddNames(int count) {
    for (int i = 0; i < count; ++i) names.AddName("Town of the plain " + std::to_string(i));
  }
};

std::unique_ptr<Document> WithFullSteps() {
  auto doc = std::make_unique<Document>();
  for (int i = 0; i < kFullSteps; ++i) doc->FullMapStep(i);
  return doc;
}

void BM_RecordFullMapSteps(benchmark::State& state) {
  size_t bytes = 0;
  for (auto _ : state) {
    auto doc = WithFullSteps();
    bytes = doc->history.MemoryUsed();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["steps"] = kFullSteps;
  state.counters["bytes"] = double(bytes);
  state.counters["MB"] = double(bytes) / (1 << 20);
}
BENCHMARK(BM_RecordFullMapSteps)->Unit(benchmark::kMillisecond);

void BM_UndoRedoFullMapStep(benchmark::State& state) {
  auto doc = WithFullSteps();
  for (auto _ : state) {
    doc->history.Undo();
    doc->history.Redo();
  }
  state.counters["steps"] = double(doc->history.StepCount());
}
BENCHMARK(BM_UndoRedoFullMapStep)->Unit(benchmark::kMicrosecond);

// Arg: names in the list, which every step snapshots and compares.
void BM_OneHexStep(benchmark::State& state) {
  auto doc = std::make_unique<Document>();
  doc->AddNames(int(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    EditStep step(doc->history, "Paint terrain");
    doc->map.cell(20, 22).terrain = uint16_t(++i % 2 ? 3 : 7);
  }
  state.counters["steps"] = double(doc->history.StepCount());
}
BENCHMARK(BM_OneHexStep)->Arg(0)->Arg(MapNames::kSlots - 1)->Unit(benchmark::kMicrosecond);

// One recovery copy of a map whose every hex has terrain, roads and one of
// 255 names: the map and its names file written as one set.
void BM_WriteRecoveryCopy(benchmark::State& state) {
  auto doc = std::make_unique<Document>();
  doc->AddNames(255);
  doc->map.path = "/maps/SCENARIO/BENCH.MAP";
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      doc->map.cell(r, c).terrain = uint16_t((r + c) % 20);
      doc->map.cell(r, c).roads = uint16_t(r % 3);
      doc->names.nameIndex[size_t(r)][size_t(c)] = uint8_t(1 + (r * kMapColumns + c) % 255);
    }
  }
  const auto dir = std::filesystem::temp_directory_path() / "maptesk-bench-recovery";
  std::filesystem::remove_all(dir);
  RecoveryStore store(dir.string() + "/");
  uint64_t revision = 0;
  for (auto _ : state) {
    if (!store.Write(doc->map, doc->names, ++revision, nullptr)) state.SkipWithError("not written");
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WriteRecoveryCopy)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
