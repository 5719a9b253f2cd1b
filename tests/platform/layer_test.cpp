// Tests of the SDL layer on SDL's dummy drivers: bitmaps of every layout, hostile files, the
// window at its scale, the frame, input, closing, and the clips' mix.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/disp.h"
#include "platform/probe/disp_probe.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;
constexpr std::uint32_t kGrey = 0xAFAFAF;
// The layer's tests never open a real window or sound device, whatever the environment says.
const bool kDummyDrivers = setenv("SDL_VIDEODRIVER", "dummy", 1) == 0 && setenv("SDL_AUDIODRIVER", "dummy", 1) == 0;

void Put(Bytes* b, std::size_t at, std::uint32_t v, int bytes = 4) {
  if (b->size() < at + bytes) b->resize(at + bytes);
  for (int i = 0; i < bytes; ++i) (*b)[at + i] = (v >> (8 * i)) & 0xFF;
}
Bytes With(Bytes b, std::size_t at, std::uint32_t v, int bytes = 4) { return Put(&b, at, v, bytes), b; }

// A colour that tells where in a sheet a pixel came from: red = x, green and blue = y.
std::uint32_t Where(int x, int y) { return (std::uint32_t(x & 0xFF) << 16) | std::uint32_t(y & 0xFFFF); }

// A Windows bitmap of w x h, rows bottom-up unless topDown: at 24 or 32 bits colour(x, y) is the
// pixel, at 1, 4 or 8 its index in the palette; header 12 (the core header, 3-byte palette
// entries), 40, 108 or 124. RLE8 (rle): a run for each stretch of one index, an end of line a row.
Bytes Bmp(int w, int h, int bits, const std::function<std::uint32_t(int, int)>& colour, int header = 40,
          bool topDown = false, const std::vector<std::uint32_t>& palette = {}, bool rle = false) {
  const int entry = header == 12 ? 3 : 4, field = header == 12 ? 2 : 4;
  const std::size_t row = (std::size_t(w) * bits + 31) / 32 * 4, offset = 14 + header + palette.size() * entry;
  Bytes b(offset + (rle ? 0 : row * h), 0);
  b[0] = 'B', b[1] = 'M';
  for (const auto& [at, v, n] : {std::tuple{10, int(offset), 4}, {14, header, 4}, {18, w, field},
                                 {18 + field, topDown ? -h : h, field}, {18 + 2 * field, 1, 2}, {20 + 2 * field, bits, 2}})
    Put(&b, at, std::uint32_t(v), n);
  if (header > 12) Put(&b, 46, std::uint32_t(palette.size())), Put(&b, 30, rle);
  for (std::size_t i = 0; i < palette.size(); ++i) Put(&b, 14 + header + i * entry, palette[i], entry);
  for (int y = rle ? h - 1 : 0; rle ? y >= 0 : y < h; rle ? (b.push_back(0), b.push_back(0), --y) : ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t c = colour(x, y);
      std::uint8_t* p = rle ? nullptr : &b[offset + row * std::size_t(topDown ? y : h - 1 - y)];
      if (rle && x > 0 && b.back() == c)
        ++b[b.size() - 2];
      else if (rle)
        b.push_back(1), b.push_back(std::uint8_t(c));
      else if (bits <= 8)
        p[x * bits / 8] |= std::uint8_t(c << (8 - bits - x * bits % 8));
      else
        for (int i = 0; i < 3; ++i) p[x * (bits / 8) + i] = (c >> (8 * i)) & 0xFF;  // blue first
    }
  if (rle) b.push_back(0), b.push_back(1), Put(&b, 34, std::uint32_t(b.size() - offset));
  return Put(&b, 2, std::uint32_t(b.size())), b;
}

// A RIFF WAVE file: a format chunk of the given (bytes, value) fields, then the data.
Bytes Wave(std::initializer_list<std::pair<int, int>> format, const Bytes& data) {
  Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 0, 0, 0, 0};
  for (const auto& [n, v] : format) Put(&b, b.size(), std::uint32_t(v), n);
  Put(&b, 16, std::uint32_t(b.size() - 20));
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  Put(&b, b.size(), std::uint32_t(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  return Put(&b, 4, std::uint32_t(b.size() - 8)), b;
}
// PCM: frames of `channels` samples of `bits` bits at `rate`, every one `value`.
Bytes Pcm(int frames, int rate = 8000, int channels = 1, int bits = 8, int value = 160) {
  Bytes data;
  for (int i = 0; i < frames * channels; ++i) Put(&data, data.size(), std::uint32_t(value), bits / 8);
  return Wave({{2, 1}, {2, channels}, {4, rate}, {4, rate * channels * bits / 8}, {2, channels * bits / 8}, {2, bits}}, data);
}
// Silent IMA ADPCM, mono at 8 kHz: blocks of 256 bytes, 505 samples.
Bytes Adpcm(int blocks) {
  return Wave({{2, 0x11}, {2, 1}, {4, 8000}, {4, 4055}, {2, 256}, {2, 4}, {2, 2}, {2, 505}}, Bytes(blocks * 256));
}

class Layer : public testing::Test {
 protected:
  Layer() : dir_(fs::temp_directory_path() / ("dravel2-test-" + std::to_string(getpid()))) { fs::create_directories(dir_); }
  ~Layer() override {
    DispShutdown();
    unsetenv("DRAVEL2_SCALE"), unsetenv("DRAVEL2_TRACE");
    fs::remove_all(dir_);
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    std::ofstream(dir_ / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return (dir_ / name).string();
  }
  std::uint32_t Load(const Bytes& bytes) { return LoadBMP197(Write("sheet.bmp", bytes).c_str()); }
  // Read at once (by the probe), before the next clip's bytes take the file's place.
  std::uint32_t Clip(const Bytes& bytes) {
    const std::uint32_t clip = LoadAudio292(Write("clip.wav", bytes).c_str());
    DispClipLoaded(clip);
    return clip;
  }
  static std::uint32_t Pixel(std::uint32_t bmp, int x, int y) {
    std::uint32_t rgb = 0xDEADBEEF;
    EXPECT_TRUE(DispBitmapPixel(bmp, x, y, &rgb)) << x << "," << y;
    return rgb;
  }
  static std::pair<int, int> Size(std::uint32_t bmp) {
    std::int32_t w = -1, h = -1;
    EXPECT_TRUE(DispBitmapSize(bmp, &w, &h));
    return {w, h};
  }
  static std::uint32_t Frame(int x, int y) {
    std::uint32_t rgb = 0xDEADBEEF;
    EXPECT_TRUE(DispFramePixel(x, y, &rgb)) << x << "," << y;
    return rgb;
  }
  // Opens the window as the game does, at the scale DRAVEL2_SCALE names.
  static void Open(const char* scale = "1", int w = 200, int h = 200) {
    setenv("DRAVEL2_SCALE", scale, 1);
    CreateWin39(w, h, kGrey, kGrey, 0x10CC0000);
    ASSERT_TRUE(IsWin47());
    while (IsNextMsg254()) ASSERT_FALSE(IsMouseLeft270() || IsMouseRight274() || IsKey261());
  }
  // The next frames of the mix on the dummy device, which takes the clips' format: 22.05 kHz mono.
  static std::vector<int> Mix(int frames) {
    std::vector<std::int16_t> out(frames);
    int rate = 0;
    EXPECT_EQ(DispMixAudio(out.data(), frames, &rate), 1) << "channels";
    EXPECT_EQ(rate, 22050);
    return std::vector<int>(out.begin(), out.end());
  }
  fs::path dir_;
};

TEST_F(Layer, LoadsEveryBitmapLayoutWithItsPixels) {
  const std::vector<std::uint32_t> palette{0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xAFAFAF, 0x123456, 0xFFFFFF, 0x808080};
  const auto index = [](int x, int y) { return std::uint32_t((x + 2 * y) % 8); };
  const auto two = [](int x, int y) { return std::uint32_t((x + y) % 2); };
  const auto runs = [](int x, int y) { return std::uint32_t((x / 4 + y) % 8); };  // RLE8 smaller than the raw rows
  const auto paletted = [&](int x, int y) { return palette[index(x, y)]; };
  // 13 wide: rows padded to whole words, as in the digit sheet.
  const std::pair<Bytes, std::function<std::uint32_t(int, int)>> cases[] = {
      {Bmp(13, 5, 24, Where), Where}, {Bmp(13, 5, 24, Where, 40, true), Where}, {Bmp(13, 5, 32, Where), Where},
      {Bmp(13, 5, 16, Where), [](int, int y) { return std::uint32_t(y << 3); }},  // X1R5G5B5: y in blue
      {With(Bmp(13, 5, 16, Where, 40, false, {0xF800, 0x07E0, 0x001F}), 30, 3), [](int, int y) { return std::uint32_t(y << 3); }},  // R5G6B5 by its masks
      {With(Bmp(13, 5, 32, Where, 40, false, {0x0000FF, 0x00FF00, 0xFF0000}), 30, 3), [](int x, int y) { return std::uint32_t(y << 16 | x); }},  // red and blue swapped by its masks
      {Bmp(13, 5, 8, index, 40, false, palette), paletted}, {Bmp(13, 5, 4, index, 40, false, palette), paletted},
      {Bmp(13, 5, 1, two, 40, false, {0, 0xFF0000}), [&](int x, int y) { return palette[two(x, y)]; }},
      {Bmp(13, 5, 24, Where, 12), Where}, {Bmp(13, 5, 8, index, 12, false, palette), paletted},
      {Bmp(13, 5, 24, Where, 52), Where}, {Bmp(13, 5, 24, Where, 56), Where},
      {Bmp(13, 5, 24, Where, 108), Where}, {Bmp(13, 5, 24, Where, 124), Where},
      {Bmp(13, 5, 8, runs, 40, false, palette, true), [&](int x, int y) { return palette[runs(x, y)]; }}};
  for (const auto& [file, want] : cases) {
    const std::uint32_t bmp = Load(file);
    ASSERT_EQ(Size(bmp), std::make_pair(13, 5)) << &file - &cases[0].first;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 13; ++x) ASSERT_EQ(Pixel(bmp, x, y), want(x, y)) << &file - &cases[0].first;
  }
  // The core header's sides take two bytes: 300 wide.
  EXPECT_EQ(Size(Load(Bmp(300, 2, 24, Where, 12))), std::make_pair(300, 2));
}

// Hostile sheets and clips, each a (way of breaking, outcome): the layer refuses the file (an
// empty bitmap, a silent clip) or reads the picture or sound it still is.
TEST_F(Layer, HostileFilesAreRefusedOrReadSafely) {
  const Bytes sheet = Bmp(4, 3, 24, Where), clip = Pcm(800);
  const auto cut = [](const Bytes& b, std::size_t n) { return Bytes(b.begin(), b.begin() + n); };
  // The clip with a chunk of n bytes before its data (and the pad byte an odd size takes).
  const auto noted = [&](std::uint32_t n) {
    Bytes b = cut(clip, 36);
    b.insert(b.end(), {'n', 'o', 't', 'e'});
    Put(&b, b.size(), n);
    b.resize(b.size() + n + n % 2);
    b.insert(b.end(), clip.begin() + 36, clip.end());
    return With(b, 4, std::uint32_t(b.size() - 8));
  };
  struct Case { const char* name; Bytes file; bool loads; };
  const Case sheets[] = {
      {"empty", {}, false}, {"a clip", clip, false}, {"cut in the header", cut(sheet, 30), false},
      {"one pixel short", cut(sheet, sheet.size() - 1), false},
      {"width 0", With(sheet, 18, 0), false}, {"negative width", With(sheet, 18, -4u), false},
      {"100000 x 100000", With(With(sheet, 18, 100000), 22, 100000), false}, {"2 planes", With(sheet, 26, 2, 2), false},
      {"7 bits", With(sheet, 28, 7, 2), false}, {"RLE8 at 24 bits", With(sheet, 30, 1), false},
      {"JPEG inside", With(sheet, 30, 4), false}, {"pixels past the end", With(sheet, 10, ~0u), false},
      {"pixels in the header", With(sheet, 10, 20), false}, {"header of 16", With(sheet, 14, 16), false},
      {"palette of 2^31", With(Bmp(4, 3, 8, [](int, int) { return 0u; }, 40, false, {1}), 46, 1u << 31), false},
      {"2^31 colours said at 24 bits", With(sheet, 46, 1u << 31), true}};
  const Case clips[] = {
      {"empty", {}, false}, {"a sheet", sheet, false}, {"not WAVE", With(clip, 8, 0x45564158), false},
      {"format chunk of 2^32-1", With(clip, 16, ~0u), false},
      {"encoding 0x1234", With(clip, 20, 0x1234, 2), false}, {"ADPCM without its extension", With(clip, 20, 2, 2), false},
      {"no channels", With(clip, 22, 0, 2), false}, {"rate 0", With(clip, 24, 0), false},
      {"7 bits", With(clip, 34, 7, 2), false}, {"data of 2^32-1", With(clip, 40, ~0u), false},
      {"cut in the samples", cut(clip, 300), false}, {"800 samples at 8 Hz: 100 s", With(clip, 24, 8), false},
      {"800 samples at 14 Hz: 57 s", With(clip, 24, 14), true},
      {"900 samples at 8 Hz in 2-byte blocks: 112 s", With(With(Pcm(900), 24, 8), 32, 2, 2), false}, {"IMA ADPCM of 100 s", Adpcm(1585), false},
      {"IMA ADPCM of 50 s", Adpcm(792), true},
      {"400 16-bit samples at 10 Hz in 1-byte blocks: 80 s", With(Pcm(400, 10, 1, 16), 32, 1, 2), false},
      {"a format chunk and no data", cut(clip, 36), false},
      {"a chunk of 5 bytes and its pad before the data", noted(5), true}, {"a chunk of 6 before the data", noted(6), true}, {"followed by 33 MB", With(clip, (33 << 20) - 4, 0), false}};
  const std::uint32_t blank = CreateBMP192(4, 4);
  for (const Case& c : sheets) {
    const std::uint32_t bmp = Load(c.file);
    EXPECT_EQ(Size(bmp), c.loads ? std::make_pair(4, 3) : std::make_pair(0, 0)) << c.name;
    DrawBMP200(bmp, blank, 0, 0, 4, 4, 0, 0, 4, 4);  // what the sheet lacks shows the placeholder
    EXPECT_EQ(Pixel(blank, 3, 3), DispPlaceholderPixel(3, 3)) << c.name;
  }
  for (const Case& c : clips) {
    const std::uint32_t h = Clip(c.file);
    EXPECT_EQ(DispClipLoaded(h), c.loads) << c.name;
    SetAudioPos305(h, 0);
  }
  const std::string big = Write("big.bmp", sheet);  // a sheet past the largest the game reads
  fs::resize_file(big, 81 << 20);
  EXPECT_EQ(Size(LoadBMP197(big.c_str())), std::make_pair(0, 0));
  // What is no file at all, for sheets and clips alike.
  ASSERT_EQ(mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir_ / "zero");
  fs::create_symlink("loop", dir_ / "loop");
  for (const fs::path& path : {dir_ / "missing", dir_ / "fifo", dir_ / "zero", dir_ / "loop", fs::path("/")}) {
    EXPECT_EQ(Size(LoadBMP197(path.c_str())), std::make_pair(0, 0)) << path;
    EXPECT_FALSE(DispClipLoaded(LoadAudio292(path.c_str()))) << path;
  }
  EXPECT_TRUE(Size(LoadBMP197(nullptr)) == std::make_pair(0, 0) && !DispClipLoaded(LoadAudio292(nullptr)));
  SetAudioPos305(0, 0);
  SetAudioPos305(123456, 0);
  // New bitmaps are black, their sizes clamped; unknown handles do nothing. (How copies are cut
  // to both bitmaps, the placeholder where the source has no pixel, the fuzz corpus shows.)
  EXPECT_EQ(Pixel(CreateBMP192(3, 1), 2, 0), 0u);
  for (const auto& [w, h] : {std::pair{-5, 10}, {4, 0}}) EXPECT_EQ(Size(CreateBMP192(w, h)), std::make_pair(0, 0)) << w << " x " << h;
  EXPECT_EQ(Size(CreateBMP192(100000, 3)), std::make_pair(4096, 3));
  DrawBMP200(0, blank, 0, 0, 2, 2, 0, 0, 2, 2);
  DrawBMP200(blank, 987654, 0, 0, 2, 2, 0, 0, 2, 2);
  // A copy within one bitmap, a row down, reads every row before it is overwritten.
  const std::uint32_t column = Load(Bmp(1, 4, 24, Where));
  DrawBMP200(column, column, 0, 0, 1, 3, 0, 1, 1, 3);
  for (int y = 1; y < 4; ++y) EXPECT_EQ(Pixel(column, 0, y), Where(0, y - 1)) << y;
}

// The game's own sheets and clips are built in: with none beside the test's executable they
// still load, a bmp/ and wav/ in the working directory count for nothing, and a name the game
// never ships is no file. A refused file is named once, however often it is loaded, and a
// built-in copy as such (here one of the wrong kind).
TEST_F(Layer, TheGamesFilesAreBuiltInAndARefusedOneIsNamedOnce) {
  fs::create_directories(dir_ / "bmp"), fs::create_directories(dir_ / "wav");
  Write("bmp/face.bmp", {1}), Write("wav/Win.wav", {1});
  const fs::path was = fs::current_path();
  fs::current_path(dir_);
  EXPECT_EQ(Size(LoadBMP197("./bmp/face.bmp")), std::make_pair(24, 120));
  EXPECT_TRUE(DispClipLoaded(LoadAudio292("./wav/Win.wav")));
  EXPECT_EQ(Size(LoadBMP197("bmp/none.bmp")), std::make_pair(0, 0));
  EXPECT_EQ(Size(LoadBMP197("\\bmp\\face.bmp")), std::make_pair(0, 0));  // rooted: the disk's only
  fs::current_path(was);
  testing::internal::CaptureStderr();
  Load({1}), Load({1}), Clip({1});
  EXPECT_EQ(Size(LoadBMP197("./wav/Win.wav")), std::make_pair(0, 0));
  EXPECT_FALSE(DispClipLoaded(LoadAudio292("./bmp/face.bmp")));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "dravel2: cannot use " + (dir_ / "sheet.bmp").string() + "; a placeholder shows instead\n"
            "dravel2: cannot use " + (dir_ / "clip.wav").string() + "; that sound stays silent\n"
            "dravel2: cannot use built-in wav/Win.wav; a placeholder shows instead\n"
            "dravel2: cannot use built-in bmp/face.bmp; that sound stays silent\n");
}

// The scale the environment asks for, fitted to the dummy screen (1024 x 768) for each size;
// the game sees its own pixels only.
TEST_F(Layer, WindowSizeAtItsScaleAndPlacement) {
  const std::tuple<const char*, int, int, int> cases[] = {  // scale, client w x h, pixels wide
      {"02", 192, 344, 384}, {"3", 192, 344, 384},  // 3 would be 1032 high
      {"2", 512, 536, 512}, {"2", 192, 344, 384},  // a big board at 1, then back at 2
      {"2", 512, 384, 1024}, {"2", 512, 200, 1024},  // just fits at 2; the height alone changes
      {"1", 192, 344, 192}, {"x", 192, 344, 192}};  // a bad value counts for nothing
  for (const auto& [scale, w, h, pixels] : cases) {
    const char* open = getenv("DRAVEL2_SCALE");
    if (!IsWin47() || !open || std::string(scale) != open) DispShutdown(), Open(scale);
    SetSize55(w, h);
    int pw = 0, ph = 0;
    SDL_GetWindowSize(SDL_GetWindowFromID(GetHwnd75()), &pw, &ph);
    EXPECT_EQ(std::make_pair(pw, ph), std::make_pair(pixels, h * pixels / w)) << scale << ": " << w;
    EXPECT_EQ((std::vector<int>{GetWidth56(), GetHeight57(), GetScrWidth59() * pixels / w}), (std::vector<int>{w, h, 1024}));
  }
  // A frame dragged narrower, however high, zooms to the largest whole scale that fits.
  DispShutdown(), Open("2");
  SetSize55(192, 344);
  SDL_Window* window = SDL_GetWindowFromID(GetHwnd75());
  SDL_SetWindowSize(window, 250, 688);
  SetSize55(192, 344);
  int pw = 0, ph = 0;
  SDL_GetWindowSize(window, &pw, &ph);
  EXPECT_EQ(std::make_pair(pw, ph), std::make_pair(192, 344));
  // Placed in game pixels, and kept on the screen as a window manager would.
  std::int32_t wx = 0, wy = 0;
  EXPECT_TRUE(MoveWindow(GetHwnd75(), -40, 668, 192, 344, true) && DispWindowPosition(&wx, &wy));
  EXPECT_EQ(std::make_pair(wx, wy), std::make_pair(0, 768 - 344));
  EXPECT_FALSE(MoveWindow(GetHwnd75() + 1, 10, 20, 192, 344, true));
  // At 2, half a game pixel wider is no longer the board's width, though it rounds to it.
  DispShutdown(), Open("2");
  SetSize55(192, 344);
  window = SDL_GetWindowFromID(GetHwnd75());
  SDL_SetWindowSize(window, 385, 688);
  EXPECT_EQ(std::make_pair(GetWidth56(), GetHeight57()), std::make_pair(193, 344));
}

// At scale 3: every game pixel a 3 x 3 block; a frame the same as the one on the screen is not
// drawn again, a changed bitmap or scale is; a click anywhere in a block reaches its pixel.
TEST_F(Layer, FrameAndInputAtScaleThree) {
  setenv("DRAVEL2_TRACE", "1", 1);
  Open("3", 64, 64);
  const std::uint32_t sprite = Load(Bmp(13, 23, 24, Where));
  testing::internal::CaptureStderr();
  for (int n = 0; n < 4; ++n) {
    if (n == 3) DrawBMP200(sprite, sprite, 0, 1, 1, 1, 0, 0, 1, 1);  // its corner pixel changes
    Clear164();
    DrawBMP214(sprite, 5, 7, 13, 24);  // the box's last row stays background
    FreshWin45();
  }
  const std::string frame = "frame [0-9.]+\n", left = "frame [0-9.]+ unchanged\n";
  EXPECT_TRUE(testing::internal::RE::FullMatch(testing::internal::GetCapturedStderr(), frame + left + left + frame));
  for (int y = 0; y < 64 * 3; y += 2)
    for (int x = 0; x < 64 * 3; x += 2) {
      const int gx = x / 3 - 5, gy = y / 3 - 7;
      const std::uint32_t want = gx == 0 && gy == 0 ? Where(0, 1) : gx >= 0 && gx < 13 && gy >= 0 && gy < 23 ? Where(gx, gy) : kGrey;
      ASSERT_EQ(Frame(x, y), want) << x << "," << y;
    }
  std::uint32_t rgb = 0;  // the frame ends where the client area does
  EXPECT_FALSE(DispFramePixel(64 * 3, 0, &rgb) || DispFramePixel(0, 64 * 3, &rgb));
  // A size too large for 3 on the screen: the same frame is drawn again at 2 at once.
  SetSize55(400, 300);
  Clear164();
  DrawBMP214(sprite, 5, 7, 13, 24);
  FreshWin45();
  EXPECT_EQ(Frame(10, 14), Where(0, 1));
  EXPECT_EQ(Frame(2 * 17, 2 * 29), Where(12, 22));
  // Presses come in game pixels, one a take; releases, motion and the middle button are none.
  // At 2, window pixel (21, 41) lies in game pixel (10, 20).
  ASSERT_TRUE(DispPushMotion(3, 4) && DispPushButton(1, true, 21, 41) && DispPushButton(3, false, 1, 1) &&
              DispPushButton(2, true, 1, 1) && DispPushButton(3, true, 2 * 30, 2 * 40) && DispPushKey(SDL_SCANCODE_P, 0, false));
  for (const auto& [kind, x, y] : {std::tuple{1, 10, 20}, {2, 30, 40}, {3, 0, 0}}) {
    ASSERT_TRUE(IsNextMsg254());
    EXPECT_EQ(IsMouseLeft270() ? 1 : IsMouseRight274() ? 2 : IsKey261() ? 3 : 0, kind);
    EXPECT_TRUE(kind == 3 || (GetMousePosX290() == x && GetMousePosY291() == y)) << kind;
  }
  EXPECT_EQ(GetKey262(), 'P');
  EXPECT_FALSE(IsNextMsg254());
  // A flood of other events is taken 64 a turn: the game's loop goes on between the takes.
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(DispPushMotion(i, i));
  ASSERT_TRUE(DispPushKey(SDL_SCANCODE_P, 0, false));
  EXPECT_TRUE(IsNextMsg254() && !IsKey261());
  EXPECT_TRUE(IsNextMsg254() && IsKey261());
}

// The game's keys by their Windows codes; on other layouts digits by place ('&' on AZERTY's 1),
// letters by what the key says ('a' on the Q place, 'z' on the W place), or by place where the
// layout has no Latin letters (Cyrillic on D). A held key repeats.
TEST_F(Layer, KeysArriveAsWindowsKeyCodes) {
  Open();
  const int keys[][3] = {{SDL_SCANCODE_ESCAPE, 0, 27}, {SDL_SCANCODE_SPACE, 0, 32}, {SDL_SCANCODE_PAGEUP, 0, 33},
      {SDL_SCANCODE_PAGEDOWN, 0, 34}, {SDL_SCANCODE_LEFT, 0, 37}, {SDL_SCANCODE_UP, 0, 38}, {SDL_SCANCODE_RIGHT, 0, 39},
      {SDL_SCANCODE_DOWN, 0, 40}, {SDL_SCANCODE_KP_PLUS, 0, 107}, {SDL_SCANCODE_0, 0, 48}, {SDL_SCANCODE_1, 0, 49}, {SDL_SCANCODE_9, 0, 57},
      {SDL_SCANCODE_S, 0, 83}, {SDL_SCANCODE_KP_1, 0, 97}, {SDL_SCANCODE_KP_9, 0, 105},
      {SDL_SCANCODE_KP_MINUS, 0, 109}, {SDL_SCANCODE_MUTE, 0, 0}, {SDL_SCANCODE_1, '&', 49},
      {SDL_SCANCODE_Q, 'a', 65}, {SDL_SCANCODE_W, 'z', 90}, {SDL_SCANCODE_M, ',', 188}, {SDL_SCANCODE_D, 0x432, 68}};
  for (const auto& [scancode, keycode, code] : keys) {
    ASSERT_TRUE(DispPushKey(scancode, keycode, code == 48));
    EXPECT_TRUE(IsNextMsg254() && IsKey261() && GetKey262() == code) << scancode;
  }
}

// Closed through the frame or by a quit, the window is gone with what was queued behind; later
// calls are harmless. A window opened again shows the sheets loaded before it.
TEST_F(Layer, ClosingEndsTheWindowAndLaterCallsAreHarmless) {
  const std::uint32_t sheet = Load(Bmp(4, 3, 24, Where));
  for (bool quit : {false, true}) {
    Open();
    Clear164(), DrawBMP214(sheet, 0, 0, 4, 3), FreshWin45();
    EXPECT_EQ(Frame(3, 2), Where(3, 2)) << quit;
    DrawBMP214(0, 0, 0, 2, 2), DrawBMP214(987654, 0, 0, 2, 2);  // unknown handles draw nothing
    ASSERT_TRUE((quit ? DispPushQuit() : DispPushCloseRequest()) && DispPushKey(SDL_SCANCODE_SPACE, 0, false));
    EXPECT_TRUE(IsNextMsg254() && !IsWin47() && !IsKey261() && !IsNextMsg254());
  }
  Clear164(), DrawBMP214(CreateBMP192(2, 2), 0, 0, 2, 2), FreshWin45(), SetSize55(192, 344), SetTitle51("x");
  std::uint32_t rgb = 0;
  EXPECT_FALSE(GetWidth56() || GetHeight57() || GetScrWidth59() || DispFramePixel(0, 0, &rgb) || MoveWindow(1, 0, 0, 10, 10, true));
  EXPECT_FALSE(DispPushButton(1, true, 1, 1) || DispPushKey(SDL_SCANCODE_SPACE, 0, false) || DispPushMotion(1, 1) ||
               DispPushCloseRequest() || DispPushQuit());
  const std::uint32_t bmp = CreateBMP192(3, 2);  // the probes see no pixel past a bitmap's edge
  EXPECT_FALSE(DispBitmapPixel(bmp, 3, 0, &rgb) || DispBitmapPixel(bmp, 0, 2, &rgb));
}

// The clips are read and the device opens once the first frame is shown: a cue before it is
// dropped. Then clips overlap, a clip sounded again restarts, and all of them at once never clip.
TEST_F(Layer, ClipsOverlapRestartAndNeverClip) {
  // A missing clip weighs nothing; the volume is 128 * 32767 / 40328, just 104.
  const std::uint32_t none = LoadAudio292("/no/such.wav");
  const std::uint32_t a = LoadAudio292(Write("a.wav", Pcm(1000, 22050, 1, 16, 10328)).c_str());
  const std::uint32_t b = LoadAudio292(Write("b.wav", Pcm(300, 22050, 1, 16, 30000)).c_str());
  SetAudioPos305(a, 0);
  std::int16_t out[2];
  int rate = 0;
  EXPECT_EQ(DispMixAudio(out, 1, &rate), 0) << "a device open before the first frame";
  Open();
  FreshWin45();
  EXPECT_EQ(DispMixAudio(out, 1, &rate), 0) << "a device open with the first frame";
  FreshWin45();
  EXPECT_TRUE(DispAudioRunning()) << "a device left paused";
  const int A = 10328 * 104 / 128, B = 30000 * 104 / 128;
  const std::pair<std::uint32_t, std::vector<std::pair<int, int>>> steps[] = {  // runs of (frames, value)
      {0, {{100, 0}}}, {a, {{200, A}}}, {b, {{300, A + B}, {100, A}}}, {a, {{1000, A}, {100, 0}}}};
  for (const auto& [clip, runs] : steps) {
    if (clip) SetAudioPos305(clip, 0);
    std::vector<int> want;
    for (const auto& [n, v] : runs) want.insert(want.end(), n, v);
    EXPECT_EQ(Mix(static_cast<int>(want.size())), want) << "after sounding " << clip;
    if (clip == b) {
      EXPECT_TRUE(DispClipPlaying(a) && !DispClipPlaying(b));  // b is done, a sounds on
    }
  }
  EXPECT_FALSE(DispClipPlaying(a) || DispClipPlaying(b) || DispClipLoaded(none));
  // A clip at another rate is converted: 4000 frames at 11.025 kHz last about 8000 here; a third
  // clip lowers everyone's volume, to at most 128 * 32767 / 60000 (less if it overshoots).
  SetAudioPos305(Clip(Pcm(4000, 11025, 1, 16, 20000)), 0);
  const std::vector<int> mix = Mix(9000);
  EXPECT_TRUE(mix[4000] > 10000 && mix[4000] <= 20000 * 69 / 128) << mix[4000];  // 128 * 32767 / 60328
  EXPECT_EQ(std::count(mix.begin() + 8050, mix.end(), 0), 950);
  // Without a device every clip goes silent with the first frame, and the game says so once.
  DispShutdown();
  setenv("SDL_AUDIODRIVER", "no-such-device", 1);
  const std::uint32_t silent = Clip(Pcm(800));
  testing::internal::CaptureStderr();
  Open();
  FreshWin45();
  FreshWin45();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "dravel2: no sound device, playing without sound\n");
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_FALSE(DispClipLoaded(silent) || DispMixAudio(out, 1, &rate));
}

}  // namespace
