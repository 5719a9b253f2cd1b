// The game's icon on its window.
#pragma once
#include <SDL.h>

namespace disp_sdl {

// Sets the application icon's 16 x 16 artwork on the window; where it cannot, the window keeps
// the desktop's default icon.
void SetWindowIcon(SDL_Window* window);

}  // namespace disp_sdl
