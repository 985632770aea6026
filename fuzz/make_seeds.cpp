// Writes a small corpus of valid inputs for each fuzz target, made by our
// own writers: maptesk_fuzz_seeds DIR creates DIR/<target>/...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/tool_settings.h"
#include "util/prompts.h"
#include "map/hex_map.h"
#include "map/map_names.h"

namespace {

using namespace maptesk;
namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

void MapSeeds(const fs::path& dir) {
  SilentPrompts prompts;
  ToolSettings settings;
  auto map = std::make_unique<HexMap>(settings, prompts);
  map->MapNumber = 7;
  map->columns = 45;
  map->rows = 40;
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      map->cell(r, c).terrain = uint16_t((r + c) % 20);
      map->cell(r, c).roads = uint16_t((r * c) & 0xFF);
      map->cell(r, c).flags = uint16_t(((r + c) % 7 == 0) ? kAutoRoadMark : 0);
    }
  }
  std::string bytes(kMapFileSize, '\0');
  map->Encode(reinterpret_cast<uint8_t*>(bytes.data()));
  Write(dir / "map.MAP", bytes);
  Write(dir / "short.MAP", bytes.substr(0, 500));
}

void NamesSeeds(const fs::path& dir) {
  SilentPrompts prompts;
  ToolSettings settings;
  auto map = std::make_unique<HexMap>(settings, prompts);
  MapNames names(*map, settings, prompts);
  map->MapNumber = 7;
  map->path = "/g/SCENARIO/Seed.MAP";
  const char* places[] = {"Oran", "Old Town", "Caf\xE9", "  spaced  ", "Port"};
  for (int i = 0; i < 40; ++i) {
    names.nameIndex[size_t(i)][size_t(i % 45)] = uint8_t(names.AddName(places[i % 5]));
  }
  Write(dir / "names.TXT", names.FormatNamesFile());
  Write(dir / "odd.TXT", "header\n(1,2) #\n  (03,04)#x\n(5,6 #y\n(45,0) #z\n(0,0) #last");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: maptesk_fuzz_seeds DIR\n");
    return 2;
  }
  fs::path root = argv[1];
  MapSeeds(root / "fuzz_map_file");
  NamesSeeds(root / "fuzz_names_file");
  return 0;
}
