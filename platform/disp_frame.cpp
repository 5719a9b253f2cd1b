// The frame: the draws the game makes between Clear164 and FreshWin45, scaled and shown, and
// not shown again while they stay the same.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/disp.h"
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

namespace {

// One DrawBMP214, in game pixels, already cut to the bitmap's size; DrawBMP214 keeps every
// coordinate and size within 16 bits.
struct Draw {
  std::uint32_t bmp;
  std::int16_t x, y, w, h;
};

// The frame being drawn, and a digest of its draws as they come. The frame on the screen is
// still right while the digest is the one shown, no bitmap changed, and the window was neither
// resized nor uncovered since (g_stale). Only the digest of the shown frame is kept: a frame
// of the largest board has ten thousand draws.
std::vector<Draw> g_drawing;
std::uint64_t g_digest = 0, g_shownDigest = 0, g_shownPictures = 0;
bool g_stale = true;

// FNV-1a over the draws' fields, one at a time.
constexpr std::uint64_t kDigestStart = 14695981039346656037ull;
std::uint64_t Mixed(std::uint64_t digest, std::uint32_t value) {
  return (digest ^ value) * 1099511628211ull;
}

}  // namespace

void RedrawFrame() { g_stale = true; }

void ForgetFrames() {
  g_drawing.clear();
  g_drawing.shrink_to_fit();
  g_stale = true;
}

void RenderFrame() {
  SDL_RenderClear(g_renderer);
  const int n = Scale();
  for (const Draw& d : g_drawing) {
    Bitmap* b = FindBitmap(d.bmp);
    if (!b || (b->dirty && !RefreshTexture(*b)) || !b->texture) continue;
    const SDL_Rect from{0, 0, d.w, d.h};
    const SDL_Rect to{d.x * n, d.y * n, d.w * n, d.h * n};
    SDL_RenderCopy(g_renderer, b->texture, &from, &to);
  }
}

}  // namespace disp_sdl

using namespace disp_sdl;

void Clear164() {
  g_drawing.clear();
  g_digest = kDigestStart;
}

void DrawBMP214(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  const Bitmap* b = FindBitmap(bmp);
  if (!b || !b->surface || !g_renderer) return;
  // Unscaled, cut to the box: a 13 x 23 digit in its 13 x 24 box keeps its crisp pixels and
  // leaves the box's last row to the background. Far outside the window nothing shows.
  const std::int32_t dw = std::min(w, b->surface->w), dh = std::min(h, b->surface->h);
  if (dw <= 0 || dh <= 0 || x <= -dw || y <= -dh || x >= kMaxClientSide || y >= kMaxClientSide)
    return;
  g_drawing.push_back(Draw{bmp, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                          static_cast<std::int16_t>(dw), static_cast<std::int16_t>(dh)});
  for (const std::int32_t v : {static_cast<std::int32_t>(bmp), x, y, dw, dh})
    g_digest = Mixed(g_digest, static_cast<std::uint32_t>(v));
}

// The trace says "frame T" for a frame drawn and shown, "frame T unchanged" for one left as it
// was on the screen: either way the repaint is over.
void FreshWin45() {
  if (!g_renderer) return;
  const bool changed = g_stale || g_digest != g_shownDigest || g_shownPictures != PicturesChanged();
  if (changed) {
    RenderFrame();
    SDL_RenderPresent(g_renderer);
    g_shownDigest = g_digest;
    g_shownPictures = PicturesChanged();
    g_stale = false;
  }
  if (Tracing()) std::fprintf(stderr, "frame %.6f%s\n", GetTimeR49(), changed ? "" : " unchanged");
  RunPresentHook();
}
