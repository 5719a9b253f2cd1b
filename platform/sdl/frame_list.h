// The frame the game draws between Clear164 and FreshWin45: its draws as a list, and a digest
// that tells whether it is the frame already on the screen.
#pragma once
#include <cstdint>
#include <vector>

namespace disp_sdl {

class FrameList {
 public:
  // One DrawBMP214, in game pixels, already cut to the bitmap's size.
  struct Draw {
    std::uint32_t bmp;
    std::int16_t x, y, w, h;
  };

  // Starts a new frame: no draws.
  void Begin();
  // Adds a draw of a bitmap w x h at (x, y) in game pixels; each within 16 bits.
  void Add(std::uint32_t bmp, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
  // True unless the frame drawn is the one on the screen: same draws, no bitmap changed since
  // (pictures counts their changes), and the screen kept what it showed.
  bool Changed(std::uint64_t pictures) const;
  // The draws of the frame, in order.
  const std::vector<Draw>& Draws() const { return drawing_; }
  // The frame is now the one on the screen, drawn with the bitmaps as they were after
  // `pictures` changes.
  void Shown(std::uint64_t pictures);
  // The screen lost what it showed (uncovered, resized, rescaled): the next frame is drawn.
  void Stale() { stale_ = true; }
  // Forgets every draw, and the frame on the screen.
  void Forget();

 private:
  // The draws of the frame being drawn, and a digest of them as they come. Only the digest of
  // the frame on the screen is kept: a frame of the largest board has ten thousand draws.
  std::vector<Draw> drawing_;
  std::uint64_t digest_ = 0, shownDigest_ = 0, shownPictures_ = 0;
  bool stale_ = true;
};

}  // namespace disp_sdl
