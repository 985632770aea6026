// maptesk-cli's picture commands, run as a process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/picture/bmp_image.h"
#include "core/picture/map_picture.h"
#include "support/picture_files.h"
#include "support/run_cli.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::ReadBytes;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteBytes;

// What the tool wrote to a redirected stream, with LF line ends.
std::string ReadText(const std::string& path) {
  return testing::WithUnixLineEnds(testing::ReadText(path));
}

int RunCli(const TempDir& dir, const std::string& args) {
  return testing::RunCommandLine(testing::ShellQuote(MAPTESK_CLI) + " " + args + " >" +
                                 testing::ShellQuote(dir / "stdout") + " 2>" +
                                 testing::ShellQuote(dir / "stderr"));
}

TEST(CliPicture, WritesAnyPictureAsSaveImageDoes) {
  TempDir dir;
  WriteBytes(dir / "MAP0500.s16",
             testing::S16Plain(700, 3, [](int x, int y) { return uint16_t(x * y); }));
  WriteBytes(dir / "MAP0510.s16", testing::S16Packed(10, 3, {{30, 0xF800}}));
  ASSERT_EQ(RunCli(dir, "picture " + dir / "MAP0510.s16" + " " + dir / "out.bmp"), 0);
  ScriptedPrompts prompts;
  MapPicture picture(prompts);
  ASSERT_TRUE(picture.LoadPicture(dir / "MAP0500.s16"));
  ASSERT_TRUE(picture.Save(dir / "expected.bmp"));
  EXPECT_EQ(ReadBytes(dir / "out.bmp"), ReadBytes(dir / "expected.bmp"));

  EXPECT_EQ(RunCli(dir, "picture " + dir / "nothing.bmp" + " " + dir / "x.bmp"), 1);
  EXPECT_EQ(ReadText(dir / "stderr"), dir / "nothing.bmp" + " not found\n");
  EXPECT_EQ(RunCli(dir, "picture one"), 2);
}

TEST(CliTiles, CutsOrRefusesAsTheEditorDoes) {
  TempDir dir;
  ScriptedPrompts prompts;
  BmpImage image(prompts);
  ASSERT_TRUE(image.CreateRgb24(640, 481));
  ASSERT_TRUE(image.Save(dir / "small.bmp"));
  EXPECT_EQ(RunCli(dir, "tiles bmp " + dir / "small.bmp" + " " + dir / "T"), 1);
  EXPECT_EQ(ReadText(dir / "stderr"),
            "A picture of 640 x 481 is not cut into BMP tiles: it must be larger than 640 x 480 "
            "both ways\n");
  ASSERT_EQ(RunCli(dir, "tiles s16 " + dir / "small.bmp" + " " + dir / "MAP02"), 0);
  EXPECT_EQ(ReadText(dir / "stderr"), "Done !\nLoaded file has been splitted to 2 S16 Tiles\n");
  ASSERT_TRUE(image.CreateRgb24(641, 481));
  ASSERT_TRUE(image.Save(dir / "big.bmp"));
  ASSERT_EQ(RunCli(dir, "tiles bmp " + dir / "big.bmp" + " " + dir / "T"), 0);
  EXPECT_EQ(ReadText(dir / "stderr"), "Done !\nLoaded file has been splitted to 4 BMP tiles\n");
  EXPECT_EQ(ReadBytes(dir / "T11.bmp").size(), 54u + 4u);
  EXPECT_EQ(RunCli(dir, "tiles png " + dir / "big.bmp" + " " + dir / "T"), 2);
}

TEST(CliSample, WritesTheGameAndInfoShowsItsPicture) {
  TempDir dir;
  ASSERT_EQ(RunCli(dir, "sample " + dir / "game"), 0);
  ASSERT_EQ(RunCli(dir, "info " + dir / "game/SCENARIO/ARDEN.MAP" + " --json"), 0);
  const std::string json = ReadText(dir / "stdout");
  EXPECT_NE(json.find("\"hasS16Picture\": true"), std::string::npos) << json;
  EXPECT_NE(json.find("\"pictureWidth\": 1920, \"pictureHeight\": 1920"), std::string::npos)
      << json;
}

}  // namespace
}  // namespace maptesk
