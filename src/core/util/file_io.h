// Whole-file reading with a size limit, and safe replacement of files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace maptesk {

enum class ReadStatus { kOk, kNotFound, kCannotRead, kTooLarge };

/// Reads up to `maxBytes` of the file at `path` (found ignoring case) into
/// `data`. With `failIfLarger` a longer file gives kTooLarge and no data;
/// otherwise the rest of the file is not read.
ReadStatus ReadFileBytes(std::string_view path, std::vector<uint8_t>& data, size_t maxBytes,
                         bool failIfLarger = false);

/// The path a save to `target` writes: an existing file whose name differs
/// only in case is replaced rather than joined by a second file.
std::string SaveTargetFor(std::string_view target);

/// How far a save waits for its bytes: to the disk itself (the user's maps,
/// names and the game's pictures), or only to the system (exports that can
/// be made again: the rename still replaces the target whole or not at all).
enum class Durability { kToDisk, kToSystem };

/// Writes `size` bytes to `target` through a temporary file in the same folder
/// that is flushed and then renamed over the target. On any failure the old
/// file is left as it was, the temporary file is removed and false is
/// returned; `error` then says why (for the caller's message).
bool SaveFileSafely(std::string_view target, const void* data, size_t size,
                    std::string* error = nullptr, Durability durability = Durability::kToDisk);
bool SaveFileSafely(std::string_view target, std::string_view text, std::string* error = nullptr,
                    Durability durability = Durability::kToDisk);

/// A set of files replaced together: each file is written to a temporary
/// name first; Commit renames them all into place only when every write
/// succeeded. Destroying an uncommitted batch removes its temporary files.
class SafeFileBatch {
 public:
  explicit SafeFileBatch(Durability durability = Durability::kToDisk) : durability_(durability) {}
  SafeFileBatch(const SafeFileBatch&) = delete;
  SafeFileBatch& operator=(const SafeFileBatch&) = delete;
  ~SafeFileBatch();

  /// Writes one file's bytes to its temporary name; false on failure.
  bool Add(std::string_view target, const void* data, size_t size);
  /// Renames every temporary file over its target; false when one failed
  /// (the files renamed before it stay renamed, the others are removed).
  bool Commit();
  /// The target of the failing step, for the caller's message.
  const std::string& failedTarget() const { return failedTarget_; }
  const std::string& error() const { return error_; }
  /// The final paths written or about to be written, in order.
  std::vector<std::string> targets() const;

 private:
  struct Entry {
    std::string target;
    std::string temporary;
    std::FILE* file = nullptr;  // open until Commit syncs it
  };
  std::vector<Entry> entries_;
  std::string failedTarget_;
  std::string error_;
  bool committed_ = false;
  Durability durability_;
};

}  // namespace maptesk
