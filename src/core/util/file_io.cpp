#include "core/util/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "core/util/fs_path.h"
#include "core/util/path_utils.h"
#include "core/util/text_format.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#endif

namespace maptesk {
namespace fs = std::filesystem;

namespace {

// A short name beside the target: the target's own name may be as long as
// a name can be, so the temporary name must not grow with it.
std::string TemporaryNameIn(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  return folder + Format(".~%08x%04x.tmp", seed, counter.fetch_add(1) & 0xFFFFu);
}

bool Fail(std::string& error, int code) {
  error = std::strerror(code);
  return false;
}

bool Fail(std::string& error, std::string reason) {
  error = std::move(reason);
  return false;
}

bool Fail(std::string& error, const std::error_code& ec) { return Fail(error, ec.message()); }

#ifdef _WIN32
using FileStat = struct _stat64;
// The system's stat refuses a folder named with a trailing separator
// ("C:\\maps\\") but needs the one of a drive's root ("C:\\").
int StatPath(const std::string& path, FileStat& st) {
  std::string name = path;
  while (name.size() > 1 && IsSeparator(name.back()) && !(name.size() == 3 && name[1] == ':')) {
    name.pop_back();
  }
  return _stat64(name.c_str(), &st);
}
int OpenNew(const std::string& name, bool) {
  return _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const uint8_t* p, size_t n) {
  return _write(fd, p, unsigned(std::min<size_t>(n, size_t(1) << 30)));
}
bool SyncFile(int fd) { return _commit(fd) == 0; }
int CloseFile(int fd) { return _close(fd); }
bool MayWrite(const std::string& path) { return _access(path.c_str(), 2) == 0; }
bool IsRegular(const FileStat& st) { return (st.st_mode & _S_IFMT) == _S_IFREG; }
bool IsDirectory(const FileStat& st) { return (st.st_mode & _S_IFMT) == _S_IFDIR; }
void TakeOverAttributes(int, const FileStat&, const std::string&, std::string&) {}
#else
using FileStat = struct stat;
int StatPath(const std::string& path, FileStat& st) { return stat(path.c_str(), &st); }
// A file that replaces an existing one starts private and takes the old
// file's bits once written, so the new content is never more open than the old.
int OpenNew(const std::string& name, bool replacing) {
  return open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
}
long WriteSome(int fd, const uint8_t* p, size_t n) { return long(write(fd, p, n)); }
bool SyncFile(int fd) { return fsync(fd) == 0; }
int CloseFile(int fd) { return close(fd); }
bool MayWrite(const std::string& path) { return access(path.c_str(), W_OK) == 0; }
bool IsRegular(const FileStat& st) { return S_ISREG(st.st_mode); }
bool IsDirectory(const FileStat& st) { return S_ISDIR(st.st_mode); }
// Only root may give a file away, so another owner is tried and let go; the
// group is kept where the user belongs to it. The extended attributes come
// before the bits: with an access list the group bits are its mask, and
// setting them afterwards keeps list and bits agreeing.
void TakeOverAttributes(int fd, const FileStat& old, const std::string& from, std::string& note) {
  if (fchown(fd, old.st_uid, old.st_gid) != 0 && fchown(fd, uid_t(-1), old.st_gid) != 0) {
  }
  mode_t mode = old.st_mode & 07777;
  int groupBits = -1;
  const std::string failed = CopyExtendedAttributes(from, fd, groupBits);
  if (!failed.empty()) {
    note = Format("[%s] was saved without some of the old file's extended attributes: %s",
                  from.c_str(), failed.c_str());
    // Without its access list the file must not open to the owning group
    // what only the list's named users had: the group gets its own bits.
    if (groupBits >= 0 && failed.find("system.posix_acl_access") != std::string::npos) {
      mode = (mode & ~mode_t(070)) | mode_t(groupBits << 3);
    }
  }
  if (fchmod(fd, mode) != 0) {
  }
}
#endif

// Follows the last component's symbolic links, so that a save writes the file
// a link names and the link itself stays.
bool FollowLinks(std::string path, std::string& result, std::string& error) {
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(FsPath(path), ec))) {
      result = path;
      return true;
    }
    const fs::path to = fs::read_symlink(FsPath(path), ec);
    if (ec) return Fail(error, ec.message());
    // Not normalised: ".." after a linked folder is the system's to resolve.
    path = FsName(to.is_absolute() ? to : FsPath(path).parent_path() / to);
  }
  return Fail(error, ELOOP);
}

std::string SpecialFileReason(const FileStat& st) {
  const char* kind = "a special file";
#ifndef _WIN32
  if (S_ISFIFO(st.st_mode)) kind = "a FIFO";
  if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) kind = "a device";
  if (S_ISSOCK(st.st_mode)) kind = "a socket";
#else
  (void)st;
#endif
  return Format("It is %s, not a regular file: only regular files are replaced", kind);
}

// Whether the regular file `path`, described by `seen`, may be replaced.
bool MayReplace(const std::string& path, const FileStat& seen, std::string& error) {
  // Replacing one name of several would give the new content to that name
  // only; writing in place is not safe against a failure half way.
  if (seen.st_nlink > 1) {
    return Fail(error, Format("The file has %u hard links: a save would give the new content "
                              "to this name only, so it was left as it is",
                              unsigned(seen.st_nlink)));
  }
  // Root may write any file the system lets it; others need the write bit.
  if (!MayWrite(path)) return Fail(error, errno);
  return true;
}

// Whether the folder of `path` exists and the user may add names to it.
bool MayWriteInFolder(const std::string& path, std::string& error) {
  const std::string folderPart = PathPart(path, kPartFolder);
  const std::string folder = folderPart.empty() ? std::string(".") : folderPart;
  FileStat dir{};
  if (StatPath(folder, dir) != 0) return Fail(error, errno);
  if (!IsDirectory(dir)) return Fail(error, ENOTDIR);
  if (!MayWrite(folder)) return Fail(error, errno);
  return true;
}

}  // namespace

struct TargetState {
  std::string named;  // the name asked for, resolved ignoring case
  std::string path;   // the file written: `named` with its links followed
  bool exists = false;
  FileStat old{};
};

namespace {

// Resolves `target` and checks that a save may replace it: only a regular
// file the user may write, with no other hard link, in a folder the user
// may write; or a new file in an existing folder. Nothing is opened, so a
// FIFO cannot block.
bool ExamineTarget(std::string_view target, TargetState& state, std::string& error) {
  state.named = SaveTargetFor(target);
  if (state.named.empty()) return Fail(error, "No file name given");
  if (IsSeparator(state.named.back())) {
    return Fail(error, "The name ends with a folder separator: a file name is needed");
  }
  if (!FollowLinks(state.named, state.path, error)) return false;
  // Through every link, as any program opening the name would find it: a
  // link to a device or a pipe (/dev/stdout) is that device or pipe.
  FileStat seen{};
  state.exists = StatPath(state.named, seen) == 0;
  if (!state.exists && errno != ENOENT) return Fail(error, errno);
  if (state.exists) {
    if (IsDirectory(seen)) return Fail(error, EISDIR);
    if (!IsRegular(seen)) return Fail(error, SpecialFileReason(seen));
    FileStat own{};
    if (StatPath(state.path, own) != 0 || own.st_dev != seen.st_dev || own.st_ino != seen.st_ino) {
      return Fail(error, "It is a link that names no file which can be replaced");
    }
    if (!MayReplace(state.path, seen, error)) return false;
    state.old = seen;
  }
  return MayWriteInFolder(state.path, error);
}

// Writes every piece in order; false with errno set (ENOSPC for a write
// that stopped short without a reason).
bool WritePieces(int fd, std::vector<ByteSpan> pieces) {
  size_t first = 0;
  while (first < pieces.size()) {
    if (pieces[first].size == 0) {
      ++first;
      continue;
    }
#ifndef _WIN32
    // Many pieces per call: a picture's rows go out without being copied
    // together first.
    constexpr size_t kMaxPieces = 1024;
    iovec iov[kMaxPieces];
    int count = 0;
    for (size_t k = first; k < pieces.size() && size_t(count) < kMaxPieces; ++k) {
      if (pieces[k].size == 0) continue;
      iov[count].iov_base = const_cast<void*>(pieces[k].data);
      iov[count].iov_len = pieces[k].size;
      ++count;
    }
    const long n = count == 1
                       ? WriteSome(fd, static_cast<const uint8_t*>(iov[0].iov_base), iov[0].iov_len)
                       : long(writev(fd, iov, count));
#else
    const long n =
        WriteSome(fd, static_cast<const uint8_t*>(pieces[first].data), pieces[first].size);
#endif
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    for (size_t done = size_t(n); done > 0;) {
      ByteSpan& piece = pieces[first];
      const size_t step = std::min(done, piece.size);
      piece.data = static_cast<const uint8_t*>(piece.data) + step;
      piece.size -= step;
      done -= step;
      if (piece.size == 0) ++first;
    }
  }
  return true;
}

// Writes the new content to a fresh temporary file beside `state.path`;
// the file stays open for Commit to sync. -1 on failure.
int WriteTemporary(const TargetState& state, const std::vector<ByteSpan>& pieces,
                   std::string& temporary, InFlightName& inFlight, std::string& error,
                   std::string& note) {
  const std::string folder = PathPart(state.path, kPartFolder);
  int fd = -1;
  {
    // Named for the signal handler before a signal can come.
    SignalsHeld held;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      temporary = TemporaryNameIn(folder);
      fd = OpenNew(temporary, state.exists);
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd >= 0) inFlight = InFlightName(temporary);
  }
  if (fd < 0) {
    temporary.clear();
    Fail(error, errno);
    return -1;
  }
  if (!WritePieces(fd, pieces)) {
    Fail(error, errno);
    CloseFile(fd);
    std::remove(temporary.c_str());
    temporary.clear();
    inFlight.Release();
    return -1;
  }
  if (state.exists) TakeOverAttributes(fd, state.old, state.path, note);
  return fd;
}

// Swaps two names in one step, so that the target never goes missing and
// the temporary name is left holding the old file. Renaming over a file
// would also make ext4 push the new file to the disk first, which exports
// skip on purpose.
std::error_code ExchangeNames(const std::string& a, const std::string& b) {
#if defined(__linux__) && defined(RENAME_EXCHANGE)
  if (renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) return {};
  return std::error_code(errno, std::generic_category());
#else
  (void)a;
  (void)b;
  return std::make_error_code(std::errc::function_not_supported);
#endif
}

bool CannotExchange(const std::error_code& ec) {
  return ec == std::errc::invalid_argument || ec == std::errc::function_not_supported ||
         ec == std::errc::not_supported || ec == std::errc::operation_not_supported;
}

std::error_code RenameName(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(FsPath(from), FsPath(to), ec);
  return ec;
}

// Keeps the old file under `backup` while `path` still names it: a second
// link where the file system has them, else a copy.
std::error_code KeepBackup(const std::string& path, const std::string& backup) {
  std::error_code ec;
#ifndef _WIN32
  fs::create_hard_link(FsPath(path), FsPath(backup), ec);
  if (!ec) return ec;
  ec.clear();
#endif
  // On Windows always a copy: a second name of a file that another program
  // holds open cannot be removed while it is held, and would be left behind
  // when the new file cannot take the name.
  fs::copy_file(FsPath(path), FsPath(backup), ec);
  return ec;
}

}  // namespace

std::FILE* OpenFileForReading(std::string_view path, ReadStatus& status, uint64_t* size) {
  auto found = FindFileNoCase(path);
  if (!found) {
    status = ReadStatus::kNotFound;
    return nullptr;
  }
#ifdef _WIN32
  std::error_code ec;
  if (!fs::is_regular_file(FsPath(*found), ec)) {
    status = ec ? ReadStatus::kCannotRead : ReadStatus::kNotAFile;
    return nullptr;
  }
  std::FILE* f = std::fopen(found->c_str(), "rb");
  if (!f) {
    status = ReadStatus::kCannotRead;
    return nullptr;
  }
  if (size) *size = uint64_t(_filelengthi64(_fileno(f)));
#else
  auto failWith = [&status](int error) {
    status = error == ENOENT ? ReadStatus::kNotFound : ReadStatus::kCannotRead;
    return nullptr;
  };
  // Asked before opening: opening a pipe that has no writer waits for one.
  struct stat info;
  if (::stat(found->c_str(), &info) != 0) return failWith(errno);
  if (!S_ISREG(info.st_mode)) {
    status = ReadStatus::kNotAFile;
    return nullptr;
  }
  // The name may be swapped for a pipe between the two calls: O_NONBLOCK
  // keeps the open from waiting, and the opened descriptor is what counts.
  const int fd = ::open(found->c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return failWith(errno);
  const bool described = ::fstat(fd, &info) == 0;
  if (!described || !S_ISREG(info.st_mode)) {
    ::close(fd);
    status = described ? ReadStatus::kNotAFile : ReadStatus::kCannotRead;
    return nullptr;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "rb");
  if (!f) {
    ::close(fd);
    status = ReadStatus::kCannotRead;
    return nullptr;
  }
  if (size) *size = uint64_t(info.st_size);
#endif
  status = ReadStatus::kOk;
  return f;
}

std::string NotAFileKind(std::string_view path) {
  const std::string found = ResolveExisting(path);
  std::error_code ec;
  const fs::file_type type = fs::status(FsPath(found), ec).type();
  switch (type) {
    case fs::file_type::directory: return "a folder";
    case fs::file_type::fifo: return "a FIFO";
    case fs::file_type::character:
    case fs::file_type::block: return "a device";
    case fs::file_type::socket: return "a socket";
    default: return "a special file";
  }
}

ReadStatus ReadFileBytes(std::string_view path, std::vector<uint8_t>& data, size_t maxBytes,
                         bool failIfLarger) {
  data.clear();
  ReadStatus opened = ReadStatus::kOk;
  std::FILE* f = OpenFileForReading(path, opened);
  if (!f) return opened;
  // Read in chunks rather than trusting the size: the file may change under
  // us, and a huge file must not be allocated whole.
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

void AdviseLargeBuffer(const void* data, size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only whole, aligned huge pages inside the buffer: the advice applies to
  // the pages it covers, and the buffer's neighbours are left alone.
  constexpr uintptr_t kHugePage = uintptr_t(2) << 20;
  const uintptr_t begin = (uintptr_t(data) + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = (uintptr_t(data) + size) & ~(kHugePage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

std::string SaveTargetFor(std::string_view target) {
  if (auto found = FindFileNoCase(target)) return *found;
  const std::string native = NativeSeparators(std::string(target));
  // A new file goes into the existing folder whose name differs only in
  // case, where reading will look for it.
  const std::string folder = PathPart(native, kPartFolder);
  if (folder.empty()) return native;
  auto foundFolder = FindFileNoCase(folder);
  return foundFolder ? WithTrailingSeparator(*foundFolder) + PathPart(native, kPartFileName)
                     : native;
}

bool CheckSaveTarget(std::string_view target, std::string* error) {
  TargetState state;
  std::string reason;
  const bool ok = ExamineTarget(target, state, reason);
  if (error) *error = reason;
  return ok;
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

SafeFileBatch::~SafeFileBatch() { RemoveTemporaries(); }

void SafeFileBatch::RemoveTemporaries() {
  for (Entry& e : entries_) {
    if (e.fd >= 0) CloseFile(e.fd);
    e.fd = -1;
    if (!e.temporary.empty()) std::remove(e.temporary.c_str());
    e.temporary.clear();
    e.inFlight.Release();
  }
}

bool SafeFileBatch::LockFolderOf(const std::string& path) {
  const std::string folder = PathPart(path, kPartFolder);
  if (std::find(lockedFolders_.begin(), lockedFolders_.end(), folder) != lockedFolders_.end()) {
    return true;
  }
  lockedFolders_.push_back(folder);
  auto lock = std::make_unique<FolderLock>();
  if (!lock->Acquire(folder, error_)) {
    lockedFolders_.pop_back();
    return false;
  }
  // A second lock of a folder the batch holds is a shared count: kept only
  // once, so that each lock goes with the batch.
  for (const auto& held : locks_) {
    if (held->key() == lock->key()) return true;
  }
  locks_.push_back(std::move(lock));
  return true;
}

bool SafeFileBatch::UseJournal(const std::string& base) {
  const std::string native = NativeSeparators(base);
  if (!LockFolderOf(native)) {
    failedTarget_ = native;
    return false;
  }
  journal_ = JournalPathFor(native);
  return true;
}

std::string SafeFileBatch::ResolveMissing(const std::string& native) {
  const std::string folder = PathPart(native, kPartFolder);
  const std::string name = PathPart(native, kPartFileName);
  const bool locked =
      std::find(lockedFolders_.begin(), lockedFolders_.end(), folder) != lockedFolders_.end();
  if (!locked || folder.empty() || name.empty() || name == "." || name == "..") {
    return SaveTargetFor(native);
  }
  auto facts = std::find_if(folders_.begin(), folders_.end(),
                            [&folder](const FolderFacts& f) { return f.given == folder; });
  if (facts == folders_.end()) {
    const auto found = FindFileNoCase(folder);
    if (!found) return native;
    FolderFacts listed;
    listed.given = folder;
    listed.resolved = WithTrailingSeparator(*found);
    std::error_code ec;
    for (fs::directory_iterator it(FsPath(listed.resolved), ec), last; !ec && it != last;
         it.increment(ec)) {
      listed.names.push_back(FsName(it->path().filename()));
    }
    if (ec) return SaveTargetFor(native);
    std::sort(listed.names.begin(), listed.names.end());
    folders_.push_back(std::move(listed));
    facts = folders_.end() - 1;
  }
  // The same choice as FindFileNoCase: the exact name, else the first by
  // byte order of the names that differ only in case.
  if (std::binary_search(facts->names.begin(), facts->names.end(), name)) {
    return facts->resolved + name;
  }
  for (const std::string& entry : facts->names) {
    if (EqualsNoCase(entry, name)) return facts->resolved + entry;
  }
  return facts->resolved + name;
}

bool SafeFileBatch::Examine(std::string_view target, TargetState& state) {
#ifdef _WIN32
  return ExamineTarget(target, state, error_);
#else
  const std::string native = NativeSeparators(std::string(target));
  if (native.empty() || IsSeparator(native.back())) return ExamineTarget(target, state, error_);
  // One look at the name itself tells a plain file (or none) from a link:
  // only links take the longer way through ExamineTarget.
  FileStat seen{};
  std::string named = native;
  int rc = lstat(named.c_str(), &seen);
  if (rc != 0 && errno == ENOENT) {
    named = ResolveMissing(native);
    if (named != native) rc = lstat(named.c_str(), &seen);
  }
  if ((rc != 0 && errno != ENOENT) || (rc == 0 && S_ISLNK(seen.st_mode))) {
    return ExamineTarget(target, state, error_);
  }
  state.named = named;
  state.path = named;
  state.exists = rc == 0;
  if (state.exists) {
    if (IsDirectory(seen)) return Fail(error_, EISDIR);
    if (!IsRegular(seen)) return Fail(error_, SpecialFileReason(seen));
    if (!MayReplace(state.path, seen, error_)) return false;
    state.old = seen;
  }
  // The folder's lock keeps other saves out, so a folder found writable
  // stays so for the batch.
  const std::string folder = PathPart(state.path, kPartFolder);
  if (std::find(checkedFolders_.begin(), checkedFolders_.end(), folder) != checkedFolders_.end()) {
    return true;
  }
  if (!MayWriteInFolder(state.path, error_)) return false;
  if (std::find(lockedFolders_.begin(), lockedFolders_.end(), folder) != lockedFolders_.end()) {
    checkedFolders_.push_back(folder);
  }
  return true;
#endif
}

bool SafeFileBatch::Recheck(const Entry& e, bool& exists) {
#ifndef _WIN32
  // A name that was no link when added needs one look: still no link, and
  // a file that may be replaced or none.
  if (e.target == e.path) {
    FileStat seen{};
    if (lstat(e.path.c_str(), &seen) != 0) {
      if (errno != ENOENT) return Fail(error_, errno);
      exists = false;
      return true;
    }
    if (S_ISLNK(seen.st_mode)) return Fail(error_, "The file's link changed during the save");
    if (IsDirectory(seen)) return Fail(error_, EISDIR);
    if (!IsRegular(seen)) return Fail(error_, SpecialFileReason(seen));
    if (seen.st_nlink > 1) return MayReplace(e.path, seen, error_);  // says why not
    exists = true;
    return true;
  }
#endif
  TargetState state;
  if (!ExamineTarget(e.target, state, error_)) return false;
  if (state.path != e.path) return Fail(error_, "The file's link changed during the save");
  exists = state.exists;
  return true;
}

bool SafeFileBatch::Add(std::string_view target, const void* data, size_t size) {
  return Add(target, std::vector<ByteSpan>{{data, size}});
}

bool SafeFileBatch::Add(std::string_view target, const std::vector<ByteSpan>& pieces) {
  TargetState state;
  Entry e;
  std::string note;
  if (Examine(target, state) && LockFolderOf(state.named) && LockFolderOf(state.path)) {
    e.fd = WriteTemporary(state, pieces, e.temporary, e.inFlight, error_, note);
  }
  if (e.fd < 0) {
    failedTarget_ = std::string(target);
    return false;
  }
  if (!note.empty()) notes_ += (notes_.empty() ? "" : "\n") + note;
  e.newId = FileIdentity(e.fd);
  e.target = state.named;
  e.path = state.path;
  entries_.push_back(std::move(e));
  return true;
}

bool SafeFileBatch::Remove(std::string_view path) {
  const std::string native = NativeSeparators(std::string(path));
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(FsPath(native), ec);
  if (status.type() == fs::file_type::not_found) return true;
  if (ec || fs::is_directory(status)) {
    failedTarget_ = native;
    error_ = ec ? ec.message() : std::strerror(EISDIR);
    return false;
  }
  if (!LockFolderOf(native)) {
    failedTarget_ = native;
    return false;
  }
  Entry e;
  e.target = native;
  e.path = native;
  e.removal = true;
  entries_.push_back(std::move(e));
  return true;
}

bool SafeFileBatch::PutInPlace(Entry& e) {
  const std::string folder = PathPart(e.path, kPartFolder);
  if (e.removal) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(FsPath(e.path), ec))) return true;
    e.backup = e.spare.empty() ? TemporaryNameIn(folder) : e.spare;
    if (std::error_code renamed = RenameName(e.path, e.backup)) {
      e.backup.clear();
      return Fail(error_, renamed);
    }
    e.done = true;
    return true;
  }
  // The place may have changed since Add: it is checked again.
  bool exists = false;
  if (!Recheck(e, exists)) return false;
  if (!exists) {
    if (std::error_code ec = RenameName(e.temporary, e.path)) return Fail(error_, ec);
    e.created = true;
  } else if (std::error_code ec = ExchangeNames(e.temporary, e.path); !ec) {
    e.backup = e.temporary;
  } else if (CannotExchange(ec)) {
    // A file system that cannot swap names: the old file is kept under a
    // second name first, so the target still never goes missing.
    const std::string backup = e.spare.empty() ? TemporaryNameIn(folder) : e.spare;
    ec = KeepBackup(e.path, backup);
    if (!ec) ec = RenameName(e.temporary, e.path);
    if (ec) {
      std::remove(backup.c_str());
      return Fail(error_, ec);
    }
    e.backup = backup;
  } else {
    return Fail(error_, ec);
  }
  e.temporary.clear();
  e.done = true;
  return true;
}

void SafeFileBatch::RollBack(size_t count) {
  for (size_t k = count; k-- > 0;) {
    Entry& e = entries_[k];
    if (!e.done) continue;
    if (e.created) {
      std::remove(e.path.c_str());
    } else if (std::error_code ec = RenameName(e.backup, e.path)) {
      // Never lose the old content: it stays where it waited.
      error_ += Format("\n[%s] could not be put back (%s): its old content is in [%s]",
                       e.path.c_str(), ec.message().c_str(), e.backup.c_str());
    }
    e.backup.clear();
    e.done = false;
  }
}

bool SafeFileBatch::PutAllInPlace() {
  for (size_t i = 0; i < entries_.size(); ++i) {
    CallCommitStepHook(int(i));
    if (!PutInPlace(entries_[i])) {
      failedTarget_ = entries_[i].target;
      RollBack(i);
      RemoveTemporaries();
      return false;
    }
  }
  for (Entry& e : entries_) {
    if (!e.backup.empty()) std::remove(e.backup.c_str());
    e.backup.clear();
    e.inFlight.Release();
  }
  return true;
}

bool SafeFileBatch::Commit() {
  // The locks go with the commit, whatever its outcome.
  struct LetGo {
    SafeFileBatch& batch;
    ~LetGo() {
      batch.locks_.clear();
      batch.lockedFolders_.clear();
      batch.checkedFolders_.clear();
      batch.folders_.clear();
    }
  } letGo{*this};
  // Every new file is written out before any old one is touched.
  for (Entry& e : entries_) {
    if (e.fd < 0) continue;
    bool ok = durability_ == Durability::kToSystem || SyncFile(e.fd);
    int err = errno;
    if (CloseFile(e.fd) != 0 && ok) {
      ok = false;
      err = errno;
    }
    e.fd = -1;
    if (!ok) {
      failedTarget_ = e.target;
      RemoveTemporaries();
      return Fail(error_, err);
    }
  }
  std::vector<std::string> folders;
  for (const Entry& e : entries_) {
    const std::string folder = PathPart(e.path, kPartFolder);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  }
  const bool toDisk = durability_ == Durability::kToDisk;
#ifdef _WIN32
  const bool journaled = false;  // file identities are not at hand there yet
#else
  const bool journaled = !journal_.empty() || entries_.size() > 1;
#endif
  bool ok = true;
  if (!journaled) {
    ok = PutAllInPlace();
  } else {
    if (journal_.empty()) {
      journal_ = PathPart(entries_[0].target, kPartFolder) + ".~" +
                 PathPart(entries_[0].target, kPartFileName) + ".journal";
      if (!LockFolderOf(journal_)) {
        failedTarget_ = journal_;
        RemoveTemporaries();
        return false;
      }
    }
    std::vector<JournalEntry> journal;
    for (Entry& e : entries_) {
      JournalEntry j;
      j.path = e.path;
      j.oldId = FileIdentity(e.path);
      if (e.removal) {
        j.kind = 'D';
      } else {
        j.kind = j.oldId == 0 ? 'C' : 'R';
        j.temporary = e.temporary;
        j.newId = e.newId;
      }
      if (j.kind != 'C') e.spare = j.spare = TemporaryNameIn(PathPart(e.path, kPartFolder));
      journal.push_back(std::move(j));
    }
    // From the journal on, an interrupted commit is the next run's to finish:
    // a signal waits until the set is whole, and kills leave every name the
    // journal lists where it is.
    SignalsHeld signalsHeld;
    for (Entry& e : entries_) e.inFlight.Release();
    std::string reason;
    if (!WriteJournal(journal_, journal, toDisk, reason)) {
      failedTarget_ = journal_;
      RemoveTemporaries();
      return Fail(error_, reason);
    }
    ok = PutAllInPlace();
    for (const std::string& folder : folders) {
      if (ok && toDisk) SyncFolder(folder);
    }
    CallCommitStepHook(int(entries_.size()));
    // A failed roll back keeps the journal: the next run puts the old files back.
    if (ok || error_.find("could not be put back") == std::string::npos) {
      std::remove(journal_.c_str());
    }
    if (ok) ReportSaveNote(notes_);
    return ok;
  }
  if (ok && toDisk) {
    for (const std::string& folder : folders) SyncFolder(folder);
  }
  if (ok) ReportSaveNote(notes_);
  return ok;
}

std::vector<std::string> SafeFileBatch::targets() const {
  std::vector<std::string> result;
  for (const Entry& e : entries_) {
    if (!e.removal) result.push_back(e.target);
  }
  return result;
}

}  // namespace maptesk
