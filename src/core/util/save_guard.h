// What keeps a save whole when the program is killed, when a second program
// writes the same files, or when the old file carries more than its bytes:
// a lock on the folder written, a journal for sets of files, the removal of
// temporary files after a signal or a kill, folder syncs and the copying of
// extended attributes. SafeFileBatch (file_io.h) uses all of them.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace maptesk {

/// Whether `fileName` has the form of the temporary files that saves write
/// beside their targets: ".~" + 12 hexadecimal digits + ".tmp".
bool IsTemporaryName(std::string_view fileName);

/// The lock file that a save holds in each folder it writes. It exists only
/// while a save holds it (or after a kill, until the next save there).
inline constexpr const char* kFolderLockName = ".~maptesk.lock";

/// SIGINT and SIGTERM remove the files of saves in flight before the program
/// ends by the same signal. A signal that is ignored stays ignored. Does
/// nothing where there are no such signals.
void RemoveTemporariesOnSignals();

/// A name the signal handler removes while it is registered; at most a few
/// dozen at once (further names are left to the stale-file clean-up).
class InFlightName {
 public:
  InFlightName() = default;
  explicit InFlightName(const std::string& path);
  InFlightName(InFlightName&& other) noexcept : slot_(other.slot_) { other.slot_ = -1; }
  InFlightName& operator=(InFlightName&& other) noexcept;
  InFlightName(const InFlightName&) = delete;
  InFlightName& operator=(const InFlightName&) = delete;
  ~InFlightName() { Release(); }
  void Release();

 private:
  int slot_ = -1;
};

/// How long a save waits for another program's lock on a folder before it
/// fails (5 seconds unless set).
void SetFolderLockWait(std::chrono::milliseconds wait);

/// An advisory lock on a folder, held by one save at a time among programs;
/// saves of one program share it. The first holder in this program also
/// finishes the journals of interrupted commits in the folder and removes
/// stale temporary files there.
class FolderLock {
 public:
  FolderLock() = default;
  FolderLock(FolderLock&& other) noexcept : key_(std::move(other.key_)) { other.key_.clear(); }
  FolderLock& operator=(FolderLock&&) = delete;
  FolderLock(const FolderLock&) = delete;
  ~FolderLock() { Release(); }

  /// Waits a bounded time for the lock of `folder`; false with the reason in
  /// `error` when another program keeps it.
  bool Acquire(const std::string& folder, std::string& error);
  void Release();
  bool held() const { return !key_.empty(); }
  /// The folder's identity, to tell one folder reached by two names.
  const std::string& key() const { return key_; }

 private:
  std::string key_;
};

/// Pushes the names in `folder` to the disk (after a rename); true where the
/// system has no such step.
bool SyncFolder(const std::string& folder);

/// Removes the temporary files of saves in `folder` that are older than this
/// run; the number removed.
int RemoveStaleTemporaries(const std::string& folder);

/// One file of a set being committed, as the journal records it: what is
/// at which name before and after, told apart by file identity.
struct JournalEntry {
  char kind = 'R';  // R replaces a file, C creates one, D removes one
  std::string path;
  std::string temporary;  // the new content before it is in place (R, C)
  std::string spare;      // a second name for the old file (R, D)
  uint64_t newId = 0;     // identity of the new content
  uint64_t oldId = 0;     // identity of the old file (R, D)
};

/// The journal of the set whose tiles are `base` + suffixes, beside them.
std::string JournalPathFor(const std::string& base);

/// Writes the journal; with `sync`, to the disk with its folder entry.
bool WriteJournal(const std::string& journal, const std::vector<JournalEntry>& entries, bool sync,
                  std::string& error);
bool ParseJournal(std::string_view text, std::vector<JournalEntry>& entries);
/// The identity of the file at `path` (0 when there is none).
uint64_t FileIdentity(const std::string& path);
uint64_t FileIdentity(int fd);

enum class Recovery { kNone, kForward, kBack, kFailed };
/// Finishes an interrupted commit: forward when every new file is still
/// there, else back to the old set; then removes its temporaries and the
/// journal. kFailed keeps the journal for a later run.
Recovery RecoverJournal(const std::string& journal, std::string* error = nullptr);
/// Recovers every journal in `folder`; false when one could not be.
bool RecoverJournalsIn(const std::string& folder);
/// For a reader of a set: when an interrupted commit of `base` left its
/// journal, takes the folder's lock and finishes it.
Recovery RecoverFileSet(const std::string& base, std::string* error = nullptr);

/// Gives the file open as `fd` the extended attributes (access control
/// lists included) of the file at `from`; the names that could not be given,
/// with the reason, or empty. `groupBits` receives the owning group's own
/// permission bits (rwx as 0-7) when `from` has an access list, else -1.
std::string CopyExtendedAttributes(const std::string& from, int fd, int& groupBits);
/// The owning group's bits of a system access list value, masked by its
/// mask entry; -1 when the value is not such a list.
int AclGroupBits(const std::vector<uint8_t>& acl);

/// Where saves tell what they could not keep of an old file while the save
/// itself succeeded (the command line prints it, the editor shows it).
void SetSaveNoteSink(std::function<void(const std::string&)> sink);
void ReportSaveNote(const std::string& note);

/// Called before each step of a commit (the rename of entry `step`, and one
/// more before the journal goes), for tests that stop a program there.
using CommitStepHook = void (*)(int step);
void SetCommitStepHookForTesting(CommitStepHook hook);
void CallCommitStepHook(int step);

/// Keeps SIGINT and SIGTERM from ending the program while a set is renamed;
/// a signal that came meanwhile takes effect when the object goes.
class SignalsHeld {
 public:
  SignalsHeld();
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  bool held_ = false;
};

}  // namespace maptesk
