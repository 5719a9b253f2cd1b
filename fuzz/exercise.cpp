// The sheet and clip exercises of exercise.h, on SDL's dummy video and audio drivers.
#include "exercise.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/disp.h"
#include "platform/disp_probe.h"

namespace fuzzload {

namespace {

// Mirrors the layer's load limits (disp_bitmap.cpp): a sheet beyond them must be refused.
constexpr std::int64_t kMaxLoadSide = 16384;
constexpr std::int64_t kMaxLoadPixels = std::int64_t{1} << 24;
constexpr std::uint32_t kBackground = 0xAFAFAF;
constexpr std::int32_t kWindowSide = 64;
// Clips loaded between two shutdowns, so that memory never builds up.
constexpr int kClipsPerRound = 64;

[[noreturn]] void Broken(const char* what, std::int64_t a = 0, std::int64_t b = 0) {
  std::fprintf(stderr, "layer broke a promise: %s (%lld, %lld)\n", what,
               static_cast<long long>(a), static_cast<long long>(b));
  std::abort();
}

// The scratch file every input is written to, in memory where the system offers it; removed
// at exit. A plain array, so that it outlives the exit handler that removes the file.
char g_scratch[512];

const char* ScratchPath() {
  if (!g_scratch[0]) {
    // Whatever the environment says, nothing here may open a real window or sound device.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::error_code ec;
    const std::filesystem::path dir =
        std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm"
                                                      : std::filesystem::temp_directory_path();
    const std::string p = (dir / ("dravel2-fuzz-" + std::to_string(getpid()))).string();
    std::snprintf(g_scratch, sizeof g_scratch, "%s", p.c_str());
    std::atexit([] { std::remove(g_scratch); });
  }
  return g_scratch;
}

const char* WriteScratch(const std::uint8_t* data, std::size_t size) {
  const char* path = ScratchPath();
  std::FILE* f = std::fopen(path, "wb");
  if (!f) Broken("cannot write the scratch file");
  if (size && std::fwrite(data, 1, size, f) != size) Broken("cannot write the scratch file");
  std::fclose(f);
  return path;
}

std::uint32_t Pixel(std::uint32_t bmp, std::int32_t x, std::int32_t y) {
  std::uint32_t rgb = 0;
  if (!DispBitmapPixel(bmp, x, y, &rgb)) Broken("a pixel inside a bitmap cannot be read", x, y);
  return rgb;
}

struct Cut {
  std::int32_t sx, sy, sw, sh, dx, dy, dw, dh;
};

// Copies a block of the sheet into a new bitmap of dw x dh, as the game cuts its sprites, and
// checks every pixel of the result; returns the new bitmap.
std::uint32_t CheckCut(std::uint32_t sheet, std::int32_t sheetW, std::int32_t sheetH,
                       const Cut& c) {
  const std::uint32_t sprite = CreateBMP192(c.dw, c.dh);
  DrawBMP200(sheet, sprite, c.sx, c.sy, c.sw, c.sh, c.dx, c.dy, c.dw, c.dh);
  const std::int32_t w = std::min(c.sw, c.dw), h = std::min(c.sh, c.dh);
  for (std::int32_t y = 0; y < c.dh; ++y)
    for (std::int32_t x = 0; x < c.dw; ++x) {
      const std::uint32_t got = Pixel(sprite, x, y);
      std::uint32_t want = 0;  // a new bitmap is black
      if (x >= c.dx && x < c.dx + w && y >= c.dy && y < c.dy + h) {
        const std::int32_t fx = x - c.dx + c.sx, fy = y - c.dy + c.sy;
        const bool inside = fx >= 0 && fy >= 0 && fx < sheetW && fy < sheetH;
        want = inside ? Pixel(sheet, fx, fy) : DispPlaceholderPixel(fx, fy);
      }
      if (got != want) Broken("a cut sprite has a wrong pixel", x, y);
    }
  return sprite;
}

}  // namespace

void ExerciseSheet(const std::uint8_t* data, std::size_t size) {
  const char* path = WriteScratch(data, size);
  if (!IsWin47() && !CreateWin39(kWindowSide, kWindowSide, kBackground, kBackground, 0))
    Broken("no window on the dummy driver");

  const std::uint32_t sheet = LoadBMP197(path);
  std::int32_t w = -1, h = -1;
  if (!sheet || !DispBitmapSize(sheet, &w, &h)) Broken("a load gave no usable handle");
  const bool empty = w == 0 && h == 0;
  if (!empty && (w < 1 || h < 1 || w > kMaxLoadSide || h > kMaxLoadSide ||
                 std::int64_t{w} * h > kMaxLoadPixels))
    Broken("a sheet outside the load limits", w, h);

  // The game's own cuts (a face, a tile, a digit), then blocks placed by the input's last bytes
  // so that every edge of the sheet and of the sprite gets clipped somewhere.
  Cut cuts[] = {{0, 96, 24, 24, 0, 0, 24, 24}, {0, 240, 16, 16, 0, 0, 16, 16},
                {0, 253, 13, 23, 0, 0, 13, 23}, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}};
  const auto byteAt = [&](std::size_t back) -> std::int32_t {
    return size > back ? data[size - 1 - back] : 0;
  };
  for (int i = 0; i < 2; ++i) {
    Cut& c = cuts[3 + i];
    const std::size_t at = 6 * i;
    c.sx = byteAt(at) % (w + 33) - 16;
    c.sy = byteAt(at + 1) * 7 % (h + 33) - 16;
    c.sw = byteAt(at + 2) % 34 - 1;
    c.sh = byteAt(at + 3) % 34 - 1;
    c.dx = byteAt(at + 4) % 17 - 8;
    c.dy = byteAt(at + 5) % 17 - 8;
    c.dw = 1 + byteAt(at + 2) % 24;
    c.dh = 1 + byteAt(at + 3) % 24;
  }
  std::uint32_t sprite = 0;
  for (const Cut& c : cuts) sprite = CheckCut(sheet, w, h, c);

  // Painting: the whole sheet, then the last sprite over it at an offset; the frame must show
  // the sprite and, where nothing was drawn, the background.
  Clear164();
  DrawBMP214(sheet, 0, 0, w, h);
  const Cut& last = cuts[4];
  DrawBMP214(sprite, 5, 7, last.dw, last.dh);
  FreshWin45();
  for (std::int32_t y = 0; y < last.dh && 7 + y < kWindowSide; ++y)
    for (std::int32_t x = 0; x < last.dw && 5 + x < kWindowSide; ++x) {
      std::uint32_t shown = 0;
      if (!DispFramePixel(5 + x, 7 + y, &shown)) Broken("a frame pixel cannot be read", x, y);
      if (shown != Pixel(sprite, x, y)) Broken("the frame does not show the sprite", x, y);
    }
  if (empty) {
    std::uint32_t corner = 0;
    if (!DispFramePixel(kWindowSide - 1, kWindowSide - 1, &corner) || corner != kBackground)
      Broken("an empty sheet painted something");
  }
  // Sheets may be large: every input starts afresh, so memory never builds up.
  DispShutdown();
}

void ExerciseClip(const std::uint8_t* data, std::size_t size) {
  static int loaded = 0;
  const std::uint32_t clip = LoadAudio292(WriteScratch(data, size));
  if (!clip) Broken("a load gave handle 0");
  SetAudioPos305(clip, 0);
  if (!DispClipLoaded(clip) && DispClipPlaying(clip)) Broken("a clip that did not load sounds");
  if (++loaded % kClipsPerRound == 0) DispShutdown();
}

}  // namespace fuzzload
