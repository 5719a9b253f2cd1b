// Inspection and synthetic input for the SDL layer, declared in disp_probe.h.
#include "platform/probe/disp_probe.h"

#include "platform/sdl/layer.h"
#include "platform/sdl/queued_input.h"

namespace {
disp_sdl::Layer& l = disp_sdl::TheLayer();
}  // namespace

namespace disp_sdl {

// What the probes see of the clips' device, and how they mix without it.
struct ClipsProbe {
  // Whether the device is open and running (its callback called), not paused.
  static bool Running(const Clips& c) {
    return c.device_ == Clips::Device::kOpen && SDL_GetAudioDeviceStatus(c.id_) == SDL_AUDIO_PLAYING;
  }
  // Whether a clip's sound is playing now.
  static bool Playing(Clips& c, std::uint32_t clip) {
    if (c.device_ != Clips::Device::kOpen || !c.Loaded(clip)) return false;
    SDL_LockAudioDevice(c.id_);
    const bool sounding = c.clips_[clip - 1u].sounding;
    SDL_UnlockAudioDevice(c.id_);
    return sounding;
  }
  // Stops the device playing by itself and mixes the next `frames` frames of 16-bit sound into
  // out; returns the device's channels and sets its rate, or 0 without a device.
  static int Mix(Clips& c, std::int16_t* out, int frames, int* rate) {
    if (c.device_ != Clips::Device::kOpen) return 0;
    SDL_PauseAudioDevice(c.id_, 1);
    SDL_LockAudioDevice(c.id_);
    c.MixInto(reinterpret_cast<Uint8*>(out), frames * c.format_.channels * 2);
    SDL_UnlockAudioDevice(c.id_);
    *rate = c.format_.freq;
    return c.format_.channels;
  }
};

}  // namespace disp_sdl

using namespace disp_sdl;

bool DispBitmapSize(std::uint32_t bmp, std::int32_t* w, std::int32_t* h) {
  const Bitmap* b = l.bitmaps.Find(bmp);
  if (!b) return false;
  *w = b->surface ? b->surface->w : 0;
  *h = b->surface ? b->surface->h : 0;
  return true;
}

bool DispBitmapPixel(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::uint32_t* rgb) {
  const Bitmap* b = l.bitmaps.Find(bmp);
  if (!b || !b->surface || x < 0 || y < 0 || x >= b->surface->w || y >= b->surface->h)
    return false;
  const auto* row = static_cast<const std::uint8_t*>(b->surface->pixels) + y * b->surface->pitch;
  *rgb = reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
  return true;
}

// A desktop's screen is the window's renderer (screen_renderer.cpp): the pixel is read back
// from it.
bool DispFramePixel(std::int32_t x, std::int32_t y, std::uint32_t* rgb) {
  SDL_Renderer* r = l.window && l.screen.IsOpen() ? SDL_GetRenderer(l.window) : nullptr;
  int w = 0, h = 0;
  if (!r || x < 0 || y < 0 || SDL_GetRendererOutputSize(r, &w, &h) != 0 || x >= w || y >= h)
    return false;
  const SDL_Rect one{x, y, 1, 1};
  Uint32 pixel = 0;
  if (SDL_RenderReadPixels(r, &one, SDL_PIXELFORMAT_RGB888, &pixel, 4) != 0) return false;
  *rgb = pixel & 0xFFFFFFu;
  return true;
}

std::uint32_t DispPlaceholderPixel(std::int32_t x, std::int32_t y) { return Bitmaps::PlaceholderAt(x, y); }

bool DispWindowPosition(std::int32_t* x, std::int32_t* y) {
  if (!l.window) return false;
  int wx = 0, wy = 0;
  SDL_GetWindowPosition(l.window, &wx, &wy);
  *x = wx;
  *y = wy;
  return true;
}

bool DispPushKey(std::int32_t scancode, std::int32_t keycode, bool repeat) {
  return QueueKey(l.window, scancode, keycode, repeat);
}

bool DispPushButton(std::int32_t button, bool press, std::int32_t x, std::int32_t y) {
  return QueueButton(l.window, button, press, x, y);
}

bool DispPushMotion(std::int32_t x, std::int32_t y) {
  if (!l.window) return false;
  SDL_Event e{};
  e.motion.type = SDL_MOUSEMOTION;
  e.motion.timestamp = SDL_GetTicks();
  e.motion.windowID = SDL_GetWindowID(l.window);
  e.motion.x = x;
  e.motion.y = y;
  return SDL_PushEvent(&e) == 1;
}

bool DispPushCloseRequest() {
  if (!l.window) return false;
  SDL_Event e{};
  e.window.type = SDL_WINDOWEVENT;
  e.window.timestamp = SDL_GetTicks();
  e.window.windowID = SDL_GetWindowID(l.window);
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  return SDL_PushEvent(&e) == 1;
}

bool DispPushQuit() {
  if (!l.window) return false;
  SDL_Event e{};
  e.quit.type = SDL_QUIT;
  e.quit.timestamp = SDL_GetTicks();
  return SDL_PushEvent(&e) == 1;
}

// A clip not yet read is read first: the probes see the sound the game will have.
bool DispClipLoaded(std::uint32_t clip) {
  ReadClips();
  return l.clips.Loaded(clip);
}

bool DispClipPlaying(std::uint32_t clip) {
  ReadClips();
  return ClipsProbe::Playing(l.clips, clip);
}

int DispMixAudio(std::int16_t* out, int frames, int* rate) { return ClipsProbe::Mix(l.clips, out, frames, rate); }

bool DispAudioRunning() { return ClipsProbe::Running(l.clips); }

const char* DispAudioDriver() {
  const char* name = SDL_GetCurrentAudioDriver();
  return name ? name : "";
}

void DispShutdown() { ShutDown(); }
