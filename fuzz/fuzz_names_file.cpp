// Names file parsing: any text reads without a fault, every hex index points
// at a held name, and what we write reads back to the same grid.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/settings/tool_settings.h"
#include "core/util/prompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace maptesk;
  static SilentPrompts prompts;
  static ToolSettings settings;
  static HexMap map(settings, prompts);
  static MapNames names(map, settings, prompts);
  static MapNames again(map, settings, prompts);

  names.ClearNames();
  names.ReadNamesText(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
  if (names.nameCount > MapNames::kMaxHexSlot + 1) std::abort();
  for (const auto& row : names.nameIndex) {
    for (uint8_t slot : row) {
      if (slot != 0 && (slot >= names.nameCount || names.NameOf(slot).empty())) std::abort();
    }
  }

  // Names holding a line break cannot come from a file, but check the
  // round trip for everything a file can give.
  again.ClearNames();
  again.ReadNamesText(names.FormatNamesFile(), "fuzz");
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      if (names.NameOf(names.nameIndex[r][c]) != again.NameOf(again.nameIndex[r][c])) std::abort();
    }
  }
  return 0;
}
