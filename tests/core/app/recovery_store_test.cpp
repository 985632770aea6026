#include "core/app/recovery_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/settings/tool_settings.h"
#include "support/map_fixtures.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using namespace std::chrono_literals;
using Clock = RecoveryStore::Clock;

TEST(RecoveryStore, ACopyIsDueAMinuteAfterTheFirstChangeOrAfterFiftyChanges) {
  testing::TempDir dir;
  RecoveryStore store(dir.str());
  const Clock::time_point t0 = Clock::now();
  struct Row {
    uint64_t revision;
    bool modified;
    std::chrono::seconds after;
    bool due;
  };
  // Each row follows the one before it on one store.
  const Row rows[] = {
      {0, false, 0s, false},  // nothing changed
      {3, false, 1s, false},  // changed but saved (or undone to the save)
      {4, true, 2s, false},   // the first unsaved change: the minute starts
      {9, true, 61s, false},  // 59 seconds later
      {9, true, 62s, true},   // a minute after the first change
      {53, true, 63s, true},  // still due while nothing was written
  };
  for (const Row& r : rows) {
    EXPECT_EQ(store.Due(r.revision, r.modified, t0 + r.after), r.due)
        << "revision " << r.revision << " at " << r.after.count() << " s";
  }
  store.Settle(53);  // written
  EXPECT_FALSE(store.Due(53, true, t0 + 64s));
  EXPECT_FALSE(store.Due(102, true, t0 + 65s)) << "49 changes";
  EXPECT_TRUE(store.Due(103, true, t0 + 65s)) << "50 changes, long before the minute";
}

class RecoveryCopyTest : public ::testing::Test {
 protected:
  RecoveryCopyTest() : map(settings, prompts), names(map, settings, prompts), store(data.str()) {
    std::filesystem::create_directories(game / "SCENARIO");
    mapPath = game / "SCENARIO/A.MAP";
    testing::WriteBytes(mapPath, testing::PatternMapFile(7, 45, 40));
    map.path = mapPath;
    map.loaded = true;
    map.MapNumber = 7;
    map.cell(2, 3).terrain = kHill;
    names.nameIndex[2][3] = uint8_t(names.AddName("Oran"));
  }

  testing::TempDir game;
  testing::TempDir data;
  ToolSettings settings;
  testing::ScriptedPrompts prompts;
  HexMap map;
  MapNames names;
  RecoveryStore store;
  std::string mapPath;
};

TEST_F(RecoveryCopyTest, ACopyHoldsTheMapAndItsNamesInTheirFormatsAwayFromTheGame) {
  std::string error;
  ASSERT_TRUE(store.Write(map, names, 12, &error)) << error;
  EXPECT_TRUE(store.wroteCopy());
  const std::string folder = store.FolderFor(mapPath);
  EXPECT_EQ(folder.rfind(data.str(), 0), 0u) << "in the data folder";
  EXPECT_NE(store.FolderFor(game / "SCENARIO/a.MAP"), folder) << "one folder per path";
  EXPECT_EQ(testing::ListFolder(game / "SCENARIO"), std::vector<std::string>{"A.MAP"});

  const std::optional<RecoveryCopy> copy = store.Find(mapPath);
  ASSERT_TRUE(copy.has_value());
  const std::vector<uint8_t> bytes = testing::ReadBytes(copy->mapFile);
  ASSERT_EQ(bytes.size(), kMapFileSize);
  EXPECT_EQ(bytes[testing::CellOffset(2, 3)], kHill);
  EXPECT_EQ(testing::ReadText(copy->namesFile),
            "[MAP:  7] [A                   ]\r\n--------------------------------\r\n(03,02) "
            "#Oran\r\n");
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  EXPECT_NEAR(double(copy->writtenAt), double(now), 5.0);
  EXPECT_FALSE(store.Due(12, true, Clock::now())) << "what was written is settled";

  store.Remove(mapPath);
  EXPECT_FALSE(store.Find(mapPath).has_value());
  EXPECT_FALSE(store.wroteCopy());
  EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(RecoveryCopyTest, OnlyACopyNewerThanTheMapFileCounts) {
  ASSERT_TRUE(store.Write(map, names, 1, nullptr));
  const auto copyTime = std::filesystem::last_write_time(store.Find(mapPath)->mapFile);
  std::filesystem::last_write_time(mapPath, copyTime + 10s);  // saved after the copy
  EXPECT_FALSE(store.Find(mapPath).has_value());
  std::filesystem::last_write_time(mapPath, copyTime - 10s);
  EXPECT_TRUE(store.Find(mapPath).has_value());
  std::filesystem::remove(mapPath);
  EXPECT_TRUE(store.Find(mapPath).has_value()) << "a map never saved: the copy is all there is";
}

TEST_F(RecoveryCopyTest, ACopyThatCannotBeWrittenSaysWhy) {
  // A file where the copy's folder should be.
  RecoveryStore blocked(data / "file/");
  testing::WriteText(data / "file", "x");
  std::string error;
  EXPECT_FALSE(blocked.Write(map, names, 1, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(blocked.wroteCopy());
}

TEST(RecoveryStore, LocalTimeIsWrittenDateFirst) {
  const std::string text = LocalTimeText(86400 * 365);
  ASSERT_EQ(text.size(), 19u) << text;
  EXPECT_EQ(text.substr(0, 3), "197");
  EXPECT_EQ(text[4], '-');
  EXPECT_EQ(text[13], ':');
}

}  // namespace
}  // namespace maptesk
