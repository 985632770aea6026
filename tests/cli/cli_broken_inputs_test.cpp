// Every broken input given to maptesk-cli as a map, as a names file and as a
// picture: a message or a skip, exit status 0 or 1, never a crash, and no
// header may make it reserve more than 2 GB of address space.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_cli.h"
#include "support/temp_dir.h"

#if defined(__SANITIZE_ADDRESS__)
#define MAPTESK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MAPTESK_ASAN 1
#endif
#endif

namespace maptesk {
namespace {

namespace fs = std::filesystem;

struct LimitedRun {
  int status;
  std::string err;
};

// Runs the tool under a 2 GB address-space limit (not under AddressSanitizer,
// whose shadow memory needs far more address space than it uses).
LimitedRun RunLimited(const std::vector<std::string>& args, const testing::TempDir& scratch) {
  std::string command;
#if !defined(MAPTESK_ASAN) && !defined(_WIN32)
  command = "ulimit -v 2097152; ";
#endif
  command += testing::ShellQuote(MAPTESK_CLI);
  for (const std::string& a : args) command += " " + testing::ShellQuote(a);
  command += " >/dev/null 2>" + testing::ShellQuote(scratch / "err");
  int raw = std::system(command.c_str());
  LimitedRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw),
               testing::ReadText(scratch / "err")};
  return r;
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

    // As a map: the tool reads NAME.MAP, so give it that name.
    const std::string asMap = game / ("SCENARIO/" + entry.path().stem().string() + "_x.MAP");
    fs::copy_file(file, asMap, fs::copy_options::overwrite_existing);
    LimitedRun map = RunLimited({"info", asMap}, game);
    EXPECT_TRUE(map.status == 0 || map.status == 1) << map.status << "\n" << map.err;
    LimitedRun save = RunLimited({"save", asMap, game / "SCENARIO/out.MAP"}, game);
    EXPECT_TRUE(save.status == 0 || save.status == 1) << save.status << "\n" << save.err;

    LimitedRun names = RunLimited({"names", game / "SCENARIO/Good.MAP", "--names", file}, game);
    EXPECT_TRUE(names.status == 0 || names.status == 1) << names.status << "\n" << names.err;

    LimitedRun picture = RunLimited({"picture", file, game / "out.bmp"}, game);
    EXPECT_TRUE(picture.status == 0 || picture.status == 1) << picture.status << "\n"
                                                            << picture.err;
    // A picture that was refused says why.
    if (picture.status == 1) {
      EXPECT_FALSE(picture.err.empty());
    }
  }
  EXPECT_GT(files, 30);
}

}  // namespace
}  // namespace maptesk
