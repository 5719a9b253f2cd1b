// What the Linux desktop tells the layer: whether a window manager runs (X11 only) and its scale.
#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

void PrepareVideo() {}

int DesktopScale() { return 1; }

bool NoWindowManager() {
#if defined(DRAVEL_X11_WM_CHECK) && defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!g_window || !SDL_GetWindowWMInfo(g_window, &info) || info.subsystem != SDL_SYSWM_X11)
    return false;
  Display* display = info.info.x11.display;
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
  return false;
#endif
}

}  // namespace disp_sdl
