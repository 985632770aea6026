// Runs maptesk-cli as a separate process and collects what it printed.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_dir.h"

#ifdef _WIN32
#define MAPTESK_POPEN _popen
#define MAPTESK_PCLOSE _pclose
#else
#include <sys/wait.h>
#define MAPTESK_POPEN popen
#define MAPTESK_PCLOSE pclose
#endif

namespace maptesk::testing {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

/// Runs the command line tool with `args`; standard error goes to a file in `scratch`.
inline CliResult RunCli(const std::vector<std::string>& args, const TempDir& scratch) {
  std::string command = ShellQuote(MAPTESK_CLI);
  for (const std::string& a : args) command += " " + ShellQuote(a);
  const std::string errFile = scratch / ".cli-stderr";
  command += " 2>" + ShellQuote(errFile);
  CliResult result;
  FILE* pipe = MAPTESK_POPEN(command.c_str(), "r");
  if (!pipe) return result;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) result.out.append(buf, n);
  int raw = MAPTESK_PCLOSE(pipe);
#ifdef _WIN32
  result.status = raw;
#else
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
#endif
  result.err = ReadText(errFile);
  std::remove(errFile.c_str());
  return result;
}

}  // namespace maptesk::testing
