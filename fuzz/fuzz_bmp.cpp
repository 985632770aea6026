// BMP reading: any bytes load or are refused without a fault.
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace maptesk::fuzz;
  const std::string path = ScratchFolder() + "input.bmp";
  WriteFile(path, data, size);
  LoadAndCheck(path);
  return 0;
}
