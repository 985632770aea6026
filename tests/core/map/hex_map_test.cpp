#include "core/map/hex_map.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/tool_settings.h"
#include "support/fake_picture_link.h"
#include "support/map_fixtures.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace maptesk {
namespace {

using testing::CellOffset;
using testing::PatternMapFile;
using testing::ReadBytes;
using testing::WriteBytes;

class HexMapTest : public ::testing::Test {
 protected:
  HexMapTest() {
    settings.gameFolder = dir.str();
    settings.mapFolder = dir.str() + "MAP/";
    settings.scnFolder = dir.str() + "SCENARIO/";
    std::filesystem::create_directories(dir.path() / "MAP");
    std::filesystem::create_directories(dir.path() / "SCENARIO");
  }
  void SaveCleanOff() { settings.viewToggles &= uint16_t(~kToggleSaveClean); }

  testing::TempDir dir;
  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map{settings, prompts};
};

TEST_F(HexMapTest, LoadThenSaveReproducesTheFileByteForByte) {
  SaveCleanOff();
  auto bytes = PatternMapFile(12, 45, 40);
  WriteBytes(dir / "SCENARIO/a.MAP", bytes);
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/a.MAP"));
  EXPECT_EQ(map.MapNumber, 12);
  EXPECT_FALSE(map.modified);
  EXPECT_TRUE(map.loaded);
  // The codec reads fields little-endian in their order.
  const size_t off = CellOffset(3, 4);
  EXPECT_EQ(map.cell(3, 4).terrain, bytes[off] | (bytes[off + 1] << 8));
  EXPECT_EQ(map.cell(3, 4).roads, bytes[off + 2] | (bytes[off + 3] << 8));
  EXPECT_EQ(map.cell(3, 4).extra, bytes[off + 4]);
  EXPECT_EQ(map.cell(3, 4).flags, bytes[off + 5] | (bytes[off + 6] << 8));

  ASSERT_TRUE(map.MapFileSave(dir / "SCENARIO/b.MAP"));
  EXPECT_EQ(ReadBytes(dir / "SCENARIO/b.MAP"), bytes);
  EXPECT_EQ(map.path, dir / "SCENARIO/b.MAP");
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(HexMapTest, SizeWordsAreClampedAndWrittenBackClamped) {
  SaveCleanOff();
  WriteBytes(dir / "SCENARIO/a.MAP", PatternMapFile(1, 0, 99));
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/a.MAP"));
  EXPECT_EQ(map.columns, 1);
  EXPECT_EQ(map.rows, 40);
  ASSERT_TRUE(map.MapFileSave(""));
  auto saved = ReadBytes(dir / "SCENARIO/a.MAP");
  EXPECT_EQ(saved[2] | (saved[3] << 8), 1);
  EXPECT_EQ(saved[4] | (saved[5] << 8), 40);

  WriteBytes(dir / "SCENARIO/c.MAP", PatternMapFile(1, 46, 0));
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/c.MAP"));
  EXPECT_EQ(map.columns, 45);
  EXPECT_EQ(map.rows, 1);
}

TEST_F(HexMapTest, ExtensionIsReplacedAndNoOtherFolderIsTried) {
  WriteBytes(dir / "maps/abc.MAP", PatternMapFile(3, 10, 10));
  ASSERT_TRUE(map.MapFileLoad(dir / "maps/abc.dat"));
  EXPECT_EQ(map.path, dir / "maps/abc.MAP");

  // Not beside the given name: the map of that name in the SCENARIO folder
  // is another map, and is not read (nor then saved over).
  WriteBytes(dir / "SCENARIO/xyz.MAP", PatternMapFile(4, 10, 10));
  prompts.AnswerCancel();
  EXPECT_FALSE(map.MapFileLoad(dir / "elsewhere/xyz.txt"));
  EXPECT_EQ(prompts.Texts("error"),
            std::vector<std::string>{"Map file [" + (dir / "elsewhere/xyz.MAP") + "]\nnot found"});
  EXPECT_EQ(map.path, dir / "maps/abc.MAP");
  EXPECT_EQ(map.MapNumber, 3);
}

#ifndef _WIN32
TEST_F(HexMapTest, TheExactNameWinsOverACaseBlindMatchEvenAsADanglingLink) {
  WriteBytes(dir / "SCENARIO/arden.map", PatternMapFile(1, 10, 10));
  WriteBytes(dir / "SCENARIO/arden.MAP", PatternMapFile(2, 10, 10));
  // Every name given becomes ".MAP": the exact name is what is read.
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/arden.MAP"));
  EXPECT_EQ(map.MapNumber, 2);
  EXPECT_EQ(map.path, dir / "SCENARIO/arden.MAP");
  // No exact entry: the case-blind match.
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/ARDEN.MAP"));
  EXPECT_EQ(map.path, dir / "SCENARIO/arden.MAP");

  // A dangling link of the exact name is that name's entry: not found, and
  // the file beside it whose name differs in case is neither read...
  WriteBytes(dir / "SCENARIO/OUT.MAP", PatternMapFile(7, 10, 10));
  std::filesystem::create_symlink(dir / "nowhere/gone.MAP", dir / "SCENARIO/out.MAP");
  prompts.AnswerCancel();
  EXPECT_FALSE(map.MapFileLoad(dir / "SCENARIO/out.MAP"));
  EXPECT_EQ(map.MapNumber, 2);
  // ... nor written: a save creates the file the link names (its folder
  // being there) and leaves OUT.MAP alone.
  std::filesystem::create_directories(dir / "nowhere");
  ASSERT_TRUE(map.MapFileSave(dir / "SCENARIO/out.MAP"));
  EXPECT_EQ(ReadBytes(dir / "SCENARIO/OUT.MAP"), PatternMapFile(7, 10, 10));
  EXPECT_EQ(ReadBytes(dir / "nowhere/gone.MAP").size(), kMapFileSize);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "SCENARIO/out.MAP"));
}
#endif

TEST_F(HexMapTest, FailedLoadLeavesTheDocumentAsItWas) {
  WriteBytes(dir / "SCENARIO/a.MAP", PatternMapFile(9, 45, 40));
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/a.MAP"));
  map.cell(0, 0).terrain = 17;
  map.modified = true;
  const HexCell before = map.cell(5, 5);

  prompts.AnswerCancel();  // the chooser offered for the missing file
  EXPECT_FALSE(map.MapFileLoad(dir / "SCENARIO/missing.MAP"));
  ASSERT_EQ(prompts.Texts("error").size(), 1u);
  EXPECT_EQ(prompts.Texts("error")[0],
            "Map file [" + (dir / "SCENARIO/missing.MAP") + "]\nnot found");
  EXPECT_EQ(map.path, dir / "SCENARIO/a.MAP");
  EXPECT_TRUE(map.modified);
  EXPECT_EQ(map.MapNumber, 9);
  EXPECT_EQ(map.cell(0, 0).terrain, 17);
  EXPECT_EQ(map.cell(5, 5), before);
}

TEST_F(HexMapTest, MissingFileOffersTheChooserOnce) {
  WriteBytes(dir / "other/picked.MAP", PatternMapFile(21, 45, 40));
  prompts.AnswerPath(dir / "other/picked.MAP");
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/gone.MAP"));
  EXPECT_EQ(map.MapNumber, 21);
  ASSERT_EQ(prompts.Texts("open").size(), 1u);
  EXPECT_EQ(prompts.Texts("open")[0], "4|" + (dir / "SCENARIO/") + "|");

  prompts.AnswerPath(dir / "other/alsogone.MAP");
  EXPECT_FALSE(map.MapFileLoad(dir / "SCENARIO/gone.MAP"));
  EXPECT_EQ(prompts.Texts("error").back(),
            "Map file [" + (dir / "other/alsogone.MAP") + "]\nnot found");
}

#ifndef _WIN32
// No chooser is scripted: offering one fails the test, and opening the FIFO
// would wait for ever.
TEST_F(HexMapTest, AFolderFifoOrDeviceIsNamedAtOnceWithoutAChooser) {
  WriteBytes(dir / "SCENARIO/a.MAP", PatternMapFile(9, 45, 40));
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/a.MAP"));
  std::filesystem::create_directory(dir / "SCENARIO/folder.MAP");
  ASSERT_EQ(mkfifo((dir / "SCENARIO/fifo.MAP").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir / "SCENARIO/zero.MAP");
  const std::pair<const char*, const char*> cases[] = {
      {"SCENARIO/folder.MAP", "a folder"},
      {"SCENARIO/fifo.MAP", "a FIFO"},
      {"SCENARIO/zero.MAP", "a device"},
  };
  for (const auto& [name, kind] : cases) {
    SCOPED_TRACE(name);
    prompts.ClearMessages();
    EXPECT_FALSE(map.MapFileLoad(dir / name));
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"Map file [" + (dir / name) + "]\nis " + kind +
                                       ", not a map file"});
    EXPECT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(map.MapNumber, 9);
  }
}
#endif

TEST_F(HexMapTest, ShortAndLongFilesAreReadAsFarAsTheyGo) {
  SaveCleanOff();
  auto bytes = PatternMapFile(2, 45, 40);
  std::vector<uint8_t> shortFile(bytes.begin(), bytes.begin() + CellOffset(1, 0) + 3);
  WriteBytes(dir / "SCENARIO/short.MAP", shortFile);
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/short.MAP"));
  EXPECT_EQ(map.cell(0, 44).terrain,
            bytes[CellOffset(0, 44)] | (bytes[CellOffset(0, 44) + 1] << 8));
  EXPECT_EQ(map.cell(1, 0), HexCell{});  // the partial record is not used
  EXPECT_EQ(map.cell(39, 44), HexCell{});
  ASSERT_EQ(prompts.Texts("note").size(), 1u);

  std::vector<uint8_t> longFile = bytes;
  longFile.resize(bytes.size() + 5000, 0xEE);
  WriteBytes(dir / "SCENARIO/long.MAP", longFile);
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/long.MAP"));
  ASSERT_TRUE(map.MapFileSave(dir / "SCENARIO/long2.MAP"));
  EXPECT_EQ(ReadBytes(dir / "SCENARIO/long2.MAP"), bytes);

  WriteBytes(dir / "SCENARIO/tiny.MAP", {1, 2, 3});
  EXPECT_FALSE(map.MapFileLoad(dir / "SCENARIO/tiny.MAP"));
  EXPECT_EQ(map.path, dir / "SCENARIO/long2.MAP");
}

TEST_F(HexMapTest, SaveCleanZeroesMarksInFileAndMemory) {
  auto bytes = PatternMapFile(5, 45, 40);
  WriteBytes(dir / "SCENARIO/a.MAP", bytes);
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/a.MAP"));
  map.cell(7, 7).SetTerrain(13, 0);  // a river side bit
  ASSERT_TRUE(settings.saveClean());
  ASSERT_TRUE(map.MapFileSave(""));

  auto saved = ReadBytes(dir / "SCENARIO/a.MAP");
  ASSERT_EQ(saved.size(), kMapFileSize);
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      const size_t off = CellOffset(r, c);
      ASSERT_EQ(saved[off + 4], 0) << r << "," << c;
      ASSERT_EQ(saved[off + 5] | saved[off + 6], 0) << r << "," << c;
      ASSERT_EQ(map.cell(r, c).extra, 0);
      ASSERT_EQ(map.cell(r, c).flags, 0);
      // terrain and roads are untouched
      ASSERT_EQ(saved[off + 2], bytes[off + 2]);
    }
  }
  EXPECT_EQ(map.cell(7, 7).terrain, 13);
  // header and trailer carried through
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 10, bytes.begin()));
  EXPECT_TRUE(
      std::equal(saved.end() - kMapTrailerSize, saved.end(), bytes.end() - kMapTrailerSize));
}

TEST_F(HexMapTest, NewMapBeforeAnyLoadSavesZeroHeaderAndTrailer) {
  map.Clear();
  map.cell(0, 0).terrain = 9;
  ASSERT_TRUE(map.MapFileSave(dir / "SCENARIO/new.map"));
  auto saved = ReadBytes(dir / "SCENARIO/new.MAP");
  ASSERT_EQ(saved.size(), kMapFileSize);
  EXPECT_EQ(saved[0], 0xFF);
  EXPECT_EQ(saved[1], 0xFF);
  for (int i = 2; i < 10; ++i) EXPECT_EQ(saved[size_t(i)], 0) << i;
  EXPECT_EQ(saved[10], 9);
  EXPECT_TRUE(
      std::all_of(saved.end() - kMapTrailerSize, saved.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(HexMapTest, FailedSaveKeepsTheOldFileAndTheModifiedFlag) {
  SaveCleanOff();
  auto bytes = PatternMapFile(5, 45, 40);
  WriteBytes(dir / "SCENARIO/a.MAP", bytes);
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/a.MAP"));
  map.cell(0, 0).terrain = 3;
  map.modified = true;

  // A target that is a folder.
  std::filesystem::create_directories(dir.path() / "SCENARIO/dir.MAP");
  EXPECT_FALSE(map.MapFileSave(dir / "SCENARIO/dir.MAP"));
  EXPECT_EQ(prompts.Texts("error").back(),
            "Error on creating [" + (dir / "SCENARIO/dir.MAP") + "]\nIs a directory");
  // A folder that does not exist.
  EXPECT_FALSE(map.MapFileSave(dir / "nowhere/x.MAP"));
  EXPECT_TRUE(map.modified);
  EXPECT_EQ(map.path, dir / "SCENARIO/a.MAP");
  EXPECT_EQ(ReadBytes(dir / "SCENARIO/a.MAP"), bytes);
  EXPECT_EQ(testing::ListFolder(dir.path() / "SCENARIO"),
            (std::vector<std::string>{"a.MAP", "dir.MAP"}));
}

TEST_F(HexMapTest, SavingOverANameThatDiffersInCaseReplacesThatFile) {
  WriteBytes(dir / "SCENARIO/abc.map", PatternMapFile(5, 45, 40));
  map.Clear();
  ASSERT_TRUE(map.MapFileSave(dir / "SCENARIO/abc.MAP"));
  EXPECT_EQ(testing::ListFolder(dir.path() / "SCENARIO"), std::vector<std::string>{"abc.map"});
  EXPECT_EQ(ReadBytes(dir / "SCENARIO/abc.map")[0], 0xFF);
}

TEST_F(HexMapTest, S16PictureNameLooksInTheMapFolderThenUnderTheGameFolder) {
  settings.mapFolder = dir.str() + "tiles/";
  EXPECT_EQ(map.S16PictureName(7, ""),
            dir / "MAP/MAP0700.s16");  // fallback, whether or not it exists
  testing::WriteText(dir / "tiles/map0700.S16", "x");
  EXPECT_EQ(map.S16PictureName(7, ""), dir / "tiles/map0700.S16");
  EXPECT_EQ(map.S16PictureName(12, dir.str() + "x/"), dir / "MAP/MAP1200.s16");
  EXPECT_EQ(map.S16PictureName(123, ""), dir / "MAP/MAP12300.s16");
  EXPECT_EQ(map.S16PictureName(-1, ""), "");
}

TEST_F(HexMapTest, CheckPictureFollowsNumberAndForeignPicture) {
  testing::WriteText(dir / "MAP/MAP0500.s16", "x");
  map.MapNumber = 5;
  map.CheckPicture();
  EXPECT_TRUE(map.hasS16Picture);
  EXPECT_EQ(map.pictureFile, dir / "MAP/MAP0500.s16");
  map.foreignPicture = true;
  map.CheckPicture();
  EXPECT_FALSE(map.hasS16Picture);
  EXPECT_EQ(map.pictureFile, "");
  map.foreignPicture = false;
  map.MapNumber = kNoMapNumber;
  map.CheckPicture();
  EXPECT_FALSE(map.hasS16Picture);
}

TEST_F(HexMapTest, LoadAssemblesThePictureOfItsNumber) {
  testing::WriteText(dir / "MAP/MAP1200.s16", "x");
  std::string assembled;
  testing::FakePictureLink link;
  link.assemble = [&](const std::string& tile) {
    assembled = tile;
    return true;
  };
  map.SetPictureLink(&link);
  WriteBytes(dir / "SCENARIO/a.MAP", PatternMapFile(12, 45, 40));
  ASSERT_TRUE(map.MapFileLoad(dir / "SCENARIO/a.MAP"));
  EXPECT_EQ(assembled, dir / "MAP/MAP1200.s16");
}

TEST_F(HexMapTest, SaveWithoutPictureOffersToCreateOne) {
  int offered = 0;
  testing::FakePictureLink link;
  link.create = [&] {
    ++offered;
    map.MapNumber = 7;
  };
  map.SetPictureLink(&link);
  map.Clear();
  ASSERT_TRUE(map.MapFileSave(dir / "SCENARIO/n.MAP"));
  EXPECT_EQ(offered, 1);
  EXPECT_EQ(ReadBytes(dir / "SCENARIO/n.MAP")[0], 7);

  testing::WriteText(dir / "MAP/MAP0700.s16", "x");
  ASSERT_TRUE(map.MapFileSave(""));
  EXPECT_EQ(offered, 1);
}

TEST_F(HexMapTest, TakeMapNumberFromNameAsksOnlyForANewNumber) {
  map.MapNumber = 12;
  map.TakeMapNumberFromName("/x/MAP12.bmp");
  EXPECT_TRUE(prompts.messages().empty());
  map.TakeMapNumberFromName("/x/terrain.bmp");
  EXPECT_TRUE(prompts.messages().empty());

  prompts.Answer(false);
  map.TakeMapNumberFromName("/x/terrain07.bmp");
  EXPECT_EQ(prompts.Texts("yesno").back(), "\nWill you change map number to: 7 \n");
  EXPECT_EQ(map.MapNumber, 12);
  EXPECT_FALSE(map.modified);

  prompts.Answer(true);
  map.TakeMapNumberFromName("C:\\x\\MAP1200.s16");
  EXPECT_EQ(map.MapNumber, 1200);
  EXPECT_TRUE(map.modified);

  // A number that the 16-bit field cannot hold is not offered.
  map.TakeMapNumberFromName("/x/pic70000.bmp");
  EXPECT_EQ(prompts.Texts("yesno").size(), 2u);
}

TEST(HexCell, EditingOperations) {
  HexCell cell;
  cell.SetTerrain(13, 0);
  cell.SetTerrain(13, 0);
  EXPECT_EQ(cell.flags & 0xFF, 1);
  cell.SetTerrain(10, 4);
  EXPECT_EQ(cell.flags & 0xFF, 0x11);
  cell.extra = 0x55;
  cell.SetTerrain(15, 6);  // not a side: goes to extra
  EXPECT_EQ(cell.extra, 6);
  cell.SetTerrain(3, 0);
  EXPECT_EQ(cell.extra, 0);
  EXPECT_EQ(cell.flags & 0xFF, 0x11);  // river bits stay for a later change back

  cell.flags |= kAutoRoadMark;
  cell.SetRoads(0);
  EXPECT_TRUE(cell.autoRoadMark());
  cell.SetRoads(kRoadN | kRoadS);
  EXPECT_FALSE(cell.autoRoadMark());

  HexCell brush;
  brush.setSetMode(kSetRoads);
  brush.flags |= kAutoRoadMark;
  HexCell target;
  target.roads = 0x81;
  EXPECT_TRUE(brush.ApplyBrush(target));
  EXPECT_TRUE(target.autoRoadMark());
  EXPECT_EQ(target.roads, 0);
  brush.flags &= uint16_t(~kAutoRoadMark);
  brush.roads = kRoadNE;
  EXPECT_TRUE(brush.ApplyBrush(target));
  EXPECT_FALSE(target.autoRoadMark());
  EXPECT_EQ(target.roads, kRoadNE);
  brush.setSetMode(kSetTerrain);
  brush.terrain = 5;
  EXPECT_TRUE(brush.ApplyBrush(target));
  EXPECT_EQ(target.terrain, 5);
  brush.setSetMode(kSetName);
  EXPECT_FALSE(brush.ApplyBrush(target));
}

TEST(HexMap, ClearSelectionDropsMarksButNotOtherFlags) {
  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map(settings, prompts);
  map.selected[3][4] = 1;
  map.selectionActive = true;
  map.cell(3, 4).flags = kSelectionMark | kAutoRoadMark | 0x1;
  map.ClearSelection();
  EXPECT_EQ(map.selected[3][4], 0);
  EXPECT_FALSE(map.selectionActive);
  EXPECT_EQ(map.cell(3, 4).flags, kAutoRoadMark | 0x1);
}

}  // namespace
}  // namespace maptesk
