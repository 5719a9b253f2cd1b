// The messages the game's loop polls (button and key presses, closing), the clock and the delay.
#include <cstdio>

#include "platform/disp.h"
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

namespace {

// What the last IsNextMsg254 took. Only presses are kept; everything else leaves kNone.
enum class Message { kNone, kLeft, kRight, kKey };
Message g_message = Message::kNone;
std::int32_t g_mouseX = 0, g_mouseY = 0, g_key = 0;

// How many events one IsNextMsg254 may consume while it looks for a press, so that a flood
// of motion events cannot hold a turn of the game's loop.
constexpr int kMaxEventsPerTake = 64;

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

void ForgetMessage() { g_message = Message::kNone; }

}  // namespace disp_sdl

using namespace disp_sdl;

// Takes pending events until it takes a button or key press, or the queue is empty. Other
// events (motion, releases, window events...) are dealt with here: a close through the frame
// or a quit request closes the window. Returns true if it took any event at all, so a turn
// of the game's loop that only saw motion still counts as one with a message, but at most
// one press is delivered per call.
bool IsNextMsg254() {
  g_message = Message::kNone;
  if (!g_window) return false;
  bool took = false;
  SDL_Event e;
  for (int n = 0; n < kMaxEventsPerTake && SDL_PollEvent(&e); ++n) {
    took = true;
    switch (e.type) {
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) break;
        g_message = e.button.button == SDL_BUTTON_LEFT ? Message::kLeft : Message::kRight;
        // The press's position in game pixels: a click anywhere in the block that shows a
        // game pixel reaches that pixel.
        g_mouseX = GameFromUnits(e.button.x);
        g_mouseY = GameFromUnits(e.button.y);
        if (Tracing()) std::fprintf(stderr, "press %.6f\n", GetTimeR49());
        return true;
      case SDL_KEYDOWN:
        g_message = Message::kKey;
        g_key = VirtualKey(e.key.keysym.scancode, e.key.keysym.sym);
        return true;
      case SDL_QUIT:
        DestroyWindow();
        return true;
      case SDL_WINDOWEVENT:
        if (!g_window || e.window.windowID != SDL_GetWindowID(g_window)) break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
          DestroyWindow();
          return true;
        }
        // The screen lost what the window showed, or its size: draw the next frame afresh.
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
            e.window.event == SDL_WINDOWEVENT_SHOWN || e.window.event == SDL_WINDOWEVENT_RESTORED)
          RedrawFrame();
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
