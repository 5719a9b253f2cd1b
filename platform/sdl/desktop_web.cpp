// What the browser tells the layer: the page stands in for the screen, and the canvas holds the
// game's own pixels, which the page enlarges; touch is the page's own; the loop sleeps until
// something is due; nothing to quiet on stderr. Compiled only by emcc.
#include <emscripten.h>

#include <ctime>

#include "platform/sdl/desktop.h"

// Every page load deals anew. The board seeds its first deal with clock(), which Emscripten's
// own starts at 0 at its first call, so that every load dealt the same board. This clock()
// counts from the start of the page's navigation (performance.now, finer than a millisecond):
// the first deal's seed is the time the page took to get there, different from load to load.
extern "C" std::clock_t clock() {
  return static_cast<std::clock_t>(static_cast<long long>(emscripten_get_now() * (CLOCKS_PER_SEC / 1000.0)));
}

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

// The sleep between two turns of the game's loop (which runs under ASYNCIFY): the turn goes
// back to the browser until the next thirtieth of a second, or until input comes (WakeOnInput,
// and Wake for the page's own calls into page_web.cpp). The game has nothing due more often:
// its repaint grid is 1/15 s, and its row clock, which takes one step a turn, steps every
// 5 / (level + 5) s, 1/21 s at level 99, the highest that play reaches. A page left alone wakes
// at most 30 times a second; a hidden page does not wake until it is shown.
EM_JS(void, dravel2_page_sleep, (int ms), {
  return Asyncify.handleSleep((wakeUp) => {
    let timer = 0;
    const wake = () => {
      if (Module.dravel2Wake !== wake) return;
      Module.dravel2Wake = null;
      clearTimeout(timer);
      callUserCallback(wakeUp);  // which ends the runtime once main has returned (Esc)
    };
    Module.dravel2Wake = wake;
    if (document.hidden) return;
    // The next thirtieth after the last one the timer was set for, never sooner: a turn that
    // ends just before a boundary does not wake twice in one thirtieth.
    const step = 1000 / 30, now = performance.now();
    const due = Math.max((Module.dravel2Due || 0) + step, now + Math.max(ms, 1));
    Module.dravel2Due = due;
    timer = setTimeout(wake, due - now);
  });
});

// Wakes the sleeping loop once the code that brought the input has returned.
EM_JS(void, WakeSoon, (), {
  if (Module.dravel2Wake) Promise.resolve().then(() => Module.dravel2Wake && Module.dravel2Wake());
});

// SDL's listeners queue a press, a key, a change of the window (shown, hidden, resized).
int WakeOnInput(void*, SDL_Event* e) {
  if (e->type == SDL_MOUSEBUTTONDOWN || e->type == SDL_KEYDOWN || e->type == SDL_WINDOWEVENT ||
      e->type == SDL_QUIT)
    WakeSoon();
  return 0;
}

}  // namespace

// The page owns touch input (a tap is a left press, a long press a right one, web/shell.html):
// SDL's own translation of a touch into a mouse press would open a cell as each touch begins.
// The loop's sleep is the only one that hands the turn back to the browser: SDL's own (after
// every frame it presents, and in SDL_Delay) would unwind through code built not to.
void PrepareVideo() {
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
  SDL_DelEventWatch(WakeOnInput, nullptr);
  SDL_AddEventWatch(WakeOnInput, nullptr);
}

// Without SDL_WINDOW_ALLOW_HIGHDPI the window's size is the canvas's backing store. The layer
// draws it at scale 1, a pixel a game pixel, and the page shows it enlarged (pixelated) to the
// largest whole number of device pixels a game pixel that fits its room (web/shell.html): the
// browser enlarges it as it composites the page, where the layer would have drawn, and copied
// to the canvas, up to 64 times as many pixels in every frame. SDL maps mouse positions
// through the canvas's CSS size, so they arrive in game pixels.
std::uint32_t WindowFlags() { return 0; }

int Scale(SDL_Window*, int) { return 1; }

bool PageArea(SDL_Rect* full, SDL_Rect* usable) {
  int area[4] = {0, 0, 0, 0};
  ReadPageArea(area);
  *full = SDL_Rect{0, 0, area[0], area[1]};
  *usable = SDL_Rect{0, 0, area[2], area[3]};
  return true;
}

bool PlacesFrame() { return false; }

// No borders to ask SDL for, nor to wait for: asking made SDL format an error message, and a
// phone compiled the C library's printf for it.
bool HasFrames() { return false; }

bool NoWindowManager(SDL_Window*) { return false; }

// Making the browser's audio context holds a mid-range phone's main thread for about a third of
// a second, and the page paints the canvas only after the turn that made it: a second after the
// first board, the player has it on the screen. No sound plays before the page's first touch
// anyway.
double SoundDeviceDelay() { return 1.0; }

void Sleep(std::int32_t ms) { dravel2_page_sleep(ms); }

void Wake() { WakeSoon(); }

namespace {

// The device's callback wakes the page about 170 times a second, sound or not: the audio
// context rests (is suspended) once a callback has only silence to give, and wakes when a clip
// starts (after the page's first gesture, which the browser asks for). The page hears of every
// cue (Module.dravel2Cue, with the clip's handle).
EM_JS(void, PageCue, (int clip), {
  if (Module.dravel2Cue) Module.dravel2Cue(clip);
  const audio = Module.SDL2 && Module.SDL2.audioContext;
  if (audio && audio.state === 'suspended' && (!navigator.userActivation || navigator.userActivation.hasBeenActive))
    audio.resume();
});
EM_JS(void, AudioRests, (), {
  const audio = Module.SDL2 && Module.SDL2.audioContext;
  if (audio && audio.state === 'running') audio.suspend();
});

}  // namespace

void SoundStarted(std::uint32_t clip) { PageCue(static_cast<int>(clip)); }

void SoundsQuiet() { AudioRests(); }

QuietStderr::QuietStderr() = default;
QuietStderr::~QuietStderr() = default;

}  // namespace disp_sdl::desktop
