// The sheet and clip exercises of exercise.h, on SDL's dummy video and audio drivers.
#include "exercise.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/disp.h"
#include "platform/probe/disp_probe.h"

namespace fuzzload {
namespace {

[[noreturn]] void Broken(const char* what, std::int64_t a = 0, std::int64_t b = 0) {
  std::fprintf(stderr, "layer broke a promise: %s (%lld, %lld)\n", what, static_cast<long long>(a),
               static_cast<long long>(b));
  std::abort();
}

// Nothing here opens a real window or sound device.
[[maybe_unused]] const bool kDummyDrivers =
    setenv("SDL_VIDEODRIVER", "dummy", 1) == 0 && setenv("SDL_AUDIODRIVER", "dummy", 1) == 0;

// Writes the bytes to this process's scratch file, removed at exit.
const char* Scratch(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/dravel2-fuzz-" + std::to_string(getpid());
  [[maybe_unused]] static const int removed = std::atexit([] { std::remove(path.c_str()); });
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || (size && std::fwrite(data, 1, size, f) != size)) Broken("cannot write the scratch file");
  std::fclose(f);
  return path.c_str();
}

std::uint32_t Pixel(std::uint32_t bmp, std::int32_t x, std::int32_t y) {
  std::uint32_t rgb = 0;
  if (!DispBitmapPixel(bmp, x, y, &rgb)) Broken("a pixel inside a bitmap cannot be read", x, y);
  return rgb;
}

}  // namespace

void ExerciseSheet(const std::uint8_t* data, std::size_t size) {
  if (!IsWin47() && !CreateWin39(64, 64, 0xAFAFAF, 0xAFAFAF, 0)) Broken("no window on the dummy driver");
  const std::uint32_t sheet = LoadBMP197(Scratch(data, size));
  std::int32_t w = -1, h = -1;
  if (!DispBitmapSize(sheet, &w, &h)) Broken("a load gave no usable handle");
  if ((w || h) && (w < 1 || h < 1 || w > 16384 || h > 16384 || std::int64_t{w} * h > (1 << 24)))
    Broken("a sheet outside the load limits", w, h);
  // A face, a tile, a digit, and a block placed by the input's last bytes so that every edge
  // gets clipped somewhere: (sx, sy, sw, sh, dx, dy, dw, dh).
  const auto at = [&](std::size_t back) -> std::int32_t { return size > back ? data[size - 1 - back] : 0; };
  const std::int32_t cuts[][8] = {{0, 96, 24, 24, 0, 0, 24, 24}, {0, 240, 16, 16, 0, 0, 16, 16},
                                  {0, 253, 13, 23, 0, 0, 13, 23},
                                  {at(0) % (w + 33) - 16, at(1) * 7 % (h + 33) - 16, at(2) % 34 - 1,
                                   at(3) % 34 - 1, at(4) % 17 - 8, at(5) % 17 - 8, 1 + at(2) % 24, 1 + at(3) % 24}};
  std::uint32_t sprite = 0;
  for (const auto& c : cuts) {
    sprite = CreateBMP192(c[6], c[7]);
    DrawBMP200(sheet, sprite, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
    for (std::int32_t y = 0; y < c[7]; ++y)
      for (std::int32_t x = 0; x < c[6]; ++x) {
        const std::int32_t fx = x - c[4] + c[0], fy = y - c[5] + c[1];
        const bool copied = x >= c[4] && x < c[4] + std::min(c[2], c[6]) && y >= c[5] && y < c[5] + std::min(c[3], c[7]);
        const std::uint32_t want = !copied ? 0 : fx >= 0 && fy >= 0 && fx < w && fy < h ? Pixel(sheet, fx, fy)
                                                                                      : DispPlaceholderPixel(fx, fy);
        if (Pixel(sprite, x, y) != want) Broken("a cut sprite has a wrong pixel", x, y);
      }
  }
  Clear164();
  DrawBMP214(sheet, 0, 0, w, h);
  DrawBMP214(sprite, 5, 7, cuts[3][6], cuts[3][7]);
  FreshWin45();
  std::uint32_t shown = 0;
  if (!DispFramePixel(5, 7, &shown) || shown != Pixel(sprite, 0, 0)) Broken("the frame does not show the sprite");
  DispShutdown();  // sheets may be large: every input starts afresh
}

void ExerciseClip(const std::uint8_t* data, std::size_t size) {
  static int loaded = 0;
  const std::uint32_t clip = LoadAudio292(Scratch(data, size));
  SetAudioPos305(clip, 0);
  if (!clip || (!DispClipLoaded(clip) && DispClipPlaying(clip))) Broken("a clip that did not load sounds");
  if (++loaded % 64 == 0) DispShutdown();
}

}  // namespace fuzzload
