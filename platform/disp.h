// The display operations the game calls: window, bitmaps, input, clock, delay and clips.
// Their names and numbers (CreateWin39, FreshWin45...) are the contract the game's code was
// written against, kept exactly as they are; each carries its one-line promise below. Two back
// ends implement them: the SDL layer (platform/sdl/) for the game and the scripted double
// (platform/scripted/) for the tests; which one is chosen at link time.
#pragma once
#include <cstdint>

// Opens the one window with a first client size, its colours and its style; result unused.
std::int32_t CreateWin39(std::int32_t w, std::int32_t h, std::uint32_t color, std::uint32_t color2,
                         std::uint32_t style);
// Sets the window title.
void SetTitle51(const char* title);
// Makes the client area exactly w x h pixels.
void SetSize55(std::int32_t w, std::int32_t h);
// Current client width in pixels.
std::int32_t GetWidth56();
// Current client height in pixels.
std::int32_t GetHeight57();
// Width of the frame border on one side, in pixels.
std::int32_t GetBorderWidth65();
// Height of the frame border on one side (top or bottom, title bar excluded), in pixels.
std::int32_t GetBorderHeight66();
// Height of the title bar, in pixels.
std::int32_t GetBorderTitle64();
// Screen width in pixels.
std::int32_t GetScrWidth59();
// Screen height in pixels.
std::int32_t GetScrHeight60();
// Native handle of the window, only ever passed on to MoveWindow.
std::uint32_t GetHwnd75();
// Places the outer frame (title bar included) at (x, y) with size w x h.
bool MoveWindow(std::uint32_t hwnd, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                bool repaint);
// True while the window exists: false after CloseWin46 or a close through the frame.
bool IsWin47();
// Closes the window; every later call is harmless.
void CloseWin46();
// Starts a frame: the whole client area becomes the window colour.
void Clear164();
// Shows everything drawn since Clear164.
void FreshWin45();
// Loads a Windows bitmap file; a bad or missing file still gives a usable bitmap.
std::uint32_t LoadBMP197(const char* path);
// Makes a new w x h bitmap.
std::uint32_t CreateBMP192(std::int32_t w, std::int32_t h);
// Copies rectangle (sx, sy, sw, sh) of src to (dx, dy, dw, dh) of dst, clipped to both.
void DrawBMP200(std::uint32_t src, std::uint32_t dst, std::int32_t sx, std::int32_t sy,
                std::int32_t sw, std::int32_t sh, std::int32_t dx, std::int32_t dy,
                std::int32_t dw, std::int32_t dh);
// Draws a bitmap into the current frame at (x, y) in a w x h box.
void DrawBMP214(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
// Takes at most one pending message without waiting; true if it took one.
bool IsNextMsg254();
// The message taken is a left button press.
bool IsMouseLeft270();
// The message taken is a right button press.
bool IsMouseRight274();
// Horizontal position of the mouse message, in client pixels.
std::int32_t GetMousePosX290();
// Vertical position of the mouse message, in client pixels.
std::int32_t GetMousePosY291();
// The message taken is a key press.
bool IsKey261();
// Windows virtual-key code of that key press.
std::int32_t GetKey262();
// Seconds, non-decreasing, resolution well under 1/15 s.
double GetTimeR49();
// Sleeps about ms milliseconds.
void Delay28(std::int32_t ms);
// Loads a WAVE clip; a bad or missing file or no audio device gives a silent clip.
std::uint32_t LoadAudio292(const char* path);
// Sounds the clip from position pos (always 0) at once, restarting it if it is sounding.
void SetAudioPos305(std::uint32_t clip, std::int32_t pos);
