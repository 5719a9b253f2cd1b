// The SDL layer's one state, and its lifecycle: the window's end, the whole layer's shutdown.
#include "platform/sdl/layer.h"

#include <cstdlib>

#include "platform/sdl/desktop.h"
#include "platform/sdl/options.h"

namespace disp_sdl {

namespace {
Layer g_layer;
}  // namespace

Layer& TheLayer() { return g_layer; }

void ShutDownAtExit() {
  // Registered at first use, after the state was made, so it runs before it is destroyed.
  static const bool registered = std::atexit(ShutDown) == 0;
  (void)registered;
}

void DestroyWindow() {
  Layer& l = g_layer;
  if (l.screen.IsOpen()) {
    l.bitmaps.ForgetTextures();
    l.screen.Close();
  }
  if (l.window) {
    SDL_DestroyWindow(l.window);
    l.window = nullptr;
  }
  if (l.videoUp) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    l.videoUp = false;
  }
  l.message = Message::kNone;
  l.frame.Forget();
  l.firstFrameAt = -1;
  l.clock.Hold(false);
  l.gameW = l.gameH = l.setW = l.setH = 0;
  l.refit = false;
  l.maximized = false;
  l.boardX = l.boardY = 0;
}

void ShutDown() {
  DestroyWindow();
  g_layer.clips.Release();
  g_layer.unreadClips.clear();
  g_layer.bitmaps.Release();
  SDL_Quit();
}

void RoomChanged() {
  Layer& l = g_layer;
  l.refit = l.window != nullptr;
  l.scale.ZoomTo(desktop::Scale(l.window, l.scale.PixelsPerUnit()));
}

void RedrawFrame() { g_layer.frame.Stale(); }

void HoldClock(bool hold) { g_layer.clock.Hold(hold); }

void ChooseScale(int n) { g_layer.scale.Choose(n); }

}  // namespace disp_sdl
