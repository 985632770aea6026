// maptesk-cli without the GUI: it links no Qt GUI library, loads none while
// it works, and hands "render" to maptesk-render in its own folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::ReadText;
using testing::RunCommandLine;
using testing::ShellQuote;
using testing::TempDir;

#ifdef _WIN32
constexpr char kExe[] = ".exe";
#else
constexpr char kExe[] = "";
#endif

// Output and status of a shell command line.
int Capture(const std::string& command, std::string& out) {
  out.clear();
  FILE* pipe = MAPTESK_POPEN(command.c_str(), "r");
  if (!pipe) return -1;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  return MAPTESK_PCLOSE(pipe);
}

// The Qt libraries that draw: a command other than render must not need them.
[[maybe_unused]] void ExpectNoGuiLibrary(const std::string& text, const std::string& what) {
  for (const char* library : {"libQt6Gui", "libQt6Widgets", "libQt6OpenGL", "libxcb"}) {
    EXPECT_EQ(text.find(library), std::string::npos) << what << " names " << library;
  }
}

#ifdef __linux__
// Linked fully static, the tool loads no library at all (the static C
// library would warn at link time of any dlopen), so there is nothing for
// the loader to list.
bool LinkedStatic() {
  std::string out;
  Capture("ldd " + ShellQuote(MAPTESK_CLI) + " 2>&1", out);
  return out.find("not a dynamic executable") != std::string::npos;
}

TEST(CliWithoutGui, LinksNoQtGuiLibrary) {
  std::string out;
  const int status = Capture("ldd " + ShellQuote(MAPTESK_CLI) + " 2>&1", out);
  if (LinkedStatic()) return;
  if (status != 0) GTEST_SKIP() << "ldd cannot read maptesk-cli: " << out;
  ASSERT_NE(out.find("libc.so"), std::string::npos) << out;
  ExpectNoGuiLibrary(out, "ldd maptesk-cli");
}

TEST(CliWithoutGui, LoadsNoQtGuiLibraryWhileItWorks) {
  TempDir dir;
  const bool linkedStatic = LinkedStatic();
  ASSERT_EQ(RunCommandLine(ShellQuote(MAPTESK_CLI) + " sample " + ShellQuote(dir / "game") +
                           " >/dev/null"),
            0);
  // The dynamic loader names every library it opens, dlopen()ed plugins too.
  const std::string commands[] = {
      "info " + ShellQuote(dir / "game/SCENARIO/ARDEN.MAP"),
      "check " + ShellQuote(dir / "game/SCENARIO/ARDEN.MAP"),
      "picture " + ShellQuote(dir / "game/MAP/MAP0500.s16") + " " + ShellQuote(dir / "m.bmp"),
      "tiles bmp " + ShellQuote(dir / "m.bmp") + " " + ShellQuote(dir / "T"),
  };
  for (const std::string& command : commands) {
    ASSERT_EQ(RunCommandLine("LD_DEBUG=libs " + ShellQuote(MAPTESK_CLI) + " " + command +
                             " >/dev/null 2>" + ShellQuote(dir / "loader.txt")),
              0)
        << command;
    if (linkedStatic) continue;
    const std::string log = ReadText(dir / "loader.txt");
    ASSERT_NE(log.find("libc.so"), std::string::npos) << "no loader log for " << command;
    ExpectNoGuiLibrary(log, command);
  }
}
#endif

TEST(CliRenderLaunch, SaysWhereTheRendererWouldBeWhenItIsMissing) {
  TempDir dir;
  // A copy of the tool alone in a folder: nothing beside it to run.
  const std::filesystem::path cli = dir.path() / (std::string("maptesk-cli") + kExe);
  std::filesystem::copy_file(MAPTESK_CLI, cli);
  // The folder as the system names the running program: on Linux the
  // canonical path, elsewhere at least the folder's own name.
#ifdef __linux__
  const std::string where =
      (std::filesystem::canonical(dir.path()) / (std::string("maptesk-render") + kExe)).string();
#else
  const std::string where = std::string("maptesk-render") + kExe;
#endif
  for (const char* args : {" render a.MAP b.png --grid", " render"}) {
    EXPECT_EQ(RunCommandLine(ShellQuote(cli.string()) + args + std::string(" >") +
                             ShellQuote(dir / "out") + " 2>" + ShellQuote(dir / "err")),
              1)
        << args;
    const std::string err = ReadText(dir / "err");
    EXPECT_EQ(err.rfind("maptesk-render not found beside maptesk-cli (", 0), 0u) << err;
    EXPECT_NE(err.find(where + "): "), std::string::npos) << err;
    EXPECT_NE(err.find(dir.path().filename().string()), std::string::npos) << err;
    EXPECT_EQ(ReadText(dir / "out"), "");
  }
  // The command stays in the list, with where it runs from.
  std::string out;
  Capture(ShellQuote(cli.string()) + " --help", out);
  EXPECT_NE(out.find("render MAP OUT.png"), std::string::npos) << out;
  EXPECT_NE(out.find("maptesk-render"), std::string::npos) << out;
}

}  // namespace
}  // namespace maptesk
