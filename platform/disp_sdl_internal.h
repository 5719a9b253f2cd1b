// State the SDL layer's files share: the window, the renderer, the bitmap and clip tables.
// Private to platform/: nothing outside this directory includes it.
#pragma once
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace disp_sdl {

// A bitmap is its pixels in a surface of format SDL_PIXELFORMAT_RGB888 (0x00RRGGBB, blending
// off); the texture is only a cache of them for the current renderer. Invariant: texture is
// null or matches the surface whenever dirty is false. A 0 x 0 bitmap has no surface.
struct Bitmap {
  SDL_Surface* surface;
  SDL_Texture* texture;
  bool dirty;
};

// Handle h names g_bitmaps[h - 1]; handle 0 is never issued. Entries live until DispShutdown.
extern std::vector<Bitmap> g_bitmaps;

// The open window and its renderer; both null while no window is open.
extern SDL_Window* g_window;
extern SDL_Renderer* g_renderer;

// The bitmap behind a handle, or null for handle 0 and handles never issued.
inline Bitmap* FindBitmap(std::uint32_t handle) {
  return handle - 1u < g_bitmaps.size() ? &g_bitmaps[handle - 1u] : nullptr;
}

// Bitmaps (disp_bitmap.cpp).
// Uploads a dirty bitmap into a texture of the current renderer; false if it has nothing to
// show (0 x 0, or the renderer refused the texture).
bool RefreshTexture(Bitmap& b);
// Forgets every texture: the renderer that owned them is being destroyed.
void ForgetTextures();
// Frees every bitmap; their handles become invalid.
void ReleaseBitmaps();
// Counts changes to the pixels of any bitmap: equal counts, same pictures.
std::uint64_t PicturesChanged();
// The placeholder colour shown for pixel (x, y) of a bitmap that has no such pixel.
std::uint32_t PlaceholderAt(std::int64_t x, std::int64_t y);

// Clips (disp_audio.cpp).
// Closes the audio device and frees every clip; their handles become invalid.
void ReleaseAudio();
// Whether a clip handle has sound, and whether that sound is playing now.
bool ClipLoaded(std::uint32_t clip);
bool ClipPlaying(std::uint32_t clip);
// For the probe: stops the device playing by itself and mixes the next `frames` frames of
// 16-bit sound into out; returns the device's channels and sets its rate, or 0 without one.
int MixForProbe(std::int16_t* out, int frames, int* rate);

// The window (disp_window.cpp), its messages (disp_input.cpp) and its frame (disp_frame.cpp).
// Bounds on the client size the layer accepts, in game pixels.
constexpr std::int32_t kMaxClientSide = 16384;
// True after CreateWin39 failed to open a window, until the next CreateWin39 or CloseWin46:
// the game is about to end, so the layer opens no audio device.
bool WindowRefused();
// True when DRAVEL2_TRACE asked for a line on stderr at every press taken and frame shown.
bool Tracing();
// Destroys the window and its renderer if open, and stops video; IsWin47 is false after.
void DestroyWindow();
// The room on the screen changed (a browser's page resized, a phone turned): the next turn of
// the game's loop sizes the window afresh, at the desktop's scale again.
void RoomChanged();
// Forgets the message last taken.
void ForgetMessage();
// The next FreshWin45 draws and shows its frame even if it is the one on the screen.
void RedrawFrame();
// Forgets the frames drawn and shown.
void ForgetFrames();
// Calls the hook that DispOnPresent set, if any; FreshWin45 calls it at its end.
void RunPresentHook();
// Releases everything the layer holds and quits SDL; the layer can start afresh after it.
void ShutDown();
// Makes ShutDown run when the process exits, so that the game, which never releases its
// bitmaps, clips and window, still leaves nothing behind. Cheap to call again.
void ShutDownAtExit();

// The scale (disp_scale.cpp): every game pixel shows as Scale() x Scale() pixels, and a window
// unit (what SDL sizes windows and reports positions in) is PixelsPerUnit() pixels.
// The largest scale: every game pixel at most kMaxScale x kMaxScale pixels of the screen.
constexpr int kMaxScale = 8;
// A scale written out (an option's value, DRAVEL2_SCALE, GDK_SCALE): a whole number from 1 to
// kMaxScale in digits alone; 0 for anything else, null and "" included.
int ScaleValue(const char* text);
// The scale the player asked for on the command line (1 to kMaxScale); it wins over the
// environment and the desktop's setting.
void ChooseScale(int n);
// A desktop's scale for its dots an inch: 96 is 1, 192 is 2, the nearest whole number with
// halves up, within 1 to kMaxScale.
int ScaleFromDpi(double dpi);
// The largest scale from 1 to `wanted` at which w x h game pixels fit in room pixels; 1 when
// none does.
int FittingScale(int wanted, std::int64_t w, std::int64_t h, std::int64_t roomW,
                 std::int64_t roomH);
// For a window just opened, ratio pixels a window unit: the scale wanted becomes the command
// line's, else DRAVEL2_SCALE's, else the desktop's; the scale in effect is 1 until sized.
void StartScale(int ratio);
int Scale();
int PixelsPerUnit();
void SetScale(int n);
// The scale the player wants, and a new one from a drag of the frame.
int WantedScale();
void ZoomTo(int n);
// Game pixels to window units, and window units to game pixels (rounded down).
std::int64_t UnitsFromGame(std::int64_t v);
std::int32_t GameFromUnits(std::int64_t v);

// Files (data_files.cpp, window_icon.cpp).
// Where the game's file `path` is: a relative path as it stands when the working directory
// has it, else beside the executable, else in ../share/dravel2 from it; else path unchanged.
std::string FindDataFile(const char* path);
// Reads the whole regular file of at most cap bytes that FindDataFile finds for path; false
// (and out empty) otherwise.
bool ReadFileCapped(const char* path, std::size_t cap, std::vector<std::uint8_t>* out);
// Sets the game's own icon on the window.
void SetWindowIcon(SDL_Window* window);

// What the desktop tells the layer, one file a target (desktop_x11.cpp, desktop_windows.cpp,
// disp_web.cpp).
// Sets what must be set before SDL's video starts (hints).
void PrepareVideo();
// Flags the window is made with besides resizable and hidden.
std::uint32_t WindowFlags();
// The desktop's own scale, 1 to kMaxScale, for the open window: how many pixels of the screen
// the desktop gives one pixel of a program that does not scale itself; 1 where it cannot tell.
int DesktopScale();
// In a browser, sets the page (full) and the room it has for the canvas (usable), in window
// units, and returns true; on a desktop returns false: the screen is SDL's display.
bool PageArea(SDL_Rect* full, SDL_Rect* usable);
// True where SDL_SetWindowPosition places the window's frame (X11: the window manager reads
// the position by the window's gravity), false where it places the client area.
bool PlacesFrame();
// True when the open window's display is known to run no window manager (X11 only), so that
// no frame and no borders will ever come.
bool NoWindowManager();
}  // namespace disp_sdl
