// A game folder for the map-number tests: pictures of maps 5 (two tiles) and
// 12 in MAP/, a map to renumber, and a picture host that knows their sizes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/map/hex_map.h"
#include "core/settings/tool_settings.h"
#include "support/fake_number_host.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk::testing {

class MapNumberGameTest : public ::testing::Test {
 protected:
  MapNumberGameTest() : map(std::make_unique<HexMap>(settings, prompts)) {
    settings.gameFolder = game.str();
    settings.mapFolder = game / "MAP/";
    for (const char* name : {"MAP0500.s16", "MAP0501.s16", "MAP1200.s16"}) {
      WriteText(game / (std::string("MAP/") + name), "tile");
    }
    pictures.sizes[game / "MAP/MAP1200.s16"] = {1920, 1440};
    pictures.sizes[game / "MAP/MAP0500.s16"] = {1000, 600};
  }
  std::string Folder() const { return game / "MAP/"; }

  TempDir game;
  ToolSettings settings;
  ScriptedPrompts prompts;
  std::unique_ptr<HexMap> map;
  FakeNumberHost pictures;
};

}  // namespace maptesk::testing
