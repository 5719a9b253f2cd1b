// The game's icon on its window.
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

void SetWindowIcon(SDL_Window*) {}

}  // namespace disp_sdl
