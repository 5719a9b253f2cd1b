// Input put on SDL's queue as the devices would give it, declared in queued_input.h.
#include "platform/sdl/queued_input.h"

namespace disp_sdl {

bool QueueKey(SDL_Window* window, std::int32_t scancode, std::int32_t keycode, bool repeat) {
  if (!window) return false;
  SDL_Event e{};
  e.key.type = SDL_KEYDOWN;
  e.key.timestamp = SDL_GetTicks();
  e.key.windowID = SDL_GetWindowID(window);
  e.key.state = SDL_PRESSED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
  e.key.keysym.sym =
      keycode ? static_cast<SDL_Keycode>(keycode) : SDL_GetKeyFromScancode(e.key.keysym.scancode);
  return SDL_PushEvent(&e) == 1;
}

bool QueueButton(SDL_Window* window, std::int32_t button, bool press, std::int32_t x, std::int32_t y) {
  if (!window) return false;
  SDL_Event e{};
  e.button.type = press ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.timestamp = SDL_GetTicks();
  e.button.windowID = SDL_GetWindowID(window);
  e.button.button = static_cast<Uint8>(button);
  e.button.state = press ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = x;
  e.button.y = y;
  return SDL_PushEvent(&e) == 1;
}

}  // namespace disp_sdl
