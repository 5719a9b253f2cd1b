// The browser page's way into the game: the functions its script calls (Module._dravel2_...)
// for the touch presses and buttons it owns and a change of its room; and the page's
// visibility, which holds the game's clock. Linked only into the browser build.
#include <SDL.h>
#include <emscripten.h>

#include "platform/sdl/desktop.h"
#include "platform/sdl/layer.h"
#include "platform/sdl/queued_input.h"

namespace {

// The game's clock stands still while the page cannot be seen: hidden (another tab or app),
// left (pagehide: the back-forward cache) or frozen; it goes on from where it stopped when the
// page is seen again. (SDL's own hidden and shown events do the same for visibilitychange.)
EM_JS(void, WatchPage, (), {
  const seen = () => { _dravel2_page_seen(document.hidden ? 0 : 1); };
  document.addEventListener('visibilitychange', seen);
  addEventListener('pageshow', seen);
  document.addEventListener('resume', seen);
  addEventListener('pagehide', () => _dravel2_page_seen(0));
  document.addEventListener('freeze', () => _dravel2_page_seen(0));
});

__attribute__((constructor)) void StartWatching() { WatchPage(); }

}  // namespace

extern "C" {

// The viewport or devicePixelRatio changed: the next turn of the game's loop fits the canvas
// afresh, and draws it again (SDL's own resize handler resets the canvas, which blanks it).
EMSCRIPTEN_KEEPALIVE void dravel2_room_changed() {
  disp_sdl::RoomChanged();
  disp_sdl::RedrawFrame();
  disp_sdl::desktop::Wake();
}

// The page can be seen (1) or not (0).
EMSCRIPTEN_KEEPALIVE void dravel2_page_seen(int seen) {
  disp_sdl::HoldClock(seen == 0);
  if (seen) disp_sdl::desktop::Wake();
}

// A press of button 1 (left) or 3 (right) at canvas pixel (x, y), as the page's taps and long
// presses give them.
EMSCRIPTEN_KEEPALIVE void dravel2_press(int button, int x, int y) {
  disp_sdl::QueueButton(disp_sdl::TheLayer().window, button, true, x, y);
}

// A press of the key that types `key` ('p', ' ', '1'...) on a US keyboard: the page's buttons.
EMSCRIPTEN_KEEPALIVE void dravel2_key(int key) {
  disp_sdl::QueueKey(disp_sdl::TheLayer().window, SDL_GetScancodeFromKey(key), key, false);
}

}  // extern "C"
