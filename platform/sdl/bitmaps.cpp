// The layer's bitmaps: the .bmp header check, the table, copies between bitmaps, textures.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/sdl/bitmaps.h"

namespace disp_sdl {

namespace {

// Limits on what a loaded sheet may be: the game's sheets are a few hundred pixels, so
// anything beyond this is a broken or hostile file, refused before SDL allocates for it.
constexpr std::int64_t kMaxLoadSide = 16384;
constexpr std::int64_t kMaxLoadPixels = std::int64_t{1} << 24;
// New bitmaps are clamped to this side; the game's largest is 24 x 24.
constexpr std::int32_t kMaxCreateSide = 4096;

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

// True when the bytes hold a Windows bitmap whose header is consistent and whose pixels are
// all inside the file, so SDL's loader only ever sees files it can read in bounds and
// allocates at most kMaxLoadPixels pixels. Accepts the core (12-byte) header and the 40- to
// 124-byte info headers, 1/4/8/16/24/32 bits a pixel, uncompressed, RLE4/RLE8 or bit fields.
bool BmpHeaderSane(const std::vector<std::uint8_t>& file) {
  const std::size_t n = file.size();
  const std::uint8_t* d = file.data();
  if (n < 18 || d[0] != 'B' || d[1] != 'M') return false;
  const std::uint32_t pixelOffset = Le32(d + 10);
  const std::uint32_t headerSize = Le32(d + 14);
  std::int64_t width = 0, height = 0;
  std::uint32_t planes = 0, bits = 0, compression = 0, paletteUsed = 0;
  if (headerSize == 12) {
    if (n < 26) return false;
    width = Le16(d + 18);
    height = Le16(d + 20);
    planes = Le16(d + 22);
    bits = Le16(d + 24);
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 ||
             headerSize == 108 || headerSize == 124) {
    if (n < 14 + std::size_t{headerSize}) return false;
    width = static_cast<std::int32_t>(Le32(d + 18));
    height = static_cast<std::int32_t>(Le32(d + 22));
    planes = Le16(d + 26);
    bits = Le16(d + 28);
    compression = Le32(d + 30);
    paletteUsed = Le32(d + 46);
  } else {
    return false;
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 1 || width > kMaxLoadSide || height < 1 || height > kMaxLoadSide) return false;
  if (width * height > kMaxLoadPixels) return false;
  if (planes != 1) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (bits <= 8 && paletteUsed > (1u << bits)) return false;
  switch (compression) {
    case 0: break;
    case 1: if (bits != 8 || topDown) return false; break;
    case 2: if (bits != 4 || topDown) return false; break;
    case 3: if (bits != 16 && bits != 32) return false; break;
    default: return false;
  }
  if (pixelOffset < 14 + headerSize || pixelOffset >= n) return false;
  if (compression == 0 || compression == 3) {
    const std::int64_t rowBytes = (width * bits + 31) / 32 * 4;
    if (static_cast<std::int64_t>(pixelOffset) + rowBytes * height > static_cast<std::int64_t>(n))
      return false;
  }
  return true;
}

// A bitmap of w x h pixels in the layer's format, all black; 0 x 0 (no surface) if either
// side is 0 or memory is short.
Bitmap MakeBitmap(std::int32_t w, std::int32_t h) {
  Bitmap b{nullptr, nullptr, false};
  if (w <= 0 || h <= 0) return b;
  b.surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, kBitmapFormat);
  if (b.surface) {
    SDL_SetSurfaceBlendMode(b.surface, SDL_BLENDMODE_NONE);
    std::memset(b.surface->pixels, 0, static_cast<std::size_t>(b.surface->pitch) * h);
    b.dirty = true;
  }
  return b;
}

std::uint32_t* Row(SDL_Surface* s, std::int64_t y) {
  return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
}

}  // namespace

std::uint32_t Bitmaps::PlaceholderAt(std::int64_t x, std::int64_t y) {
  // 4 x 4 magenta and black squares: no sheet of the game looks like this.
  return ((x >> 2) ^ (y >> 2)) & 1 ? 0x000000u : 0xFF00FFu;
}

const Bitmap* Bitmaps::Find(std::uint32_t handle) const {
  return handle - 1u < table_.size() ? &table_[handle - 1u] : nullptr;
}

std::uint32_t Bitmaps::Add(const Bitmap& b) {
  ++changes_;
  table_.push_back(b);
  return static_cast<std::uint32_t>(table_.size());
}

SDL_Texture* Bitmaps::Texture(std::uint32_t handle, SDL_Renderer* r) {
  if (handle - 1u >= table_.size()) return nullptr;
  Bitmap& b = table_[handle - 1u];
  if (!b.dirty) return b.texture;
  b.dirty = false;
  if (!b.surface || !r) return nullptr;
  if (!b.texture) {
    b.texture =
        SDL_CreateTexture(r, kBitmapFormat, SDL_TEXTUREACCESS_STATIC, b.surface->w, b.surface->h);
    if (!b.texture) return nullptr;
    SDL_SetTextureBlendMode(b.texture, SDL_BLENDMODE_NONE);
  }
  SDL_UpdateTexture(b.texture, nullptr, b.surface->pixels, b.surface->pitch);
  return b.texture;
}

void Bitmaps::ForgetTextures() {
  for (Bitmap& b : table_) {
    b.texture = nullptr;
    b.dirty = b.surface != nullptr;
  }
}

void Bitmaps::Release() {
  for (Bitmap& b : table_) {
    if (b.texture) SDL_DestroyTexture(b.texture);
    SDL_FreeSurface(b.surface);
  }
  table_.clear();
  table_.shrink_to_fit();
}

std::uint32_t Bitmaps::Load(const std::vector<std::uint8_t>& file) {
  Bitmap b{nullptr, nullptr, false};
  if (BmpHeaderSane(file)) {
    SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    SDL_Surface* raw = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (raw) {
      b.surface = SDL_ConvertSurfaceFormat(raw, kBitmapFormat, 0);
      SDL_FreeSurface(raw);
    }
    if (b.surface) {
      SDL_SetSurfaceBlendMode(b.surface, SDL_BLENDMODE_NONE);
      b.dirty = true;
    }
  }
  return Add(b);
}

std::uint32_t Bitmaps::Create(std::int32_t w, std::int32_t h) {
  return Add(MakeBitmap(std::clamp(w, 0, kMaxCreateSide), std::clamp(h, 0, kMaxCreateSide)));
}

void Bitmaps::Copy(std::uint32_t src, std::uint32_t dst, std::int32_t sx, std::int32_t sy,
                   std::int32_t sw, std::int32_t sh, std::int32_t dx, std::int32_t dy,
                   std::int32_t dw, std::int32_t dh) {
  const Bitmap* from = Find(src);
  Bitmap* to = dst - 1u < table_.size() ? &table_[dst - 1u] : nullptr;
  if (!from || !to || !to->surface) return;
  // No scaling: the copied block is the smaller of the two sizes (the game passes equal ones).
  // 64-bit coordinates so that no offset near the int32 limits can overflow.
  const std::int64_t w = std::min(sw, dw), h = std::min(sh, dh);
  if (w <= 0 || h <= 0) return;
  SDL_Surface* out = to->surface;
  const std::int64_t x0 = std::max<std::int64_t>(dx, 0), x1 = std::min<std::int64_t>(dx + w, out->w);
  const std::int64_t y0 = std::max<std::int64_t>(dy, 0), y1 = std::min<std::int64_t>(dy + h, out->h);
  if (x0 >= x1 || y0 >= y1) return;
  SDL_Surface* in = from->surface;
  const std::int64_t inW = in ? in->w : 0, inH = in ? in->h : 0;
  const std::int64_t shiftX = std::int64_t{sx} - dx, shiftY = std::int64_t{sy} - dy;
  // Destination columns whose source column lies inside the source: [cx0, cx1).
  const std::int64_t cx0 = std::clamp(-shiftX, x0, x1), cx1 = std::clamp(inW - shiftX, cx0, x1);
  // Copying within one bitmap downwards must go bottom-up so no source row is overwritten first.
  const bool upward = in == out && shiftY < 0;
  for (std::int64_t i = 0; i < y1 - y0; ++i) {
    const std::int64_t y = upward ? y1 - 1 - i : y0 + i;
    const std::int64_t fy = y + shiftY;
    std::uint32_t* row = Row(out, y);
    const bool rowInside = fy >= 0 && fy < inH;
    const std::int64_t a = rowInside ? cx0 : x1, b = rowInside ? cx1 : x1;
    for (std::int64_t x = x0; x < a; ++x) row[x] = PlaceholderAt(x + shiftX, fy);
    if (b > a)
      std::memmove(row + a, Row(in, fy) + a + shiftX, static_cast<std::size_t>(b - a) * 4);
    for (std::int64_t x = std::max(a, b); x < x1; ++x) row[x] = PlaceholderAt(x + shiftX, fy);
  }
  to->dirty = true;
  ++changes_;
}

}  // namespace disp_sdl
