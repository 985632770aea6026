#include "core/util/save_guard.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "core/util/path_utils.h"
#include "core/util/text_format.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/xattr.h>
#endif
#endif

namespace maptesk {
namespace fs = std::filesystem;

bool IsTemporaryName(std::string_view name) {
  if (name.size() != 18 || name.substr(0, 2) != ".~" || name.substr(14) != ".tmp") return false;
  return std::all_of(name.begin() + 2, name.begin() + 14,
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// ---------------------------------------------------------------------------
// Names removed by the signal handler. The handler may only make system
// calls, so the names wait in a fixed table of plain character arrays.

namespace {

constexpr int kSlots = 64;
constexpr size_t kSlotName = 4096;
// Kept apart and constant-initialised: both arrays sit in zeroed memory that
// no start-up code touches, so a program that never saves pays nothing for
// the quarter megabyte of names (every page of it would otherwise be
// written at start-up, dozens of page faults per run of the CLI).
constinit std::atomic<int> g_slotState[kSlots] = {};  // 0 free, 1 being filled, 2 to remove
constinit char g_slotName[kSlots][kSlotName] = {};

int TakeSlot(const std::string& path) {
  if (path.empty() || path.size() >= kSlotName) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (!g_slotState[i].compare_exchange_strong(expected, 1)) continue;
    std::memcpy(g_slotName[i], path.c_str(), path.size() + 1);
    g_slotState[i].store(2, std::memory_order_release);
    return i;
  }
  return -1;
}

#ifndef _WIN32
void RemoveInFlight(int signal) {
  const int saved = errno;
  for (int i = 0; i < kSlots; ++i) {
    if (g_slotState[i].load(std::memory_order_acquire) == 2) unlink(g_slotName[i]);
  }
  errno = saved;
  // The handler was reset on entry: the signal, blocked until we return,
  // then ends the program as it would have without us.
  raise(signal);
}
#endif

std::function<void(const std::string&)>& NoteSink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

std::atomic<CommitStepHook> g_stepHook{nullptr};
std::atomic<long long> g_lockWaitMs{5000};

}  // namespace

void RemoveTemporariesOnSignals() {
#ifndef _WIN32
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction old {};
    if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemoveInFlight;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(signal, &action, nullptr);
  }
#endif
}

InFlightName::InFlightName(const std::string& path) : slot_(TakeSlot(path)) {}

InFlightName& InFlightName::operator=(InFlightName&& other) noexcept {
  if (this != &other) {
    Release();
    slot_ = other.slot_;
    other.slot_ = -1;
  }
  return *this;
}

void InFlightName::Release() {
  if (slot_ >= 0) g_slotState[slot_].store(0, std::memory_order_release);
  slot_ = -1;
}

SignalsHeld::SignalsHeld() {
#ifndef _WIN32
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  held_ = pthread_sigmask(SIG_BLOCK, &set, nullptr) == 0;
#endif
}

SignalsHeld::~SignalsHeld() {
#ifndef _WIN32
  if (!held_) return;
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
#endif
}

void SetSaveNoteSink(std::function<void(const std::string&)> sink) { NoteSink() = std::move(sink); }

void ReportSaveNote(const std::string& note) {
  if (note.empty()) return;
  if (NoteSink()) {
    NoteSink()(note);
  } else {
    std::fprintf(stderr, "%s\n", note.c_str());
  }
}

void SetCommitStepHookForTesting(CommitStepHook hook) { g_stepHook.store(hook); }

void CallCommitStepHook(int step) {
  if (CommitStepHook hook = g_stepHook.load()) hook(step);
}

void SetFolderLockWait(std::chrono::milliseconds wait) { g_lockWaitMs.store(wait.count()); }

// ---------------------------------------------------------------------------
// Folder locks

#ifndef _WIN32
namespace {

struct HeldLock {
  int fd = -1;
  int count = 0;
  std::string path;
  InFlightName name;  // a signal removes the lock file with the temporaries
};

std::mutex& LockMutex() {
  static std::mutex m;
  return m;
}
std::map<std::string, HeldLock>& HeldLocks() {
  static std::map<std::string, HeldLock> held;
  return held;
}

std::string FolderKey(const std::string& folder, std::string& error) {
  struct stat st;
  if (stat(folder.c_str(), &st) != 0) {
    error = std::strerror(errno);
    return {};
  }
  return Format("%llx:%llx", static_cast<unsigned long long>(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));
}

// Opens and locks the lock file; -1 while another program holds it, -2
// when the folder cannot hold a lock (the save then goes ahead unlocked,
// as it would on a file system without locks).
int TryLock(const std::string& path, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = std::strerror(errno);
    return -2;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    close(fd);
    return err == EWOULDBLOCK ? -1 : -2;
  }
  // The holder before us removes the file as it lets go: a lock on a file
  // no longer at that name guards nothing, so it is taken again.
  struct stat mine, named;
  if (fstat(fd, &mine) != 0 || lstat(path.c_str(), &named) != 0 || mine.st_ino != named.st_ino ||
      mine.st_dev != named.st_dev) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

bool FolderLock::Acquire(const std::string& folderGiven, std::string& error) {
  Release();
  const std::string folder = folderGiven.empty() ? std::string("./") : folderGiven;
  const std::string key = FolderKey(folder, error);
  if (key.empty()) return false;
  {
    std::lock_guard<std::mutex> guard(LockMutex());
    auto it = HeldLocks().find(key);
    if (it != HeldLocks().end()) {
      ++it->second.count;
      key_ = key;
      return true;
    }
  }
  const std::string path = WithTrailingSeparator(folder) + kFolderLockName;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(g_lockWaitMs.load());
  int fd = -1;
  InFlightName lockName;
  for (;;) {
    {
      // A signal between taking the lock and naming it for the handler
      // would leave the lock file behind.
      SignalsHeld held;
      fd = TryLock(path, error);
      if (fd >= 0) lockName = InFlightName(path);
    }
    if (fd >= 0 || fd == -2) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      error = Format(
          "Another program is saving into the folder [%s] and did not finish within %lld "
          "seconds: nothing was written",
          folder.c_str(), (g_lockWaitMs.load() + 999) / 1000);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  {
    std::lock_guard<std::mutex> guard(LockMutex());
    HeldLock& held = HeldLocks()[key];
    held.fd = fd;
    held.count = 1;
    held.path = path;
    held.name = std::move(lockName);
  }
  key_ = key;
  // Nobody else writes here now: what an interrupted commit left is
  // finished first, then what no commit will ever use goes.
  if (RecoverJournalsIn(folder)) RemoveStaleTemporaries(folder);
  error.clear();
  return true;
}

void FolderLock::Release() {
  if (key_.empty()) return;
  std::lock_guard<std::mutex> guard(LockMutex());
  auto it = HeldLocks().find(key_);
  key_.clear();
  if (it == HeldLocks().end() || --it->second.count > 0) return;
  if (it->second.fd >= 0) {
    // Removed while still held, so that a waiter finds it gone and takes a
    // fresh one; no lock file stays behind.
    unlink(it->second.path.c_str());
    close(it->second.fd);
  }
  HeldLocks().erase(it);
}

bool SyncFolder(const std::string& folderGiven) {
  const std::string folder = folderGiven.empty() ? std::string(".") : folderGiven;
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  // Some file systems cannot sync a folder; their renames are as safe as
  // they can be made.
  const bool ok = fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  close(fd);
  return ok;
}

namespace {
// When this run started: a temporary file older than that belongs to no
// save of this run.
const struct timespec kRunStart = [] {
  struct timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  return now;
}();

// A file's times come from the system's coarse clock, which may lag the
// clock read above by a tick or two: a file this run made at once could look
// older than the run. Only files from before the run, by more than that, count.
bool OlderThanRun(const struct stat& st) {
  constexpr int64_t kClockSlackNs = 50'000'000;
  const int64_t file = int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  const int64_t run = int64_t(kRunStart.tv_sec) * 1'000'000'000 + kRunStart.tv_nsec;
  return file < run - kClockSlackNs;
}

template <typename Visit>
void ForEachName(const std::string& folder, Visit visit) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  while (const dirent* d = readdir(dir)) visit(std::string(d->d_name));
  closedir(dir);
}
}  // namespace

int RemoveStaleTemporaries(const std::string& folder) {
  int removed = 0;
  const std::string prefix = folder.empty() ? std::string() : WithTrailingSeparator(folder);
  ForEachName(folder, [&](const std::string& name) {
    if (!IsTemporaryName(name)) return;
    const std::string path = prefix + name;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !OlderThanRun(st)) return;
    if (unlink(path.c_str()) == 0) ++removed;
  });
  return removed;
}

uint64_t FileIdentity(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return 0;
  return uint64_t(st.st_ino);
}

uint64_t FileIdentity(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0) return 0;
  return uint64_t(st.st_ino);
}

#else  // _WIN32: no locks, journals or signals yet; saves stay whole per file.

bool FolderLock::Acquire(const std::string&, std::string& error) {
  error.clear();
  key_ = "held";
  return true;
}
void FolderLock::Release() { key_.clear(); }
bool SyncFolder(const std::string&) { return true; }
int RemoveStaleTemporaries(const std::string&) { return 0; }
uint64_t FileIdentity(const std::string&) { return 0; }
uint64_t FileIdentity(int) { return 0; }

#endif

// ---------------------------------------------------------------------------
// Journals: "maptesk-journal 1", a line per entry, then "end". Each entry:
// kind, the two identities, then path, temporary and spare as
// <length>:<bytes> so that any byte of a name survives.

std::string JournalPathFor(const std::string& base) {
  return PathPart(base, kPartFolder) + ".~" + PathPart(base, kPartFileName) + ".journal";
}

namespace {

[[maybe_unused]] void PutName(std::string& out, const std::string& name) {
  out += Format(" %zu:", name.size());
  out += name;
}

bool GetName(std::string_view& in, std::string& name) {
  if (in.empty() || in[0] != ' ') return false;
  in.remove_prefix(1);
  size_t length = 0;
  size_t k = 0;
  while (k < in.size() && in[k] >= '0' && in[k] <= '9' && k < 6) {
    length = length * 10 + size_t(in[k] - '0');
    ++k;
  }
  if (k == 0 || k >= in.size() || in[k] != ':' || in.size() - k - 1 < length) return false;
  name.assign(in.substr(k + 1, length));
  in.remove_prefix(k + 1 + length);
  return true;
}

bool GetNumber(std::string_view& in, uint64_t& value) {
  if (in.empty() || in[0] != ' ') return false;
  in.remove_prefix(1);
  size_t k = 0;
  value = 0;
  while (k < in.size() && in[k] >= '0' && in[k] <= '9' && k < 20) {
    value = value * 10 + uint64_t(in[k] - '0');
    ++k;
  }
  in.remove_prefix(k);
  return k > 0;
}

// A name the journal may act on: one of our temporary names, beside the
// file it stands for.
bool BesideAsTemporary(const std::string& name, const std::string& path) {
  return name.empty() || (IsTemporaryName(PathPart(name, kPartFileName)) &&
                          PathPart(name, kPartFolder) == PathPart(path, kPartFolder));
}

}  // namespace

bool WriteJournal(const std::string& journal, const std::vector<JournalEntry>& entries, bool sync,
                  std::string& error) {
#ifdef _WIN32
  (void)journal;
  (void)entries;
  (void)sync;
  error.clear();
  return true;
#else
  std::string text = "maptesk-journal 1\n";
  for (const JournalEntry& e : entries) {
    text += Format("%c %llu %llu", e.kind, static_cast<unsigned long long>(e.newId),
                   static_cast<unsigned long long>(e.oldId));
    PutName(text, e.path);
    PutName(text, e.temporary);
    PutName(text, e.spare);
    text += '\n';
  }
  text += "end\n";
  const int fd = open(journal.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += size_t(n);
  }
  bool ok = done == text.size();
  int err = ok ? 0 : (errno ? errno : ENOSPC);
  if (ok && sync && fsync(fd) != 0) {
    ok = false;
    err = errno;
  }
  if (close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && sync && !SyncFolder(PathPart(journal, kPartFolder))) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    unlink(journal.c_str());
    error = std::strerror(err);
  }
  return ok;
#endif
}

bool ParseJournal(std::string_view in, std::vector<JournalEntry>& entries) {
  entries.clear();
  constexpr std::string_view kHead = "maptesk-journal 1\n";
  if (in.substr(0, kHead.size()) != kHead) return false;
  in.remove_prefix(kHead.size());
  while (!in.empty()) {
    if (in == "end\n") return true;
    JournalEntry e;
    e.kind = in[0];
    if (e.kind != 'R' && e.kind != 'C' && e.kind != 'D') return false;
    in.remove_prefix(1);
    if (!GetNumber(in, e.newId) || !GetNumber(in, e.oldId) || !GetName(in, e.path) ||
        !GetName(in, e.temporary) || !GetName(in, e.spare) || in.empty() || in[0] != '\n') {
      return false;
    }
    in.remove_prefix(1);
    if (e.path.empty() || !BesideAsTemporary(e.temporary, e.path) ||
        !BesideAsTemporary(e.spare, e.path)) {
      return false;
    }
    entries.push_back(std::move(e));
  }
  return false;  // no end line: the journal was never finished
}

Recovery RecoverJournal(const std::string& journal, std::string* error) {
#ifdef _WIN32
  (void)journal;
  (void)error;
  return Recovery::kNone;
#else
  struct stat st;
  if (lstat(journal.c_str(), &st) != 0) return Recovery::kNone;
  // Only a journal this user wrote is followed: a file of that name in a
  // shared folder must not steer renames.
  if (!S_ISREG(st.st_mode) || st.st_uid != geteuid() || st.st_size > (1 << 20)) {
    return Recovery::kNone;
  }
  std::string text(size_t(st.st_size), '\0');
  {
    const int fd = open(journal.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return Recovery::kNone;
    const ssize_t n = read(fd, text.data(), text.size());
    close(fd);
    text.resize(n > 0 ? size_t(n) : 0);
  }
  std::vector<JournalEntry> entries;
  if (!ParseJournal(text, entries)) {
    // Written only whole before the first rename: an unfinished journal
    // means nothing was renamed, and its temporaries are stale.
    unlink(journal.c_str());
    return Recovery::kBack;
  }
  bool forward = true;
  for (const JournalEntry& e : entries) {
    if (e.kind == 'D') continue;
    if (FileIdentity(e.path) != e.newId && FileIdentity(e.temporary) != e.newId) forward = false;
  }
  std::string failure;
  auto move = [&failure](const std::string& from, const std::string& to) {
    if (rename(from.c_str(), to.c_str()) != 0 && failure.empty()) {
      failure = Format("[%s] could not be put in place: %s", to.c_str(), std::strerror(errno));
    }
  };
  for (const JournalEntry& e : entries) {
    const uint64_t at = FileIdentity(e.path);
    if (forward) {
      if (e.kind == 'D') {
        if (at != 0 && at == e.oldId) unlink(e.path.c_str());
      } else if (at != e.newId && FileIdentity(e.temporary) == e.newId) {
        move(e.temporary, e.path);
      }
    } else if (e.kind == 'R') {
      if (at == e.oldId) continue;
      if (FileIdentity(e.temporary) == e.oldId) {
        move(e.temporary, e.path);
      } else if (!e.spare.empty() && FileIdentity(e.spare) != 0) {
        move(e.spare, e.path);
      }
    } else if (e.kind == 'C') {
      if (at != 0 && at == e.newId) unlink(e.path.c_str());
    } else if (at == 0 && !e.spare.empty() && FileIdentity(e.spare) != 0) {
      move(e.spare, e.path);
    }
  }
  if (!failure.empty()) {
    if (error) *error = failure;
    return Recovery::kFailed;
  }
  std::vector<std::string> folders;
  for (const JournalEntry& e : entries) {
    for (const std::string* name : {&e.temporary, &e.spare}) {
      if (!name->empty()) unlink(name->c_str());
    }
    const std::string folder = PathPart(e.path, kPartFolder);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  }
  for (const std::string& folder : folders) SyncFolder(folder);
  unlink(journal.c_str());
  return forward ? Recovery::kForward : Recovery::kBack;
#endif
}

bool RecoverJournalsIn(const std::string& folder) {
#ifdef _WIN32
  (void)folder;
  return true;
#else
  const std::string prefix = folder.empty() ? std::string() : WithTrailingSeparator(folder);
  std::vector<std::string> journals;
  ForEachName(folder, [&](const std::string& name) {
    if (name.size() > 10 && name.compare(0, 2, ".~") == 0 &&
        name.compare(name.size() - 8, 8, ".journal") == 0) {
      journals.push_back(prefix + name);
    }
  });
  bool ok = true;
  for (const std::string& journal : journals) {
    if (RecoverJournal(journal) == Recovery::kFailed) ok = false;
  }
  return ok;
#endif
}

Recovery RecoverFileSet(const std::string& base, std::string* error) {
#ifdef _WIN32
  (void)base;
  (void)error;
  return Recovery::kNone;
#else
  const std::string exact = JournalPathFor(base);
  std::optional<std::string> journal = FindFileNoCase(exact);
  if (!journal) return Recovery::kNone;
  // Under the folder's lock, so that a commit still running elsewhere is not
  // taken for an interrupted one; acquiring it finishes the journal.
  FolderLock lock;
  std::string reason;
  if (!lock.Acquire(PathPart(*journal, kPartFolder), reason)) {
    if (error) *error = reason;
    return Recovery::kFailed;
  }
  // Usually finished by now; not when this program held the lock already.
  const Recovery done = RecoverJournal(*journal, error);
  return done == Recovery::kNone ? Recovery::kForward : done;
#endif
}

// ---------------------------------------------------------------------------
// Extended attributes

int AclGroupBits(const std::vector<uint8_t>& acl) {
  // Version 2, then entries of tag (16 bits), permissions (16 bits), id (32).
  constexpr uint16_t kGroupObj = 0x04, kMask = 0x10;
  if (acl.size() < 4 || (acl.size() - 4) % 8 != 0) return -1;
  auto le16 = [&acl](size_t at) { return uint16_t(acl[at] | acl[at + 1] << 8); };
  if (le16(0) != 2 || le16(2) != 0) return -1;
  int group = -1, mask = 7;
  for (size_t at = 4; at < acl.size(); at += 8) {
    if (le16(at) == kGroupObj) group = le16(at + 2) & 7;
    if (le16(at) == kMask) mask = le16(at + 2) & 7;
  }
  return group < 0 ? -1 : (group & mask);
}

std::string CopyExtendedAttributes(const std::string& from, int fd, int& groupBits) {
  groupBits = -1;
#if defined(__linux__)
  std::vector<char> names;
  for (int attempt = 0; attempt < 4; ++attempt) {
    const ssize_t size = listxattr(from.c_str(), nullptr, 0);
    if (size <= 0) return {};  // none, or a file system without them
    names.resize(size_t(size));
    const ssize_t got = listxattr(from.c_str(), names.data(), names.size());
    if (got >= 0) {
      names.resize(size_t(got));
      break;
    }
    if (errno != ERANGE) return {};
    names.clear();
  }
  std::string failed;
  std::vector<uint8_t> value, present;
  for (size_t at = 0; at < names.size();) {
    const std::string name(names.data() + at);
    at += name.size() + 1;
    if (name.empty()) continue;
    const ssize_t size = getxattr(from.c_str(), name.c_str(), nullptr, 0);
    if (size < 0) continue;
    value.resize(size_t(size));
    const ssize_t got = getxattr(from.c_str(), name.c_str(), value.data(), value.size());
    if (got < 0) continue;
    value.resize(size_t(got));
    if (name == "system.posix_acl_access") groupBits = AclGroupBits(value);
    if (fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) == 0) continue;
    const int err = errno;
    // A label the system gave the new file already may be refused and
    // still be the same.
    present.resize(value.size() + 1);
    const ssize_t same = fgetxattr(fd, name.c_str(), present.data(), present.size());
    if (same == got && std::equal(value.begin(), value.end(), present.begin())) continue;
    failed += Format("%s%s (%s)", failed.empty() ? "" : ", ", name.c_str(), std::strerror(err));
  }
  return failed;
#else
  (void)from;
  (void)fd;
  return {};
#endif
}

}  // namespace maptesk
