#include "core/util/path_utils.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "core/util/fs_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace maptesk {
namespace fs = std::filesystem;

namespace {

std::string& ProgramFolderStorage() {
  static std::string folder;
  return folder;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

size_t DriveLength(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    return 2;
  }
  return 0;
}

// The part of a path no folder listing names: a drive ("C:"), or the server
// and share of a network path ("\\\\srv\\share"); the separators after it
// are taken by the caller.
size_t RootLength(std::string_view path) {
#ifdef _WIN32
  if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2])) {
    size_t end = 2;
    for (int piece = 0; piece < 2; ++piece) {
      while (end < path.size() && IsSeparator(path[end])) ++end;
      while (end < path.size() && !IsSeparator(path[end])) ++end;
    }
    return end;
  }
#endif
  return DriveLength(path);
}

}  // namespace

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

PathPieces SplitPath(std::string_view path) {
  PathPieces pieces;
  size_t lastSep = std::string_view::npos;
  for (size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) {
      lastSep = i - 1;
      break;
    }
  }
  size_t nameStart = lastSep == std::string_view::npos ? DriveLength(path) : lastSep + 1;
  pieces.folder = std::string(path.substr(0, nameStart));
  std::string_view file = path.substr(nameStart);
  size_t dot = file.rfind('.');
  if (dot == std::string_view::npos) {
    pieces.name = std::string(file);
  } else {
    pieces.name = std::string(file.substr(0, dot));
    pieces.extension = std::string(file.substr(dot));
  }
  return pieces;
}

std::string PathPart(std::string_view path, int part) {
  if (path.empty() || part == kPartNone) return {};
  PathPieces p = SplitPath(path);
  switch (part) {
    case kPartFolder: return p.folder;
    case kPartName: return p.name;
    case kPartExtension: return p.extension;
    case kPartFileName: return p.name + p.extension;
    case kPartWithoutExtension: return p.folder + p.name;
    default: return std::string(path);
  }
}

std::string ParentFolder(std::string_view path) {
  std::string folder(path);
  if (folder.empty()) return {};
  if (!IsSeparator(folder.back())) folder = PathPart(folder, kPartFolder);
  if (folder.empty()) return {};
  folder.pop_back();
  return PathPart(folder, kPartFolder);
}

std::string ProgramFolder() { return ProgramFolderStorage(); }

void SetProgramPath(std::string_view programPath) {
  std::error_code ec;
  fs::path p = fs::absolute(FsPath(NativeSeparators(std::string(programPath))), ec);
  std::string full = ec ? std::string(programPath) : FsName(p);
  ProgramFolderStorage() = PathPart(full, kPartFolder);
}

std::string WithTrailingSeparator(std::string folder) {
  if (!folder.empty() && !IsSeparator(folder.back())) folder.push_back(kPathSeparator);
  return folder;
}

std::string NativeSeparators(std::string path) {
  for (char& c : path) {
    if (IsSeparator(c)) c = kPathSeparator;
  }
  return path;
}

namespace {

// Whether the folder holds an entry of exactly this name: a dangling link
// counts, so that a name never stands for another file beside it.
[[maybe_unused]] bool EntryExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(FsPath(path), ec));
}

#ifdef _WIN32
// The name an existing entry has in its folder. The file system ignores
// case, so any spelling opens the entry; the one it is stored under is what
// is shown and written back.
std::optional<std::string> StoredName(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(path.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(h);
  return std::string(found.cFileName);
}
#endif

}  // namespace

std::optional<std::string> FindFileNoCase(std::string_view path) {
  if (path.empty()) return std::nullopt;
  std::string native = NativeSeparators(std::string(path));
#ifndef _WIN32
  if (EntryExists(native)) return native;
#endif

  // Walk the components, keeping those that exist as they are and looking the
  // others up in their folder by a case-blind comparison. Of several entries
  // that match, the first by byte order is taken, whatever order the folder
  // lists them in.
  std::error_code ec;
  size_t pos = RootLength(native);
  std::string resolved = native.substr(0, pos);
  while (pos < native.size() && IsSeparator(native[pos])) resolved.push_back(native[pos++]);
  while (pos < native.size()) {
    size_t end = pos;
    while (end < native.size() && !IsSeparator(native[end])) ++end;
    std::string component = native.substr(pos, end - pos);
    std::string candidate = resolved + component;
    if (component == "." || component == "..") {
      resolved = candidate;
#ifdef _WIN32
    } else if (HasWildcard(component)) {
      return std::nullopt;  // no name holds one, and the system would take it as a pattern
    } else if (auto stored = StoredName(candidate)) {
      resolved += *stored;
#else
    } else if (EntryExists(candidate)) {
      resolved = candidate;
#endif
    } else {
      fs::path folder = resolved.empty() ? fs::path(".") : FsPath(resolved);
      std::optional<std::string> match;
      for (fs::directory_iterator it(folder, ec), last; !ec && it != last; it.increment(ec)) {
        std::string entry = FsName(it->path().filename());
        if (EqualsNoCase(entry, component) && (!match || entry < *match)) match = entry;
      }
      if (!match) return std::nullopt;
      resolved += *match;
    }
    pos = end;
    while (pos < native.size() && IsSeparator(native[pos])) resolved.push_back(native[pos++]);
  }
  return resolved;
}

bool FileExists(std::string_view path) {
  // The entry the name stands for, through its links: a dangling link is
  // the name's entry, but no file.
  const auto found = FindFileNoCase(path);
  std::error_code ec;
  return found && fs::exists(FsPath(*found), ec);
}

std::string ResolveExisting(std::string_view path) {
  auto found = FindFileNoCase(path);
  return found ? *found : std::string(path);
}

long long TrailingNumber(std::string_view text, long long fallback) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  size_t start = text.size();
  while (start > 0 && std::isdigit(static_cast<unsigned char>(text[start - 1]))) --start;
  if (start == text.size()) return fallback;
  // A run of digits too long for the type keeps its last 18 digits: no overflow.
  if (text.size() - start > 18) start = text.size() - 18;
  long long value = 0;
  for (size_t i = start; i < text.size(); ++i) value = value * 10 + (text[i] - '0');
  return value;
}

std::string PadText(std::string_view text, int width, char fill, bool alignRight) {
  size_t w = width < 0 ? 0 : static_cast<size_t>(width);
  if (w <= text.size()) return std::string(text);
  std::string pad(w - text.size(), fill);
  return alignRight ? pad + std::string(text) : std::string(text) + pad;
}

std::string PadNumber(long long value, int width, char fill, bool alignRight) {
  return PadText(std::to_string(value), width, fill, alignRight);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

int CompareNoCase(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(LowerAscii(a[i]));
    unsigned char cb = static_cast<unsigned char>(LowerAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != text.npos; }

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  // Iterative matcher with one back-track point: linear in practice and no
  // recursion depth to worry about for long names.
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> FindFiles(std::string_view folder, std::string_view pattern) {
  std::vector<std::string> result;
  std::string base = WithTrailingSeparator(NativeSeparators(std::string(folder)));
  std::string resolvedFolder = base;
  if (!base.empty()) {
    auto found = FindFileNoCase(base);
    if (!found) return result;
    resolvedFolder = WithTrailingSeparator(*found);
  }
  std::error_code ec;
  fs::path dir = resolvedFolder.empty() ? fs::path(".") : FsPath(resolvedFolder);
  for (fs::directory_iterator it(dir, ec), last; !ec && it != last; it.increment(ec)) {
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc)) continue;
    std::string name = FsName(it->path().filename());
    if (WildcardMatch(pattern, name)) result.push_back(resolvedFolder + name);
  }
  std::sort(result.begin(), result.end());
  return result;
}

}  // namespace maptesk
