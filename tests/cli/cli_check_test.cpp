// maptesk-cli check, run as a script would run it: its lines, its JSON, its
// exit codes, and --fix through the safe save.
#include <gtest/gtest.h>

#include "core/map/hex_cell.h"
#include "core/map/map_file.h"
#include "support/map_fixtures.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::CellOffset;
using testing::ReadBytes;
using testing::RunCli;
using testing::TempDir;
using testing::WriteBytes;

// A map of number `number`, every hex Clear without roads.
std::vector<uint8_t> EmptyMap(uint16_t number) {
  std::vector<uint8_t> bytes(kMapFileSize, 0);
  bytes[0] = uint8_t(number);
  bytes[1] = uint8_t(number >> 8);
  bytes[2] = 45;
  bytes[4] = 40;
  return bytes;
}

class CliCheckTest : public ::testing::Test {
 protected:
  CliCheckTest() {
    std::vector<uint8_t> map = EmptyMap(5);
    map[CellOffset(3, 3)] = 23;                    // no such terrain
    map[CellOffset(7, 7) + 2] = uint8_t(kRoadNE);  // no road back from (8,7)
    WriteBytes(dir / "SCENARIO/ARDEN.MAP", map);
  }
  std::string Map() const { return dir / "SCENARIO/ARDEN.MAP"; }
  TempDir dir;
};

TEST_F(CliCheckTest, FindingsAreOneALineThenACountAndSetTheExitCode) {
  const auto r = RunCli({"check", Map(), "--game", dir.str()}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "ARDEN.MAP (03,03) error terrain 23 is not one of the game's 20\n"
            "ARDEN.MAP (07,07) warning one-sided road NE: (08,07) has no road back\n"
            "ARDEN.MAP warning map 5 has no S16 picture in the MAP folder\n"
            "3 findings: 1 errors, 2 warnings, 0 notes\n");
  EXPECT_EQ(RunCli({"check", Map(), "--min", "error"}, dir).status, 1);
  struct Row {
    std::vector<std::string> args;
    int status;
  };
  for (const Row& row : {Row{{"check"}, 2}, Row{{"check", Map(), "--min", "loud"}, 2},
                         Row{{"check", Map(), Map()}, 2}, Row{{"check", dir / "none.MAP"}, 1}}) {
    EXPECT_EQ(RunCli(row.args, dir).status, row.status) << row.args.size();
  }
}

TEST_F(CliCheckTest, JsonNamesEachFindingsKindHexAndWhetherItIsFixable) {
  const auto r = RunCli({"check", Map(), "--json"}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("{\"file\": \"ARDEN.MAP\", \"kind\": \"one-sided-road\", \"severity\": "
                       "\"warning\", \"column\": 7, \"row\": 7, \"fixable\": true, \"text\": "
                       "\"one-sided road NE: (08,07) has no road back\"}"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\"errors\": 1, \"warnings\": 2, \"notes\": 0, \"fixed\": 0}"),
            std::string::npos)
      << r.out;
}

TEST_F(CliCheckTest, FixMendsWhatCanBeMendedAndSavesSafely) {
  const std::vector<uint8_t> before = ReadBytes(Map());
  const auto r = RunCli({"check", Map(), "--fix", "--min", "error"}, dir);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("; 2 fixed"), std::string::npos) << r.out;
  const std::vector<uint8_t> after = ReadBytes(Map());
  ASSERT_EQ(after.size(), kMapFileSize);
  EXPECT_EQ(after[CellOffset(3, 3)], 0) << "Clear";
  EXPECT_EQ(after[CellOffset(7, 8) + 2], uint8_t(kRoadSW)) << "the road back";
  size_t changed = 0;
  for (size_t i = 0; i < after.size(); ++i) changed += after[i] != before[i];
  EXPECT_EQ(changed, 2u);
}

TEST_F(CliCheckTest, AFolderIsCheckedMapByMapAndAcrossItsMaps) {
  WriteBytes(dir / "SCENARIO/B.MAP", EmptyMap(5));
  WriteBytes(dir / "SCENARIO/C.MAP", EmptyMap(1234));
  WriteBytes(dir / "SCENARIO/d.map", EmptyMap(234));
  WriteBytes(dir / "SCENARIO/broken.MAP", {1, 2, 3});
  const auto r = RunCli({"check", dir / "SCENARIO", "--min", "error"}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("error ARDEN.MAP and B.MAP are both map 5\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("warning C.MAP (map 1234) and d.map (map 234) both read MAP234.TXT\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("ARDEN.MAP (07,07) warning one-sided road"), std::string::npos);
}

}  // namespace
}  // namespace maptesk
