// The layer's bitmaps: a table of pictures in one pixel format, loaded safely from .bmp bytes,
// made blank, copied between, and uploaded as textures to whatever renderer draws them.
#pragma once
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace disp_sdl {

// The one pixel format of every bitmap: a 32-bit 0x00RRGGBB. A screen that draws into a surface
// of this format copies the bitmaps into it as they are.
constexpr Uint32 kBitmapFormat = SDL_PIXELFORMAT_RGB888;

// A bitmap is its pixels in a surface of format kBitmapFormat (blending off); the texture is
// only a cache of them for the current renderer. Invariant: texture is null or matches the
// surface whenever dirty is false. A 0 x 0 bitmap has no surface.
struct Bitmap {
  SDL_Surface* surface;
  SDL_Texture* texture;
  bool dirty;
};

class Bitmaps {
 public:
  // The game's sheets are a few hundred kilobytes; a larger file is not one of them.
  static constexpr std::size_t kMaxFileBytes = std::size_t{80} << 20;

  // A new bitmap from the bytes of a .bmp file; 0 x 0 when they are not a sane one. Handles
  // start at 1 and stay valid until Release.
  std::uint32_t Load(const std::vector<std::uint8_t>& file);
  // A new w x h bitmap, all black; each side clamped to 0..4096.
  std::uint32_t Create(std::int32_t w, std::int32_t h);
  // DrawBMP200: copies (sx, sy, sw, sh) of src to (dx, dy) of dst unscaled, clipped to dst;
  // source pixels the source does not have copy as the placeholder.
  void Copy(std::uint32_t src, std::uint32_t dst, std::int32_t sx, std::int32_t sy,
            std::int32_t sw, std::int32_t sh, std::int32_t dx, std::int32_t dy, std::int32_t dw,
            std::int32_t dh);
  // The bitmap behind a handle, or null for handle 0 and handles never issued.
  const Bitmap* Find(std::uint32_t handle) const;
  // The bitmap's texture for renderer r, uploaded afresh when its pixels changed; null when it
  // has nothing to show (0 x 0, an unknown handle, or the renderer refused the texture).
  SDL_Texture* Texture(std::uint32_t handle, SDL_Renderer* r);
  // Forgets every texture: the renderer that owned them is being destroyed.
  void ForgetTextures();
  // Frees every bitmap; their handles become invalid.
  void Release();
  // Counts changes to the pixels of any bitmap: equal counts, same pictures.
  std::uint64_t Changes() const { return changes_; }

  // The placeholder colour shown for pixel (x, y) of a bitmap that has no such pixel.
  static std::uint32_t PlaceholderAt(std::int64_t x, std::int64_t y);

 private:
  std::uint32_t Add(const Bitmap& b);

  std::vector<Bitmap> table_;  // handle h names table_[h - 1]
  std::uint64_t changes_ = 0;
};

}  // namespace disp_sdl
