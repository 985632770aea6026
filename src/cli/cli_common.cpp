#include "cli/cli_common.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "core/util/cp1252.h"
#include "core/util/file_io.h"
#include "core/util/fs_path.h"
#include "core/util/path_utils.h"

namespace maptesk::cli {

void ConsolePrompts::ShowError(const std::string& text) {
  ++errorCount;
  std::fprintf(stderr, "%s\n", text.c_str());
}

void ConsolePrompts::ShowNote(const std::string& text) {
  if (holdNotes) {
    heldNotes.push_back(text);
    return;
  }
  std::fprintf(notesToStdout ? stdout : stderr, "%s\n", text.c_str());
}

void ConsolePrompts::ShowRemark(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
}

void ConsolePrompts::ReleaseNotes() {
  holdNotes = false;
  for (const std::string& note : heldNotes) ShowNote(note);
  heldNotes.clear();
}

bool ConsolePrompts::AskYesNo(const std::string&) { return answerYes; }

YesNoCancel ConsolePrompts::AskYesNoCancel(const std::string&) {
  return answerYes ? YesNoCancel::kYes : YesNoCancel::kNo;
}

std::string ConsolePrompts::ChooseOpenFile(int, const std::string&, const std::string&) {
  return {};
}
std::string ConsolePrompts::ChooseSaveFile(int, const std::string&, const std::string&) {
  return {};
}
std::string ConsolePrompts::BrowseFolder(const std::string&, const std::string&) { return {}; }
std::string ConsolePrompts::ChooseFileDialog(const std::string&, const std::string&,
                                             const std::string&, const std::string&, bool) {
  return {};
}
void ConsolePrompts::OpenWithShell(const std::string&) {}

bool Arguments::Parse(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                      const std::vector<std::string>& flags, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
        if (i + 1 >= args.size()) {
          error = "option " + a + " needs a value";
          return false;
        }
        values_.emplace_back(a, args[++i]);
      } else if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
        flags_.push_back(a);
      } else {
        error = "unknown option " + a;
        return false;
      }
    } else {
      positional_.push_back(a);
    }
  }
  return true;
}

bool Arguments::Has(const std::string& name) const {
  return std::find(flags_.begin(), flags_.end(), name) != flags_.end() || Value(name).has_value();
}

std::optional<std::string> Arguments::Value(const std::string& name) const {
  for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
    if (it->first == name) return it->second;
  }
  return std::nullopt;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path given = FsPath(NativeSeparators(path));
  auto p = std::filesystem::absolute(given, ec);
  if (ec) return path;
  std::string full = FsName(p.lexically_normal());
#ifdef PATH_MAX
  // In a folder deeper than the system lets a name be, the absolute form
  // names nothing that can be opened, though the name relative to the
  // current folder still can: it is kept as given (folder names and all).
  if (full.size() >= size_t(PATH_MAX) && given.is_relative()) {
    const std::string relative = FsName(given.lexically_normal());
    return relative.empty() ? std::string(".") : relative;
  }
#endif
  return full;
}

void SetFolders(ToolSettings& settings, const Arguments& args, const std::string& mapFile) {
  const std::string sep(1, kPathSeparator);
  std::string full = AbsolutePath(mapFile);
  // A map named relative to the current folder (see AbsolutePath) without
  // a folder of its own lies in the current folder: the game is its parent.
  const std::string parent =
      PathPart(full, kPartFolder).empty() ? std::string("..") + sep : ParentFolder(full);
  settings.gameFolder =
      args.Value("--game") ? WithTrailingSeparator(AbsolutePath(*args.Value("--game"))) : parent;
  settings.mapFolder = args.Value("--map-folder")
                           ? WithTrailingSeparator(AbsolutePath(*args.Value("--map-folder")))
                           : settings.gameFolder + "MAP" + sep;
  settings.scnFolder = args.Value("--scn-folder")
                           ? WithTrailingSeparator(AbsolutePath(*args.Value("--scn-folder")))
                           : settings.gameFolder + "SCENARIO" + sep;
  settings.bmpFolder = settings.mapFolder;
  settings.lastOpen = full;
}

std::string NameText(const std::string& cp1252) {
  std::string out;
  const std::string utf8 = Cp1252ToUtf8(cp1252);
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    // C0 controls, DEL, and the C1 controls (U+0080..U+009F, two bytes).
    const bool c1 = c == 0xC2 && i + 1 < utf8.size() &&
                    static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
    if (c < 0x20 || c == 0x7F || c1) {
      const unsigned code = c1 ? static_cast<unsigned char>(utf8[++i]) : c;
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", code);
      out += buf;
    } else {
      out.push_back(utf8[i]);
    }
  }
  return out;
}

namespace {

// The length of the well-formed UTF-8 sequence at `s[i]`, or 0: overlong
// forms, surrogates and code points past U+10FFFF are not well formed.
size_t Utf8SequenceAt(const std::string& s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  if (c < 0x80) return 1;
  size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (b(i + 1) < lo || b(i + 1) > hi) return 0;
  for (size_t k = 2; k < n; ++k) {
    if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 0;
  }
  return n;
}

}  // namespace

bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const size_t n = Utf8SequenceAt(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (size_t i = 0; i < utf8.size();) {
    const size_t n = Utf8SequenceAt(utf8, i);
    // A byte that starts no well-formed character (a file name in another
    // encoding) would make the output not JSON: it stands as U+FFFD.
    if (n == 0) {
      out += "\\ufffd";
      ++i;
      continue;
    }
    if (n > 1) {
      out.append(utf8, i, n);
      i += n;
      continue;
    }
    const auto c = static_cast<unsigned char>(utf8[i++]);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(char(c));
        }
    }
  }
  return out + "\"";
}

std::string JsonPathField(const std::string& name, const std::string& path) {
  std::string out = JsonString(name) + ": " + JsonString(path);
  if (IsUtf8(path)) return out;
  // The name as the system has it, byte for byte, to open the file by.
  std::string hex;
  for (char ch : path) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(ch));
    hex += buf;
  }
  return out + ", " + JsonString(name + "Bytes") + ": " + JsonString(hex);
}

void SetSaveClean(ToolSettings& settings, const Arguments& args) {
  if (args.Has("--clean")) {
    settings.viewToggles |= kToggleSaveClean;
  } else {
    settings.viewToggles &= uint16_t(~kToggleSaveClean);
  }
}

int UsageError(const std::string& message, const char* usage) {
  if (!message.empty()) std::fprintf(stderr, "maptesk-cli: %s\n", message.c_str());
  std::fprintf(stderr, "%s", usage);
  return kExitUsage;
}

int CheckOutputName(const std::string& name, const char* usage, bool tileBase) {
  // An empty name would otherwise mean "the file that was read" to a save.
  if (name.empty()) return UsageError("the output name is empty", usage);
  if (tileBase) return kExitOk;
  const std::string full = AbsolutePath(name);
  std::error_code ec;
  if (IsSeparator(name.back()) || std::filesystem::is_directory(FsPath(full), ec)) {
    std::string reason;
    CheckSaveTarget(full, &reason);
    ConsolePrompts prompts;
    ErrorCreating(prompts, full, reason);
    return kExitFailed;
  }
  return kExitOk;
}

int CheckOutOption(const Arguments& args, const char* usage) {
  const std::optional<std::string> out = args.Value("--out");
  return out ? CheckOutputName(*out, usage) : kExitOk;
}

}  // namespace maptesk::cli
