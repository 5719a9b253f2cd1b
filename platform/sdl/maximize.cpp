// The maximized window: the board shown at the largest whole scale that fits it, centred, the
// margin in the window's colour; restoring the window brings back the scale from before.
#include <algorithm>

#include "platform/sdl/layer.h"

namespace disp_sdl {

void FollowMaximized() {
  Layer& l = TheLayer();
  if (!l.window) return;
  // The window's state, not the order of its events: Windows sends "restored" on its way from
  // minimized back to maximized.
  if (!(SDL_GetWindowFlags(l.window) & SDL_WINDOW_MAXIMIZED)) {
    if (!l.maximized) return;
    l.maximized = false;
    l.boardX = l.boardY = 0;
    l.scale.ZoomTo(l.wantedBeforeMaximized);
    l.refit = true;  // the game sizes its window afresh, at that scale
    RedrawFrame();
    return;
  }
  if (!l.maximized) l.wantedBeforeMaximized = l.scale.Wanted();
  l.maximized = true;
  int unitsW = 0, unitsH = 0;
  SDL_GetWindowSize(l.window, &unitsW, &unitsH);
  const int ratio = l.scale.PixelsPerUnit();
  l.scale.Set(FittingScale(kMaxScale, l.gameW, l.gameH, std::int64_t{unitsW} * ratio,
                           std::int64_t{unitsH} * ratio));
  l.boardX = static_cast<int>(std::max<std::int64_t>((unitsW - l.scale.UnitsFromGame(l.gameW)) / 2, 0));
  l.boardY = static_cast<int>(std::max<std::int64_t>((unitsH - l.scale.UnitsFromGame(l.gameH)) / 2, 0));
  RedrawFrame();
}

}  // namespace disp_sdl
