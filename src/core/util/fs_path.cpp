#include "core/util/fs_path.h"

#ifdef _WIN32
#include <windows.h>

#include "core/util/cp1252.h"
#endif

namespace maptesk {

#ifdef _WIN32

namespace {

// UTF-8 to UTF-16; false when the bytes are not UTF-8.
bool WideFromUtf8(std::string_view utf8, std::wstring& wide) {
  wide.clear();
  if (utf8.empty()) return true;
  const int length = static_cast<int>(utf8.size());
  const int count =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (count <= 0) return false;
  wide.resize(static_cast<size_t>(count));
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                             count) == count;
}

}  // namespace

std::filesystem::path FsPath(std::string_view name) {
  std::wstring wide;
  if (!WideFromUtf8(name, wide)) WideFromUtf8(Cp1252ToUtf8(name), wide);
  return std::filesystem::path(std::move(wide));
}

std::string FsName(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int count =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (count <= 0) return {};
  std::string utf8(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), count, nullptr, nullptr);
  return utf8;
}

#else

std::filesystem::path FsPath(std::string_view name) { return std::filesystem::path(name); }

std::string FsName(const std::filesystem::path& path) { return path.native(); }

#endif

}  // namespace maptesk
