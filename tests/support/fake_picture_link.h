// A picture link whose two operations the test supplies.
#pragma once

#include <functional>
#include <string>

#include "core/map/picture_link.h"

namespace maptesk::testing {

class FakePictureLink : public PictureLink {
 public:
  std::function<bool(const std::string&)> assemble = [](const std::string&) { return false; };
  std::function<void()> create = [] {};

  bool AssemblePicture(const std::string& firstTile) override { return assemble(firstTile); }
  void CreatePictureForNumber() override { create(); }
};

}  // namespace maptesk::testing
