// The screen of a desktop window: SDL's renderer, which draws the bitmaps' textures at the
// game's scale and presents them.
#include "platform/sdl/screen.h"

namespace disp_sdl {

struct Screen::Target {
  // Draws in the colour the screen clears to, and copies without blending.
  SDL_Renderer* renderer;
};

bool Screen::Open(SDL_Window* w, std::uint32_t colour) {
  Close();
  SDL_Renderer* renderer = SDL_CreateRenderer(w, -1, 0);
  if (!renderer) return false;
  target_ = new Target{renderer};
  SDL_SetRenderDrawColor(renderer, (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF, 255);
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  // A new window shows whatever its memory held until a frame comes.
  SDL_RenderClear(renderer);
  SDL_RenderPresent(renderer);
  return true;
}

void Screen::Close() {
  if (!target_) return;
  SDL_DestroyRenderer(target_->renderer);
  delete target_;
  target_ = nullptr;
}

int Screen::PixelsWide() const {
  int w = 0;
  if (target_) SDL_GetRendererOutputSize(target_->renderer, &w, nullptr);
  return w;
}

void Screen::Show(const std::vector<FrameList::Draw>& draws, Bitmaps& bitmaps, int scale,
                  const SDL_Rect* board) {
  if (!target_) return;
  SDL_Renderer* r = target_->renderer;
  SDL_RenderSetViewport(r, board);
  SDL_RenderClear(r);  // all of it: a clear ignores the viewport
  for (const FrameList::Draw& d : draws) {
    SDL_Texture* texture = bitmaps.Texture(d.bmp, r);
    if (!texture) continue;
    const SDL_Rect from{0, 0, d.w, d.h};
    const SDL_Rect to{d.x * scale, d.y * scale, d.w * scale, d.h * scale};
    SDL_RenderCopy(r, texture, &from, &to);
  }
  SDL_RenderPresent(r);
}

}  // namespace disp_sdl
