// The window of the SDL layer: opening and closing, size and placement, painting, input, clock.
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

// What the last IsNextMsg254 took. Only presses are kept; everything else leaves kNone.
enum class Message { kNone, kLeft, kRight, kKey };
Message g_message = Message::kNone;
std::int32_t g_mouseX = 0, g_mouseY = 0, g_key = 0;

// How many events one IsNextMsg254 may consume while it looks for a press, so that a flood
// of motion events cannot hold a turn of the game's loop.
constexpr int kMaxEventsPerTake = 64;
// Bounds on the client size the layer accepts.
constexpr std::int32_t kMaxClientSide = 16384;

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

// Frame sizes around the client area; all 0 where the driver cannot tell (dummy, no window
// manager) and until the window manager has told SDL.
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

// The size of the screen the window is on; in a browser, of the page that holds the canvas.
// 0 x 0 without a window.
SDL_Rect ScreenSize() {
  SDL_Rect r{0, 0, 0, 0};
  if (!g_window) return r;
#ifdef __EMSCRIPTEN__
  PageSize(&r.w, &r.h);
#else
  SDL_GetDisplayBounds(DisplayOfWindow(), &r);
#endif
  return r;
}

// Windows virtual-key code of a key press; 0 for keys the game has no use for and no easy
// equivalent. Digits go by position (they need Shift on some layouts), letters by the letter
// the layout puts on the key, falling back to the position where the layout has no Latin
// letters, so every command key can be reached on any keyboard.
std::int32_t VirtualKey(SDL_Scancode sc, SDL_Keycode kc) {
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc == SDL_SCANCODE_0) return '0';
  if (kc >= 'a' && kc <= 'z') return 'A' + (kc - 'a');
  const bool latinLess = kc == SDLK_UNKNOWN || (kc >= 128 && !(kc & SDLK_SCANCODE_MASK));
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z && latinLess) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return 112 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return 97 + (sc - SDL_SCANCODE_KP_1);
  switch (sc) {
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return 13;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return 16;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return 17;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return 18;
    case SDL_SCANCODE_PAUSE: return 19;
    case SDL_SCANCODE_CAPSLOCK: return 20;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_SPACE: return 32;
    case SDL_SCANCODE_PAGEUP: return 33;
    case SDL_SCANCODE_PAGEDOWN: return 34;
    case SDL_SCANCODE_END: return 35;
    case SDL_SCANCODE_HOME: return 36;
    case SDL_SCANCODE_LEFT: return 37;
    case SDL_SCANCODE_UP: return 38;
    case SDL_SCANCODE_RIGHT: return 39;
    case SDL_SCANCODE_DOWN: return 40;
    case SDL_SCANCODE_PRINTSCREEN: return 44;
    case SDL_SCANCODE_INSERT: return 45;
    case SDL_SCANCODE_DELETE: return 46;
    case SDL_SCANCODE_KP_0: return 96;
    case SDL_SCANCODE_KP_MULTIPLY: return 106;
    case SDL_SCANCODE_KP_PLUS: return 107;
    case SDL_SCANCODE_KP_MINUS: return 109;
    case SDL_SCANCODE_KP_PERIOD: return 110;
    case SDL_SCANCODE_KP_DIVIDE: return 111;
    case SDL_SCANCODE_NUMLOCKCLEAR: return 144;
    case SDL_SCANCODE_SCROLLLOCK: return 145;
    default: break;
  }
  switch (kc) {
    case ';': return 186;
    case '=': return 187;
    case ',': return 188;
    case '-': return 189;
    case '.': return 190;
    case '/': return 191;
    case '`': return 192;
    case '[': return 219;
    case '\\': return 220;
    case ']': return 221;
    case '\'': return 222;
    default: return 0;
  }
}

}  // namespace

bool WindowRefused() { return g_refused; }

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
  g_message = Message::kNone;
  g_refused = false;
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
  w = std::clamp(w, 1, kMaxClientSide);
  h = std::clamp(h, 1, kMaxClientSide);
  g_window = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                              SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
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
  SDL_ShowWindow(g_window);
  SetWindowIcon(g_window);
  AwaitFrame();
  return 1;
}

void SetTitle51(const char* title) {
  if (g_window && title) SDL_SetWindowTitle(g_window, title);
}

void SetSize55(std::int32_t w, std::int32_t h) {
  if (!g_window) return;
  SDL_SetWindowSize(g_window, std::clamp(w, 1, kMaxClientSide), std::clamp(h, 1, kMaxClientSide));
}

std::int32_t GetWidth56() {
  int w = 0;
  if (g_window) SDL_GetWindowSize(g_window, &w, nullptr);
  return w;
}

std::int32_t GetHeight57() {
  int h = 0;
  if (g_window) SDL_GetWindowSize(g_window, nullptr, &h);
  return h;
}

std::int32_t GetBorderWidth65() { return FrameBorders().left; }

std::int32_t GetBorderHeight66() { return FrameBorders().bottom; }

std::int32_t GetBorderTitle64() {
  const Borders b = FrameBorders();
  return std::max(b.top - b.bottom, 0);
}

std::int32_t GetScrWidth59() { return ScreenSize().w; }

std::int32_t GetScrHeight60() { return ScreenSize().h; }

std::uint32_t GetHwnd75() { return g_window ? SDL_GetWindowID(g_window) : 0; }

bool MoveWindow(std::uint32_t hwnd, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                bool) {
  if (!g_window || hwnd != SDL_GetWindowID(g_window)) return false;
#ifdef __EMSCRIPTEN__
  return true;  // the page lays out the canvas; there is no frame to place
#endif
  const Borders b = FrameBorders();
  int clientW = 0, clientH = 0;
  SDL_GetWindowSize(g_window, &clientW, &clientH);
  // The frame's size as the caller sees it, or as it is when the caller gives none.
  const std::int64_t frameW = w > 0 ? w : std::int64_t{clientW} + b.left + b.right;
  const std::int64_t frameH = h > 0 ? h : std::int64_t{clientH} + b.top + b.bottom;
  // Keep the frame inside the usable area when it fits, and its top-left corner (the title
  // bar) on screen when it does not, as a window manager would.
  std::int64_t left = x, top = y;
  SDL_Rect usable{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(DisplayOfWindow(), &usable) == 0 && usable.w > 0 && usable.h > 0) {
    left = std::max<std::int64_t>(std::min<std::int64_t>(left, usable.x + usable.w - frameW), usable.x);
    top = std::max<std::int64_t>(std::min<std::int64_t>(top, usable.y + usable.h - frameH), usable.y);
  }
  // SDL places the client area; the caller placed the outer frame.
  SDL_SetWindowPosition(g_window, static_cast<int>(left + b.left), static_cast<int>(top + b.top));
  return true;
}

bool IsWin47() { return g_window != nullptr; }

void CloseWin46() { DestroyWindow(); }

void Clear164() {
  if (g_renderer) SDL_RenderClear(g_renderer);
}

void FreshWin45() {
  if (!g_renderer) return;
  SDL_RenderPresent(g_renderer);
  if (g_trace) std::fprintf(stderr, "frame %.6f\n", GetTimeR49());
  RunPresentHook();
}

void DrawBMP214(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  Bitmap* b = FindBitmap(bmp);
  if (!b || !g_renderer) return;
  if (b->dirty && !RefreshTexture(*b)) return;
  if (!b->texture) return;
  // Unscaled, cut to the box: a 13 x 23 digit in its 13 x 24 box keeps its crisp pixels and
  // leaves the box's last row to the background.
  const int dw = std::min(w, b->surface->w), dh = std::min(h, b->surface->h);
  if (dw <= 0 || dh <= 0) return;
  const SDL_Rect from{0, 0, dw, dh};
  const SDL_Rect to{x, y, dw, dh};
  SDL_RenderCopy(g_renderer, b->texture, &from, &to);
}

// Takes pending events until it takes a button or key press, or the queue is empty. Other
// events (motion, releases, window events...) are dealt with here: a close through the frame
// or a quit request closes the window. Returns true if it took any event at all, so a turn
// of the game's loop that only saw motion still counts as one with a message, but at most
// one press is delivered per call.
bool IsNextMsg254() {
  g_message = Message::kNone;
  if (!g_videoUp) return false;
  bool took = false;
  SDL_Event e;
  for (int n = 0; n < kMaxEventsPerTake && SDL_PollEvent(&e); ++n) {
    took = true;
    switch (e.type) {
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) break;
        g_message = e.button.button == SDL_BUTTON_LEFT ? Message::kLeft : Message::kRight;
        g_mouseX = e.button.x;
        g_mouseY = e.button.y;
        if (g_trace) std::fprintf(stderr, "press %.6f\n", GetTimeR49());
        return true;
      case SDL_KEYDOWN:
        g_message = Message::kKey;
        g_key = VirtualKey(e.key.keysym.scancode, e.key.keysym.sym);
        return true;
      case SDL_QUIT:
        DestroyWindow();
        return true;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE && g_window &&
            e.window.windowID == SDL_GetWindowID(g_window)) {
          DestroyWindow();
          return true;
        }
        break;
      default:
        break;
    }
  }
  return took;
}

bool IsMouseLeft270() { return g_message == Message::kLeft; }

bool IsMouseRight274() { return g_message == Message::kRight; }

std::int32_t GetMousePosX290() { return g_mouseX; }

std::int32_t GetMousePosY291() { return g_mouseY; }

bool IsKey261() { return g_message == Message::kKey; }

std::int32_t GetKey262() { return g_message == Message::kKey ? g_key : 0; }

double GetTimeR49() {
  // The counter is monotonic and keeps running across SDL_Quit, so the origin is fixed once.
  static const Uint64 origin = SDL_GetPerformanceCounter();
  static const double secondsPerCount = 1.0 / static_cast<double>(SDL_GetPerformanceFrequency());
  return static_cast<double>(SDL_GetPerformanceCounter() - origin) * secondsPerCount;
}

void Delay28(std::int32_t ms) {
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}
