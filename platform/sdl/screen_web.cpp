// The screen in a browser's page: the frame is drawn into memory in the bitmaps' own format, so
// that every draw is a plain copy, turned into the canvas's pixel order (RGBA) in one pass and
// put into the canvas whole, once a frame. SDL's renderer would draw into a surface of its own
// and copy that into the canvas through JavaScript a pixel at a time; without it the page's code
// is a quarter smaller, and a phone shows the first board a sixth of a second sooner. The page
// draws at scale 1 (desktop_web.cpp): the canvas holds the game's pixels, and the page enlarges
// it.
#include <emscripten.h>

#include <memory>

#include "platform/sdl/screen.h"

namespace disp_sdl {

namespace {

// Puts w x h pixels of RGBA bytes into the page's canvas, at its top-left corner.
EM_JS(void, PutIntoCanvas, (const void* pixels, int w, int h), {
  const canvas = Module.canvas;
  if (!canvas.dravel2Context) canvas.dravel2Context = canvas.getContext('2d');
  const bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, w * h * 4);
  canvas.dravel2Context.putImageData(new ImageData(bytes, w, h), 0, 0);
});

// The canvas's backing store: the window's size, since the window is not high-DPI.
SDL_Rect CanvasArea(SDL_Window* w) {
  SDL_Rect area{0, 0, 0, 0};
  SDL_GetWindowSize(w, &area.w, &area.h);
  return area;
}

}  // namespace

struct Screen::Target {
  SDL_Window* window;
  std::uint32_t colour;
  // The frame in the bitmaps' format (kBitmapFormat), as large as the canvas, and the same pixels
  // as the canvas takes them (RGBA bytes, opaque); null before the first frame.
  SDL_Surface* frame;
  std::unique_ptr<std::uint32_t[]> canvas;
};

namespace {

// The frame's pixels in the canvas's byte order: R, G, B, then an opaque alpha.
void ToCanvasOrder(const SDL_Surface* frame, std::uint32_t* out) {
  const auto* bytes = static_cast<const std::uint8_t*>(frame->pixels);
  for (int y = 0; y < frame->h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(bytes + y * frame->pitch);
    for (int x = 0; x < frame->w; ++x, ++out) {
      const std::uint32_t p = row[x];
      *out = 0xFF000000u | (p & 0xFFu) << 16 | (p & 0xFF00u) | (p >> 16 & 0xFFu);
    }
  }
}

}  // namespace

// The canvas shows nothing until the first frame, which comes in the same turn.
bool Screen::Open(SDL_Window* w, std::uint32_t colour) {
  Close();
  target_ = new Target{w, colour, nullptr, nullptr};
  return true;
}

void Screen::Close() {
  if (!target_) return;
  SDL_FreeSurface(target_->frame);
  delete target_;
  target_ = nullptr;
}

int Screen::PixelsWide() const { return target_ ? CanvasArea(target_->window).w : 0; }

void Screen::Show(const std::vector<FrameList::Draw>& draws, Bitmaps& bitmaps, int scale,
                  const SDL_Rect* board) {
  if (!target_) return;
  const SDL_Rect area = CanvasArea(target_->window);
  if (area.w <= 0 || area.h <= 0) return;
  // A resized canvas (SDL's resize event makes the layer draw the frame again) takes a frame
  // of its new size.
  SDL_Surface*& frame = target_->frame;
  if (!frame || frame->w != area.w || frame->h != area.h) {
    SDL_FreeSurface(frame);
    frame = SDL_CreateRGBSurfaceWithFormat(0, area.w, area.h, 32, kBitmapFormat);
    if (!frame) return;
    target_->canvas.reset(new std::uint32_t[static_cast<std::size_t>(area.w) * area.h]);
  }
  const std::uint32_t c = target_->colour;
  SDL_FillRect(frame, nullptr,
               SDL_MapRGB(frame->format, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
  const SDL_Rect place = board ? *board : area;
  SDL_SetClipRect(frame, &place);
  for (const FrameList::Draw& d : draws) {
    const Bitmap* b = bitmaps.Find(d.bmp);
    if (!b || !b->surface) continue;
    SDL_Rect from{0, 0, d.w, d.h};
    SDL_Rect to{place.x + d.x * scale, place.y + d.y * scale, d.w * scale, d.h * scale};
    // Copies: the bitmaps have the frame's format and no alpha.
    if (scale == 1)
      SDL_BlitSurface(b->surface, &from, frame, &to);
    else
      SDL_BlitScaled(b->surface, &from, frame, &to);
  }
  SDL_SetClipRect(frame, nullptr);
  ToCanvasOrder(frame, target_->canvas.get());
  PutIntoCanvas(target_->canvas.get(), frame->w, frame->h);
}

}  // namespace disp_sdl
