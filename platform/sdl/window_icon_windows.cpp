// The game's icons on its window under Windows: the executable's own icon resource, at the
// sizes the window's display asks for (the taskbar and Alt+Tab take the large one).
#define WIN32_LEAN_AND_MEAN
#define _WIN32_WINNT 0x0A00  // GetDpiForWindow and GetSystemMetricsForDpi: Windows 10
#include <windows.h>

#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/sdl/window_icon.h"

namespace disp_sdl {

namespace {

// Resource 1 of dravel2.rc; null where the executable has none.
HICON LoadAppIcon(int side) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, side, side, 0));
}

}  // namespace

// The icons stay loaded for the life of the process: the window only borrows them.
void SetWindowIcon(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WINDOWS) return;
  const HWND hwnd = info.info.win.window;
  const UINT dpi = GetDpiForWindow(hwnd);
  const struct { WPARAM which; int metric; } kinds[] = {{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}};
  for (const auto& k : kinds)
    if (HICON icon = LoadAppIcon(GetSystemMetricsForDpi(k.metric, dpi)))
      SendMessageW(hwnd, WM_SETICON, k.which, reinterpret_cast<LPARAM>(icon));
}

}  // namespace disp_sdl
