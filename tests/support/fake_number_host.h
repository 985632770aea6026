// Stands in for the picture code of the map-number flows: pictures are known
// by their first tile, and tiles written are only recorded.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/app/map_number_flows.h"

namespace maptesk::testing {

class FakeNumberHost : public MapNumberHost {
 public:
  std::map<std::string, PictureSize> sizes;
  std::vector<std::string> loaded;
  std::vector<std::string> written;
  bool writeSucceeds = true;
  int afterLoads = 0;
  int statusLines = 0;

  std::optional<PictureSize> LoadPreview(const std::string& tile) override {
    loaded.push_back(tile);
    auto it = sizes.find(tile);
    if (it == sizes.end()) return std::nullopt;
    return it->second;
  }
  bool WriteS16Tiles(const std::string& base) override {
    written.push_back(base);
    return writeSucceeds;
  }
  void AfterPictureLoaded() override { ++afterLoads; }
  void UpdateStatusLine() override { ++statusLines; }
};

}  // namespace maptesk::testing
