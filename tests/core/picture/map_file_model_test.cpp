#include "core/picture/map_file_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/settings/tool_settings.h"
#include "support/fake_number_host.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::TempDir;
using testing::WriteBytes;
using testing::WriteText;

class MapFileModelTest : public ::testing::Test {
 protected:
  MapFileModelTest() {
    settings.mapFolder = game / "MAP/";
    WriteText(game / "MAP/MAP0500.s16", "tile");
    WriteText(game / "MAP/map12300.S16", "tile");
    WriteText(game / "MAP/MAP0700.s16", "tile");  // there, but not a picture
    pictures.sizes[game / "MAP/MAP0500.s16"] = {1920, 1920};
    pictures.sizes[game / "MAP/map12300.S16"] = {640, 480};
  }

  TempDir game;
  ToolSettings settings;
  testing::FakeNumberHost pictures;
  MapFileModel model{settings, pictures};
};

TEST_F(MapFileModelTest, StatusLineAndPreviewOfTheSelectedFile) {
  struct Case {
    const char* file;
    std::vector<uint8_t> head;
    std::string caption;
    PictureSize size;  // {} when no preview is drawn
  };
  for (const Case& c : {
           Case{"five.map", {5, 0, 45, 0, 40, 0}, "five.map  ( #5 )  Pic OK", {96, 96}},
           Case{"big.MAP", {123, 0}, "big.MAP  ( #123 )  Pic OK", {32, 24}},
           Case{"seven.map", {7, 0}, "seven.map  ( #7 )  Pic OK", {}},
           Case{"twelve.map", {12, 0}, "twelve.map  ( #12 )   * No Pic *", {}},
           Case{"high.map", {0x40, 0x9C}, "high.map  ( #40000 )   * No Pic *", {}},
           Case{"none.map", {0xFF, 0xFF}, "none.map  ( #-1 )   * No Pic *", {}},
           Case{"short.map", {5}, "short.map  ( #-1 )   * No Pic *", {}},
       }) {
    WriteBytes(game / c.file, c.head);
    model.SelectFile(game / c.file);
    EXPECT_EQ(model.caption(), c.caption) << c.file;
    EXPECT_EQ(model.previewLoaded(), c.size.width > 0) << c.file;
    EXPECT_EQ(model.previewSize(), c.size) << c.file;
  }
  model.SelectFile(game / "big.MAP");
  EXPECT_EQ(model.previewFile(), game / "MAP/map12300.S16");
  EXPECT_EQ(model.FolderText(), "Pictures on folder: " + (game / "MAP/"));
}

TEST_F(MapFileModelTest, NoFileOrOneThatCannotBeRead) {
  WriteBytes(game / "five.map", {5, 0});
  std::filesystem::create_directories(game / "sub.map");
  for (const std::string& path : {game / "new.map", game / "sub.map", std::string()}) {
    model.SelectFile(game / "five.map");
    ASSERT_TRUE(model.previewLoaded());
    model.SelectFile(path);
    EXPECT_EQ(model.caption(), "Select any file...") << path;
    EXPECT_FALSE(model.previewLoaded()) << path;
  }
#ifdef __linux__
  // A regular file whose first bytes cannot be read, even by root.
  std::filesystem::create_symlink("/proc/self/mem", game.path() / "locked.map");
  model.SelectFile(game / "locked.map");
  EXPECT_EQ(model.caption(), "Error opening file");
  EXPECT_FALSE(model.previewLoaded());
#endif
}

}  // namespace
}  // namespace maptesk
