#include "core/map/map_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

#include "core/map/hex_map.h"
#include "core/settings/tool_settings.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::ReadText;
using testing::WriteText;

class MapNamesTest : public ::testing::Test {
 protected:
  MapNamesTest() {
    settings.gameFolder = dir.str();
    settings.mapFolder = dir.str() + "MAP/";
    std::filesystem::create_directories(dir.path() / "MAP");
  }
  int Slot(int column, int row) const { return names.nameIndex[size_t(row)][size_t(column)]; }
  std::string NameAt(int column, int row) const { return names.NameOf(Slot(column, row)); }
  bool Read(const std::string& text) {
    WriteText(dir / "MAP/n.TXT", text);
    return names.ReadNamesFile(dir / "MAP/n.TXT");
  }

  testing::TempDir dir;
  testing::ScriptedPrompts prompts;
  ToolSettings settings;
  HexMap map{settings, prompts};
  MapNames names{map, settings, prompts};
};

TEST_F(MapNamesTest, AddNameKeepsNamesDistinctAndSlotsInOrder) {
  EXPECT_EQ(names.AddName(""), 0);
  EXPECT_EQ(names.AddName("Oran"), 1);
  EXPECT_EQ(names.AddName("Tlemcen"), 2);
  EXPECT_EQ(names.AddName("Oran"), 1);
  EXPECT_EQ(names.AddName("oran"), 3);  // case-sensitive
  EXPECT_EQ(names.nameCount, 4);
  EXPECT_EQ(names.NameTotal(), 3);
  for (int i = 4; i < MapNames::kSlots; ++i) ASSERT_EQ(names.AddName("n" + std::to_string(i)), i);
  EXPECT_EQ(names.AddName("one too many"), 0);
  EXPECT_EQ(names.AddName("Oran"), 1);
}

TEST_F(MapNamesTest, ReadsHexLinesAndSkipsEverythingElse) {
  ASSERT_TRUE(
      Read("(01,01) #First line is the header and is lost\r\n"
           "--------------------------------\r\n"
           "(03,17) #Oran\r\n"
           "   (7,3) #  Old Town \r\n"
           "; a comment\r\n"
           "\r\n"
           "(04,05) #Oran\n"
           "(44,39) #Corner\r\n"
           "(05,05) #No line break at the end"));
  EXPECT_EQ(Slot(1, 1), 0);
  EXPECT_EQ(NameAt(3, 17), "Oran");
  EXPECT_EQ(NameAt(7, 3), "  Old Town ");
  EXPECT_EQ(NameAt(7, 3).size(), 11u);
  EXPECT_EQ(Slot(4, 5), Slot(3, 17));
  EXPECT_EQ(NameAt(44, 39), "Corner");
  EXPECT_EQ(Slot(5, 5), 0);
  EXPECT_EQ(names.NameTotal(), 3);
  EXPECT_FALSE(names.namesModified);
  EXPECT_EQ(names.namesPath, dir / "MAP/n.TXT");
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(MapNamesTest, OddLinesAreSkippedWithoutTouchingTheGrid) {
  ASSERT_TRUE(
      Read("header\n"
           "(45,0) #column outside\n"
           "(0,40) #row outside\n"
           "(-1,3) #negative\n"
           "(99999999999999,1) #huge\n"
           "(3 3) #no comma\n"
           "(3,3 #no bracket\n"
           "(3,3) no hash\n"
           "(x,3) #not a number\n"
           "(2,2) #Good\n"));
  EXPECT_EQ(names.NameTotal(), 1);
  EXPECT_EQ(NameAt(2, 2), "Good");
  EXPECT_EQ(names.lastRead().malformedLines, 8);
  for (int r = 0; r < kMapRows; ++r) {
    for (int c = 0; c < kMapColumns; ++c) {
      if (r != 2 || c != 2) {
        ASSERT_EQ(Slot(c, r), 0) << c << "," << r;
      }
    }
  }
}

TEST_F(MapNamesTest, EmptyNamesAreCountedAndReportedOnce) {
  ASSERT_TRUE(Read("h\n(7,3) #\n(8,3) #\n(9,3) #x\n"));
  EXPECT_EQ(Slot(7, 3), 0);
  ASSERT_EQ(prompts.Texts("error").size(), 1u);
  EXPECT_EQ(prompts.Texts("error")[0],
            "Found 2 empty names!\nthey have been removed, same as in the game\n"
            "but you should check if this is correct\nor they should have some text");
}

TEST_F(MapNamesTest, ALaterLineForTheSameHexReplacesTheEarlier) {
  ASSERT_TRUE(Read("h\n(1,1) #A\n(1,1) #B\n(1,1) #\n"));
  EXPECT_EQ(NameAt(1, 1), "B");
  EXPECT_EQ(names.lastRead().hexOrder.size(), 1u);
}

TEST_F(MapNamesTest, TheSameNameOnManyHexesTakesOneSlot) {
  std::string text = "h\n";
  for (int r = 0; r < 40; ++r) text += "(10," + std::to_string(r) + ") #Sea\n";
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(names.NameTotal(), 1);
  for (int r = 0; r < 40; ++r) EXPECT_EQ(Slot(10, r), 1);
}

TEST_F(MapNamesTest, MoreThan255NamesAreRefusedNotWrapped) {
  std::string text = "h\n";
  for (int i = 0; i < 260; ++i) {
    text += "(" + std::to_string(i % 45) + "," + std::to_string(i / 45) + ") #Name " +
            std::to_string(i) + "\n";
  }
  text += "(0,39) #Name 3\n";  // a name already held still goes on
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(names.NameTotal(), 255);
  EXPECT_EQ(names.lastRead().droppedForSlots, 5);
  EXPECT_EQ(NameAt(254 % 45, 254 / 45), "Name 254");
  EXPECT_EQ(Slot(255 % 45, 255 / 45), 0);
  EXPECT_EQ(NameAt(0, 39), "Name 3");
  ASSERT_EQ(prompts.Texts("error").size(), 1u);
  EXPECT_NE(prompts.Texts("error")[0].find("5 hex lines"), std::string::npos);
}

TEST_F(MapNamesTest, WritesHeaderSeparatorAndLinesInGridOrder) {
  map.MapNumber = 7;
  map.path = "/g/SCENARIO/Abc.MAP";
  names.nameIndex[39][44] = uint8_t(names.AddName("Last"));
  names.nameIndex[0][0] = uint8_t(names.AddName("First"));
  names.nameIndex[17][3] = uint8_t(names.AddName("Oran"));
  names.namesModified = true;
  ASSERT_TRUE(names.WriteNamesFile(dir / "MAP/out.TXT"));
  EXPECT_EQ(ReadText(dir / "MAP/out.TXT"),
            "[MAP:  7] [Abc                 ]\r\n"
            "--------------------------------\r\n"
            "(00,00) #First\r\n"
            "(03,17) #Oran\r\n"
            "(44,39) #Last\r\n");
  EXPECT_FALSE(names.namesModified);

  map.MapNumber = kNoMapNumber;
  EXPECT_EQ(names.FormatNamesFile().substr(0, 11), "[MAP:65535]");
}

TEST_F(MapNamesTest, WriteThenReadGivesTheSameNames) {
  map.path = "/g/SCENARIO/Abc.MAP";
  names.nameIndex[5][6] = uint8_t(names.AddName("Caf\xE9 du Port"));
  names.nameIndex[6][5] = uint8_t(names.AddName(" spaced "));
  ASSERT_TRUE(names.WriteNamesFile(dir / "MAP/rt.TXT"));
  MapNames again(map, settings, prompts);
  ASSERT_TRUE(again.ReadNamesFile(dir / "MAP/rt.TXT"));
  EXPECT_EQ(again.nameIndex, names.nameIndex);
  EXPECT_EQ(again.NameOf(1), "Caf\xE9 du Port");
  EXPECT_EQ(again.NameOf(2), " spaced ");
}

TEST_F(MapNamesTest, FailedWriteKeepsTheOldFile) {
  WriteText(dir / "MAP/keep.TXT", "old contents");
  std::filesystem::create_directories(dir.path() / "MAP/folder.TXT");
  names.namesModified = true;
  EXPECT_FALSE(names.WriteNamesFile(dir / "MAP/folder.TXT"));
  EXPECT_FALSE(names.WriteNamesFile(dir / "missing/x.TXT"));
  EXPECT_TRUE(names.namesModified);
  EXPECT_EQ(prompts.Texts("error").front(),
            "Error on creating [" + (dir / "MAP/folder.TXT") + "]\nIs a directory");
  EXPECT_EQ(ReadText(dir / "MAP/keep.TXT"), "old contents");
  EXPECT_EQ(testing::ListFolder(dir.path() / "MAP"),
            (std::vector<std::string>{"folder.TXT", "keep.TXT"}));
}

TEST_F(MapNamesTest, DefaultNamesFilePrefersThePlainFile) {
  map.MapNumber = 7;
  map.path = dir / "SCENARIO/Abc.MAP";
  EXPECT_EQ(names.DefaultNamesFile(), dir / "MAP/MAP007.TXT");
  WriteText(dir / "MAP/MAP007_Abc.TXT", "h\n(1,1) #Specific\n");
  EXPECT_EQ(names.DefaultNamesFile(), dir / "MAP/MAP007_Abc.TXT");
  names.LoadDefaultNames();
  EXPECT_EQ(NameAt(1, 1), "Specific");
  WriteText(dir / "MAP/map007.txt", "h\n(1,1) #Plain\n");  // found whatever its case
  EXPECT_EQ(names.DefaultNamesFile(), dir / "MAP/map007.txt");
  names.LoadDefaultNames();
  EXPECT_EQ(NameAt(1, 1), "Plain");

  map.MapNumber = 1234;
  EXPECT_EQ(names.DefaultNamesFile(), dir / "MAP/MAP234.TXT");
  map.MapNumber = kNoMapNumber;
  EXPECT_EQ(MapNames::NumberPart(map.MapNumber), "535");

  map.path.clear();
  names.LoadDefaultNames();
  EXPECT_EQ(names.NameTotal(), 0);
}

TEST_F(MapNamesTest, AnUnreadableFileLeavesTheListAlone) {
  names.nameIndex[1][1] = uint8_t(names.AddName("Kept"));
  EXPECT_FALSE(names.ReadNamesFile(dir / "MAP/none.TXT"));
  EXPECT_EQ(NameAt(1, 1), "Kept");
  EXPECT_TRUE(prompts.messages().empty());
}

TEST(NamesFileLines, LinesEndAtLineFeedsAndAnUnendedLastLineIsLeftOut) {
  const struct {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"nothing", "", {}},
      {"no line break", "(01,01) #A", {}},
      {"line feeds", "a\nb\n", {"a", "b"}},
      {"carriage return and line feed", "a\r\nb\r\n", {"a", "b"}},
      {"mixed, last line unended", "a\r\nb\nc", {"a", "b"}},
      {"empty lines", "\n\r\n\n", {"", "", ""}},
      {"lone carriage returns stay", "a\rb\n\r\r\n", {"a\rb", "\r"}},
      {"a carriage return after the last line feed", "a\n\r", {"a"}},
      {"a zero byte inside a line", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    NamesFileLines lines(c.text);
    std::vector<std::string> got;
    std::string_view line;
    while (lines.Next(line)) got.emplace_back(line);
    EXPECT_EQ(got, c.lines);
  }
}

}  // namespace
}  // namespace maptesk
