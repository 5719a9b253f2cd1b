// Tests of the SDL layer's bitmaps: loading sheets, cutting sprites, clipping, broken files.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/disp.h"
#include "platform/disp_probe.h"
#include "test_files.h"

namespace {

using disptest::Bytes;
using disptest::WhereColour;

class BitmapTest : public ::testing::Test {
 protected:
  void TearDown() override { DispShutdown(); }

  std::uint32_t Pixel(std::uint32_t bmp, int x, int y) {
    std::uint32_t rgb = 0xDEADBEEF;
    EXPECT_TRUE(DispBitmapPixel(bmp, x, y, &rgb)) << "pixel " << x << "," << y;
    return rgb;
  }
  std::pair<int, int> Size(std::uint32_t bmp) {
    std::int32_t w = -1, h = -1;
    EXPECT_TRUE(DispBitmapSize(bmp, &w, &h));
    return {w, h};
  }
  // A bitmap of w x h pixels all of one colour, made through the layer's own operations.
  std::uint32_t Filled(int w, int h, std::uint32_t colour) {
    const std::uint32_t src = Load(
        dir_.Write("fill" + std::to_string(colour) + ".bmp",
                   disptest::BmpFile(w, h, 24, [&](int, int) { return colour; })));
    const std::uint32_t dst = CreateBMP192(w, h);
    DrawBMP200(src, dst, 0, 0, w, h, 0, 0, w, h);
    return dst;
  }

  static std::uint32_t Load(const std::string& path) { return LoadBMP197(path.c_str()); }

  disptest::ScratchDir dir_;
};

TEST_F(BitmapTest, LoadsCommonLayoutsWithTheirPixels) {
  // 13 wide: rows of a 24-bit file are padded to 40 bytes, the case of the digit sheet.
  const std::uint32_t bottomUp =
      Load(dir_.Write("b24.bmp", disptest::BmpFile(13, 5, 24, WhereColour)));
  const std::uint32_t topDown =
      Load(dir_.Write("t24.bmp", disptest::BmpFile(13, 5, 24, WhereColour, true)));
  const std::uint32_t wide =
      Load(dir_.Write("b32.bmp", disptest::BmpFile(7, 3, 32, WhereColour)));
  const std::vector<std::uint32_t> palette{0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xAFAFAF};
  const std::uint32_t indexed = Load(dir_.Write(
      "p8.bmp", disptest::BmpFile(5, 4, 8, [](int x, int y) { return (x + y) % 5; }, false, palette)));

  for (std::uint32_t bmp : {bottomUp, topDown}) {
    ASSERT_NE(bmp, 0u);
    EXPECT_EQ(Size(bmp), std::make_pair(13, 5));
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 13; ++x) EXPECT_EQ(Pixel(bmp, x, y), WhereColour(x, y));
  }
  EXPECT_EQ(Size(wide), std::make_pair(7, 3));
  EXPECT_EQ(Pixel(wide, 6, 2), WhereColour(6, 2));
  EXPECT_EQ(Size(indexed), std::make_pair(5, 4));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Pixel(indexed, x, y), palette[(x + y) % 5]);
  EXPECT_NE(bottomUp, topDown);
}

TEST_F(BitmapTest, CutsSpritesAtTheirSheetOffsets) {
  // The way the game cuts its sheets: a new bitmap per sprite, one copy at the same size.
  const std::uint32_t icons =
      Load(dir_.Write("icon.bmp", disptest::BmpFile(16, 256, 24, WhereColour)));
  const std::uint32_t digits =
      Load(dir_.Write("numb.bmp", disptest::BmpFile(13, 276, 24, WhereColour)));
  const std::uint32_t tile = CreateBMP192(16, 16);
  DrawBMP200(icons, tile, 0, 240, 16, 16, 0, 0, 16, 16);
  const std::uint32_t digit = CreateBMP192(13, 23);
  DrawBMP200(digits, digit, 0, 253, 13, 23, 0, 0, 13, 23);

  EXPECT_EQ(Size(tile), std::make_pair(16, 16));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(Pixel(tile, x, y), WhereColour(x, 240 + y));
  EXPECT_EQ(Size(digit), std::make_pair(13, 23));
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 13; ++x) EXPECT_EQ(Pixel(digit, x, y), WhereColour(x, 253 + y));
}

TEST_F(BitmapTest, CopiesAreClippedToTheDestination) {
  const std::uint32_t blue = 0x0000FF, red = 0xFF0000;
  const std::uint32_t source = Filled(4, 4, red);
  const auto expectOnly = [&](std::uint32_t dst, int left, int top, int right, int bottom) {
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const bool inside = x >= left && x < right && y >= top && y < bottom;
        EXPECT_EQ(Pixel(dst, x, y), inside ? red : blue) << x << "," << y;
      }
  };
  std::uint32_t dst = Filled(8, 8, blue);
  DrawBMP200(source, dst, 0, 0, 4, 4, -2, -3, 4, 4);
  expectOnly(dst, 0, 0, 2, 1);

  dst = Filled(8, 8, blue);
  DrawBMP200(source, dst, 0, 0, 4, 4, 6, 5, 4, 4);
  expectOnly(dst, 6, 5, 8, 8);

  dst = Filled(8, 8, blue);
  for (auto [x, y] : {std::pair{8, 0}, {0, 8}, {-4, 0}, {0, -4}, {INT_MAX, INT_MAX},
                      {INT_MIN, INT_MIN}, {INT_MAX - 1, 2}})
    DrawBMP200(source, dst, 0, 0, 4, 4, x, y, 4, 4);
  DrawBMP200(source, dst, 0, 0, 0, 4, 0, 0, 0, 4);
  DrawBMP200(source, dst, 0, 0, -4, -4, 2, 2, -4, -4);
  DrawBMP200(source, dst, INT_MAX, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  expectOnly(dst, 0, 0, 0, 0);

  // Unequal sizes copy the common part, unscaled.
  dst = Filled(8, 8, blue);
  DrawBMP200(source, dst, 0, 0, 4, 4, 1, 1, 2, 3);
  expectOnly(dst, 1, 1, 3, 4);
}

TEST_F(BitmapTest, PixelsMissingFromTheSourceShowThePlaceholder) {
  const std::uint32_t source =
      Load(dir_.Write("small.bmp", disptest::BmpFile(4, 4, 24, WhereColour)));
  const std::uint32_t dst = CreateBMP192(8, 8);
  DrawBMP200(source, dst, -2, 2, 8, 8, 0, 0, 8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const int sx = x - 2, sy = y + 2;
      const bool real = sx >= 0 && sx < 4 && sy >= 0 && sy < 4;
      EXPECT_EQ(Pixel(dst, x, y), real ? WhereColour(sx, sy) : DispPlaceholderPixel(sx, sy))
          << x << "," << y;
    }

  // An empty source gives a sprite that is placeholder through and through, and loud: it
  // holds magenta and black, colours the game's sheets never use together like this.
  const std::uint32_t empty = Load(dir_.Path("no-such-file.bmp"));
  const std::uint32_t sprite = CreateBMP192(24, 24);
  DrawBMP200(empty, sprite, 0, 96, 24, 24, 0, 0, 24, 24);
  bool magenta = false, black = false;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const std::uint32_t p = Pixel(sprite, x, y);
      EXPECT_EQ(p, DispPlaceholderPixel(x, 96 + y));
      magenta |= p == 0xFF00FF;
      black |= p == 0x000000;
    }
  EXPECT_TRUE(magenta && black);
}

TEST_F(BitmapTest, CreateClampsSizesAndInvalidHandlesDoNothing) {
  const std::uint32_t fresh = CreateBMP192(3, 2);
  EXPECT_EQ(Size(fresh), std::make_pair(3, 2));
  EXPECT_EQ(Pixel(fresh, 2, 1), 0x000000u);
  EXPECT_EQ(Size(CreateBMP192(-5, 10)), std::make_pair(0, 0));
  EXPECT_EQ(Size(CreateBMP192(0, 0)), std::make_pair(0, 0));
  EXPECT_EQ(Size(CreateBMP192(100000, 3)), std::make_pair(4096, 3));
  EXPECT_EQ(Size(CreateBMP192(INT_MIN, INT_MAX)), std::make_pair(0, 0));

  std::int32_t w = 0, h = 0;
  EXPECT_FALSE(DispBitmapSize(0, &w, &h));
  EXPECT_FALSE(DispBitmapSize(123456, &w, &h));
  const std::uint32_t red = Filled(2, 2, 0xFF0000);
  DrawBMP200(0, red, 0, 0, 2, 2, 0, 0, 2, 2);
  DrawBMP200(red, 0, 0, 0, 2, 2, 0, 0, 2, 2);
  DrawBMP200(red, 987654, 0, 0, 2, 2, 0, 0, 2, 2);
  DrawBMP214(red, 0, 0, 2, 2);  // no window: nothing to draw into
  DrawBMP214(0, 0, 0, 2, 2);
  EXPECT_EQ(Pixel(red, 1, 1), 0xFF0000u);
}

TEST_F(BitmapTest, BrokenFilesGiveEmptyBitmapsThatCutToPlaceholder) {
  const Bytes good = disptest::BmpFile(4, 3, 24, WhereColour);
  const auto patched = [&](std::size_t at, std::uint32_t value, bool wide = true) {
    Bytes b = good;
    wide ? disptest::Put32(&b, at, value) : disptest::Put16(&b, at, value);
    return b;
  };
  std::vector<std::pair<std::string, Bytes>> cases{
      {"empty", {}},
      {"not a bitmap", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"width 0", patched(disptest::kBmpWidth, 0)},
      {"height 0", patched(disptest::kBmpHeight, 0)},
      {"negative width", patched(disptest::kBmpWidth, static_cast<std::uint32_t>(-4))},
      {"height INT_MIN", patched(disptest::kBmpHeight, 0x80000000u)},
      {"100000 x 100000", [&] {
         Bytes b = patched(disptest::kBmpWidth, 100000);
         disptest::Put32(&b, disptest::kBmpHeight, 100000);
         return b;
       }()},
      // SDL itself would allocate the full 1.6 GB surface before finding the pixels missing.
      {"20000 x 20000, no pixels", [&] {
         Bytes b = patched(disptest::kBmpWidth, 20000);
         disptest::Put32(&b, disptest::kBmpHeight, 20000);
         return b;
       }()},
      {"width 2^30", patched(disptest::kBmpWidth, 1u << 30)},
      {"7 bits", patched(disptest::kBmpBits, 7, false)},
      {"64 bits", patched(disptest::kBmpBits, 64, false)},
      {"0 bits", patched(disptest::kBmpBits, 0, false)},
      {"2 planes", patched(disptest::kBmpPlanes, 2, false)},
      {"jpeg inside", patched(disptest::kBmpCompression, 4)},
      {"png inside", patched(disptest::kBmpCompression, 5)},
      {"rle8 at 24 bits", patched(disptest::kBmpCompression, 1)},
      {"compression 99", patched(disptest::kBmpCompression, 99)},
      {"pixels past the end", patched(disptest::kBmpPixelOffset, 1000000)},
      {"pixels inside the header", patched(disptest::kBmpPixelOffset, 20)},
      {"header size 2^31-1", patched(disptest::kBmpHeaderSize, 0x7FFFFFFF)},
      {"header size 16", patched(disptest::kBmpHeaderSize, 16)},
      {"palette of 2^31", [&] {
         Bytes b = disptest::BmpFile(4, 3, 8, [](int, int) { return 0u; }, false, {0x123456});
         disptest::Put32(&b, disptest::kBmpColoursUsed, 0x80000000u);
         return b;
       }()},
      {"index past the palette", disptest::BmpFile(4, 3, 8, [](int, int) { return 200u; }, false,
                                                   {0x123456, 0x654321})},
  };
  for (std::size_t cut : {1, 2, 10, 13, 14, 17, 18, 30, 53, 54, 60, 62})
    cases.emplace_back("cut at " + std::to_string(cut), Bytes(good.begin(), good.begin() + cut));

  const std::uint32_t probe = CreateBMP192(4, 4);
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    const std::uint32_t bmp = Load(dir_.Write("broken.bmp", bytes).c_str());
    ASSERT_NE(bmp, 0u);
    std::int32_t w = -1, h = -1;
    ASSERT_TRUE(DispBitmapSize(bmp, &w, &h));
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(0, 0));
    DrawBMP200(bmp, probe, 0, 0, 4, 4, 0, 0, 4, 4);
    EXPECT_EQ(Pixel(probe, 3, 3), DispPlaceholderPixel(3, 3));
  }

  const std::string missing = dir_.Path("missing.bmp");
  for (const char* path : {missing.c_str(), ".", "/", static_cast<const char*>(nullptr)}) {
    const std::uint32_t bmp = LoadBMP197(path);
    ASSERT_NE(bmp, 0u);
    EXPECT_EQ(Size(bmp), std::make_pair(0, 0));
  }
}

TEST_F(BitmapTest, CommittedSheetsLoadWithTheirSizes) {
  const std::filesystem::path sheets = DRAVEL_ASSETS_DIR "/bmp";
  const std::pair<const char*, std::pair<int, int>> expected[] = {
      {"face.bmp", {24, 120}}, {"icon.bmp", {16, 256}}, {"numb.bmp", {13, 276}}};
  for (const auto& [name, size] : expected) {
    if (!std::filesystem::exists(sheets / name)) GTEST_SKIP() << (sheets / name) << " not there yet";
    EXPECT_EQ(Size(LoadBMP197((sheets / name).c_str())), size) << name;
  }
}

}  // namespace
