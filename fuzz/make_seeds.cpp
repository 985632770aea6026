// Writes a small corpus of valid inputs for each fuzz target, made by our
// own writers: maptesk_fuzz_seeds DIR creates DIR/<target>/...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/picture/bmp_image.h"
#include "core/picture/s16_tiles.h"
#include "core/picture/shp_picture.h"
#include "core/settings/tool_settings.h"
#include "core/util/prompts.h"

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

// A set in the targets' form: each tile preceded by its 2-byte length.
void WriteSet(const fs::path& path, const std::vector<std::vector<uint8_t>>& tiles) {
  std::string bytes;
  for (const auto& t : tiles) {
    const size_t n = std::min<size_t>(t.size(), 0xFFFF);
    bytes.push_back(char(n & 0xFF));
    bytes.push_back(char(n >> 8));
    bytes.append(reinterpret_cast<const char*>(t.data()), n);
  }
  Write(path, bytes);
}

void PictureSeeds(const fs::path& root) {
  SilentPrompts prompts;
  // A small gradient picture, as 24-bit rows bottom-up.
  const int w = 40, h = 24, rowBytes = int(BmpImage::RowBytes(w, 24));
  std::vector<uint8_t> rows(size_t(rowBytes) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = rows.data() + size_t(y) * size_t(rowBytes) + size_t(x) * 3;
      p[0] = uint8_t(x * 6);
      p[1] = uint8_t(y * 10);
      p[2] = uint8_t((x / 8) * 40);  // flat runs for the packed coding
    }
  }
  BmpImage bmp(prompts);
  if (bmp.CreateRgb24(w, h)) {
    std::copy(rows.begin(), rows.end(), bmp.bits);
    bmp.Save((root / "fuzz_bmp" / "gradient.bmp").string());
  }

  std::vector<std::vector<uint8_t>> plain, packed;
  for (int i = 0; i < 2; ++i) {
    plain.push_back(S16Tiles::Encode(rows.data(), rowBytes, h, 0, 0, w, h, false));
    packed.push_back(S16Tiles::Encode(rows.data(), rowBytes, h, 0, 0, w, h, true));
  }
  WriteSet(root / "fuzz_s16_set" / "plain", plain);
  WriteSet(root / "fuzz_s16_set" / "packed", packed);

  std::vector<uint8_t> indices(size_t(w) * h);
  for (size_t i = 0; i < indices.size(); ++i)
    indices[i] = uint8_t((i % 7 == 0) ? 5 : (i / 9) % 256);
  WriteSet(root / "fuzz_shp_set" / "shapes",
           {ShpPicture::Encode(indices.data(), w, h), ShpPicture::Encode(indices.data(), w, h)});
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
  fs::create_directories(root / "fuzz_bmp");
  PictureSeeds(root);
  return 0;
}
