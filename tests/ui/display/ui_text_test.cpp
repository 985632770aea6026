#include "ui/display/ui_text.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

namespace maptesk {
namespace {

TEST(UiText, MessagesReadUtf8PathsAndWindows1252Names) {
  struct Row {
    std::string bytes;
    const char16_t* shown;
  };
  const Row rows[] = {
      {"Map file [/g/A.MAP]\nnot found", u"Map file [/g/A.MAP]\nnot found"},
      {"[/home/jos\xC3\xA9/A.MAP] Not found", u"[/home/jos\u00E9/A.MAP] Not found"},
      {"Caf\xE9 du Nord", u"Caf\u00E9 du Nord"},
      {"\x80 and \x9F", u"\u20AC and \u0178"},
      // A cut UTF-8 sequence is no UTF-8: every byte stands for itself.
      {"x\xC3", u"x\u00C3"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(MessageText(row.bytes), QString::fromUtf16(row.shown)) << row.bytes;
  }
  const std::string path = "/tmp/jos\xC3\xA9/A.MAP";
  EXPECT_EQ(PathBytes(PathText(path)), path);
}

// Whether every character of the list lines' kinds takes one width.
bool LooksMonospaced(const QFont& font) {
  const QFontMetricsF metrics(font);
  const qreal width = metrics.horizontalAdvance("iiii");
  for (const char* run : {"WWWW", "mmmm", "0000", "    ", "[[[[", "...."}) {
    if (metrics.horizontalAdvance(run) != width) return false;
  }
  return width > 0;
}

TEST(UiText, MonospaceFontsMeasureMonospacedWhateverTheyWereAskedAs) {
  // A proportional font asked for is swapped for a monospaced one of its size;
  // a monospaced one is kept as it is.
  QFont proportional = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  proportional.setPixelSize(15);
  ASSERT_FALSE(LooksMonospaced(proportional)) << "the machine's general font is monospaced";
  const QFont swapped = MonospaceFont(proportional);
  EXPECT_TRUE(LooksMonospaced(swapped)) << swapped.family().toStdString();
  EXPECT_EQ(QFontInfo(swapped).pixelSize(), 15);
  EXPECT_EQ(MonospaceFont(swapped), swapped);

  EXPECT_TRUE(LooksMonospaced(ListFont())) << ListFont().family().toStdString();
}

}  // namespace
}  // namespace maptesk
