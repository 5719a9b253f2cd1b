// Looking into the SDL layer and feeding it input: for tests and tools; the game itself never
// calls these, nor links them.
#pragma once
#include <cstdint>

// Size of a bitmap; false for an invalid handle. A bitmap whose file could not be read is 0 x 0.
bool DispBitmapSize(std::uint32_t bmp, std::int32_t* w, std::int32_t* h);
// Pixel (x, y) of a bitmap as 0xRRGGBB; false for an invalid handle or a pixel outside it.
bool DispBitmapPixel(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::uint32_t* rgb);
// Pixel (x, y) of the client area as FreshWin45 last showed it, as 0xRRGGBB, in the window's
// own pixels (a game pixel is a square of the scale's side). False without a window or outside.
bool DispFramePixel(std::int32_t x, std::int32_t y, std::uint32_t* rgb);
// The colour a copy shows for source pixel (x, y) that the source bitmap does not have.
std::uint32_t DispPlaceholderPixel(std::int32_t x, std::int32_t y);
// Position of the client area's top-left corner on the screen; false without a window.
bool DispWindowPosition(std::int32_t* x, std::int32_t* y);
// Queues a key press as the keyboard would: scancode and key code are SDL's numbers (USB usage
// codes and, for printable keys, the character; keycode 0 takes the current layout's).
// False without a window.
bool DispPushKey(std::int32_t scancode, std::int32_t keycode, bool repeat);
// Queues a button press (SDL numbering: 1 left, 2 middle, 3 right) or, with press false, a
// release at client pixel (x, y). False without a window.
bool DispPushButton(std::int32_t button, bool press, std::int32_t x, std::int32_t y);
// Queues a mouse motion to client pixel (x, y). False without a window.
bool DispPushMotion(std::int32_t x, std::int32_t y);
// Queues the window manager's close request for the window. False without a window.
bool DispPushCloseRequest();
// Queues the application quit request (what SIGINT or the last window's close gives). False
// without a window.
bool DispPushQuit();
// Whether a clip handle holds sound, and whether it is sounding now; a clip still unread (the
// device not yet open) is read first.
bool DispClipLoaded(std::uint32_t clip);
bool DispClipPlaying(std::uint32_t clip);
// Stops the audio device playing by itself and mixes the next `frames` frames of what sounds
// into out, 16-bit, interleaved: out holds frames x channels samples. Returns the device's
// channels and sets its sample rate, or returns 0 when no device is open.
int DispMixAudio(std::int16_t* out, int frames, int* rate);
// Whether the audio device is open and running, not paused.
bool DispAudioRunning();
// Name of the audio driver the clips play on; "" while no audio device is open.
const char* DispAudioDriver();
// Closes the window and the audio device and frees every bitmap and clip: the layer starts afresh,
// and every handle issued so far becomes invalid.
void DispShutdown();
