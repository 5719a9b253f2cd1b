// The game's clock: the performance counter less the time it was held.
#include "platform/sdl/clock.h"

namespace disp_sdl {

// The counter is monotonic and keeps running across SDL_Quit, so the origin is fixed once.
Uint64 Clock::Counter() {
  const Uint64 now = SDL_GetPerformanceCounter();
  if (!started_) {
    started_ = true;
    origin_ = now;
  }
  return now;
}

double Clock::Now() {
  static const double secondsPerCount = 1.0 / static_cast<double>(SDL_GetPerformanceFrequency());
  const Uint64 now = held_ ? heldSince_ : Counter();
  return static_cast<double>(now - origin_ - heldFor_) * secondsPerCount;
}

void Clock::Hold(bool hold) {
  if (hold == held_) return;
  const Uint64 now = Counter();
  if (hold)
    heldSince_ = now;
  else
    heldFor_ += now - heldSince_;
  held_ = hold;
}

}  // namespace disp_sdl
