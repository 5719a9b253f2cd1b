// The game's clock: seconds since its first reading, standing still while it is held (the
// window minimized, the page hidden), so that no time passes for the game while it is unseen.
#pragma once
#include <SDL.h>

namespace disp_sdl {

class Clock {
 public:
  // Seconds, non-decreasing; 0 at the first reading.
  double Now();
  // Holds the clock (true) or lets it go on from where it stood (false); repeated calls with
  // the same value change nothing.
  void Hold(bool hold);

 private:
  Uint64 Counter();

  bool started_ = false;
  bool held_ = false;
  Uint64 origin_ = 0;    // the performance counter at the first reading
  Uint64 heldFor_ = 0;   // counts spent held, before the current hold
  Uint64 heldSince_ = 0; // the counter when the current hold began
};

}  // namespace disp_sdl
