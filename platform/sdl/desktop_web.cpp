// What the browser tells the layer: the page stands in for the screen and a window unit is a
// device pixel; touch is the page's own; nothing to quiet on stderr. Compiled only by emcc.
#include <emscripten.h>

#include "platform/sdl/desktop.h"
#include "platform/sdl/scale.h"

namespace disp_sdl::desktop {

namespace {

// The viewport, and the room the page's layout leaves the canvas (Module.dravel2Room, in CSS
// pixels, when the page has it), into area[0..3] in device pixels, rounded down.
EM_JS(void, ReadPageArea, (int* area), {
  const room = Module.dravel2Room ? Module.dravel2Room() : [innerWidth, innerHeight];
  const ratio = window.devicePixelRatio || 1;
  const sides = [innerWidth, innerHeight, room[0], room[1]];
  HEAP32.set(sides.map((v) => Math.max(0, Math.floor(v * ratio))), area >> 2);
});

}  // namespace

// The page owns touch input (a tap is a left press, a long press a right one, web/shell.html):
// SDL's own translation of a touch into a mouse press would open a cell as each touch begins.
void PrepareVideo() { SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0"); }

// Without SDL_WINDOW_ALLOW_HIGHDPI the window's size is the canvas's backing store, in device
// pixels; the page shows it at backing / devicePixelRatio CSS pixels, so that a game pixel is
// an exact block of scale x scale device pixels at any ratio. SDL maps mouse positions
// through the canvas's CSS size, so they arrive in device pixels too.
std::uint32_t WindowFlags() { return 0; }

// As large as fits: SetSize55 brings it down to the largest scale that fits the page's room.
int Scale(SDL_Window*, int) { return kMaxScale; }

bool PageArea(SDL_Rect* full, SDL_Rect* usable) {
  int area[4] = {0, 0, 0, 0};
  ReadPageArea(area);
  *full = SDL_Rect{0, 0, area[0], area[1]};
  *usable = SDL_Rect{0, 0, area[2], area[3]};
  return true;
}

bool PlacesFrame() { return false; }

bool NoWindowManager(SDL_Window*) { return false; }

// Hands the turn back to the browser (the game's loop runs under ASYNCIFY).
void Sleep(std::int32_t ms) {
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

QuietStderr::QuietStderr() = default;
QuietStderr::~QuietStderr() = default;

}  // namespace disp_sdl::desktop
