// Load and save of a MAP file and of a names file of 1,800 lines.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/app/map_check.h"
#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/settings/tool_settings.h"
#include "core/util/prompts.h"

namespace {

using namespace maptesk;

struct Fixture {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "maptesk-bench";
  SilentPrompts prompts;
  ToolSettings settings;
  HexMap map{settings, prompts};
  MapNames names{map, settings, prompts};

  Fixture() {
    std::filesystem::create_directories(dir / "SCENARIO");
    std::filesystem::create_directories(dir / "MAP");
    settings.gameFolder = dir.string() + "/";
    settings.mapFolder = settings.gameFolder + "MAP/";
    settings.viewToggles &= uint16_t(~kToggleSaveClean);
    map.MapNumber = 7;
    for (int r = 0; r < kMapRows; ++r) {
      for (int c = 0; c < kMapColumns; ++c) {
        map.cell(r, c).terrain = uint16_t((r * 7 + c) % 20);
        map.cell(r, c).roads = uint16_t(r + c);
        names.nameIndex[size_t(r)][size_t(c)] =
            uint8_t(names.AddName("Town " + std::to_string((r * 45 + c) % 200)));
      }
    }
    map.MapFileSave(mapPath());
    names.WriteNamesFile(namesPath());
  }
  std::string mapPath() const { return (dir / "SCENARIO" / "BENCH.MAP").string(); }
  std::string namesPath() const { return (dir / "MAP" / "MAP007.TXT").string(); }
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

void BM_MapFileLoad(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(f.map.MapFileLoad(f.mapPath()));
}
BENCHMARK(BM_MapFileLoad)->Unit(benchmark::kMicrosecond);

void BM_MapFileSave(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(f.map.MapFileSave(f.mapPath()));
}
BENCHMARK(BM_MapFileSave)->Unit(benchmark::kMicrosecond);

void BM_NamesFileRead(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.names.ClearNames();
    benchmark::DoNotOptimize(f.names.ReadNamesFile(f.namesPath()));
  }
}
BENCHMARK(BM_NamesFileRead)->Unit(benchmark::kMicrosecond);

void BM_NamesFileWrite(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(f.names.WriteNamesFile(f.namesPath()));
}
BENCHMARK(BM_NamesFileWrite)->Unit(benchmark::kMicrosecond);

// Every check of one map whose every hex has terrain, roads (most of them
// one-sided) and a name: the worst a map gives the checks to report.
void BM_CheckMap(benchmark::State& state) {
  Fixture& f = Shared();
  CheckContext context;
  context.names = &f.names;
  context.mapName = "BENCH";
  size_t findings = 0;
  for (auto _ : state) {
    const std::vector<Finding> found = CheckMap(f.map, context);
    findings = found.size();
    benchmark::DoNotOptimize(findings);
  }
  state.counters["findings"] = double(findings);
}
BENCHMARK(BM_CheckMap)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
