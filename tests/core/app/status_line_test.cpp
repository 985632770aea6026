#include "core/app/status_line.h"

#include <gtest/gtest.h>

#include "core/map/hex_map.h"
#include "core/picture/map_picture.h"
#include "core/settings/tool_settings.h"
#include "support/scripted_prompts.h"

namespace maptesk {
namespace {

TEST(StatusLine, NamesTheMapItsNumberAndItsPicture) {
  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map(settings, prompts);
  MapPicture picture(prompts);
  EXPECT_EQ(StatusLineText(map, picture), " No file loaded");

  map.loaded = true;
  map.path = "/G/SCENARIO/A.MAP";
  map.MapNumber = 7;
  picture.fileName = "MAP07";
  picture.extension = ".S16";
  picture.width = 1920;
  picture.height = 1440;
  EXPECT_EQ(StatusLineText(map, picture),
            "Map: /G/SCENARIO/A.MAP #007 *  MAP07xx.s16  (1920 x 1440)");

  map.MapNumber = kNoMapNumber;
  ASSERT_TRUE(picture.CreateRgb24(640, 480));
  picture.extension = ".BMP";
  picture.fullPath = "/G/BMP/new map.bmp";
  EXPECT_EQ(StatusLineText(map, picture),
            "Map: /G/SCENARIO/A.MAP #65535 *  new map.bmp - 24b  (640 x 480)");
}

}  // namespace
}  // namespace maptesk
