#include "cli/cli_common.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "core/util/path_utils.h"

namespace maptesk::cli {

void ConsolePrompts::ShowError(const std::string& text) {
  ++errorCount;
  std::fprintf(stderr, "%s\n", text.c_str());
}

void ConsolePrompts::ShowNote(const std::string& text) {
  std::fprintf(notesToStdout ? stdout : stderr, "%s\n", text.c_str());
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
  auto p = std::filesystem::absolute(std::filesystem::path(NativeSeparators(path)), ec);
  return ec ? path : p.lexically_normal().string();
}

void SetFolders(ToolSettings& settings, const Arguments& args, const std::string& mapFile) {
  const std::string sep(1, kPathSeparator);
  std::string full = AbsolutePath(mapFile);
  settings.gameFolder = args.Value("--game")
                            ? WithTrailingSeparator(AbsolutePath(*args.Value("--game")))
                            : ParentFolder(full);
  settings.mapFolder = args.Value("--map-folder")
                           ? WithTrailingSeparator(AbsolutePath(*args.Value("--map-folder")))
                           : settings.gameFolder + "MAP" + sep;
  settings.scnFolder = args.Value("--scn-folder")
                           ? WithTrailingSeparator(AbsolutePath(*args.Value("--scn-folder")))
                           : settings.gameFolder + "SCENARIO" + sep;
  settings.bmpFolder = settings.mapFolder;
  settings.lastOpen = full;
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    auto c = static_cast<unsigned char>(ch);
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
          out.push_back(ch);
        }
    }
  }
  return out + "\"";
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

}  // namespace maptesk::cli
