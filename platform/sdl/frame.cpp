// The frame's display operations: the draws the game makes between Clear164 and FreshWin45,
// scaled and shown, and not shown again while they stay the same. The clips are read and the
// audio device opens at a repaint after the first (desktop::SoundDeviceDelay), once the first
// frame is on the screen: neither ever delays the first picture.
#include <algorithm>
#include <cstdio>

#include "platform/disp.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/layer.h"

namespace disp_sdl {
namespace {
Layer& l = TheLayer();
}  // namespace
}  // namespace disp_sdl

using namespace disp_sdl;

void Clear164() { l.frame.Begin(); }

void DrawBMP214(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  const Bitmap* b = l.bitmaps.Find(bmp);
  if (!b || !b->surface || !l.screen.IsOpen()) return;
  // Unscaled, cut to the box: a 13 x 23 digit in its 13 x 24 box keeps its crisp pixels and
  // leaves the box's last row to the background. Far outside the window nothing shows.
  const std::int32_t dw = std::min(w, b->surface->w), dh = std::min(h, b->surface->h);
  if (dw <= 0 || dh <= 0 || x <= -dw || y <= -dh || x >= kMaxClientSide || y >= kMaxClientSide)
    return;
  l.frame.Add(bmp, x, y, dw, dh);
}

// The trace says "frame T" for a frame drawn and shown, "frame T unchanged" for one left as it
// was on the screen: either way the repaint is over.
void FreshWin45() {
  if (!l.screen.IsOpen()) return;
  const bool changed = l.frame.Changed(l.bitmaps.Changes());
  if (changed) {
    // Maximized, the board is drawn into its place, and the margin round it keeps the colour
    // the frame is cleared with.
    const int ratio = l.scale.PixelsPerUnit();
    const SDL_Rect board{l.boardX * ratio, l.boardY * ratio, l.gameW * l.scale.Now(), l.gameH * l.scale.Now()};
    l.screen.Show(l.frame.Draws(), l.bitmaps, l.scale.Now(), l.maximized ? &board : nullptr);
    l.frame.Shown(l.bitmaps.Changes());
  }
  if (l.trace) std::fprintf(stderr, "frame %.6f%s\n", l.clock.Now(), changed ? "" : " unchanged");
  if (!l.clips.Opened() && l.firstFrameAt >= 0 &&
      l.clock.Now() - l.firstFrameAt >= desktop::SoundDeviceDelay()) {
    ReadClips();
    bool open = false;
    {
      desktop::QuietStderr quiet;
      open = l.clips.Open();
    }
    if (!open) std::fputs("dravel2: no sound device, playing without sound\n", stderr);
  }
  if (l.firstFrameAt < 0) l.firstFrameAt = l.clock.Now();
}
