#include "core/app/maps_report.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/tool_settings.h"
#include "core/util/path_utils.h"
#include "support/map_fixtures.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::PatternMapFile;
using testing::ReadText;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> Texts(const std::vector<ReportLine>& lines) {
  std::vector<std::string> out;
  for (const ReportLine& l : lines) out.push_back(l.text);
  return out;
}

class MapsReportTest : public ::testing::Test {
 protected:
  void AddMap(const std::string& name, uint16_t number) {
    WriteBytes(dir / name, PatternMapFile(number, 45, 40));
  }
  // A scanned report of A.MAP (12), B.MAP (5) and C.MAP (12).
  void ScanThree(int sort) {
    AddMap("A.MAP", 12);
    AddMap("B.MAP", 5);
    AddMap("C.MAP", 12);
    report.folder = dir.str();
    report.sortChoice = sort;
    report.reportFile = dir / "MapsReport.txt";
    ASSERT_TRUE(report.ScanFolder(prompts));
  }
  std::string Header() const { return "Map files on folder: " + dir.str() + "\r\n\r\n"; }

  TempDir dir;
  ScriptedPrompts prompts;
  MapsReport report;
};

const char kNameSection[] =
    "Mapname                       Mapnumber\r\n"
    "=======================================\r\n"
    "A.MAP............................12\r\n"
    "B.MAP.............................5\r\n"
    "C.MAP............................12\r\n"
    "\r\n";
const char kNumberSection[] =
    "Mapno     Mapname\r\n"
    "=======================================\r\n"
    "    5     B.MAP\r\n"
    "   12     A.MAP ; C.MAP\r\n"
    "\r\n";

TEST_F(MapsReportTest, ReportByNumberGroupsEqualNumbers) {
  ScanThree(kSortByNumber);
  ASSERT_TRUE(report.Report(prompts));
  EXPECT_EQ(ReadText(dir / "MapsReport.txt"), Header() + kNumberSection);
  EXPECT_EQ(prompts.Texts("shell"), std::vector<std::string>{dir / "MapsReport.txt"});
}

#ifndef _WIN32
TEST_F(MapsReportTest, ALineBreakInAFileNameCannotBreakTheReportsLines) {
  AddMap("two\r\nlines.MAP", 7);
  AddMap("tab\there.MAP", 8);
  report.folder = dir.str();
  report.sortChoice = kSortBoth;
  report.reportFile = dir / "MapsReport.txt";
  ASSERT_TRUE(report.ScanFolder(prompts));
  ASSERT_TRUE(report.Report(prompts));
  const std::string text = ReadText(dir / "MapsReport.txt");
  EXPECT_NE(text.find("two\\x0d\\x0alines.MAP..............7\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    7     two\\x0d\\x0alines.MAP\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("tab\\x09here.MAP"), std::string::npos) << text;
  // Every line break is the report's own CRLF.
  size_t lines = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++lines;
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << i;
    } else if (text[i] == '\r') {
      EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << i;
    }
  }
  EXPECT_EQ(lines, 12u);
}
#endif

TEST_F(MapsReportTest, ReportByNameAndBothUnderOneHeader) {
  ScanThree(kSortByName);
  ASSERT_TRUE(report.Report(prompts));
  EXPECT_EQ(ReadText(dir / "MapsReport.txt"), Header() + kNameSection);

  report.SelectSort(kSortBoth);
  ASSERT_TRUE(report.Report(prompts));
  EXPECT_EQ(ReadText(dir / "MapsReport.txt"), Header() + kNameSection + kNumberSection);
  // Afterwards the list is back in the display format of the choice kept.
  EXPECT_EQ(report.sortChoice, kSortBoth);
  EXPECT_EQ(Texts(report.lines()),
            (std::vector<std::string>{"   5   B.MAP", "  12   A.MAP", "  12   C.MAP"}));
}

TEST_F(MapsReportTest, DisplayLinesAndCaseBlindOrder) {
  AddMap("b.map", 300);
  AddMap("A.MAP", 7);
  AddMap("c.Map", 45);
  AddMap("_x.map", 9999);
  WriteBytes(dir / "d.mapx", {1, 0});
  std::filesystem::create_directories(dir.path() / "e.map");
  report.folder = dir.str();
  report.sortChoice = kSortByName;
  ASSERT_TRUE(report.ScanFolder(prompts));
  // A byte order would put c.Map before b.map, and "_" after the capitals.
  EXPECT_EQ(Texts(report.lines()), (std::vector<std::string>{"_x.map   #9999", "A.MAP   #7",
                                                             "b.map   #300", "c.Map   #45"}));
  EXPECT_EQ(report.countText(), "4 mapfiles");
  EXPECT_EQ(report.selectedLine(), 0);
  EXPECT_EQ(report.lines()[1].number, 7);

  report.SelectSort(kSortByNumber);
  EXPECT_EQ(Texts(report.lines()), (std::vector<std::string>{"   7   A.MAP", "  45   c.Map",
                                                             " 300   b.map", "9999   _x.map"}));
  EXPECT_EQ(report.lastShownChoice, kSortByNumber);
}

TEST_F(MapsReportTest, ShortLongAndGarbageFilesAreSafe) {
  WriteBytes(dir / "empty.map", {});
  WriteBytes(dir / "one.map", {0x34});
  WriteBytes(dir / "none.map", {0xFF, 0xFF});
  std::vector<uint8_t> big(100000, 0xAB);
  big[0] = 0x10;
  big[1] = 0x27;  // 10000
  WriteBytes(dir / "big.map", big);
  report.folder = dir.str();
  report.sortChoice = kSortByName;
  ASSERT_TRUE(report.ScanFolder(prompts));
  EXPECT_EQ(Texts(report.lines()), (std::vector<std::string>{"big.map   #10000", "empty.map   #-1",
                                                             "none.map   #-1", "one.map   #-1"}));
  // Five-character numbers keep the name whole in the number section.
  report.sortChoice = kSortByNumber;
  EXPECT_EQ(report.ReportText(), "Map files on folder: " + dir.str() +
                                     "\r\n\r\n"
                                     "Mapno     Mapname\r\n"
                                     "=======================================\r\n"
                                     "   -1     empty.map ; none.map ; one.map\r\n"
                                     "10000     big.map\r\n"
                                     "\r\n");
}

TEST_F(MapsReportTest, NothingToDoOrNoFileToWrite) {
  report.folder = dir.str();
  report.reportFile = dir / "MapsReport.txt";
  ASSERT_TRUE(report.ScanFolder(prompts));
  EXPECT_FALSE(report.Report(prompts));
  EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"There is nothing to do !"});
  EXPECT_FALSE(std::filesystem::exists(dir / "MapsReport.txt"));

  ScanThree(kSortByNumber);
  report.reportFile = dir / "missing/r.txt";
  EXPECT_FALSE(report.Report(prompts));
  EXPECT_EQ(prompts.Texts("error").back(),
            "Error on creating [" + report.reportFile + "]\nNo such file or directory");
  EXPECT_TRUE(prompts.Texts("shell").empty());
}

TEST_F(MapsReportTest, AnUnreadableFileIsListedAsMinusOneWithANote) {
#ifndef __linux__
  GTEST_SKIP() << "needs a file that cannot be read";
#else
  ScanThree(kSortByNumber);
  // A regular file whose first bytes cannot be read, even by root.
  std::filesystem::create_symlink("/proc/self/mem", dir.path() / "B2.map");
  EXPECT_TRUE(report.ScanFolder(prompts));
  EXPECT_TRUE(prompts.Texts("error").empty());
  EXPECT_EQ(
      prompts.Texts("note"),
      std::vector<std::string>{"1 map files could not be read and are listed as -1:\nB2.map"});
  ASSERT_EQ(report.mapEntries.size(), 4u) << "the files after it are listed too";
  EXPECT_EQ(report.lines().front().text, "  -1   B2.map");
  EXPECT_EQ(report.countText(), "4 mapfiles");
#endif
}

TEST_F(MapsReportTest, NumbersRunTo65534AndSortByValue) {
  AddMap("a.map", 40000);
  AddMap("b.map", 9999);
  AddMap("c.map", 10000);
  AddMap("d.map", 65535);
  AddMap("e.map", 7);
  report.folder = dir.str();
  report.sortChoice = kSortByNumber;
  ASSERT_TRUE(report.ScanFolder(prompts));
  EXPECT_EQ(Texts(report.lines()),
            (std::vector<std::string>{"  -1   d.map", "   7   e.map", "9999   b.map",
                                      "10000   c.map", "40000   a.map"}));
  EXPECT_EQ(report.ReportText(), "Map files on folder: " + dir.str() +
                                     "\r\n\r\n"
                                     "Mapno     Mapname\r\n"
                                     "=======================================\r\n"
                                     "   -1     d.map\r\n"
                                     "    7     e.map\r\n"
                                     " 9999     b.map\r\n"
                                     "10000     c.map\r\n"
                                     "40000     a.map\r\n"
                                     "\r\n");
}

TEST_F(MapsReportTest, APlainFileIsNotAFolder) {
  WriteBytes(dir / "plain.txt", {1, 2});
  report.folder = dir / "plain.txt/";
  EXPECT_FALSE(report.ScanFolder(prompts));
  EXPECT_EQ(prompts.Texts("error"),
            std::vector<std::string>{"[" + (dir / "plain.txt") + "] is not a folder"});
  report.folder = dir / "nowhere/";
  EXPECT_FALSE(report.ScanFolder(prompts));
  EXPECT_EQ(prompts.Texts("error").back(), "[" + (dir / "nowhere/") + "] Not found");
}

TEST_F(MapsReportTest, FolderEditAddsTheSeparatorAndRescans) {
  AddMap("sub/X.MAP", 3);
  report.sortChoice = kSortByName;
  report.FolderEdited(dir / "sub", prompts);
  EXPECT_EQ(report.folder, dir / "sub" + std::string(1, kPathSeparator));
  EXPECT_EQ(Texts(report.lines()), std::vector<std::string>{"X.MAP   #3"});
}

TEST_F(MapsReportTest, StartDerivesFolderAndReportFileChoosersAsk) {
  AddMap("SCENARIO/m12.map", 12);
  ToolSettings settings;
  settings.lastOpen = dir / "SCENARIO/m12.map";
  report.Start(settings, prompts);
  EXPECT_EQ(report.folder, dir / "SCENARIO/");
  EXPECT_EQ(report.reportFile, dir / "SCENARIO/MapsReport.txt");
  EXPECT_EQ(Texts(report.lines()), std::vector<std::string>{"  12   m12.map"});

  prompts.AnswerPath(dir / "r.txt");
  report.ChooseReportFile(prompts);
  EXPECT_EQ(report.reportFile, dir / "r.txt");
  EXPECT_EQ(prompts.Texts("save"), std::vector<std::string>{"1|" + dir / "SCENARIO/MapsReport.txt" +
                                                            "|Select File for Report"});
  prompts.AnswerCancel();
  report.ChooseFolder(prompts);
  EXPECT_EQ(prompts.Texts("folder"),
            std::vector<std::string>{"Select SCENARIO folder (for .map files)|" + report.folder});
}

}  // namespace
}  // namespace maptesk
