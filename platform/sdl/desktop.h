// What the desktop tells the layer and does for it, one file a target: desktop_x11.cpp (Linux),
// desktop_windows.cpp, desktop_web.cpp (the browser). Leaves: they take the window they ask
// about and call nothing of the layer.
#pragma once
#include <SDL.h>

#include <cstdint>

namespace disp_sdl::desktop {

// Sets what must be set before SDL's video starts (hints, error handlers).
void PrepareVideo();
// Flags the window is made with besides resizable and hidden.
std::uint32_t WindowFlags();
// The desktop's own scale, 1 to 8, for the window, whose window units are pixelsPerUnit pixels:
// how many pixels of the screen the desktop gives one pixel of a program that does not scale
// itself; 1 where it cannot tell.
int Scale(SDL_Window* window, int pixelsPerUnit);
// In a browser, sets the page (full) and the room it has for the canvas (usable), in window
// units, and returns true; on a desktop returns false: the screen is SDL's display.
bool PageArea(SDL_Rect* full, SDL_Rect* usable);
// True where SDL_SetWindowPosition places the window's frame (X11: the window manager reads
// the position by the window's gravity), false where it places the client area.
bool PlacesFrame();
// True where a window may have a frame round it that SDL can measure (a desktop); false in a
// browser, whose page puts none round the canvas (SDL could only format an error to say so).
bool HasFrames();
// True when the window's display is known to run no window manager (X11 only), so that no
// frame and no borders will ever come.
bool NoWindowManager(SDL_Window* window);
// Seconds from the first frame on the screen to the repaint that opens the audio device: 0 (the
// next repaint) where opening it is quick or SDL's probing is over in a moment.
double SoundDeviceDelay();
// Sleeps about ms milliseconds.
void Sleep(std::int32_t ms);
// Ends a sleep of the loop that hands the turn back to the browser, once the caller has
// returned (input the page brings in itself); nothing where the sleep is the system's.
void Wake();
// The game asked for a clip (its handle), and the clips' mixing found nothing sounding: in a
// browser the page hears of the cue, and its audio rests while silent; nothing elsewhere.
void SoundStarted(std::uint32_t clip);
void SoundsQuiet();

// Keeps stderr shut while it lives where a sound library that finds no device complains there
// in many lines of its own (Linux); the game says it once, in one. Nothing elsewhere.
class QuietStderr {
 public:
  QuietStderr();
  ~QuietStderr();
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  [[maybe_unused]] int saved_ = -1;  // stderr's copy, where it is muted (Linux)
};

}  // namespace disp_sdl::desktop
