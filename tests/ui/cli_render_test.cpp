// maptesk-render, also as maptesk-cli render: a frame of the editor as a PNG,
// without a display.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <filesystem>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::ReadBytes;
using testing::ReadText;
using testing::RunCli;
using testing::RunCommandLine;
using testing::ShellQuote;
using testing::TempDir;

// maptesk-render, beside maptesk-cli in the build folder.
std::string RendererPath() {
  return (std::filesystem::path(MAPTESK_CLI).parent_path() / "maptesk-render").string();
}

// Whether some pixel of the rectangle is of that colour, within a tolerance.
bool AnyPixelNear(const QImage& image, const QRect& rect, QColor colour) {
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (std::abs(p.red() - colour.red()) < 40 && std::abs(p.green() - colour.green()) < 40 &&
          std::abs(p.blue() - colour.blue()) < 40) {
        return true;
      }
    }
  }
  return false;
}

TEST(CliRender, DrawsAFrameOfTheMapAndOfAMapWithoutPicture) {
  TempDir dir;
  ASSERT_EQ(RunCli({"sample", dir / "game"}, dir).status, 0);
  auto r = RunCli({"render", dir / "game/SCENARIO/ARDEN.MAP", dir / "a.png", "--mode", "1024",
                   "--grid", "--roads", "--terrain"},
                  dir);
  ASSERT_EQ(r.status, 0) << r.err;
  QImage frame(QString::fromStdString(dir / "a.png"));
  ASSERT_EQ(frame.size(), QSize(1024, 768));
  // Full screen: the title strip across the top.
  EXPECT_EQ(frame.pixelColor(500, 5), QColor(0x00, 0x57, 0xF2));

  // Without its S16 picture the map still gets its panels and a red status line.
  std::filesystem::remove_all(dir.path() / "game/MAP");
  r = RunCli({"render", dir / "game/SCENARIO/ARDEN.MAP", dir / "b.png", "--size", "800x600"}, dir);
  ASSERT_EQ(r.status, 0) << r.err;
  frame = QImage(QString::fromStdString(dir / "b.png"));
  ASSERT_EQ(frame.size(), QSize(800, 600));
  EXPECT_TRUE(AnyPixelNear(frame, QRect(2, 578, 300, 18), QColor(255, 0, 0)));
  EXPECT_FALSE(AnyPixelNear(frame, QRect(2, 30, 600, 500), QColor(0x20, 0x60, 0xC0)))
      << "no picture drawn";

  EXPECT_EQ(
      RunCli({"render", dir / "game/SCENARIO/ARDEN.MAP", dir / "c.png", "--size", "10x10"}, dir)
          .status,
      2);
}

TEST(CliRender, MapteskCliRunsTheRendererWithTheSameWords) {
  TempDir dir;
  ASSERT_EQ(RunCli({"sample", dir / "game"}, dir).status, 0);
  const std::string map = dir / "game/SCENARIO/ARDEN.MAP";
  const auto viaCli = RunCli({"render", map, dir / "cli.png", "--size", "640x480", "--scroll",
                              "100,50", "--names", "--labels"},
                             dir);
  ASSERT_EQ(viaCli.status, 0) << viaCli.err;
  EXPECT_EQ(viaCli.out, dir / "cli.png" + ": 640 x 480\n");
  const std::string renderer = ShellQuote(RendererPath());
  ASSERT_EQ(RunCommandLine(renderer + " " + ShellQuote(map) + " " + ShellQuote(dir / "own.png") +
                           " --size 640x480 --scroll 100,50 --names --labels >/dev/null"),
            0);
  const auto png = ReadBytes(dir / "own.png");
  ASSERT_FALSE(png.empty());
  EXPECT_EQ(ReadBytes(dir / "cli.png"), png);

  // Its usage errors and failures come back through maptesk-cli unchanged.
  auto r = RunCli({"render", map}, dir);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("usage: maptesk-render MAP OUT.png"), std::string::npos) << r.err;
  r = RunCli({"render", dir / "game/SCENARIO/NONE.MAP", dir / "x.png"}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
  EXPECT_EQ(RunCommandLine(renderer + " --bogus a b 2>" + ShellQuote(dir / "err")), 2);
  EXPECT_NE(ReadText(dir / "err").find("--bogus"), std::string::npos) << ReadText(dir / "err");
}

}  // namespace
}  // namespace maptesk
