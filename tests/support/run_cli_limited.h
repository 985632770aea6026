// Runs maptesk-cli as a child process under an address-space limit, and with
// a watchdog that turns a hang into a failed run rather than a stuck suite.
#pragma once

#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "support/temp_dir.h"

#if defined(__SANITIZE_ADDRESS__)
#define MAPTESK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MAPTESK_UNDER_ASAN 1
#endif
#endif

namespace maptesk::testing {

/// AddressSanitizer reserves terabytes of shadow memory: under it no
/// address-space limit can be set, and the tests that need one skip.
#ifdef MAPTESK_UNDER_ASAN
inline constexpr bool kUnderAsan = true;
#else
inline constexpr bool kUnderAsan = false;
#endif

/// A run still going after this long is taken for a hang and killed.
inline constexpr unsigned kWatchdogSeconds = 120;

struct LimitedRun {
  int status = -1;  // the exit status, or 128 + the signal that ended it
  std::string err;
};

/// Runs the command line tool with `args`, standard output discarded, under
/// an address-space limit of `limitBytes` (none when 0).
inline LimitedRun RunCliLimited(const std::vector<std::string>& args, const TempDir& scratch,
                                uint64_t limitBytes) {
  const std::string errFile = scratch / ".cli-limited-stderr";
  std::vector<std::string> words{MAPTESK_CLI};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  LimitedRun run;
  const pid_t pid = fork();
  if (pid < 0) return run;
  if (pid == 0) {
    const int out = open("/dev/null", O_WRONLY);
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(125);
    if (limitBytes != 0) {
      const rlimit limit{limitBytes, limitBytes};
      if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(125);
    }
    alarm(kWatchdogSeconds);  // the timer stays set across exec
    execv(argv[0], argv.data());
    _exit(126);
  }
  int raw = 0;
  while (waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
  }
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  run.err = ReadText(errFile);
  std::remove(errFile.c_str());
  return run;
}

/// The address space the tool takes before doing any work (its program,
/// libraries and stack): the smallest limit under which `--help` succeeds,
/// found to 256 KB. 0 when it cannot start even under 1 GB.
inline uint64_t CliBaselineAddressSpace() {
  static const uint64_t baseline = [] {
    TempDir scratch;
    uint64_t fails = uint64_t(1) << 20, works = uint64_t(1) << 30;
    if (RunCliLimited({"--help"}, scratch, works).status != 0) return uint64_t(0);
    while (works - fails > (uint64_t(256) << 10)) {
      const uint64_t mid = fails + (works - fails) / 2;
      (RunCliLimited({"--help"}, scratch, mid).status == 0 ? works : fails) = mid;
    }
    return works;
  }();
  return baseline;
}

}  // namespace maptesk::testing

#endif  // _WIN32
