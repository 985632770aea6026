// S16 tile sets: the input is cut into up to twelve tiles (see
// WriteTileSet) and assembled as a map picture.
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace maptesk::fuzz;
  LoadAndCheck(WriteTileSet(data, size, "MAP05", ".s16"));
  return 0;
}
