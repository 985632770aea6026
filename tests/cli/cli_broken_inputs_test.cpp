// Every broken input given to maptesk-cli as a map, as a names file and as a
// picture: a message or a skip, exit status 0 or 1, never a crash or a hang,
// and no file under 1 MB may make a command take more than 200 MB of address
// space beyond what the tool takes to start.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/picture_files.h"
#include "support/run_cli_limited.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>

namespace maptesk {
namespace {

namespace fs = std::filesystem;
using testing::kUnderAsan;

constexpr uint64_t kMegabyte = uint64_t(1) << 20;

// The limit the hostile files are run under: the tool's own start-up plus
// 200 MB; none under AddressSanitizer.
uint64_t CommandLimit() {
  return kUnderAsan ? 0 : testing::CliBaselineAddressSpace() + 200 * kMegabyte;
}

testing::LimitedRun RunLimited(const std::vector<std::string>& args,
                               const testing::TempDir& scratch) {
  return testing::RunCliLimited(args, scratch, CommandLimit());
}

TEST(CliBrokenInputs, EveryFileAsMapNamesAndPicture) {
  testing::TempDir game;
  fs::create_directories(game.path() / "SCENARIO");
  fs::create_directories(game.path() / "MAP");
  // A good map to read names and pictures against.
  testing::WriteBytes(game / "SCENARIO/Good.MAP", std::vector<uint8_t>(14371, 0));

  int files = 0;
  for (const auto& entry : fs::directory_iterator(std::string(MAPTESK_TEST_DATA) + "/broken")) {
    const std::string file = entry.path().string();
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".py") continue;
    ++files;
    SCOPED_TRACE(name);
    ASSERT_LT(fs::file_size(entry.path()), kMegabyte);

    // As a map: the tool reads NAME.MAP, so give it that name.
    const std::string asMap = game / ("SCENARIO/" + entry.path().stem().string() + "_x.MAP");
    fs::copy_file(file, asMap, fs::copy_options::overwrite_existing);
    testing::LimitedRun map = RunLimited({"info", asMap}, game);
    EXPECT_TRUE(map.status == 0 || map.status == 1) << map.status << "\n" << map.err;
    testing::LimitedRun save = RunLimited({"save", asMap, game / "SCENARIO/out.MAP"}, game);
    EXPECT_TRUE(save.status == 0 || save.status == 1) << save.status << "\n" << save.err;

    testing::LimitedRun names =
        RunLimited({"names", game / "SCENARIO/Good.MAP", "--names", file}, game);
    EXPECT_TRUE(names.status == 0 || names.status == 1) << names.status << "\n" << names.err;

    // A picture that was refused says why.
    for (const char* command : {"picture", "tiles bmp", "tiles s16"}) {
      SCOPED_TRACE(command);
      std::vector<std::string> args =
          command[0] == 'p' ? std::vector<std::string>{"picture", file, game / "out.bmp"}
                            : std::vector<std::string>{"tiles", command + 6, file, game / "T"};
      testing::LimitedRun picture = RunLimited(args, game);
      EXPECT_TRUE(picture.status == 0 || picture.status == 1) << picture.status << "\n"
                                                              << picture.err;
      if (picture.status == 1) {
        EXPECT_FALSE(picture.err.empty());
      }
    }
  }
  EXPECT_GT(files, 30);
}

// A BMP whose pixels the file holds in full, as zeros (a sparse file).
void WriteHeldBmp(const std::string& path, int width, int height, uint16_t bitCount) {
  const std::vector<uint8_t> head =
      testing::BmpFile({.width = width,
                        .height = height,
                        .bitCount = bitCount,
                        .colours = std::vector<uint32_t>(size_t(1) << bitCount, 0x808080)});
  testing::WriteBytes(path, head);
  const uint64_t rowBytes = 4 * ((uint64_t(width) * bitCount + 31) / 32);
  fs::resize_file(path, head.size() + rowBytes * uint64_t(height));
}

TEST(CliBrokenInputs, HostileFilesAreRefusedOrReadWithinTheLimit) {
  if (kUnderAsan) GTEST_SKIP() << "no address-space limit can be set under AddressSanitizer";
  ASSERT_NE(testing::CliBaselineAddressSpace(), 0u);
  testing::TempDir game;
  fs::create_directories(game.path() / "SCENARIO");
  testing::WriteBytes(game / "SCENARIO/Good.MAP", std::vector<uint8_t>(14371, 0));
  testing::WriteText(game / "lf.TXT", std::string(kMegabyte - 1, '\n'));
  std::string crlf;
  while (crlf.size() + 2 < kMegabyte) crlf += "\r\n";
  testing::WriteText(game / "crlf.TXT", crlf);
  // Larger than 1 MB, as it holds its pixels; its 24-bit copy would take
  // 400 MB, though it is too wide to be cut into tiles anyway.
  WriteHeldBmp(game / "wide.bmp", 16384, 8192, 1);

  const std::string broken = std::string(MAPTESK_TEST_DATA) + "/broken/";
  const std::string good = game / "SCENARIO/Good.MAP";
  const std::string claims = "claims 16384 x 16384 pixels";
  const struct {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {"1-bit claim as BMP tiles",
       {"tiles", "bmp", broken + "claims_16384_1bit.bmp", game / "T"},
       1,
       claims},
      {"1-bit claim as S16 tiles",
       {"tiles", "s16", broken + "claims_16384_1bit.bmp", game / "T"},
       1,
       claims},
      {"8-bit claim as a picture",
       {"picture", broken + "claims_16384_8bit.bmp", game / "out.bmp"},
       1,
       claims},
      {"8-bit claim as S16 tiles",
       {"tiles", "s16", broken + "claims_16384_8bit.bmp", game / "T"},
       1,
       claims},
      {"line feeds only", {"names", good, "--names", game / "lf.TXT"}, 0, ""},
      {"carriage returns and line feeds only",
       {"names", good, "--names", game / "crlf.TXT"},
       0,
       ""},
      {"oversized S16 headers", {"tiles", "bmp", broken + "BIGS0000.s16", game / "B"}, 0, ""},
      {"oversized SHP headers", {"tiles", "s16", broken + "BIGSHP00.shp", game / "MAP01"}, 0, ""},
      {"too wide to name its tiles",
       {"tiles", "s16", game / "wide.bmp", game / "W"},
       1,
       "too large to be cut into tiles"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::LimitedRun run = RunLimited(c.args, game);
    EXPECT_EQ(run.status, c.status) << run.err;
    if (!c.message.empty()) {
      EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
  }
}

TEST(CliBrokenInputs, RunningOutOfMemoryIsAMessageNotAnAbort) {
  if (kUnderAsan) GTEST_SKIP() << "no address-space limit can be set under AddressSanitizer";
  ASSERT_NE(testing::CliBaselineAddressSpace(), 0u);
  testing::TempDir game;
  // A true 64 MB picture, read under a limit of 32 MB beyond start-up.
  WriteHeldBmp(game / "big.bmp", 8192, 8192, 8);
  testing::LimitedRun run =
      testing::RunCliLimited({"picture", game / "big.bmp", game / "out.bmp"}, game,
                             testing::CliBaselineAddressSpace() + 32 * kMegabyte);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "Not enough memory to finish the picture command\n");
  EXPECT_FALSE(fs::exists(game / "out.bmp"));
}

// A run that waits on a FIFO is killed by the watchdog and fails here with
// 128 + SIGALRM rather than hanging the suite.
TEST(CliBrokenInputs, FoldersFifosAndDevicesFailAtOnce) {
  testing::TempDir game;
  fs::create_directories(game.path() / "SCENARIO");
  testing::WriteBytes(game / "SCENARIO/Good.MAP", std::vector<uint8_t>(14371, 0));
  for (const char* fifo : {"fifo.MAP", "fifo.TXT", "fifo.bmp", "FIFO0000.s16", "FIFSHP00.shp"}) {
    ASSERT_EQ(mkfifo((game / fifo).c_str(), 0600), 0) << fifo;
  }
  for (const char* folder : {"folder.MAP", "folder.TXT", "folder.bmp"}) {
    fs::create_directory(game / folder);
  }
  fs::create_symlink("/dev/zero", game / "zero.MAP");
  fs::create_symlink("/dev/zero", game / "zero.TXT");
  fs::create_symlink("/dev/null", game / "null.bmp");

  const std::string good = game / "SCENARIO/Good.MAP";
  auto map = [&](const char* name, const char* kind) {
    return "Map file [" + (game / name) + "]\nis " + kind + ", not a map file\n";
  };
  auto names = [&](const char* name, const char* kind) {
    return "[" + (game / name) + "]\nis " + kind + ", not a names file\n";
  };
  auto picture = [&](const char* name, const char* kind) {
    return (game / name) + " is " + kind + ", not a picture file\n";
  };
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"info", game / "fifo.MAP"}, map("fifo.MAP", "a FIFO")},
      {{"info", game / "folder.MAP"}, map("folder.MAP", "a folder")},
      {{"save", game / "zero.MAP", game / "out.MAP"}, map("zero.MAP", "a device")},
      {{"names", good, "--names", game / "fifo.TXT"}, names("fifo.TXT", "a FIFO")},
      {{"names", good, "--names", game / "folder.TXT"}, names("folder.TXT", "a folder")},
      {{"names", good, "--names", game / "zero.TXT"}, names("zero.TXT", "a device")},
      {{"picture", game / "fifo.bmp", game / "out.bmp"}, picture("fifo.bmp", "a FIFO")},
      {{"tiles", "bmp", game / "FIFO0000.s16", game / "T"}, picture("FIFO0000.s16", "a FIFO")},
      {{"tiles", "s16", game / "FIFSHP00.shp", game / "T"}, picture("FIFSHP00.shp", "a FIFO")},
      {{"picture", game / "folder.bmp", game / "out.bmp"}, picture("folder.bmp", "a folder")},
      {{"picture", game / "null.bmp", game / "out.bmp"}, picture("null.bmp", "a device")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    testing::LimitedRun run = testing::RunCliLimited(c.args, game, 0);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }

  // A map whose own names file and picture are FIFOs is still shown.
  testing::TempDir other;
  fs::create_directories(other.path() / "SCENARIO");
  fs::create_directories(other.path() / "MAP");
  testing::WriteBytes(other / "SCENARIO/Good.MAP", std::vector<uint8_t>(14371, 0));
  ASSERT_EQ(mkfifo((other / "MAP/MAP000.TXT").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((other / "MAP/MAP0000.s16").c_str(), 0600), 0);
  testing::LimitedRun info =
      testing::RunCliLimited({"info", other / "SCENARIO/Good.MAP"}, other, 0);
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.err.find("is a FIFO, not a names file"), std::string::npos) << info.err;
  EXPECT_NE(info.err.find("is a FIFO, not a picture file"), std::string::npos) << info.err;
}

}  // namespace
}  // namespace maptesk

#endif  // _WIN32
