// The core's folders stand in one order, each including only those before it,
// and the core stays free of Qt: the command-line tool and the tests must
// build and run without it, and the UI is only ever a thin layer over it.
// The UI's folders stand in an order of their own above the core, so no two
// of its parts include each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSource = fs::path(MAPTESK_SOURCE_DIR) / "src";

// One layer of folders under src/, lowest first: a folder may include itself
// and the folders before it in the list, never those after it.
struct Layer {
  std::string root;  // "core" or "ui"
  std::vector<std::string> order;
  std::vector<std::string> below;  // layers it may include wholly
};

const Layer kCoreLayer{"core", {"util", "settings", "map", "picture", "view", "app"}, {}};
const Layer kUiLayer{"ui", {"display", "view", "map", "picture", "frame", "app"}, {"core"}};

int RankOf(const Layer& layer, const std::string& folder) {
  const auto it = std::find(layer.order.begin(), layer.order.end(), folder);
  return it == layer.order.end() ? -1 : int(it - layer.order.begin());
}

template <typename Visit>
int ForEachLine(const Layer& layer, Visit visit) {
  const fs::path root = kSource / layer.root;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || entry.path().filename() == "CMakeLists.txt") continue;
    const std::string folder = fs::relative(entry.path(), root).begin()->string();
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
  const int files = ForEachLine(kCoreLayer, [&](const fs::path& path, const std::string&,
                                                int number, const std::string& line) {
    EXPECT_FALSE(std::regex_search(line, qtInclude)) << path << ":" << number << ": " << line;
  });
  EXPECT_GT(files, 10);
}

// Each folder of the layer has its place in the order, and includes only the
// folders before it and the layers below.
void ExpectLayered(const Layer& layer, int minimumIncludes) {
  for (const auto& entry : fs::directory_iterator(kSource / layer.root)) {
    if (entry.is_directory()) {
      EXPECT_GE(RankOf(layer, entry.path().filename().string()), 0)
          << entry.path() << " has no place in the folder order";
    }
  }
  const std::regex projectInclude(R"(^\s*#\s*include\s*"([^"/]+)/([^"/]+)/[^"]+\")");
  int includes = 0;
  ForEachLine(layer, [&](const fs::path& path, const std::string& folder, int number,
                         const std::string& line) {
    std::smatch match;
    if (!std::regex_search(line, match, projectInclude)) return;
    ++includes;
    const std::string where = path.string() + ":" + std::to_string(number) + ": " + line;
    const std::string targetRoot = match[1];
    if (targetRoot != layer.root) {
      EXPECT_NE(std::find(layer.below.begin(), layer.below.end(), targetRoot), layer.below.end())
          << where << " (" << layer.root << "/ may not include " << targetRoot << "/)";
      return;
    }
    const int target = RankOf(layer, match[2]);
    EXPECT_GE(target, 0) << where;
    EXPECT_LE(target, RankOf(layer, folder))
        << where << " (" << folder << "/ may not include " << match[2] << "/)";
  });
  EXPECT_GT(includes, minimumIncludes);
}

TEST(Layering, CoreFoldersIncludeOnlyTheFoldersBeforeThem) { ExpectLayered(kCoreLayer, 50); }

TEST(Layering, UiFoldersIncludeOnlyTheFoldersBeforeThemAndTheCore) { ExpectLayered(kUiLayer, 50); }

}  // namespace
