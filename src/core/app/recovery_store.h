// Recovery copies: while a map has unsaved changes, a copy of the map and of
// its names is kept in the user's data folder (never beside the game's
// files), one folder per map path, so that a crash or a power cut loses at
// most a minute of work. The copies are written in the game's own formats.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace maptesk {

class HexMap;
class MapNames;

/// A recovery copy found on the disk.
struct RecoveryCopy {
  std::string mapFile;    ///< the copy of the MAP file
  std::string namesFile;  ///< the copy of the names file
  /// When it was written, in seconds since 1970 (UTC).
  int64_t writtenAt = 0;
};

class RecoveryStore {
 public:
  using Clock = std::chrono::steady_clock;
  /// A change is in a copy at most this long after it was made...
  static constexpr std::chrono::seconds kDelay{60};
  /// ...and at the latest after this many more changes.
  static constexpr uint64_t kChanges = 50;

  /// `root` is the folder the copies live under (with its separator).
  explicit RecoveryStore(std::string root) : root_(std::move(root)) {}

  /// The folder of one map path's copy.
  std::string FolderFor(const std::string& mapPath) const;

  /// The writing rule, called with the document's revision as often as it
  /// likes (every frame): true when a copy is due now. A document without
  /// unsaved changes is never due.
  bool Due(uint64_t revision, bool modified, Clock::time_point now);
  /// Writes the copy of the map and its names (both or neither) and notes
  /// that `revision` is in it; false, with the reason, when it could not be.
  bool Write(const HexMap& map, const MapNames& names, uint64_t revision, std::string* error);
  /// Nothing of `revision` is waiting for a copy (after a load or a save).
  void Settle(uint64_t revision);

  /// The copy of `mapPath` when one is newer than the map file itself (a map
  /// file that does not exist is older than any copy).
  std::optional<RecoveryCopy> Find(const std::string& mapPath) const;
  /// Removes the copy of `mapPath`, if there is one.
  void Remove(const std::string& mapPath);
  /// Whether this run wrote a copy that is still there.
  bool wroteCopy() const { return !written_.empty(); }
  const std::string& writtenFor() const { return written_; }

 private:
  std::string root_;
  uint64_t settled_ = 0;
  std::optional<Clock::time_point> firstChange_;
  std::string written_;
};

/// "dd.mm.yyyy hh:mm:ss" in local time.
std::string LocalTimeText(int64_t secondsSinceEpoch);

}  // namespace maptesk
