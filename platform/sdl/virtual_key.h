// The Windows virtual-key code the game reads for a key SDL reports.
#pragma once
#include <SDL.h>

#include <cstdint>

namespace disp_sdl {

// Windows virtual-key code of a key press; 0 for keys the game has no use for and no easy
// equivalent. Digits go by position (they need Shift on some layouts), letters by the letter
// the layout puts on the key, falling back to the position where the layout has no Latin
// letters, so every command key can be reached on any keyboard.
std::int32_t VirtualKey(SDL_Scancode sc, SDL_Keycode kc);

}  // namespace disp_sdl
