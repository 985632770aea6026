// A tiny file system that the test fills up, to see saves fail on a full
// disk. Mounting needs root; without it the test is skipped with a message.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace maptesk::testing {

class FullDisk {
 public:
  /// Mounts a tmpfs of `kilobytes` on a fresh folder; mounted() tells.
  explicit FullDisk(int kilobytes = 128) {
#ifdef __linux__
    std::string command = "mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k tmpfs '" +
                          dir_.path().string() + "' 2>/dev/null";
    mounted_ = std::system(command.c_str()) == 0;
#else
    (void)kilobytes;
#endif
  }
  ~FullDisk() {
    if (mounted_) std::system(("umount '" + dir_.path().string() + "' 2>/dev/null").c_str());
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

  bool mounted() const { return mounted_; }
  std::string str() const { return dir_.str(); }
  std::string operator/(const std::string& name) const { return dir_ / name; }

  /// Fills the file system to the last byte.
  void Fill() {
    std::FILE* f = std::fopen((dir_ / "filler").c_str(), "wb");
    if (!f) return;
    std::vector<char> block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size()) {
    }
    // The last partial block: byte by byte until nothing more fits.
    while (std::fputc('x', f) != EOF && std::fflush(f) == 0) {
    }
    std::fclose(f);
  }
  /// Makes the file system read-only: nothing, not even root, can write.
  bool MakeReadOnly() {
    return mounted_ &&
           std::system(
               ("mount -o remount,ro '" + dir_.path().string() + "' 2>/dev/null").c_str()) == 0;
  }
  /// Folder contents other than the filler.
  std::vector<std::string> Files() const {
    std::vector<std::string> names = ListFolder(dir_.path());
    std::erase(names, "filler");
    return names;
  }

 private:
  TempDir dir_;
  bool mounted_ = false;
};

#define MAPTESK_REQUIRE_FULL_DISK(disk)                                             \
  if (!(disk).mounted()) {                                                          \
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): full-disk case " \
                    "not run";                                                      \
  }

}  // namespace maptesk::testing
