// render: runs maptesk-render from this program's own folder with the same
// words. The frame needs Qt's GUI libraries; keeping them in a program of
// their own spares every other command the cost of loading them.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "core/util/path_utils.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace maptesk::cli {
namespace {

#ifdef _WIN32
constexpr char kRendererName[] = "maptesk-render.exe";
#else
constexpr char kRendererName[] = "maptesk-render";
#endif

// The folder of this very program: argv[0] may be a bare name found on PATH,
// so the system is asked first.
std::string OwnFolder() {
#ifdef _WIN32
  char path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, path, DWORD(sizeof path));
  if (n > 0 && n < sizeof path) return PathPart(std::string(path, n), kPartFolder);
#elif defined(__linux__)
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  if (n > 0 && size_t(n) < sizeof path) return PathPart(std::string(path, size_t(n)), kPartFolder);
#endif
  return ProgramFolder();
}

#ifdef _WIN32
// One argument as the C runtime of the started program splits it again:
// quoted when it holds a blank or a quote, with backslashes before a quote
// doubled.
std::string QuoteForCommandLine(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(2 * backslashes, '\\');
  return out + "\"";
}
#endif

std::string RendererPath() { return WithTrailingSeparator(OwnFolder()) + kRendererName; }

}  // namespace

int CmdRender(const Args& args) {
  const std::string renderer = RendererPath();
  if (!FileExists(renderer)) {
    std::fprintf(stderr,
                 "maptesk-render not found beside maptesk-cli (%s): the render command draws "
                 "with it; it is built with the editor's Qt parts and installed with it\n",
                 renderer.c_str());
    return kExitFailed;
  }
  std::fflush(stdout);
#ifdef _WIN32
  std::vector<std::string> quoted{QuoteForCommandLine(renderer)};
  for (const std::string& a : args) quoted.push_back(QuoteForCommandLine(a));
  std::vector<const char*> argv;
  for (const std::string& q : quoted) argv.push_back(q.c_str());
  argv.push_back(nullptr);
  const intptr_t status = _spawnv(_P_WAIT, renderer.c_str(), argv.data());
  if (status != -1) return int(status);
#else
  std::vector<char*> argv{const_cast<char*>(renderer.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(renderer.c_str(), argv.data());
#endif
  std::fprintf(stderr, "maptesk-render could not be started (%s): %s\n", renderer.c_str(),
               std::strerror(errno));
  return kExitFailed;
}

}  // namespace maptesk::cli
