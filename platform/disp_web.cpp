// The browser's part of the SDL layer: the page stands in for the screen, and a few exported
// probes let the page (and its smoke test) look at the audio. Compiled only by emcc.
#include <emscripten.h>

#include <cstdint>

#include "platform/disp_probe.h"
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

void PrepareVideo() {}

std::uint32_t WindowFlags() { return 0; }

int DesktopScale() { return 1; }

bool NoWindowManager() { return false; }

bool PageArea(SDL_Rect* full, SDL_Rect* usable) {
  full->x = full->y = 0;
  full->w = EM_ASM_INT({ return window.innerWidth | 0; });
  full->h = EM_ASM_INT({ return window.innerHeight | 0; });
  *usable = *full;
  return true;
}

}  // namespace disp_sdl

// Called from JavaScript as Module._dravel2_...; each only reads the layer's state.
extern "C" {

// Name of the audio driver the clips play on ("emscripten" in a browser with Web Audio);
// "" while no audio device is open.
EMSCRIPTEN_KEEPALIVE const char* dravel2_audio_driver() { return DispAudioDriver(); }

// 1 when clip handle h holds sound, else 0.
EMSCRIPTEN_KEEPALIVE int dravel2_clip_loaded(std::uint32_t h) { return DispClipLoaded(h) ? 1 : 0; }

// 1 while clip handle h is sounding, else 0.
EMSCRIPTEN_KEEPALIVE int dravel2_clip_playing(std::uint32_t h) { return DispClipPlaying(h) ? 1 : 0; }

}  // extern "C"
