// A scratch folder per test, removed afterwards, and small file helpers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/util/fs_path.h"

namespace maptesk::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("maptesk-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  /// The folder with a trailing separator. Names are written with '/' in
  /// the tests and come out with the system's own separator, as the program
  /// writes paths back.
  std::string str() const { return FsName((path_ / "").make_preferred()); }
  std::string operator/(const std::string& name) const {
    return FsName((path_ / FsPath(name)).make_preferred());
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(FsPath(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(FsPath(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
}

/// Files in a folder (names only), to check nothing was left behind.
inline std::vector<std::string> ListFolder(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(FsName(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace maptesk::testing
