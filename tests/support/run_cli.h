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

/// One argument quoted for the shell that popen and system start: sh here,
/// cmd.exe on Windows. There the program splits its own command line: a
/// double quote is backslash-escaped, and the backslashes just before a
/// quote (the closing one too, as in "C:\\maps\\") are doubled so that they
/// stay backslashes.
inline std::string ShellQuote(const std::string& s) {
#ifdef _WIN32
  std::string q = "\"";
  size_t backslashes = 0;
  for (char c : s) {
    if (c == '\\') {
      ++backslashes;
      q += c;
      continue;
    }
    if (c == '"') q += std::string(backslashes + 1, '\\');
    backslashes = 0;
    q += c;
  }
  q += std::string(backslashes, '\\');
  return q + "\"";
#else
  std::string q = "'";
  for (char c : s) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return q + "'";
#endif
}

/// The exit code in what pclose or system returned; 128 + the signal for a
/// program that a signal ended.
inline int ExitCodeOf(int raw) {
#ifdef _WIN32
  return raw;
#else
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
#endif
}

/// Runs a whole command line through the system's shell, as system() does.
/// cmd.exe drops the first and last quote of a line that starts with one, so
/// the line is put in quotes of its own there.
inline int RunCommandLine(const std::string& command) {
#ifdef _WIN32
  return ExitCodeOf(std::system(("\"" + command + "\"").c_str()));
#else
  return ExitCodeOf(std::system(command.c_str()));
#endif
}

/// `text` with each CR LF turned into LF: the console's text mode ends a line
/// with CR LF on Windows, and the tests compare lines.
inline std::string WithUnixLineEnds(std::string text) {
#ifdef _WIN32
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
#else
  return text;
#endif
}

/// A path as a JSON string holds it, without the quotes: on Windows each
/// backslash separator is written doubled.
inline std::string JsonPath(const std::string& path) {
  std::string out;
  for (char c : path) out += (c == '\\') ? std::string("\\\\") : std::string(1, c);
  return out;
}

/// Runs the command line tool with `args`; standard error goes to a file in `scratch`.
inline CliResult RunCli(const std::vector<std::string>& args, const TempDir& scratch) {
  std::string command = ShellQuote(MAPTESK_CLI);
  for (const std::string& a : args) command += " " + ShellQuote(a);
  const std::string errFile = scratch / ".cli-stderr";
  command += " 2>" + ShellQuote(errFile);
  CliResult result;
#ifdef _WIN32
  command = "\"" + command + "\"";
  FILE* pipe = MAPTESK_POPEN(command.c_str(), "rb");
#else
  FILE* pipe = MAPTESK_POPEN(command.c_str(), "r");
#endif
  if (!pipe) return result;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) result.out.append(buf, n);
  result.status = ExitCodeOf(MAPTESK_PCLOSE(pipe));
  result.out = WithUnixLineEnds(std::move(result.out));
  result.err = WithUnixLineEnds(ReadText(errFile));
  std::remove(errFile.c_str());
  return result;
}

}  // namespace maptesk::testing
