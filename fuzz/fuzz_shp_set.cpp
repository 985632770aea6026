// SHP tile sets of the sibling game: cut into tiles like the S16 target.
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace maptesk::fuzz;
  LoadAndCheck(WriteTileSet(data, size, "ZEB", ".shp"));
  return 0;
}
