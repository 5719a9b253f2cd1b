// The window's display operations: opening and closing, its size at the game's scale, its place.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/disp.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/layer.h"
#include "platform/sdl/window_icon.h"

namespace disp_sdl {

namespace {

Layer& l = TheLayer();

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

// Says why there is no window, in SDL's words; call it with no window left open.
void ReportNoWindow(const std::string& reason) {
  std::fprintf(stderr, "dravel2: cannot open a window: %s\n", reason.c_str());
}

struct Borders {
  int top, left, bottom, right;
};

// Frame sizes around the client area, in window units; all 0 where there is no frame (a page)
// or the driver cannot tell (dummy, no window manager), and until the window manager has told
// SDL.
Borders FrameBorders() {
  Borders b{0, 0, 0, 0};
  if (!l.window || !desktop::HasFrames()) return b;
  if (SDL_GetWindowBordersSize(l.window, &b.top, &b.left, &b.bottom, &b.right) != 0)
    b = Borders{0, 0, 0, 0};
  return b;
}

// Lets the window manager frame the new window so that the first centring sees its borders;
// gives up at once where there are none (a page), or no window manager runs (Xvfb, a bare X
// server: the game would start 100 ms later for nothing), or SDL cannot tell them, and after a
// short while where they stay 0.
void AwaitFrame() {
  if (!desktop::HasFrames() || desktop::NoWindowManager(l.window)) return;
  const Uint64 deadline = SDL_GetTicks64() + 100;
  for (;;) {
    SDL_PumpEvents();
    Borders b{0, 0, 0, 0};
    if (SDL_GetWindowBordersSize(l.window, &b.top, &b.left, &b.bottom, &b.right) != 0) return;
    if (b.top || b.left || b.bottom || b.right) return;
    if (SDL_GetTicks64() >= deadline) return;
    SDL_Delay(5);
  }
}

int DisplayOfWindow() { return l.window ? std::max(SDL_GetWindowDisplayIndex(l.window), 0) : 0; }

// The screen the window is on and the part of it a window may use, in window units; in a
// browser, the page and the room it has for the canvas. 0 x 0 where they cannot be told.
void ScreenAreas(SDL_Rect* full, SDL_Rect* usable) {
  *full = *usable = SDL_Rect{0, 0, 0, 0};
  if (!l.window || desktop::PageArea(full, usable)) return;
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
  *w = std::int64_t{usable.w - b.left - b.right} * l.scale.PixelsPerUnit();
  *h = std::int64_t{usable.h - b.top - b.bottom} * l.scale.PixelsPerUnit();
}

// The client's side in game pixels, for a side of `units` window units where the layer set
// `set` for `game` game pixels: exactly `game` while the window keeps that size, and never
// `game` otherwise, even when the window is only a part of a game pixel off.
std::int32_t ClientSide(int units, int set, std::int32_t game) {
  if (l.refit) return 0;
  if (l.maximized) return game;
  if (units == set) return game;
  const std::int32_t side = l.scale.GameFromUnits(units);
  return side != game ? side : side + 1;
}

}  // namespace

}  // namespace disp_sdl

using namespace disp_sdl;

std::int32_t CreateWin39(std::int32_t w, std::int32_t h, std::uint32_t color, std::uint32_t,
                         std::uint32_t) {
  ShutDownAtExit();
  DestroyWindow();
  l.trace = std::getenv("DRAVEL2_TRACE") != nullptr;
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
  desktop::PrepareVideo();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    ReportNoWindow(SDL_GetError());
    return 0;
  }
  l.videoUp = true;
  // No title until the game gives one: SDL would set an empty one first (and the page's
  // title would blink empty in the browser's tab).
  l.window = SDL_CreateWindow(nullptr, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              std::clamp(w, 1, kMaxClientSide), std::clamp(h, 1, kMaxClientSide),
                              SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | desktop::WindowFlags());
  if (!l.window || !l.screen.Open(l.window, color)) {
    const std::string reason = SDL_GetError();
    DestroyWindow();
    ReportNoWindow(reason);
    return 0;
  }
  // Letters arrive as key presses only, not also as text.
  SDL_StopTextInput();
  SetWindowIcon(l.window);
  SDL_ShowWindow(l.window);
  AwaitFrame();
  // Only a shown window knows how many pixels a window unit has on its screen.
  int unitsW = 0;
  SDL_GetWindowSize(l.window, &unitsW, nullptr);
  const int pixelsW = l.screen.PixelsWide();
  const int ratio = unitsW > 0 ? pixelsW / unitsW : 1;
  l.scale.Start(ratio, desktop::Scale(l.window, ratio));
  SetSize55(w, h);
  return 1;
}

void SetTitle51(const char* title) {
  if (l.window && title) SDL_SetWindowTitle(l.window, title);
}

// Sizes the window to w x h game pixels at the scale the player wants, or the largest smaller
// one at which the window fits the screen. When the player dragged the frame since the last
// call, the scale the player wants becomes the largest at which the client fits the dragged
// size: dragging zooms in whole steps, and a drag too small for the next step changes nothing.
void SetSize55(std::int32_t w, std::int32_t h) {
  if (!l.window) return;
  w = std::clamp(w, 1, kMaxClientSide);
  h = std::clamp(h, 1, kMaxClientSide);
  if (l.maximized) {  // the window keeps its size; the board is fitted into it
    l.gameW = w;
    l.gameH = h;
    FollowMaximized();
    return;
  }
  int unitsW = 0, unitsH = 0;
  SDL_GetWindowSize(l.window, &unitsW, &unitsH);
  const int ratio = l.scale.PixelsPerUnit();
  if (l.setW && !l.refit && (unitsW != l.setW || unitsH != l.setH))
    l.scale.ZoomTo(FittingScale(kMaxScale, w, h, std::int64_t{unitsW} * ratio,
                                std::int64_t{unitsH} * ratio));
  std::int64_t roomW = 0, roomH = 0;
  ClientRoom(&roomW, &roomH);
  const int before = l.scale.Now();
  l.scale.Set(FittingScale(l.scale.Wanted(), w, h, roomW, roomH));
  l.gameW = w;
  l.gameH = h;
  l.refit = false;
  l.setW = static_cast<int>(l.scale.UnitsFromGame(w));
  l.setH = static_cast<int>(l.scale.UnitsFromGame(h));
  if (unitsW != l.setW || unitsH != l.setH) SDL_SetWindowSize(l.window, l.setW, l.setH);
  if (before != l.scale.Now()) RedrawFrame();
}

std::int32_t GetWidth56() {
  int units = 0;
  if (!l.window) return 0;
  SDL_GetWindowSize(l.window, &units, nullptr);
  return ClientSide(units, l.setW, l.gameW);
}

std::int32_t GetHeight57() {
  int units = 0;
  if (!l.window) return 0;
  SDL_GetWindowSize(l.window, nullptr, &units);
  return ClientSide(units, l.setH, l.gameH);
}

std::int32_t GetBorderWidth65() { return l.scale.GameFromUnits(FrameBorders().left); }

std::int32_t GetBorderHeight66() { return l.scale.GameFromUnits(FrameBorders().bottom); }

std::int32_t GetBorderTitle64() {
  const Borders b = FrameBorders();
  return l.scale.GameFromUnits(std::max(b.top - b.bottom, 0));
}

std::int32_t GetScrWidth59() {
  SDL_Rect full, usable;
  ScreenAreas(&full, &usable);
  return l.scale.GameFromUnits(full.w);
}

std::int32_t GetScrHeight60() {
  SDL_Rect full, usable;
  ScreenAreas(&full, &usable);
  return l.scale.GameFromUnits(full.h);
}

std::uint32_t GetHwnd75() { return l.window ? SDL_GetWindowID(l.window) : 0; }

bool MoveWindow(std::uint32_t hwnd, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                bool) {
  if (!l.window || hwnd != SDL_GetWindowID(l.window)) return false;
  if (l.maximized) return true;  // it stays where the desktop maximized it
  const Borders b = FrameBorders();
  int clientW = 0, clientH = 0;
  SDL_GetWindowSize(l.window, &clientW, &clientH);
  // The frame's size in window units as the caller sees it, or as it is when the caller gives
  // none.
  const std::int64_t frameW = w > 0 ? l.scale.UnitsFromGame(w) : std::int64_t{clientW} + b.left + b.right;
  const std::int64_t frameH = h > 0 ? l.scale.UnitsFromGame(h) : std::int64_t{clientH} + b.top + b.bottom;
  // Keep the frame inside the usable area when it fits, and its top-left corner (the title
  // bar) on screen when it does not, as a window manager would.
  std::int64_t left = l.scale.UnitsFromGame(x), top = l.scale.UnitsFromGame(y);
  SDL_Rect full, usable;
  ScreenAreas(&full, &usable);
  if (usable.w > 0 && usable.h > 0) {
    left = std::max<std::int64_t>(std::min<std::int64_t>(left, usable.x + usable.w - frameW), usable.x);
    top = std::max<std::int64_t>(std::min<std::int64_t>(top, usable.y + usable.h - frameH), usable.y);
  }
  // The caller placed the outer frame; where SDL places the client area instead, the client
  // goes inside the frame's borders.
  const bool frame = desktop::PlacesFrame();
  SDL_SetWindowPosition(l.window, static_cast<int>(left + (frame ? 0 : b.left)),
                        static_cast<int>(top + (frame ? 0 : b.top)));
  return true;
}

bool IsWin47() { return l.window != nullptr; }

void CloseWin46() { DestroyWindow(); }
