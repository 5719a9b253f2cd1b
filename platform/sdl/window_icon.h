// The game's icon on its window.
#pragma once
#include <SDL.h>

namespace disp_sdl {

// Sets the application icon on the window: its 16 x 16 artwork, compiled in (window_icon.cpp);
// on Windows the executable's icon resource at the sizes the display asks for
// (window_icon_windows.cpp). Where it cannot, the window keeps the desktop's default icon.
void SetWindowIcon(SDL_Window* window);

}  // namespace disp_sdl
