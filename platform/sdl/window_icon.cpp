// The game's icon on its window: the application icon's 16 x 16 artwork, compiled in.
#include <cstdint>

#include "platform/sdl/window_icon.h"

namespace disp_sdl {

namespace {
#include "platform/sdl/window_icon.inc"
}  // namespace

void SetWindowIcon(SDL_Window* window) {
  // The surface only borrows the pixels, which SDL_SetWindowIcon copies; SDL never writes them.
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<std::uint32_t*>(kWindowIconPixels), kWindowIconSize, kWindowIconSize, 32,
      kWindowIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;  // the window merely keeps the desktop's default icon
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

}  // namespace disp_sdl
