// The input display operations: the messages the game's loop polls (button and key presses,
// closing, the window hidden and shown), the clock and the delay.
#include <cstdio>

#include "platform/disp.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/layer.h"
#include "platform/sdl/virtual_key.h"

namespace disp_sdl {

namespace {

Layer& l = TheLayer();

// How many events one IsNextMsg254 may consume while it looks for a press, so that a flood
// of motion events cannot hold a turn of the game's loop.
constexpr int kMaxEventsPerTake = 64;

// Whether (x, y) window units from the board's corner lie on the board.
bool OnBoard(int x, int y) {
  return x >= 0 && y >= 0 && x < l.scale.UnitsFromGame(l.gameW) && y < l.scale.UnitsFromGame(l.gameH);
}

}  // namespace

}  // namespace disp_sdl

using namespace disp_sdl;

// Takes pending events until it takes a button or key press, or the queue is empty. Other
// events (motion, releases, window events...) are dealt with here: a close through the frame
// or a quit request closes the window. Returns true if it took any event at all, so a turn
// of the game's loop that only saw motion still counts as one with a message, but at most
// one press is delivered per call.
bool IsNextMsg254() {
  l.message = Message::kNone;
  if (!l.window) return false;
  bool took = false;
  SDL_Event e;
  for (int n = 0; n < kMaxEventsPerTake && SDL_PollEvent(&e); ++n) {
    took = true;
    switch (e.type) {
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) break;
        l.message = e.button.button == SDL_BUTTON_LEFT ? Message::kLeft : Message::kRight;
        // The press's position in game pixels: a click anywhere in the block that shows a
        // game pixel reaches that pixel. A click on a maximized window's margin is none.
        if (l.maximized && !OnBoard(e.button.x - l.boardX, e.button.y - l.boardY)) {
          l.message = Message::kNone;
          break;
        }
        l.mouseX = l.scale.GameFromUnits(e.button.x - l.boardX);
        l.mouseY = l.scale.GameFromUnits(e.button.y - l.boardY);
        if (l.trace) std::fprintf(stderr, "press %.6f\n", l.clock.Now());
        return true;
      case SDL_KEYDOWN:
        l.message = Message::kKey;
        l.key = VirtualKey(e.key.keysym.scancode, e.key.keysym.sym);
        return true;
      case SDL_QUIT:
        DestroyWindow();
        return true;
      case SDL_WINDOWEVENT:
        if (!l.window || e.window.windowID != SDL_GetWindowID(l.window)) break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
          DestroyWindow();
          return true;
        }
        if (e.window.event == SDL_WINDOWEVENT_MAXIMIZED || e.window.event == SDL_WINDOWEVENT_RESTORED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
          FollowMaximized();
        // No time passes for the game while it cannot be seen.
        if (e.window.event == SDL_WINDOWEVENT_MINIMIZED || e.window.event == SDL_WINDOWEVENT_HIDDEN)
          HoldClock(true);
        if (e.window.event == SDL_WINDOWEVENT_RESTORED || e.window.event == SDL_WINDOWEVENT_SHOWN ||
            e.window.event == SDL_WINDOWEVENT_MAXIMIZED)
          HoldClock(false);
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

bool IsMouseLeft270() { return l.message == Message::kLeft; }

bool IsMouseRight274() { return l.message == Message::kRight; }

std::int32_t GetMousePosX290() { return l.mouseX; }

std::int32_t GetMousePosY291() { return l.mouseY; }

bool IsKey261() { return l.message == Message::kKey; }

std::int32_t GetKey262() { return l.message == Message::kKey ? l.key : 0; }

double GetTimeR49() { return l.clock.Now(); }

void Delay28(std::int32_t ms) { desktop::Sleep(ms); }
