// The core's folders stand in one order, each including only those before it,
// and the core stays free of Qt: the command-line tool and the tests must
// build and run without it, and the UI is only ever a thin layer over it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kCore = fs::path(MAPTESK_SOURCE_DIR) / "src" / "core";

// Lowest first: a folder may include itself and the folders above it in
// this list, never those below.
constexpr std::array<const char*, 6> kFolderOrder = {"util", "settings", "map",
                                                     "picture", "view", "app"};

int RankOf(const std::string& folder) {
  const auto it = std::find(kFolderOrder.begin(), kFolderOrder.end(), folder);
  return it == kFolderOrder.end() ? -1 : int(it - kFolderOrder.begin());
}

template <typename Visit>
int ForEachCoreLine(Visit visit) {
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kCore)) {
    if (!entry.is_regular_file()) continue;
    const std::string folder = fs::relative(entry.path(), kCore).begin()->string();
    std::ifstream in(entry.path());
    std::string line;
    int number = 0;
    while (std::getline(in, line)) visit(entry.path(), folder, ++number, line);
    ++files;
  }
  return files;
}

TEST(Layering, NoCoreFileIncludesQt) {
  const std::regex qtInclude(R"(^\s*#\s*include\s*[<"]Q[A-Za-z]|^\s*#\s*include\s*[<"]Qt)");
  const int files = ForEachCoreLine([&](const fs::path& path, const std::string&, int number,
                                        const std::string& line) {
    EXPECT_FALSE(std::regex_search(line, qtInclude)) << path << ":" << number << ": " << line;
  });
  EXPECT_GT(files, 10);
}

TEST(Layering, CoreFoldersIncludeOnlyTheFoldersBeforeThem) {
  // Every folder of the core has its place in the order.
  for (const auto& entry : fs::directory_iterator(kCore)) {
    if (entry.is_directory()) {
      EXPECT_GE(RankOf(entry.path().filename().string()), 0)
          << entry.path() << " has no place in the folder order";
    }
  }
  const std::regex projectInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
  int includes = 0;
  ForEachCoreLine([&](const fs::path& path, const std::string& folder, int number,
                      const std::string& line) {
    std::smatch match;
    if (!std::regex_search(line, match, projectInclude)) return;
    ++includes;
    const std::string target = match[1];
    // One include root: project headers are named from src/.
    ASSERT_EQ(target.rfind("core/", 0), 0u) << path << ":" << number << ": " << line;
    const std::string targetFolder = target.substr(5, target.find('/', 5) - 5);
    EXPECT_LE(RankOf(targetFolder), RankOf(folder))
        << path << ":" << number << ": " << folder << "/ may not include " << target;
    EXPECT_GE(RankOf(targetFolder), 0) << path << ":" << number << ": " << line;
  });
  EXPECT_GT(includes, 50);
}

}  // namespace
