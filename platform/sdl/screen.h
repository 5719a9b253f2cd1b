// Where the frames show: the window's renderer on a desktop (screen_renderer.cpp), the page's
// canvas in a browser (screen_web.cpp); each target links one. A leaf: it knows the window,
// the bitmaps and the draws it is given, nothing of the layer.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/sdl/bitmaps.h"
#include "platform/sdl/frame_list.h"

namespace disp_sdl {

class Screen {
 public:
  Screen() = default;
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;
  // Opens on window w, cleared to colour (0xRRGGBB); where a new window would show whatever its
  // memory held, the cleared frame is shown at once. False, with SDL's reason in SDL_GetError,
  // when it cannot open.
  bool Open(SDL_Window* w, std::uint32_t colour);
  // Closes; nothing shows until the next Open. The bitmaps' textures belonged to it: the caller
  // forgets them first.
  void Close();
  bool IsOpen() const { return target_ != nullptr; }
  // Screen pixels across the window, or 0 when closed.
  int PixelsWide() const;
  // Clears the whole screen to the colour and shows draws at `scale` pixels a game pixel, inside
  // `board` (the whole screen when null), each cut to its place.
  void Show(const std::vector<FrameList::Draw>& draws, Bitmaps& bitmaps, int scale,
            const SDL_Rect* board);

 private:
  // What the target's screen holds while open (screen_renderer.cpp, screen_web.cpp).
  struct Target;
  Target* target_ = nullptr;
};

}  // namespace disp_sdl
