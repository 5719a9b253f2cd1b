// The window's scale: how many pixels of the screen, each way, show one pixel of the game.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/sdl/scale.h"

namespace disp_sdl {

namespace {

// The scale DRAVEL2_SCALE asks for (a bad value there is said and left aside); 0 for none.
int EnvironmentScale() {
  const char* env = std::getenv("DRAVEL2_SCALE");
  const int n = ScaleValue(env);
  if (env && *env && !n)
    std::fprintf(stderr, "dravel2: DRAVEL2_SCALE must be a whole number from 1 to %d, not '%s'\n",
                 kMaxScale, env);
  return n;
}

}  // namespace

int ScaleValue(const char* text) {
  if (!text || !*text) return 0;
  int n = 0;
  for (const char* c = text; *c; ++c) {
    if (*c < '0' || *c > '9') return 0;
    n = n * 10 + (*c - '0');
    if (n > kMaxScale) return 0;
  }
  return n;
}

void Scale::Choose(int n) { chosen_ = std::clamp(n, 1, kMaxScale); }

int ScaleFromDpi(double dpi) {
  if (!(dpi > 0)) return 1;
  return std::clamp(static_cast<int>(dpi / 96.0 + 0.5), 1, kMaxScale);
}

int FittingScale(int wanted, std::int64_t w, std::int64_t h, std::int64_t roomW,
                 std::int64_t roomH) {
  int n = std::clamp(wanted, 1, kMaxScale);
  while (n > 1 && (n * w > roomW || n * h > roomH)) --n;
  return n;
}

void Scale::Start(int ratio, int desktop) {
  ratio_ = std::max(ratio, 1);
  const int asked = chosen_ ? chosen_ : EnvironmentScale();
  wanted_ = asked ? asked : std::clamp(desktop, 1, kMaxScale);
  scale_ = 1;
}

void Scale::Set(int n) { scale_ = std::clamp(n, 1, kMaxScale); }

void Scale::ZoomTo(int n) { wanted_ = std::clamp(n, 1, kMaxScale); }

std::int64_t Scale::UnitsFromGame(std::int64_t v) const { return v * scale_ / ratio_; }

std::int32_t Scale::GameFromUnits(std::int64_t v) const {
  const std::int64_t game = v * ratio_ / scale_ - (v < 0 && v * ratio_ % scale_ ? 1 : 0);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(game, INT32_MIN, INT32_MAX));
}

}  // namespace disp_sdl
