#include "util/file_io.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "util/path_utils.h"
#include "util/text_format.h"

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

// Writes, flushes to the disk and closes; any step failing removes the file.
bool WriteTemporary(const std::string& temporary, const void* data, size_t size,
                    std::string* error) {
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (!f) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  ok = ok && std::fflush(f) == 0;
#ifdef _WIN32
  ok = ok && _commit(_fileno(f)) == 0;
#else
  ok = ok && fsync(fileno(f)) == 0;
#endif
  int savedErrno = errno;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) {
    if (error) *error = std::strerror(savedErrno ? savedErrno : errno);
    std::remove(temporary.c_str());
  }
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

bool SaveFileSafely(std::string_view target, const void* data, size_t size, std::string* error) {
  SafeFileBatch batch;
  if (!batch.Add(target, data, size) || !batch.Commit()) {
    if (error) *error = batch.error();
    return false;
  }
  return true;
}

bool SaveFileSafely(std::string_view target, std::string_view text, std::string* error) {
  return SaveFileSafely(target, text.data(), text.size(), error);
}

SafeFileBatch::~SafeFileBatch() {
  if (committed_) return;
  for (const Entry& e : entries_) std::remove(e.temporary.c_str());
}

bool SafeFileBatch::Add(std::string_view target, const void* data, size_t size) {
  std::string finalPath = SaveTargetFor(target);
  if (finalPath.empty() || IsSeparator(finalPath.back()) || IsFolder(finalPath)) {
    failedTarget_ = std::string(target);
    error_ = "the target is a folder";
    return false;
  }
  std::string temporary = TemporaryNameFor(finalPath);
  if (!WriteTemporary(temporary, data, size, &error_)) {
    failedTarget_ = std::string(target);
    return false;
  }
  entries_.push_back({finalPath, temporary});
  return true;
}

bool SafeFileBatch::Commit() {
  committed_ = true;
  bool ok = true;
  for (const Entry& e : entries_) {
    if (!ok) {
      std::remove(e.temporary.c_str());
      continue;
    }
    std::error_code ec;
    fs::rename(fs::path(e.temporary), fs::path(e.target), ec);
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
