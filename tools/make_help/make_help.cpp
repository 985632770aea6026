// Writes the designers' help page: the template with its command-table line
// replaced by the table of every command, so the page lists exactly the
// labels and keys that the menus are built from.
//   maptesk_make_help TEMPLATE OUT
#include <cstdio>
#include <string>
#include <vector>

#include "core/app/command_table.h"
#include "core/util/file_io.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: maptesk_make_help TEMPLATE OUT\n");
    return 2;
  }
  std::vector<uint8_t> bytes;
  if (maptesk::ReadFileBytes(argv[1], bytes, size_t(1) << 20, true) != maptesk::ReadStatus::kOk) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  std::string page(bytes.begin(), bytes.end());
  const std::string marker = "<!-- COMMAND TABLE -->";
  const size_t at = page.find(marker);
  if (at == std::string::npos || page.find(marker, at + 1) != std::string::npos) {
    std::fprintf(stderr, "%s must hold the line %s exactly once\n", argv[1], marker.c_str());
    return 1;
  }
  page.replace(at, marker.size(), maptesk::CommandTableHtml());
  std::string error;
  if (!maptesk::SaveFileSafely(argv[2], page, &error, maptesk::Durability::kToSystem)) {
    std::fprintf(stderr, "cannot write %s: %s\n", argv[2], error.c_str());
    return 1;
  }
  return 0;
}
