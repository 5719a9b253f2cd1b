// The scripted display double, linked into the tests in place of the SDL layer: a virtual clock,
// scripted input, a settable screen, and logs of the sprites cut, frames drawn, clips sounded.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dbl {

// A bitmap: a loaded sheet (path), or one made w x h and filled by DrawBMP200 from (src, sx, sy).
struct Bitmap { std::string path; std::int32_t w = 0, h = 0; std::uint32_t src = 0; std::int32_t sx = -1, sy = -1; };
struct Draw { std::uint32_t bmp; std::int32_t x, y, w, h; };

// Fresh world: no window, clock at 1000 s, screen 1920 x 1080, empty logs, no hooks.
void reset();
// The clock: Delay28 advances it, GetTimeR49 reads it; advance makes a stall.
double now();
void advance(double seconds);

// Messages IsNextMsg254 takes once the clock reaches `at`, in time order: a click (button 1
// left, 2 right), a key, one that is neither, the frame's close, a drag of the client to a x b.
enum Kind { Left = 1, Right, Key, Other, Close, Drag };
void push(double at, Kind kind, std::int32_t a = 0, std::int32_t b = 0);
std::size_t pending();
void closeAt(double t);  // the window closes once the clock passes t
// Hooks: at every IsWin47 test while the window is open (once a turn), and at every Delay28
// (the deal seeds rand from clock() just before it: a hook re-seeds to replay the draws).
void onTurn(std::function<void()> hook);
void onDelay(std::function<void()> hook);

bool windowOpen();
std::int32_t clientW();
std::int32_t clientH();

const Bitmap* bitmap(std::uint32_t handle);  // null for an unknown handle
const std::vector<Draw>& frame();            // the draws since the last Clear164
const std::vector<double>& presents();       // the clock at every FreshWin45
const std::vector<std::string>& sounds();    // the path of every clip sounded, in order
void clearSounds();

}  // namespace dbl
