#include "ui/display/ui_text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace maptesk
