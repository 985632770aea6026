#include "core/picture/bmp_image.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/util/text_format.h"
#include "support/picture_files.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace maptesk {
namespace {

using testing::BmpFile;
using testing::BmpSpec;
using testing::ReadBytes;
using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteBytes;

// The patterns that tests/data/bmp/make_fixtures.py draws with other programs.
constexpr int kW = 13, kH = 7;
constexpr uint32_t kPalette[16] = {0x000000, 0xFFFFFF, 0xC81E28, 0x1EA03C, 0x2846C8, 0xFADC3C,
                                   0x783C14, 0x5AC8DC, 0xA0A0A0, 0x3C3C3C, 0xF08CB4, 0x14645A,
                                   0xB46EFA, 0x64781E, 0xE67828, 0x0A1E50};
uint32_t Indexed(int n, int x, int y) { return kPalette[(3 * x + 5 * y) % n]; }
uint32_t Rgb(int x, int y) {
  return uint32_t((x * 19) % 256) << 16 | uint32_t((y * 37) % 256) << 8 |
         uint32_t((x * y * 7 + 11) % 256);
}

struct Fixture {
  const char* file;
  int bits;
  int colours;  // expected colour-table entries
  uint32_t (*pixel)(int x, int y);
};

const Fixture kFixtures[] = {
    {"pil_1.bmp", 1, 2, [](int x, int y) { return Indexed(2, x, y); }},
    {"pil_8.bmp", 8, 256, [](int x, int y) { return Indexed(16, x, y); }},
    {"pil_24.bmp", 24, 0, Rgb},
    {"pil_32.bmp", 32, 0, Rgb},
    {"im_1.bmp", 1, 2, [](int x, int y) { return Indexed(2, x, y); }},
    {"im_4.bmp", 4, 16, [](int x, int y) { return Indexed(16, x, y); }},
    {"im_8.bmp", 8, 256, Rgb},
    {"im_24.bmp", 24, 0, Rgb},
};

TEST(BmpImage, LoadsFilesOfOtherProgramsInEveryDepthWithTheirPixels) {
  for (const Fixture& f : kFixtures) {
    SCOPED_TRACE(f.file);
    ScriptedPrompts prompts;
    BmpImage image(prompts);
    ASSERT_TRUE(image.Load(std::string(MAPTESK_TEST_DATA) + "/bmp/" + f.file));
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(image.width, kW);
    EXPECT_EQ(image.height, kH);
    EXPECT_EQ(image.bitCount, f.bits);
    EXPECT_EQ(image.colourCount, f.colours);
    EXPECT_EQ(image.stride, BmpImage::RowBytes(kW, f.bits));
    std::vector<uint8_t> scratch;
    int rowBytes = 0;
    const uint8_t* rows = image.Rgb24Rows(scratch, rowBytes);
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rowBytes, 40);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        const uint8_t* p = rows + size_t(kH - 1 - y) * size_t(rowBytes) + size_t(x) * 3;
        ASSERT_EQ(uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0], f.pixel(x, y))
            << "at " << x << "," << y;
      }
    }
  }
}

TEST(BmpImage, SavesInItsOwnDepthAndLoadsBackUnchanged) {
  TempDir dir;
  for (const Fixture& f : kFixtures) {
    SCOPED_TRACE(f.file);
    ScriptedPrompts prompts;
    BmpImage image(prompts);
    const std::string in = std::string(MAPTESK_TEST_DATA) + "/bmp/" + f.file;
    ASSERT_TRUE(image.Load(in));
    ASSERT_TRUE(image.Save(dir / "out.bmp"));
    const std::vector<uint8_t> original = ReadBytes(in);
    const std::vector<uint8_t> saved = ReadBytes(dir / "out.bmp");
    const size_t off = 54 + 4 * size_t(f.colours);
    ASSERT_EQ(saved.size(), off + size_t(image.stride) * kH);
    EXPECT_EQ(GetLe32(saved.data() + 2), saved.size());  // the true file size
    EXPECT_EQ(GetLe32(saved.data() + 10), off);
    // Info header (only the image size recomputed), colour table and rows
    // as the other program wrote them.
    ASSERT_EQ(GetLe32(original.data() + 10), off);
    EXPECT_EQ(GetLe32(saved.data() + 34), uint32_t(image.stride) * kH);
    EXPECT_TRUE(std::equal(saved.begin() + 14, saved.begin() + 34, original.begin() + 14));
    EXPECT_TRUE(std::equal(saved.begin() + 38, saved.end(), original.begin() + 38));
    BmpImage again(prompts);
    ASSERT_TRUE(again.Load(dir / "out.bmp"));
    EXPECT_EQ(again.header, image.header);
    EXPECT_EQ(again.ownedBits, image.ownedBits);
  }
}

TEST(BmpImage, WrittenFilesOpenInPillowWithTheSamePixels) {
  if (std::system("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "no Pillow";
  }
  TempDir dir;
  ScriptedPrompts prompts;
  BmpImage image(prompts);
  ASSERT_TRUE(image.CreateRgb24(kW, kH));
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      uint8_t* p = image.bits + size_t(kH - 1 - y) * size_t(image.stride) + size_t(x) * 3;
      const uint32_t c = Rgb(x, y);
      p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
    }
  }
  ASSERT_TRUE(image.Save(dir / "ours.bmp"));
  const std::string script =
      "from PIL import Image\n"
      "im = Image.open('" +
      (dir / "ours.bmp") +
      "').convert('RGB')\n"
      "open('" +
      (dir / "pixels.txt") +
      "', 'w').write(' '.join('%02x%02x%02x' % im.getpixel((x, y))"
      " for y in range(im.height) for x in range(im.width)))\n";
  testing::WriteText(dir / "read.py", script);
  ASSERT_EQ(std::system(("/usr/bin/python3 " + (dir / "read.py")).c_str()), 0);
  std::string expected;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      if (!expected.empty()) expected.push_back(' ');
      expected.append(Format("%06x", Rgb(x, y)));
    }
  }
  EXPECT_EQ(testing::ReadText(dir / "pixels.txt"), expected);
}

TEST(BmpImage, SizesRecomputedWhateverTheFileSays) {
  TempDir dir;
  ScriptedPrompts prompts;
  BmpImage image(prompts);
  // Width 3 at 24 bits: 9 bytes of pixels padded to 12.
  WriteBytes(
      dir / "w3.bmp",
      BmpFile({.width = 3, .height = 2, .sizeImage = 0, .pixels = std::vector<uint8_t>(24, 7)}));
  ASSERT_TRUE(image.Load(dir / "w3.bmp"));
  EXPECT_EQ(image.stride, 12);
  EXPECT_EQ(image.HeaderImageSize(), 24u);

  // 8 bits: no colours-used gives 256 entries, 20 gives 20.
  WriteBytes(dir / "p256.bmp", BmpFile({.width = 4,
                                        .height = 1,
                                        .bitCount = 8,
                                        .colours = std::vector<uint32_t>(256, 0x102030),
                                        .pixels = {0, 1, 2, 3}}));
  ASSERT_TRUE(image.Load(dir / "p256.bmp"));
  EXPECT_EQ(image.colourCount, 256);
  WriteBytes(dir / "p20.bmp", BmpFile({.width = 4,
                                       .height = 1,
                                       .bitCount = 8,
                                       .clrUsed = 20,
                                       .colours = std::vector<uint32_t>(20, 0x102030),
                                       .pixels = {0, 1, 2, 3}}));
  ASSERT_TRUE(image.Load(dir / "p20.bmp"));
  EXPECT_EQ(image.colourCount, 20);
  // Saving an 8-bit image puts the pixels after 256 entries: offset 1078.
  ASSERT_TRUE(image.Load(dir / "p256.bmp"));
  ASSERT_TRUE(image.Save(dir / "p256-out.bmp"));
  EXPECT_EQ(GetLe32(ReadBytes(dir / "p256-out.bmp").data() + 10), 1078u);
  EXPECT_TRUE(prompts.messages().empty());
}

TEST(BmpImage, SixteenBitPixelsExpandToFullIntensity) {
  TempDir dir;
  ScriptedPrompts prompts;
  BmpImage image(prompts);
  // x-5-5-5: white, pure red, pure green, pure blue.
  WriteBytes(dir / "16.bmp", BmpFile({.width = 4,
                                      .height = 1,
                                      .bitCount = 16,
                                      .pixels = {0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00}}));
  ASSERT_TRUE(image.Load(dir / "16.bmp"));
  EXPECT_EQ(image.colourCount, 0);
  EXPECT_EQ(image.PixelRgb(0, 0), 0xFFFFFFu);
  EXPECT_EQ(image.PixelRgb(1, 0), 0xFF0000u);
  EXPECT_EQ(image.PixelRgb(2, 0), 0x00FF00u);
  EXPECT_EQ(image.PixelRgb(3, 0), 0x0000FFu);
}

struct Refusal {
  const char* what;
  BmpSpec spec;
  std::string message;
};

TEST(BmpImage, RefusesWhatItCannotReadWithItsMessageAndKeepsNoImage) {
  const Refusal refusals[] = {
      {"V4 header",
       {.width = 2, .height = 2, .infoSize = 108, .pixels = std::vector<uint8_t>(16)},
       "Invalid BMP Header size: 108 <> 40"},
      {"V5 header",
       {.width = 2, .height = 2, .infoSize = 124, .pixels = std::vector<uint8_t>(16)},
       "Invalid BMP Header size: 124 <> 40"},
      {"bit fields before header size",
       {.width = 2, .height = 2, .bitCount = 16, .compression = 3, .infoSize = 108},
       "No compressed BMP are supported"},
      {"run-length 8",
       {.width = 2, .height = 2, .bitCount = 8, .compression = 1},
       "No compressed BMP are supported"},
      {"zero width",
       {.width = 0, .height = 2},
       "Unsupported BMP size: 0 x 2 (1 to 16384 pixels each way, bottom-up rows)"},
      {"top-down",
       {.width = 2, .height = -2},
       "Unsupported BMP size: 2 x -2 (1 to 16384 pixels each way, bottom-up rows)"},
      {"huge",
       {.width = 100000, .height = 100000},
       "Unsupported BMP size: 100000 x 100000 (1 to 16384 pixels each way, bottom-up rows)"},
      {"too many bytes",
       {.width = 16384, .height = 16384, .bitCount = 32},
       "Unsupported BMP size: 16384 x 16384 is too large"},
      {"bit count 7", {.width = 2, .height = 2, .bitCount = 7}, "Unsupported BMP bit count: 7"},
      {"offset inside the info header",
       {.width = 2, .height = 2, .offBits = 40},
       "Invalid BMP pixel data offset: 40"},
      {"no room for the colour table",
       {.width = 2, .height = 2, .bitCount = 8, .offBits = 54 + 16},
       "Invalid BMP header: 256 colours do not fit before the pixel data at 70"},
      {"huge colours used",
       {.width = 2, .height = 2, .bitCount = 8, .clrUsed = 0x40000000, .offBits = 1078},
       "Invalid BMP header: 1073741824 colours do not fit before the pixel data at 1078"},
  };
  TempDir dir;
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    ScriptedPrompts prompts;
    BmpImage image(prompts);
    WriteBytes(dir / "good.bmp", BmpFile({.width = 1, .height = 1, .pixels = {1, 2, 3, 0}}));
    ASSERT_TRUE(image.Load(dir / "good.bmp"));
    WriteBytes(dir / "bad.bmp", BmpFile(r.spec));
    EXPECT_FALSE(image.Load(dir / "bad.bmp"));
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{r.message});
    // A refused second file leaves no image behind.
    EXPECT_FALSE(image.loaded);
    EXPECT_TRUE(image.header.empty());
    EXPECT_EQ(image.bits, nullptr);
    EXPECT_FALSE(image.Save(dir / "none.bmp"));
  }
}

TEST(BmpImage, FileHeaderProblemsAndMissingFiles) {
  TempDir dir;
  ScriptedPrompts prompts;
  BmpImage image(prompts);
  EXPECT_FALSE(image.Load(dir / "missing.bmp"));
  WriteBytes(dir / "short.bmp", {'B', 'M', 0, 0});
  EXPECT_FALSE(image.Load(dir / "short.bmp"));
  WriteBytes(dir / "type.bmp", std::vector<uint8_t>(60, 'X'));
  EXPECT_FALSE(image.Load(dir / "type.bmp"));
  std::vector<uint8_t> cut = BmpFile({.width = 2, .height = 2});
  cut.resize(30);
  WriteBytes(dir / "cut.bmp", cut);
  EXPECT_FALSE(image.Load(dir / "cut.bmp"));
  EXPECT_EQ(
      prompts.Texts("error"),
      (std::vector<std::string>{
          dir / "missing.bmp" + " not found", "Invalid BMP FileHeader size", "Invalid BMP type",
          "Invalid BMP: the file ends inside its info header (16 of 40 bytes)"}));
}

TEST(BmpImage, ShortPixelDataIsLeftBlackAndReported) {
  TempDir dir;
  ScriptedPrompts prompts;
  BmpImage image(prompts);
  // 2 x 3 at 24 bits needs 24 bytes; the file holds the bottom row only.
  WriteBytes(dir / "short.bmp",
             BmpFile({.width = 2, .height = 3, .pixels = {1, 2, 3, 4, 5, 6, 0, 0}}));
  ASSERT_TRUE(image.Load(dir / "short.bmp"));
  EXPECT_EQ(image.ownedBits, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0,
                                                   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(
      prompts.Texts("note"),
      std::vector<std::string>{dir / "short.bmp" + " ends before its pixel data (8 of 24 bytes):\n"
                                                   "the missing rows are left black"});
}

// A file that ends inside its pixel data gets a block no larger than an
// assembled map picture; a larger picture must be held by the file itself.
TEST(BmpImage, ShortFilesClaimingLargePicturesAreRefusedBeforeAnyBlock) {
  struct Case {
    const char* what;
    int width, height, bitCount;
    size_t held;  // bytes of pixel data in the file
    bool loads;
  };
  const Case cases[] = {
      {"1920 x 1920, no pixels", 1920, 1920, 24, 0, true},
      {"a column more, no pixels", 1921, 1920, 24, 0, false},
      {"a column more, one byte short", 1921, 1920, 8, 1924 * 1920 - 1, false},
      {"a column more, every byte held", 1921, 1920, 8, 1924 * 1920, true},
      {"16384 x 16384 in 64 KB", 16384, 16384, 1, 65536, false},
      {"16384 x 240, every byte held", 16384, 240, 8, 16384 * 240, true},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int64_t need = BmpImage::RowBytes(c.width, c.bitCount) * c.height;
    WriteBytes(dir / "claim.bmp",
               BmpFile({.width = c.width,
                        .height = c.height,
                        .bitCount = uint16_t(c.bitCount),
                        .colours = std::vector<uint32_t>(c.bitCount <= 8 ? 1u << c.bitCount : 0),
                        .pixels = std::vector<uint8_t>(c.held, 0x40)}));
    ScriptedPrompts prompts;
    BmpImage image(prompts);
    EXPECT_EQ(image.Load(dir / "claim.bmp"), c.loads);
    if (c.loads) {
      EXPECT_EQ(image.width, c.width);
      EXPECT_EQ(int64_t(image.ownedBits.size()), need);
      EXPECT_TRUE(prompts.Texts("error").empty());
    } else {
      EXPECT_EQ(image.bits, nullptr);
      EXPECT_EQ(prompts.Texts("error"),
                std::vector<std::string>{
                    Format("%s claims %d x %d pixels but holds only %zu of their %lld bytes:\n"
                           "it is not read",
                           (dir / "claim.bmp").c_str(), c.width, c.height, c.held,
                           static_cast<long long>(need))});
    }
  }
}

TEST(BmpImage, FailedSaveKeepsTheOldFile) {
  TempDir dir;
  ScriptedPrompts prompts;
  BmpImage image(prompts);
  ASSERT_TRUE(image.CreateRgb24(2, 2));
  const std::string target = dir / "folder.bmp";
  std::filesystem::create_directory(target);
  EXPECT_FALSE(image.Save(target));
  EXPECT_EQ(prompts.Texts("error"),
            std::vector<std::string>{"Error creating " + target + "\nIs a directory"});
  EXPECT_TRUE(std::filesystem::is_directory(target));
}

}  // namespace
}  // namespace maptesk
