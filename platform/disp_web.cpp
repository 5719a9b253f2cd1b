// The browser's part of the SDL layer: the page stands in for the screen, a window unit is a
// device pixel, and the page hands the game its touch presses and its buttons' keys through a
// few exported functions, beside probes that let the page (and its smoke test) look at the
// audio. Compiled only by emcc.
#include <emscripten.h>

#include <cstdint>

#include "platform/disp_probe.h"
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

// The page owns touch input (a tap is a left press, a long press a right one, web/shell.html):
// SDL's own translation of a touch into a mouse press would open a cell as each touch begins.
void PrepareVideo() { SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0"); }

// Without SDL_WINDOW_ALLOW_HIGHDPI the window's size is the canvas's backing store, in device
// pixels; the page shows it at backing / devicePixelRatio CSS pixels, so that a game pixel is
// an exact block of Scale() x Scale() device pixels at any ratio. SDL maps mouse positions
// through the canvas's CSS size, so they arrive in device pixels too.
std::uint32_t WindowFlags() { return 0; }

// As large as fits: SetSize55 brings it down to the largest scale that fits the page's room.
int DesktopScale() { return kMaxScale; }

bool PlacesFrame() { return false; }

bool NoWindowManager() { return false; }

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

bool PageArea(SDL_Rect* full, SDL_Rect* usable) {
  int area[4] = {0, 0, 0, 0};
  ReadPageArea(area);
  *full = SDL_Rect{0, 0, area[0], area[1]};
  *usable = SDL_Rect{0, 0, area[2], area[3]};
  return true;
}

}  // namespace disp_sdl

// Called from JavaScript as Module._dravel2_...
extern "C" {

// The viewport or devicePixelRatio changed: the next turn of the game's loop fits the canvas
// afresh, and draws it again (SDL's own resize handler resets the canvas, which blanks it).
EMSCRIPTEN_KEEPALIVE void dravel2_room_changed() {
  disp_sdl::RoomChanged();
  disp_sdl::RedrawFrame();
}

// A press of button 1 (left) or 3 (right) at canvas pixel (x, y), as the page's taps and long
// presses give them.
EMSCRIPTEN_KEEPALIVE void dravel2_press(int button, int x, int y) {
  DispPushButton(button, true, x, y);
}

// A press of the key that types `key` ('p', ' ', '1'...) on a US keyboard: the page's buttons.
EMSCRIPTEN_KEEPALIVE void dravel2_key(int key) {
  DispPushKey(SDL_GetScancodeFromKey(key), key, false);
}

// Name of the audio driver the clips play on ("emscripten" in a browser with Web Audio);
// "" while no audio device is open.
EMSCRIPTEN_KEEPALIVE const char* dravel2_audio_driver() { return DispAudioDriver(); }

// 1 when clip handle h holds sound, else 0.
EMSCRIPTEN_KEEPALIVE int dravel2_clip_loaded(std::uint32_t h) { return DispClipLoaded(h) ? 1 : 0; }

// 1 while clip handle h is sounding, else 0.
EMSCRIPTEN_KEEPALIVE int dravel2_clip_playing(std::uint32_t h) { return DispClipPlaying(h) ? 1 : 0; }

}  // extern "C"
