// The scripted display double: a virtual clock, scripted input, a settable window and screen,
// and logs of what was drawn and which clips sounded. Linked into the tests in place of the
// SDL layer.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dbl {

// Where a bitmap came from: a loaded sheet (path set), or a bitmap made by CreateBMP192 and
// filled by one DrawBMP200 copy from a sheet (src, sx, sy).
struct Bitmap {
    std::string path;        // the file of a loaded sheet; empty for a made bitmap
    std::int32_t w = 0, h = 0;
    std::uint32_t src = 0;   // for a made bitmap: the bitmap its pixels were copied from
    std::int32_t sx = -1, sy = -1;
    int copies = 0;          // DrawBMP200 calls into it
};

struct Draw {
    std::uint32_t bmp;
    std::int32_t x, y, w, h;
};

enum class Msg { Left, Right, Key, Other };

// Fresh world: no window, clock at 1000 s, screen 1920 x 1080, borders 0, empty logs.
void reset();

// The clock, in microseconds: Delay28 advances it, GetTimeR49 reads it, nothing else moves it.
std::int64_t nowUs();
double now();
void advance(double seconds);  // a stall: the clock jumps

// Script: messages taken by IsNextMsg254 once the clock reaches `at`, in time order (pushes
// for the same time in the order pushed).
void pushClick(double at, int button, std::int32_t x, std::int32_t y);  // button 1 left, 2 right
void pushKey(double at, std::int32_t key);
void pushOther(double at);                // a message that is neither press nor key
void pushClose(double at);                // the user closes the window through its frame
void pushDrag(double at, std::int32_t w, std::int32_t h);  // the user drags the client to w x h
std::size_t pending();                    // scripted events not yet due or taken
// The window closes by itself once the clock passes `t` (0: never); ends runGame in tests.
void closeAt(double t);
// Called at every IsWin47 test, that is once per loop turn, while the window exists.
void onTurn(std::function<void()> hook);
// Called at every Delay28, after the clock moved. The deal and the row removal seed the C
// generator from clock() just before their delay: a test re-seeds it here to replay the draws.
void onDelay(std::function<void()> hook);
// Called at every FreshWin45, with the frame's draws still in frame().
void onPresent(std::function<void()> hook);

// Window and screen.
bool windowOpen();
void refuseWindow();  // CreateWin39 then opens nothing, as with no display
void setScreen(std::int32_t w, std::int32_t h);
void setBorders(std::int32_t side, std::int32_t bottom, std::int32_t title);
void setClient(std::int32_t w, std::int32_t h);  // a drag, at once
std::int32_t clientW();
std::int32_t clientH();
struct Placement { std::int32_t x, y, w, h; int moves; };
Placement placement();                 // the last MoveWindow
int createCalls();
std::string title();
std::uint32_t createColor();
std::uint32_t createStyle();

// Bitmaps.
const Bitmap* bitmap(std::uint32_t handle);  // null for an unknown handle
std::size_t bitmapCount();

// Frames: the draws since the last Clear164, and the count of frames shown.
const std::vector<Draw>& frame();      // the frame being drawn, or the last one shown
int presents();
const std::vector<std::int64_t>& presentTimes();  // the clock at every FreshWin45, in us
int clears();

// Sounds: the path of every clip sounded, in order ("?" for an unknown handle).
const std::vector<std::string>& sounds();
void clearSounds();

// Every call of the seam, in order, by name (CreateWin39, SetTitle51, LoadAudio292 ...),
// draw calls excepted; for checking the order of start-up.
const std::vector<std::string>& calls();

}  // namespace dbl
