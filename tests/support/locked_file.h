// A file the test process may not write, whoever runs the tests: an ordinary
// user loses its write bits; root, whom those do not stop, sets the immutable
// attribute where the file system has one. A test skips itself when neither
// works.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace maptesk::testing {

class LockedFile {
 public:
  explicit LockedFile(std::string path) : path_(std::move(path)) {
#ifndef _WIN32
    if (geteuid() == 0) {
      immutable_ = std::system(("chattr +i '" + path_ + "' 2>/dev/null").c_str()) == 0;
      locked_ = immutable_;
      return;
    }
#endif
    std::error_code ec;
    namespace fs = std::filesystem;
    fs::permissions(path_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove, ec);
    locked_ = !ec;
  }
  ~LockedFile() {
    if (immutable_) std::system(("chattr -i '" + path_ + "' 2>/dev/null").c_str());
  }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  bool locked() const { return locked_; }
  /// Even its name cannot be removed or replaced (root only).
  bool immutable() const { return immutable_; }
  /// The system's reason when a save is refused.
  std::string reason() const { return std::strerror(immutable_ ? EPERM : EACCES); }

 private:
  std::string path_;
  bool locked_ = false;
  bool immutable_ = false;
};

#define MAPTESK_REQUIRE_LOCKED(file)                                                  \
  if (!(file).locked()) {                                                             \
    GTEST_SKIP() << "cannot make a file unwritable here (root without chattr): case " \
                    "not run";                                                        \
  }

}  // namespace maptesk::testing
