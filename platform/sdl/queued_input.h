// Input put on SDL's queue as the keyboard and the mouse would give it: the page's taps and
// buttons (page_web.cpp) and the tests' probes go this way into the game's loop.
#pragma once
#include <SDL.h>

#include <cstdint>

namespace disp_sdl {

// Queues a key press for window: scancode and key code are SDL's numbers (USB usage codes and,
// for printable keys, the character; keycode 0 takes the current layout's). False without a
// window, or when SDL's queue refuses it.
bool QueueKey(SDL_Window* window, std::int32_t scancode, std::int32_t keycode, bool repeat);

// Queues a press (press true) or release of button (1 left, 2 middle, 3 right) at client pixel
// (x, y) of window. False without a window, or when SDL's queue refuses it.
bool QueueButton(SDL_Window* window, std::int32_t button, bool press, std::int32_t x, std::int32_t y);

}  // namespace disp_sdl
