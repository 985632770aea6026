// The core stays free of Qt: the command-line tool and the tests must build
// and run without it, and the UI is only ever a thin layer over the core.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

TEST(Layering, NoCoreFileIncludesQt) {
  const std::filesystem::path core = std::filesystem::path(MAPTESK_SOURCE_DIR) / "src" / "core";
  const std::regex qtInclude(R"(^\s*#\s*include\s*[<"]Q[A-Za-z]|^\s*#\s*include\s*[<"]Qt)");
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(core)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path());
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      EXPECT_FALSE(std::regex_search(line, qtInclude))
          << entry.path() << ":" << number << ": " << line;
    }
    ++files;
  }
  EXPECT_GT(files, 10);
}

}  // namespace
