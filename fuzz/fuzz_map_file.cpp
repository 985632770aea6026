// MAP file decoding: any bytes decode without a fault, the size words end up
// in range, and decoding what we encoded gives the same record.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/map/map_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace maptesk;
  auto record = std::make_unique<MapRecord>();
  DecodeMapFile(data, size, *record);
  if (record->rows < 1 || record->rows > kMapRows) std::abort();
  if (record->columns < 1 || record->columns > kMapColumns) std::abort();

  std::vector<uint8_t> encoded(kMapFileSize);
  EncodeMapFile(*record, encoded.data());
  auto again = std::make_unique<MapRecord>();
  DecodeMapFile(encoded.data(), encoded.size(), *again);
  std::vector<uint8_t> reencoded(kMapFileSize);
  EncodeMapFile(*again, reencoded.data());
  if (encoded != reencoded) std::abort();
  return 0;
}
