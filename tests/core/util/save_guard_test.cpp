// What keeps saves whole around them: the journal of a set and its recovery
// after a kill at any step, the folder lock against a second writer, the
// removal of temporary files after signals and of stale ones, and the
// extended attributes and access lists an old file hands to the new one.
#include "core/util/save_guard.h"

#include <gtest/gtest.h>

// Journals, locks and signals work on POSIX systems only.
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "core/util/file_io.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

namespace fs = std::filesystem;
using testing::ListFolder;
using testing::ReadText;
using testing::TempDir;
using testing::WriteText;

TEST(SaveGuard, TemporaryNamesAreOnlyOurOwnPattern) {
  struct Case {
    const char* name;
    bool ours;
  } cases[] = {
      {".~0123456789ab.tmp", true},  {".~ffffffffffff.tmp", true}, {".~0123456789AB.tmp", false},
      {".~0123456789a.tmp", false},  {"~0123456789ab.tmp", false}, {".~0123456789abc.tmp", false},
      {".~0123456789ab.tmq", false}, {".~maptesk.lock", false},    {".~MAP05.journal", false},
      {"MAP0500.s16", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsTemporaryName(c.name), c.ours) << c.name;
}

TEST(SaveGuard, JournalKeepsAnyNameAndRefusesWhatItDidNotWrite) {
  TempDir dir;
  const std::string folder = dir.str();
  std::vector<JournalEntry> written = {
      {'R', folder + "odd name\nwith 12:3 ", folder + ".~000000000001.tmp",
       folder + ".~000000000002.tmp", 77, 66},
      {'C', folder + "new", folder + ".~000000000003.tmp", "", 88, 0},
      {'D', folder + "gone", "", folder + ".~000000000004.tmp", 0, 55},
  };
  std::string error;
  ASSERT_TRUE(WriteJournal(dir / ".~set.journal", written, true, error)) << error;
  const std::string text = ReadText(dir / ".~set.journal");
  std::vector<JournalEntry> read;
  ASSERT_TRUE(ParseJournal(text, read));
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].path, written[0].path);
  EXPECT_EQ(read[0].newId, 77u);
  EXPECT_EQ(read[2].kind, 'D');
  EXPECT_EQ(read[2].spare, written[2].spare);

  // Cut short anywhere (a kill while it was written), it is no journal.
  for (size_t cut = 0; cut < text.size(); cut += 7) {
    EXPECT_FALSE(ParseJournal(text.substr(0, cut), read)) << cut;
  }
  // It only ever moves our temporary names beside the file.
  std::vector<JournalEntry> hostile = {{'R', folder + "a", "/etc/passwd", "", 1, 2}};
  ASSERT_TRUE(WriteJournal(dir / ".~bad.journal", hostile, false, error));
  EXPECT_FALSE(ParseJournal(ReadText(dir / ".~bad.journal"), read));
  hostile = {{'R', folder + "a", "/other/.~000000000001.tmp", "", 1, 2}};
  ASSERT_TRUE(WriteJournal(dir / ".~bad.journal", hostile, false, error));
  EXPECT_FALSE(ParseJournal(ReadText(dir / ".~bad.journal"), read));
}

// A set of three files replaced through the journal, stopped after `done`
// of its steps: the state a kill leaves.
struct KilledSet {
  TempDir dir;
  std::vector<JournalEntry> entries;
  std::string journal = dir / ".~T.journal";

  explicit KilledSet(int done, bool exchange) {
    for (int k = 0; k < 3; ++k) {
      const std::string name = dir / ("T" + std::to_string(k));
      WriteText(name, "old" + std::to_string(k));
      JournalEntry e;
      e.path = name;
      e.temporary = dir / (".~00000000000" + std::to_string(k) + ".tmp");
      e.spare = dir / (".~10000000000" + std::to_string(k) + ".tmp");
      WriteText(e.temporary, "new" + std::to_string(k));
      e.newId = FileIdentity(e.temporary);
      e.oldId = FileIdentity(e.path);
      entries.push_back(e);
    }
    std::string error;
    EXPECT_TRUE(WriteJournal(journal, entries, false, error));
    for (int k = 0; k < done; ++k) {
      const JournalEntry& e = entries[size_t(k)];
      if (exchange) {  // the names swapped: the temporary holds the old file
        fs::rename(e.path, e.spare);
        fs::rename(e.temporary, e.path);
        fs::rename(e.spare, e.temporary);
      } else {  // a second name for the old file, then the rename over it
        fs::create_hard_link(e.path, e.spare);
        fs::rename(e.temporary, e.path);
      }
    }
  }
  std::string Contents() const {
    std::string all;
    for (const JournalEntry& e : entries) all += ReadText(e.path) + " ";
    return all;
  }
};

TEST(SaveGuard, AKilledSetIsFinishedWholeFromEveryStep) {
  for (bool exchange : {true, false}) {
    for (int done = 0; done <= 3; ++done) {
      KilledSet set(done, exchange);
      EXPECT_EQ(RecoverJournal(set.journal), Recovery::kForward);
      EXPECT_EQ(set.Contents(), "new0 new1 new2 ") << done << exchange;
      EXPECT_EQ(ListFolder(set.dir.path()), (std::vector<std::string>{"T0", "T1", "T2"}));
      // Recovering twice, or a kill during recovery, changes nothing more.
      EXPECT_EQ(RecoverJournal(set.journal), Recovery::kNone);
    }
  }
}

TEST(SaveGuard, AKilledSetMissingNewContentGoesBackWhole) {
  for (bool exchange : {true, false}) {
    for (int done = 0; done <= 2; ++done) {
      KilledSet set(done, exchange);
      fs::remove(set.entries[2].temporary);  // a new file that is no more
      EXPECT_EQ(RecoverJournal(set.journal), Recovery::kBack);
      EXPECT_EQ(set.Contents(), "old0 old1 old2 ") << done << exchange;
      EXPECT_EQ(ListFolder(set.dir.path()), (std::vector<std::string>{"T0", "T1", "T2"}));
    }
  }
}

TEST(SaveGuard, AnUnfinishedJournalMeansNothingWasRenamed) {
  TempDir dir;
  WriteText(dir / "T0", "old");
  WriteText(dir / ".~000000000001.tmp", "new");
  WriteText(dir / ".~T.journal", "maptesk-journal 1\nR 1 2 ");
  EXPECT_EQ(RecoverJournal(dir / ".~T.journal"), Recovery::kBack);
  EXPECT_EQ(ReadText(dir / "T0"), "old");
  EXPECT_FALSE(fs::exists(dir / ".~T.journal"));
}

TEST(SaveGuard, ASaveIntoTheFolderFinishesAJournalAndRemovesStaleTemporaries) {
  KilledSet set(1, true);
  WriteText(set.dir / ".~abcdefabcdef.tmp", "left by a kill");
  fs::last_write_time(set.dir / ".~abcdefabcdef.tmp",
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  std::string error;
  ASSERT_TRUE(SaveFileSafely(set.dir / "other", std::string_view("x"), &error)) << error;
  EXPECT_EQ(set.Contents(), "new0 new1 new2 ");
  EXPECT_EQ(ListFolder(set.dir.path()), (std::vector<std::string>{"T0", "T1", "T2", "other"}));
}

TEST(SaveGuard, AReaderOfTheSetFinishesItsJournal) {
  KilledSet set(2, false);
  EXPECT_NE(RecoverFileSet(set.dir / "T"), Recovery::kFailed);
  EXPECT_EQ(set.Contents(), "new0 new1 new2 ");
  EXPECT_EQ(RecoverFileSet(set.dir / "T"), Recovery::kNone);
}

TEST(SaveGuard, TemporariesOfThisRunAreNotStale) {
  TempDir dir;
  WriteText(dir / ".~abcdefabcdef.tmp", "a save of this run");
  EXPECT_EQ(RemoveStaleTemporaries(dir.str()), 0);
  EXPECT_TRUE(fs::exists(dir / ".~abcdefabcdef.tmp"));
}

// The lock as another program holds it: its own open file and flock.
struct ForeignLock {
  int fd;
  explicit ForeignLock(const std::string& folder)
      : fd(open((folder + kFolderLockName).c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666)) {
    EXPECT_EQ(flock(fd, LOCK_EX), 0);
  }
  ~ForeignLock() { Free(); }
  void Free() {
    if (fd < 0) return;
    close(fd);
    fd = -1;
  }
};

TEST(SaveGuard, ASecondWriterWaitsABoundedTimeThenFailsLeavingTheFileAlone) {
  TempDir dir;
  WriteText(dir / "a.MAP", "old");
  SetFolderLockWait(std::chrono::milliseconds(150));
  {
    ForeignLock other(dir.str());
    std::string error;
    EXPECT_FALSE(SaveFileSafely(dir / "a.MAP", std::string_view("new"), &error));
    EXPECT_NE(error.find("Another program is saving into the folder"), std::string::npos) << error;
    EXPECT_EQ(ReadText(dir / "a.MAP"), "old");
  }
  SetFolderLockWait(std::chrono::milliseconds(3000));
  {
    // Let go while the save waits: the save goes ahead.
    ForeignLock other(dir.str());
    std::thread release([&other] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      other.Free();
    });
    std::string error;
    EXPECT_TRUE(SaveFileSafely(dir / "a.MAP", std::string_view("new"), &error)) << error;
    release.join();
  }
  SetFolderLockWait(std::chrono::milliseconds(5000));
  EXPECT_EQ(ReadText(dir / "a.MAP"), "new");
  // Every lock file goes with its holder.
  fs::remove(dir / kFolderLockName);
  ASSERT_TRUE(SaveFileSafely(dir / "a.MAP", std::string_view("again")));
  EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"a.MAP"});
}

TEST(SaveGuard, BatchesOfOneProgramShareTheLock) {
  TempDir dir;
  SafeFileBatch outer;
  ASSERT_TRUE(outer.Add(dir / "a", "1", 1));
  // A save in the same folder while the first batch is open must not wait
  // for itself.
  SetFolderLockWait(std::chrono::milliseconds(100));
  std::string error;
  EXPECT_TRUE(SaveFileSafely(dir / "b", std::string_view("2"), &error)) << error;
  SetFolderLockWait(std::chrono::milliseconds(5000));
  EXPECT_TRUE(outer.Commit());
  EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"a", "b"}));
}

TEST(SaveGuard, SigtermRemovesTheTemporariesOfASaveInFlight) {
  for (int signal : {SIGTERM, SIGINT}) {
    TempDir dir;
    WriteText(dir / "MAP0500.s16", "old");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RemoveTemporariesOnSignals();
      SafeFileBatch batch;
      const std::string big(1 << 20, 'x');
      batch.Add(dir / "MAP0500.s16", big.data(), big.size());
      batch.Add(dir / "MAP0501.s16", big.data(), big.size());
      raise(signal);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MAP0500.s16"});
    EXPECT_EQ(ReadText(dir / "MAP0500.s16"), "old");
  }
}

TEST(SaveGuard, AclGroupBitsAreTheGroupsOwnMaskedByTheMask) {
  auto acl = [](std::vector<std::pair<uint16_t, uint16_t>> entries) {
    std::vector<uint8_t> out = {2, 0, 0, 0};
    for (auto e : entries) {
      for (uint8_t b :
           {uint8_t(e.first), uint8_t(e.first >> 8), uint8_t(e.second), uint8_t(e.second >> 8),
            uint8_t(0xFF), uint8_t(0xFF), uint8_t(0xFF), uint8_t(0xFF)}) {
        out.push_back(b);
      }
    }
    return out;
  };
  EXPECT_EQ(AclGroupBits(acl({{0x01, 6}, {0x02, 6}, {0x04, 4}, {0x10, 6}, {0x20, 4}})), 4);
  EXPECT_EQ(AclGroupBits(acl({{0x01, 6}, {0x04, 7}, {0x10, 5}, {0x20, 0}})), 5);
  EXPECT_EQ(AclGroupBits(acl({{0x01, 6}, {0x20, 0}})), -1);
  EXPECT_EQ(AclGroupBits({1, 0, 0, 0}), -1);
  EXPECT_EQ(AclGroupBits({2, 0, 0}), -1);
}

// The access list user::rw-, user:nobody:rw-, group::r--, mask::rw-, other::r--.
std::vector<uint8_t> NobodyMayWrite() {
  std::vector<uint8_t> v = {2, 0, 0, 0};
  auto put = [&v](uint16_t tag, uint16_t perm, uint32_t id) {
    for (int i = 0; i < 2; ++i) v.push_back(uint8_t(tag >> (8 * i)));
    for (int i = 0; i < 2; ++i) v.push_back(uint8_t(perm >> (8 * i)));
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(id >> (8 * i)));
  };
  put(0x01, 6, 0xFFFFFFFF);
  put(0x02, 6, 65534);
  put(0x04, 4, 0xFFFFFFFF);
  put(0x10, 6, 0xFFFFFFFF);
  put(0x20, 4, 0xFFFFFFFF);
  return v;
}

std::vector<uint8_t> Attribute(const std::string& path, const char* name) {
  std::vector<uint8_t> value(256);
  const ssize_t n = getxattr(path.c_str(), name, value.data(), value.size());
  value.resize(n > 0 ? size_t(n) : 0);
  return value;
}

TEST(SaveGuard, ASaveKeepsExtendedAttributesAndTheAccessList) {
  TempDir dir;
  const std::string file = dir / "ARDEN.MAP";
  WriteText(file, "old");
  ASSERT_EQ(chmod(file.c_str(), 0644), 0);
  if (setxattr(file.c_str(), "user.note", "kept", 4, 0) != 0) {
    GTEST_SKIP() << "this file system takes no user attributes";
  }
  const std::vector<uint8_t> acl = NobodyMayWrite();
  const bool hasAcl =
      setxattr(file.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
  struct stat before;
  ASSERT_EQ(stat(file.c_str(), &before), 0);

  std::string error;
  ASSERT_TRUE(SaveFileSafely(file, std::string_view("new"), &error)) << error;
  EXPECT_EQ(ReadText(file), "new");
  const std::vector<uint8_t> note = Attribute(file, "user.note");
  EXPECT_EQ(std::string(note.begin(), note.end()), "kept");
  struct stat after;
  ASSERT_EQ(stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
  if (hasAcl) {
    EXPECT_EQ(Attribute(file, "system.posix_acl_access"), acl);
    // The owning group's own entry stays read-only.
    EXPECT_EQ(AclGroupBits(Attribute(file, "system.posix_acl_access")), 4);
  }
}

}  // namespace
}  // namespace maptesk
#endif
