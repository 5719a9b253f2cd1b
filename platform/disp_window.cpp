// The window of the SDL layer: opening and closing, its size at the game's scale, its place.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/disp.h"
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

SDL_Window* g_window = nullptr;
SDL_Renderer* g_renderer = nullptr;

namespace {

bool g_videoUp = false;
bool g_refused = false;
bool g_trace = false;

// The client size the game last set, in game pixels, and the window size in window units
// that the layer asked for it; 0 before the first.
std::int32_t g_gameW = 0, g_gameH = 0;
int g_setW = 0, g_setH = 0;
// The room on the screen changed since: the game is to size its window afresh.
bool g_refit = false;

bool IsHeadlessDriver(const char* name) {
  return std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0 ||
         std::strcmp(name, "evdev") == 0;
}

// Unless the player or a test names video drivers in SDL_VIDEODRIVER, let SDL try only those
// that show a window somewhere: without a display SDL 2.26 otherwise settles on "offscreen"
// and the game would run unseen for ever. Wayland is tried only inside a Wayland session, one
// whose socket can be found (an absolute WAYLAND_DISPLAY, or XDG_RUNTIME_DIR set), because its
// client library complains on stderr when there is none.
void ChooseVideoDrivers() {
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);  // a list left from an earlier window must not win
  const char* named = std::getenv("SDL_VIDEODRIVER");
  if (named && *named) return;
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const bool waylandSession = wayland && *wayland && (*wayland == '/' || (runtime && *runtime));
  std::string list;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* name = SDL_GetVideoDriver(i);
    if (!name || IsHeadlessDriver(name)) continue;
    if (std::strcmp(name, "wayland") == 0 && !waylandSession) continue;
    if (!list.empty()) list += ',';
    list += name;
  }
  // An empty list would let SDL pick freely again; name a driver that cannot exist instead.
  if (list.empty()) list = "none";
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, list.c_str(), SDL_HINT_OVERRIDE);
}

// Says why there is no window, once, in SDL's words; call it with no window left open.
void ReportNoWindow(const std::string& reason) {
  g_refused = true;
  std::fprintf(stderr, "dravel2: cannot open a window: %s\n", reason.c_str());
}

struct Borders {
  int top, left, bottom, right;
};

// Frame sizes around the client area, in window units; all 0 where the driver cannot tell
// (dummy, no window manager) and until the window manager has told SDL.
Borders FrameBorders() {
  Borders b{0, 0, 0, 0};
  if (g_window && SDL_GetWindowBordersSize(g_window, &b.top, &b.left, &b.bottom, &b.right) != 0)
    b = Borders{0, 0, 0, 0};
  return b;
}

// Lets the window manager frame the new window so that the first centring sees its borders;
// gives up at once where borders are unsupported or no window manager runs (Xvfb, a bare X
// server: the game would start 100 ms later for nothing), and after a short while where they
// stay 0.
void AwaitFrame() {
  if (NoWindowManager()) return;
  const Uint64 deadline = SDL_GetTicks64() + 100;
  for (;;) {
    SDL_PumpEvents();
    Borders b{0, 0, 0, 0};
    if (SDL_GetWindowBordersSize(g_window, &b.top, &b.left, &b.bottom, &b.right) != 0) return;
    if (b.top || b.left || b.bottom || b.right) return;
    if (SDL_GetTicks64() >= deadline) return;
    SDL_Delay(5);
  }
}

int DisplayOfWindow() { return g_window ? std::max(SDL_GetWindowDisplayIndex(g_window), 0) : 0; }

// The screen the window is on and the part of it a window may use, in window units; in a
// browser, the page and the room it has for the canvas. 0 x 0 where they cannot be told.
void ScreenAreas(SDL_Rect* full, SDL_Rect* usable) {
  *full = *usable = SDL_Rect{0, 0, 0, 0};
  if (!g_window || PageArea(full, usable)) return;
  if (SDL_GetDisplayBounds(DisplayOfWindow(), full) != 0) *full = SDL_Rect{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(DisplayOfWindow(), usable) != 0) *usable = SDL_Rect{0, 0, 0, 0};
}

// The room the client area has on the screen, in pixels: the usable area less the frame.
// Unbounded where the screen cannot tell.
void ClientRoom(std::int64_t* w, std::int64_t* h) {
  SDL_Rect full, usable;
  ScreenAreas(&full, &usable);
  *w = *h = INT32_MAX;
  if (usable.w <= 0 || usable.h <= 0) return;
  const Borders b = FrameBorders();
  *w = std::int64_t{usable.w - b.left - b.right} * PixelsPerUnit();
  *h = std::int64_t{usable.h - b.top - b.bottom} * PixelsPerUnit();
}

// The client's side in game pixels, for a side of `units` window units where the layer set
// `set` for `game` game pixels: exactly `game` while the window keeps that size, and never
// `game` otherwise, even when the window is only a part of a game pixel off.
std::int32_t ClientSide(int units, int set, std::int32_t game) {
  if (g_refit) return 0;
  if (units == set) return game;
  const std::int32_t side = GameFromUnits(units);
  return side != game ? side : side + 1;
}

}  // namespace

bool WindowRefused() { return g_refused; }

bool Tracing() { return g_trace; }

void RoomChanged() {
  g_refit = g_window != nullptr;
  ZoomTo(DesktopScale());
}

void DestroyWindow() {
  if (g_renderer) {
    ForgetTextures();
    SDL_DestroyRenderer(g_renderer);
    g_renderer = nullptr;
  }
  if (g_window) {
    SDL_DestroyWindow(g_window);
    g_window = nullptr;
  }
  if (g_videoUp) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    g_videoUp = false;
  }
  ForgetMessage();
  ForgetFrames();
  g_refused = false;
  g_gameW = g_gameH = g_setW = g_setH = 0;
  g_refit = false;
}

void ShutDown() {
  DestroyWindow();
  ReleaseAudio();
  ReleaseBitmaps();
  SDL_Quit();
}

void ShutDownAtExit() {
  // Registered at first use, after the tables were made, so it runs before they are destroyed.
  static const bool registered = std::atexit(ShutDown) == 0;
  (void)registered;
}

}  // namespace disp_sdl

using namespace disp_sdl;

std::int32_t CreateWin39(std::int32_t w, std::int32_t h, std::uint32_t color, std::uint32_t,
                         std::uint32_t) {
  ShutDownAtExit();
  DestroyWindow();
  g_trace = std::getenv("DRAVEL2_TRACE") != nullptr;
  // Software rendering by default: cheapest for this game's many small copies on machines
  // without a GPU. SDL_RENDER_DRIVER and SDL_FRAMEBUFFER_ACCELERATION in the environment win.
  SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  SDL_SetHintWithPriority(SDL_HINT_RENDER_BATCHING, "1", SDL_HINT_DEFAULT);
  // Pixel art: a game pixel is a block of screen pixels, never a blur of its neighbours.
  SDL_SetHintWithPriority(SDL_HINT_RENDER_SCALE_QUALITY, "nearest", SDL_HINT_OVERRIDE);
  // A puzzle in a window has no reason to switch the desktop's compositor off, as SDL would.
  SDL_SetHintWithPriority(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0", SDL_HINT_DEFAULT);
  // SDL's poll sentinel would end a take early whenever the previous take left events queued
  // (one turn late for the press behind them); the take has its own bound instead.
  SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
  ChooseVideoDrivers();
  PrepareVideo();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    ReportNoWindow(SDL_GetError());
    return 0;
  }
  g_videoUp = true;
  g_window = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              std::clamp(w, 1, kMaxClientSide), std::clamp(h, 1, kMaxClientSide),
                              SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | WindowFlags());
  if (g_window) g_renderer = SDL_CreateRenderer(g_window, -1, 0);
  if (!g_renderer) {
    const std::string reason = SDL_GetError();
    DestroyWindow();
    ReportNoWindow(reason);
    return 0;
  }
  SDL_SetRenderDrawColor(g_renderer, (color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF, 255);
  SDL_SetRenderDrawBlendMode(g_renderer, SDL_BLENDMODE_NONE);
  // Letters arrive as key presses only, not also as text.
  SDL_StopTextInput();
  // Show a cleared frame rather than whatever the new window's memory held.
  SDL_RenderClear(g_renderer);
  SDL_RenderPresent(g_renderer);
  SetWindowIcon(g_window);
  SDL_ShowWindow(g_window);
  AwaitFrame();
  // Only a shown window knows how many pixels a window unit has on its screen.
  int unitsW = 0, pixelsW = 0;
  SDL_GetWindowSize(g_window, &unitsW, nullptr);
  SDL_GetRendererOutputSize(g_renderer, &pixelsW, nullptr);
  StartScale(unitsW > 0 ? pixelsW / unitsW : 1);
  SetSize55(w, h);
  return 1;
}

void SetTitle51(const char* title) {
  if (g_window && title) SDL_SetWindowTitle(g_window, title);
}

// Sizes the window to w x h game pixels at the scale the player wants, or the largest smaller
// one at which the window fits the screen. When the player dragged the frame since the last
// call, the scale the player wants becomes the largest at which the client fits the dragged
// size: dragging zooms in whole steps, and a drag too small for the next step changes nothing.
void SetSize55(std::int32_t w, std::int32_t h) {
  if (!g_window) return;
  w = std::clamp(w, 1, kMaxClientSide);
  h = std::clamp(h, 1, kMaxClientSide);
  int unitsW = 0, unitsH = 0;
  SDL_GetWindowSize(g_window, &unitsW, &unitsH);
  const int ratio = PixelsPerUnit();
  if (g_setW && !g_refit && (unitsW != g_setW || unitsH != g_setH))
    ZoomTo(FittingScale(kMaxScale, w, h, std::int64_t{unitsW} * ratio,
                        std::int64_t{unitsH} * ratio));
  std::int64_t roomW = 0, roomH = 0;
  ClientRoom(&roomW, &roomH);
  const int before = Scale();
  SetScale(FittingScale(WantedScale(), w, h, roomW, roomH));
  g_gameW = w;
  g_gameH = h;
  g_refit = false;
  g_setW = static_cast<int>(UnitsFromGame(w));
  g_setH = static_cast<int>(UnitsFromGame(h));
  if (unitsW != g_setW || unitsH != g_setH) SDL_SetWindowSize(g_window, g_setW, g_setH);
  if (before != Scale()) RedrawFrame();
}

std::int32_t GetWidth56() {
  int units = 0;
  if (!g_window) return 0;
  SDL_GetWindowSize(g_window, &units, nullptr);
  return ClientSide(units, g_setW, g_gameW);
}

std::int32_t GetHeight57() {
  int units = 0;
  if (!g_window) return 0;
  SDL_GetWindowSize(g_window, nullptr, &units);
  return ClientSide(units, g_setH, g_gameH);
}

std::int32_t GetBorderWidth65() { return GameFromUnits(FrameBorders().left); }

std::int32_t GetBorderHeight66() { return GameFromUnits(FrameBorders().bottom); }

std::int32_t GetBorderTitle64() {
  const Borders b = FrameBorders();
  return GameFromUnits(std::max(b.top - b.bottom, 0));
}

std::int32_t GetScrWidth59() {
  SDL_Rect full, usable;
  ScreenAreas(&full, &usable);
  return GameFromUnits(full.w);
}

std::int32_t GetScrHeight60() {
  SDL_Rect full, usable;
  ScreenAreas(&full, &usable);
  return GameFromUnits(full.h);
}

std::uint32_t GetHwnd75() { return g_window ? SDL_GetWindowID(g_window) : 0; }

bool MoveWindow(std::uint32_t hwnd, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                bool) {
  if (!g_window || hwnd != SDL_GetWindowID(g_window)) return false;
  const Borders b = FrameBorders();
  int clientW = 0, clientH = 0;
  SDL_GetWindowSize(g_window, &clientW, &clientH);
  // The frame's size in window units as the caller sees it, or as it is when the caller gives
  // none.
  const std::int64_t frameW = w > 0 ? UnitsFromGame(w) : std::int64_t{clientW} + b.left + b.right;
  const std::int64_t frameH = h > 0 ? UnitsFromGame(h) : std::int64_t{clientH} + b.top + b.bottom;
  // Keep the frame inside the usable area when it fits, and its top-left corner (the title
  // bar) on screen when it does not, as a window manager would.
  std::int64_t left = UnitsFromGame(x), top = UnitsFromGame(y);
  SDL_Rect full, usable;
  ScreenAreas(&full, &usable);
  if (usable.w > 0 && usable.h > 0) {
    left = std::max<std::int64_t>(std::min<std::int64_t>(left, usable.x + usable.w - frameW), usable.x);
    top = std::max<std::int64_t>(std::min<std::int64_t>(top, usable.y + usable.h - frameH), usable.y);
  }
  // The caller placed the outer frame; where SDL places the client area instead, the client
  // goes inside the frame's borders.
  const bool frame = PlacesFrame();
  SDL_SetWindowPosition(g_window, static_cast<int>(left + (frame ? 0 : b.left)),
                        static_cast<int>(top + (frame ? 0 : b.top)));
  return true;
}

bool IsWin47() { return g_window != nullptr; }

void CloseWin46() { DestroyWindow(); }
