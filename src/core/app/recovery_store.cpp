#include "core/app/recovery_store.h"

#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/map/hex_map.h"
#include "core/map/map_names.h"
#include "core/util/file_io.h"
#include "core/util/fs_path.h"
#include "core/util/path_utils.h"
#include "core/util/text_format.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace maptesk {

namespace fs = std::filesystem;

namespace {

constexpr char kMapName[] = "map.MAP";
constexpr char kNamesName[] = "names.TXT";
constexpr char kInfoName[] = "written.txt";
constexpr size_t kMaxInfo = 4096;

// A folder name that a path cannot collide with by its spelling: the
// 64-bit FNV-1a hash of the path's bytes.
std::string HashName(const std::string& text) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return Format("%016llx", static_cast<unsigned long long>(hash));
}

#ifdef _WIN32
// The C runtime's file times, which std::filesystem reads here, count whole
// seconds, so a copy written just after the map's save would look no newer.
// The system's own times count 100 ns but advance a clock tick at a time:
// a copy written within the tick of the save has the same time and counts
// as written after it.
bool WriteTime(const std::string& path, uint64_t* time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(FsPath(path).c_str(), GetFileExInfoStandard, &data)) return false;
  *time =
      (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return true;
}

bool ModifiedAfter(const std::string& newer, const std::string& older) {
  uint64_t olderTime = 0, newerTime = 0;
  if (!WriteTime(older, &olderTime)) return true;  // no map file: any copy is newer
  return WriteTime(newer, &newerTime) && newerTime >= olderTime;
}
#else
bool ModifiedAfter(const std::string& newer, const std::string& older) {
  std::error_code e1, e2;
  const fs::file_time_type olderTime = fs::last_write_time(FsPath(older), e1);
  if (e1) return true;  // no map file: any copy is newer
  const fs::file_time_type newerTime = fs::last_write_time(FsPath(newer), e2);
  return !e2 && newerTime > olderTime;
}
#endif

}  // namespace

std::string RecoveryStore::FolderFor(const std::string& mapPath) const {
  return root_ + HashName(mapPath) + kPathSeparator;
}

bool RecoveryStore::Due(uint64_t revision, bool modified, Clock::time_point now) {
  if (!modified) {
    Settle(revision);
    return false;
  }
  if (revision == settled_) return false;
  if (!firstChange_) firstChange_ = now;
  return now - *firstChange_ >= kDelay || revision - settled_ >= kChanges;
}

void RecoveryStore::Settle(uint64_t revision) {
  settled_ = revision;
  firstChange_.reset();
}

bool RecoveryStore::Write(const HexMap& map, const MapNames& names, uint64_t revision,
                          std::string* error) {
  const std::string folder = FolderFor(map.path);
  std::error_code made;
  fs::create_directories(FsPath(folder), made);
  std::vector<uint8_t> bytes(kMapFileSize);
  // The marks go into the copy: it is the map as it is being edited.
  map.Encode(bytes.data());
  const std::string namesText = names.FormatNamesFile();
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::system_clock::now().time_since_epoch());
  const std::string info =
      Format("%lld\r\n%s\r\n", static_cast<long long>(seconds.count()), map.path.c_str());
  // A copy that can be made again any minute need not wait for the disk;
  // the rename still puts each file in place whole.
  SafeFileBatch batch(Durability::kToSystem);
  if (!batch.Add(folder + kMapName, bytes.data(), bytes.size()) ||
      !batch.Add(folder + kNamesName, namesText.data(), namesText.size()) ||
      !batch.Add(folder + kInfoName, info.data(), info.size()) || !batch.Commit()) {
    if (error != nullptr) *error = batch.error();
    return false;
  }
  written_ = map.path;
  Settle(revision);
  return true;
}

std::optional<RecoveryCopy> RecoveryStore::Find(const std::string& mapPath) const {
  const std::string folder = FolderFor(mapPath);
  RecoveryCopy copy;
  copy.mapFile = folder + kMapName;
  copy.namesFile = folder + kNamesName;
  std::error_code e;
  if (!fs::is_regular_file(FsPath(copy.mapFile), e)) return std::nullopt;
  if (!ModifiedAfter(copy.mapFile, mapPath)) return std::nullopt;
  std::vector<uint8_t> info;
  if (ReadFileBytes(folder + kInfoName, info, kMaxInfo) == ReadStatus::kOk) {
    copy.writtenAt = std::atoll(std::string(info.begin(), info.end()).c_str());
  }
  if (copy.writtenAt <= 0) {
    // Without its note the copy's own time tells when it was written.
    const auto written = fs::last_write_time(FsPath(copy.mapFile), e);
    const auto since = written - fs::file_time_type::clock::now() +
                       std::chrono::system_clock::now().time_since_epoch();
    copy.writtenAt = std::chrono::duration_cast<std::chrono::seconds>(since).count();
  }
  return copy;
}

void RecoveryStore::Remove(const std::string& mapPath) {
  const std::string folder = FolderFor(mapPath);
  std::error_code e;
  for (const char* name : {kMapName, kNamesName, kInfoName}) {
    fs::remove(FsPath(folder + name), e);
  }
  fs::remove(FsPath(folder), e);  // only when empty
  if (written_ == mapPath) written_.clear();
}

std::string LocalTimeText(int64_t secondsSinceEpoch) {
  const std::time_t t = static_cast<std::time_t>(secondsSinceEpoch);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace maptesk
