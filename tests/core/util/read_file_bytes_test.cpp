// Whole-file reads: what ReadFileBytes and OpenFileForReading give for each
// kind of thing a path can name.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "core/util/file_io.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace maptesk {
namespace {

using testing::TempDir;
using testing::WriteBytes;

#ifndef _WIN32
// A reader that opened a FIFO without a writer would wait for ever here.
TEST(ReadFileBytes, FoldersFifosAndDevicesAreRefusedBeforeOpening) {
  TempDir dir;
  WriteBytes(dir / "Plain.TXT", {'a', 'b'});
  std::filesystem::create_directory(dir / "folder");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink(dir / "fifo", dir / "link-to-fifo");
  std::filesystem::create_symlink("/dev/null", dir / "null");
  const struct {
    const char* name;
    ReadStatus status;
    const char* kind;
  } cases[] = {
      {"Plain.TXT", ReadStatus::kOk, nullptr},
      {"plain.txt", ReadStatus::kOk, nullptr},
      {"missing", ReadStatus::kNotFound, nullptr},
      {"folder", ReadStatus::kNotAFile, "a folder"},
      {"fifo", ReadStatus::kNotAFile, "a FIFO"},
      {"FIFO", ReadStatus::kNotAFile, "a FIFO"},
      {"link-to-fifo", ReadStatus::kNotAFile, "a FIFO"},
      {"null", ReadStatus::kNotAFile, "a device"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> data;
    EXPECT_EQ(ReadFileBytes(dir / c.name, data, 100), c.status);
    EXPECT_EQ(data.size(), c.status == ReadStatus::kOk ? 2u : 0u);
    ReadStatus status = ReadStatus::kOk;
    uint64_t size = 99;
    std::FILE* f = OpenFileForReading(dir / c.name, status, &size);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(f != nullptr, c.status == ReadStatus::kOk);
    if (f) {
      EXPECT_EQ(size, 2u);
      EXPECT_EQ(std::fgetc(f), 'a');
      std::fclose(f);
    }
    if (c.kind) {
      EXPECT_EQ(NotAFileKind(dir / c.name), c.kind);
    }
  }
}
#endif

}  // namespace
}  // namespace maptesk
