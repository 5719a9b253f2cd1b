// What the Windows desktop tells the layer: its scale, from the display's DPI; there is always a
// window manager, and nothing to quiet on stderr.
#include <SDL.h>

#include "platform/sdl/desktop.h"
#include "platform/sdl/scale.h"

namespace disp_sdl::desktop {

// The layer scales by whole numbers itself; Windows must not stretch the window once more (and
// blur it), so the process declares that it handles each monitor's DPI before video starts.
// Window sizes and positions are then in the screen's own pixels.
void PrepareVideo() { SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2"); }

std::uint32_t WindowFlags() { return 0; }

// The window's display, else the first: 96 DPI (100 %) is 1, 192 DPI (200 %) is 2.
int Scale(SDL_Window* window, int) {
  const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
  float dpi = 0;
  if (SDL_GetDisplayDPI(display < 0 ? 0 : display, nullptr, &dpi, nullptr) != 0) return 1;
  return ScaleFromDpi(dpi);
}

bool PageArea(SDL_Rect*, SDL_Rect*) { return false; }

bool HasFrames() { return true; }

bool PlacesFrame() { return false; }

bool NoWindowManager(SDL_Window*) { return false; }

void Sleep(std::int32_t ms) {
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

void Wake() {}

double SoundDeviceDelay() { return 0; }

void SoundStarted(std::uint32_t) {}

void SoundsQuiet() {}

// Windows' audio drivers say nothing on stderr.
QuietStderr::QuietStderr() = default;
QuietStderr::~QuietStderr() = default;

}  // namespace disp_sdl::desktop
