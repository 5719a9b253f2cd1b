// The window's scale: how many pixels of the screen, each way, show one pixel of the game.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

namespace {

int g_chosen = 0;  // from the command line; 0 when it named none
int g_wanted = 1;  // the player's scale: chosen when the window opens, changed by a drag
int g_scale = 1;   // in effect: g_wanted, or less where the client would not fit the screen
int g_ratio = 1;   // pixels of one window unit: 2 on a doubled Wayland output, else 1

// The scale the player asked for outside the desktop's own settings: the command line, then
// DRAVEL2_SCALE (a bad value there is said once and left aside); 0 for none.
int AskedScale() {
  if (g_chosen) return g_chosen;
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

void ChooseScale(int n) { g_chosen = std::clamp(n, 1, kMaxScale); }

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

void StartScale(int ratio) {
  g_ratio = std::max(ratio, 1);
  const int asked = AskedScale();
  g_wanted = asked ? asked : std::clamp(DesktopScale(), 1, kMaxScale);
  g_scale = 1;
}

int Scale() { return g_scale; }

int PixelsPerUnit() { return g_ratio; }

void SetScale(int n) { g_scale = std::clamp(n, 1, kMaxScale); }

int WantedScale() { return g_wanted; }

void ZoomTo(int n) { g_wanted = std::clamp(n, 1, kMaxScale); }

std::int64_t UnitsFromGame(std::int64_t v) { return v * g_scale / g_ratio; }

std::int32_t GameFromUnits(std::int64_t v) {
  const std::int64_t game = v * g_ratio / g_scale - (v < 0 && v * g_ratio % g_scale ? 1 : 0);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(game, INT32_MIN, INT32_MAX));
}

}  // namespace disp_sdl
