#include "core/util/file_io.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "core/util/path_utils.h"
#include "core/util/text_format.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace maptesk {
namespace fs = std::filesystem;

namespace {

std::string TemporaryNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  return target + Format(".~%08x%04x.tmp", seed, counter.fetch_add(1) & 0xFFFFu);
}

// Writes and flushes to the system; the file stays open for SyncAndClose.
std::FILE* WriteTemporary(const std::string& temporary, const void* data, size_t size,
                          std::string* error) {
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (!f) {
    if (error) *error = std::strerror(errno);
    return nullptr;
  }
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  ok = ok && std::fflush(f) == 0;
  if (!ok) {
    if (error) *error = std::strerror(errno);
    std::fclose(f);
    std::remove(temporary.c_str());
    return nullptr;
  }
  return f;
}

// Pushes the file to the disk and closes it. Syncing a set of files only
// after all of them were written lets the system write them out together.
bool SyncAndClose(std::FILE* f, std::string* error) {
#ifdef _WIN32
  bool ok = _commit(_fileno(f)) == 0;
#else
  bool ok = fsync(fileno(f)) == 0;
#endif
  int savedErrno = errno;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok && error) *error = std::strerror(savedErrno ? savedErrno : errno);
  return ok;
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(fs::path(path), ec);
}

}  // namespace

ReadStatus ReadFileBytes(std::string_view path, std::vector<uint8_t>& data, size_t maxBytes,
                         bool failIfLarger) {
  data.clear();
  auto found = FindFileNoCase(path);
  if (!found) return ReadStatus::kNotFound;
  if (IsFolder(*found)) return ReadStatus::kCannotRead;
  std::FILE* f = std::fopen(found->c_str(), "rb");
  if (!f) return ReadStatus::kCannotRead;
  // Read in chunks rather than trusting a size query: the file may be a pipe
  // or change under us, and a huge file must not be allocated whole.
  constexpr size_t kChunk = 1 << 16;
  ReadStatus status = ReadStatus::kOk;
  while (data.size() < maxBytes) {
    size_t want = std::min(kChunk, maxBytes - data.size());
    size_t old = data.size();
    data.resize(old + want);
    size_t got = std::fread(data.data() + old, 1, want, f);
    data.resize(old + got);
    if (got < want) {
      if (std::ferror(f)) status = ReadStatus::kCannotRead;
      break;
    }
  }
  if (status == ReadStatus::kOk && failIfLarger && data.size() == maxBytes &&
      std::fgetc(f) != EOF) {
    status = ReadStatus::kTooLarge;
  }
  std::fclose(f);
  if (status != ReadStatus::kOk) data.clear();
  return status;
}

std::string SaveTargetFor(std::string_view target) {
  auto found = FindFileNoCase(target);
  return found ? *found : NativeSeparators(std::string(target));
}

bool SaveFileSafely(std::string_view target, const void* data, size_t size, std::string* error,
                    Durability durability) {
  SafeFileBatch batch(durability);
  if (!batch.Add(target, data, size) || !batch.Commit()) {
    if (error) *error = batch.error();
    return false;
  }
  return true;
}

bool SaveFileSafely(std::string_view target, std::string_view text, std::string* error,
                    Durability durability) {
  return SaveFileSafely(target, text.data(), text.size(), error, durability);
}

SafeFileBatch::~SafeFileBatch() {
  for (Entry& e : entries_) {
    if (e.file) std::fclose(e.file);
    if (!committed_) std::remove(e.temporary.c_str());
  }
}

bool SafeFileBatch::Add(std::string_view target, const void* data, size_t size) {
  std::string finalPath = SaveTargetFor(target);
  if (finalPath.empty() || IsSeparator(finalPath.back()) || IsFolder(finalPath)) {
    failedTarget_ = std::string(target);
    error_ = "the target is a folder";
    return false;
  }
  std::string temporary = TemporaryNameFor(finalPath);
  std::FILE* file = WriteTemporary(temporary, data, size, &error_);
  if (!file) {
    failedTarget_ = std::string(target);
    return false;
  }
  entries_.push_back({finalPath, temporary, file});
  return true;
}

bool SafeFileBatch::Commit() {
  bool ok = true;
  for (Entry& e : entries_) {
    std::string closeError;
    const bool closed = durability_ == Durability::kToDisk ? SyncAndClose(e.file, &closeError)
                                                           : std::fclose(e.file) == 0;
    e.file = nullptr;
    if (!closed && ok) {
      ok = false;
      failedTarget_ = e.target;
      error_ = closeError.empty() ? std::strerror(errno) : closeError;
    }
  }
  if (!ok) return false;  // the destructor removes every temporary file
  committed_ = true;
  for (const Entry& e : entries_) {
    if (!ok) {
      std::remove(e.temporary.c_str());
      continue;
    }
    std::error_code ec;
    std::string previous;
    if (durability_ == Durability::kToSystem && fs::exists(fs::path(e.target), ec)) {
      // Renaming over an existing file makes some file systems (ext4) push
      // the new file to the disk first, which kToSystem saves skip: move the
      // old file aside instead, and back again if the new one cannot go in.
      previous = TemporaryNameFor(e.target);
      fs::rename(fs::path(e.target), fs::path(previous), ec);
      if (ec) previous.clear();
      ec.clear();
    }
    fs::rename(fs::path(e.temporary), fs::path(e.target), ec);
    if (!previous.empty()) {
      std::error_code restoreEc;
      if (ec) {
        fs::rename(fs::path(previous), fs::path(e.target), restoreEc);
      } else {
        fs::remove(fs::path(previous), restoreEc);
      }
    }
    if (ec) {
      ok = false;
      failedTarget_ = e.target;
      error_ = ec.message();
      std::remove(e.temporary.c_str());
    }
  }
  return ok;
}

std::vector<std::string> SafeFileBatch::targets() const {
  std::vector<std::string> result;
  for (const Entry& e : entries_) result.push_back(e.target);
  return result;
}

}  // namespace maptesk
