// The broken MAP and names files of the broken-inputs folder.
#include <gtest/gtest.h>

#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/settings/tool_settings.h"
#include "core/util/path_utils.h"
#include "support/scripted_prompts.h"

namespace maptesk {
namespace {

std::string Broken(const std::string& name) {
  // Named with the system's separators, as the messages show paths.
  return NativeSeparators(std::string(MAPTESK_TEST_DATA) + "/broken/" + name);
}

class BrokenMapInputs : public ::testing::Test {
 protected:
  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map{settings, prompts};
  MapNames names{map, settings, prompts};
};

TEST_F(BrokenMapInputs, MapFiles) {
  EXPECT_FALSE(map.MapFileLoad(Broken("tiny.MAP")));
  ASSERT_EQ(prompts.Texts("error").size(), 1u);
  EXPECT_EQ(prompts.Texts("error")[0],
            "Map file [" + Broken("tiny.MAP") + "]\nis too short to be a map (3 bytes)");
  EXPECT_FALSE(map.loaded);

  ASSERT_TRUE(map.MapFileLoad(Broken("half.MAP")));
  EXPECT_EQ(prompts.Texts("note").size(), 1u);
  EXPECT_GE(map.columns, 1);
  EXPECT_LE(map.columns, 45);
  EXPECT_GE(map.rows, 1);
  EXPECT_LE(map.rows, 40);
  EXPECT_EQ(map.cell(39, 44), HexCell{});  // beyond the data

  ASSERT_TRUE(map.MapFileLoad(Broken("sizes_ffff.MAP")));
  EXPECT_EQ(map.MapNumber, kNoMapNumber);
  EXPECT_EQ(map.columns, 45);
  EXPECT_EQ(map.rows, 40);
}

TEST_F(BrokenMapInputs, NamesFile) {
  ASSERT_TRUE(names.ReadNamesFile(Broken("odd_names.TXT")));
  // Four hex lines lack a number, a bracket or the "#"; the line with
  // control bytes keeps them as its name, and the last line has no break.
  EXPECT_EQ(names.NameTotal(), 2);
  EXPECT_EQ(names.NameOf(names.nameIndex[6][5]), std::string("\xff\xfe\0nul", 6));
  EXPECT_EQ(names.NameOf(names.nameIndex[39][44]), "edge");
  EXPECT_EQ(names.nameIndex[0][0], 0);
  EXPECT_EQ(names.lastRead().malformedLines, 4);
  EXPECT_TRUE(prompts.messages().empty());
}

}  // namespace
}  // namespace maptesk
