// Whole-file reading with a size limit, and safe replacement of files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/save_guard.h"

namespace maptesk {

/// kNotAFile: a folder, pipe, socket or device, refused before it is opened
/// for reading (a pipe without a writer would wait for ever).
enum class ReadStatus { kOk, kNotFound, kCannotRead, kTooLarge, kNotAFile };

/// Opens the regular file at `path` (found ignoring case) for binary reading;
/// null with `status` set when it is missing, not a regular file or cannot
/// be opened. `size` receives the file's size in bytes when given.
std::FILE* OpenFileForReading(std::string_view path, ReadStatus& status, uint64_t* size = nullptr);

/// What stands at `path` when it gave kNotAFile, for messages: "a folder",
/// "a FIFO", "a device", "a socket" or "a special file".
std::string NotAFileKind(std::string_view path);

/// Reads up to `maxBytes` of the file at `path` (found ignoring case) into
/// `data`. With `failIfLarger` a longer file gives kTooLarge and no data;
/// otherwise the rest of the file is not read.
ReadStatus ReadFileBytes(std::string_view path, std::vector<uint8_t>& data, size_t maxBytes,
                         bool failIfLarger = false);

/// Lets the system back a large buffer, before it is first touched, with huge
/// pages where it has them: faulting in a big picture's memory 4 KiB at a
/// time can cost more than reading the picture's file.
void AdviseLargeBuffer(const void* data, size_t size);

/// The path a save to `target` writes: an existing file whose name differs
/// only in case is replaced rather than joined by a second file, and a new
/// file goes into the existing folder whose name differs only in case.
std::string SaveTargetFor(std::string_view target);

/// Whether a save to `target` may go ahead, checked as SafeFileBatch::Add
/// does; false with the reason in `error` for a name without a file name, a
/// folder, a device, FIFO or socket, a file the user may not write, a file
/// with several hard links, or a folder that is missing or read-only.
bool CheckSaveTarget(std::string_view target, std::string* error = nullptr);

/// How far a save waits for its bytes: to the disk itself (the user's maps,
/// names and the game's pictures), or only to the system (exports that can
/// be made again: the rename still replaces the target whole or not at all).
enum class Durability { kToDisk, kToSystem };

/// Writes `size` bytes to `target` through a temporary file in the same folder
/// that is flushed and then put in the target's place in one step. A link is
/// written through: the file it names gets the content. Only a regular file
/// is replaced, and it keeps its permission bits (and owner where the user
/// may set it). On any failure the old file is left as it was, the temporary
/// file is removed and false is returned; `error` then says why (the
/// system's reason, for the caller's message).
bool SaveFileSafely(std::string_view target, const void* data, size_t size,
                    std::string* error = nullptr, Durability durability = Durability::kToDisk);
bool SaveFileSafely(std::string_view target, std::string_view text, std::string* error = nullptr,
                    Durability durability = Durability::kToDisk);

/// Bytes that a file is written from, one piece after another.
struct ByteSpan {
  const void* data = nullptr;
  size_t size = 0;
};

/// What a save finds at its target (kept within file_io.cpp).
struct TargetState;

/// A set of files replaced together, whole or not at all: each file is
/// written to a temporary name first; Commit puts them all in place only when
/// every write succeeded. Destroying an uncommitted batch removes its
/// temporary files. From its first file to the end of Commit the batch holds
/// the lock of each folder it writes (see FolderLock). A set of several files
/// is committed through a journal, so that a program killed half way leaves
/// a set that the next run in that folder finishes or takes back whole.
class SafeFileBatch {
 public:
  explicit SafeFileBatch(Durability durability = Durability::kToDisk) : durability_(durability) {}
  SafeFileBatch(const SafeFileBatch&) = delete;
  SafeFileBatch& operator=(const SafeFileBatch&) = delete;
  ~SafeFileBatch();

  /// Checks the target as CheckSaveTarget does and writes one file's bytes
  /// to its temporary name; false on failure.
  bool Add(std::string_view target, const void* data, size_t size);
  /// As Add, with the file's bytes in pieces that are written in order,
  /// without being copied together.
  bool Add(std::string_view target, const std::vector<ByteSpan>& pieces);
  /// Removes the file `path` (its exact name; a link itself, not what it
  /// names) as part of the set. A missing file is no error.
  bool Remove(std::string_view path);
  /// Commits the set through the journal of `base` (JournalPathFor), which
  /// readers of the set look for; takes the lock of its folder at once, so
  /// that what an interrupted commit left there is finished before the
  /// caller looks at the old set. False when the lock cannot be had.
  bool UseJournal(const std::string& base);
  /// Puts every file in place, each in one step. When one step fails, every
  /// file already replaced or removed gets its old content back and false is
  /// returned; at no moment is a target missing.
  bool Commit();
  /// The target of the failing step, for the caller's message.
  const std::string& failedTarget() const { return failedTarget_; }
  /// Why it failed: the system's reason.
  const std::string& error() const { return error_; }
  /// What a successful save could not keep of the old files (extended
  /// attributes), already passed to ReportSaveNote.
  const std::string& notes() const { return notes_; }
  /// The final paths written or about to be written, in order (not the removed ones).
  std::vector<std::string> targets() const;

 private:
  struct Entry {
    std::string target;     // the name asked for, resolved ignoring case
    std::string path;       // the file replaced: `target` with its links followed
    std::string temporary;  // the new content, until it is in place
    std::string backup;     // the old file, kept until the whole set is in place
    std::string spare;      // the backup's name chosen before a journaled commit
    InFlightName inFlight;  // `temporary`, for the signal handler
    uint64_t newId = 0;     // identity of the new content, for the journal
    int fd = -1;            // open until Commit syncs it
    bool removal = false;   // the file goes and nothing takes its place
    bool done = false;      // Commit has put it in place (or removed it)
    bool created = false;   // there was no file before
  };
  /// What the batch learnt of a folder whose lock it holds: no other save
  /// changes it meanwhile, so it is resolved, listed and checked only once.
  struct FolderFacts {
    std::string given;               // the folder as targets name it
    std::string resolved;            // as found ignoring case, with a separator
    std::vector<std::string> names;  // its entries, in byte order
  };
  /// Resolves and checks `target` as ExamineTarget does, with fewer calls
  /// to the system for the folders the batch has locked.
  bool Examine(std::string_view target, TargetState& state);
  /// The save target for `native`, which has no entry of exactly its name.
  std::string ResolveMissing(const std::string& native);
  /// Checks again, before it is replaced, what Add found at the entry's name.
  bool Recheck(const Entry& e, bool& exists);
  bool PutInPlace(Entry& e);
  /// Puts the old files of the first `count` entries back.
  void RollBack(size_t count);
  /// Closes and removes every temporary file still holding new content.
  void RemoveTemporaries();
  /// Takes the lock of the folder of `path` unless the batch has it.
  bool LockFolderOf(const std::string& path);
  bool PutAllInPlace();

  std::vector<std::unique_ptr<FolderLock>> locks_;
  std::vector<std::string> lockedFolders_;   // as LockFolderOf was given them
  std::vector<std::string> checkedFolders_;  // folders the user may write
  std::vector<FolderFacts> folders_;
  std::vector<Entry> entries_;
  std::string journal_;
  std::string failedTarget_;
  std::string error_;
  std::string notes_;
  Durability durability_;
};

}  // namespace maptesk
