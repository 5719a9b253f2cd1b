// What the Linux desktop tells the layer: its scale (X11 or Wayland), whether a window manager
// runs (X11 only); and stderr kept quiet while a sound library looks for a device.
#include <SDL.h>
#include <SDL_syswm.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/desktop.h"
#include "platform/sdl/scale.h"

namespace disp_sdl::desktop {

namespace {

#if defined(DRAVEL_X11) && defined(SDL_VIDEO_DRIVER_X11)
// The X server of the window, or null where the window is not on X11.
Display* XDisplay(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return nullptr;
  return info.info.x11.display;
}

// Xft.dpi of the server's resource database (the root window's RESOURCE_MANAGER, where
// desktops put their scale for every program); 0 when it names none.
double XftDpi(SDL_Window* window) {
  Display* display = XDisplay(window);
  const char* resources = display ? XResourceManagerString(display) : nullptr;
  for (const char* line = resources; line && *line;) {
    if (std::strncmp(line, "Xft.dpi:", 8) == 0) return std::strtod(line + 8, nullptr);
    line = std::strchr(line, '\n');
    if (line) ++line;
  }
  return 0;
}
// The X server went away (it ended, or the connection broke). Nothing of the window can be
// released any more: Xlib's own handler would run the exit handlers, whose release of the window
// then waits for the lost server for ever. Say so and end at once.
int DisplayLost(Display*) {
  static const char kLine[] = "dravel2: the display went away\n";
  if (write(2, kLine, sizeof kLine - 1) < 0) {
    // nothing more can be said
  }
  _exit(1);
}
#else
double XftDpi(SDL_Window*) { return 0; }
#endif

bool OnWayland() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "wayland") == 0;
}

}  // namespace

void PrepareVideo() {
#if defined(DRAVEL_X11) && defined(SDL_VIDEO_DRIVER_X11)
  XSetIOErrorHandler(DisplayLost);
#endif
}

// On Wayland SDL then sizes windows in the desktop's units and tells their pixels apart.
std::uint32_t WindowFlags() { return SDL_WINDOW_ALLOW_HIGHDPI; }

// On Wayland, the pixels of a window unit; on X11, Xft.dpi, then a whole GDK_SCALE.
int Scale(SDL_Window* window, int pixelsPerUnit) {
  if (OnWayland()) return pixelsPerUnit;
  if (const double dpi = XftDpi(window); dpi > 0) return ScaleFromDpi(dpi);
  const int gdk = ScaleValue(std::getenv("GDK_SCALE"));
  return gdk ? gdk : 1;
}

bool PageArea(SDL_Rect*, SDL_Rect*) { return false; }

bool HasFrames() { return true; }

bool PlacesFrame() { return true; }

bool NoWindowManager(SDL_Window* window) {
#if defined(DRAVEL_X11) && defined(SDL_VIDEO_DRIVER_X11)
  Display* display = XDisplay(window);
  if (!display) return false;
  // An EWMH window manager names its check window on the root; without one, nothing does.
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return true;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &after, &data);
  const bool none = status != Success || type != XA_WINDOW || count != 1;
  if (data) XFree(data);
  return none;
#else
  (void)window;
  return false;
#endif
}

void Sleep(std::int32_t ms) {
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

void Wake() {}

double SoundDeviceDelay() { return 0; }

void SoundStarted(std::uint32_t) {}

void SoundsQuiet() {}

QuietStderr::QuietStderr() {
  std::fflush(stderr);
  saved_ = dup(2);
  std::FILE* null = std::fopen("/dev/null", "w");
  if (saved_ >= 0 && null) dup2(fileno(null), 2);
  if (null) std::fclose(null);
}

QuietStderr::~QuietStderr() {
  std::fflush(stderr);
  if (saved_ >= 0) {
    dup2(saved_, 2);
    close(saved_);
  }
}

}  // namespace disp_sdl::desktop
