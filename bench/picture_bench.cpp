// Assembling a 1920 x 1920 picture from twelve S16 tiles (plain and
// run-length packed), and loading and saving it as a 24-bit BMP. The
// pictures are the sample game's own, so the packing is that of a real map.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/picture/map_picture.h"
#include "core/util/prompts.h"
#include "sample/sample_game.h"

namespace {

using namespace maptesk;

// The sample game's 1920 x 1920 map as a BMP, its packed S16 set and a
// plain S16 set of the same picture.
struct Pictures {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "maptesk-picture-bench";
  SilentPrompts prompts;
  Pictures() {
    std::filesystem::create_directories(dir);
    SampleGame(prompts).Write(dir.string());
    MapPicture picture(prompts);
    picture.LoadPicture(s16Packed());
    picture.Save(bmp());
    picture.SplitToS16Tiles((dir / "MAP/MAP77").string());
  }
  ~Pictures() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::string s16Packed() const { return (dir / "MAP/MAP0500.s16").string(); }
  std::string s16Plain() const { return (dir / "MAP/MAP7700.s16").string(); }
  std::string bmp() const { return (dir / "map1920.bmp").string(); }
};

Pictures& Files() {
  static Pictures pictures;
  return pictures;
}

void Assemble(benchmark::State& state, const std::string& path) {
  MapPicture picture(Files().prompts);
  for (auto _ : state) {
    picture.LoadPicture(path);
    benchmark::DoNotOptimize(picture.bits[0]);
  }
  if (picture.width != 1920 || picture.height != 1920) state.SkipWithError("not 1920 x 1920");
}

void BM_AssembleS16Plain(benchmark::State& state) { Assemble(state, Files().s16Plain()); }
void BM_AssembleS16Packed(benchmark::State& state) { Assemble(state, Files().s16Packed()); }

void BM_LoadBmp24(benchmark::State& state) {
  BmpImage image(Files().prompts);
  for (auto _ : state) {
    image.Load(Files().bmp());
    benchmark::DoNotOptimize(image.bits[0]);
  }
  if (image.width != 1920) state.SkipWithError("not loaded");
}

void BM_SaveBmp24(benchmark::State& state) {
  BmpImage image(Files().prompts);
  image.Load(Files().bmp());
  const std::string out = (Files().dir / "saved.bmp").string();
  for (auto _ : state) {
    if (!image.Save(out)) state.SkipWithError("save failed");
  }
}

BENCHMARK(BM_AssembleS16Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssembleS16Packed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBmp24)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
