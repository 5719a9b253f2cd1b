// The bitmap display operations: sheets loaded from the game's files, new bitmaps, copies.
#include "platform/disp.h"
#include "platform/sdl/data_files.h"
#include "platform/sdl/layer.h"

using namespace disp_sdl;

std::uint32_t LoadBMP197(const char* path) {
  ShutDownAtExit();
  std::vector<std::uint8_t> file;
  ReadFileCapped(path, Bitmaps::kMaxFileBytes, &file);
  return TheLayer().bitmaps.Load(file);
}

std::uint32_t CreateBMP192(std::int32_t w, std::int32_t h) {
  ShutDownAtExit();
  return TheLayer().bitmaps.Create(w, h);
}

void DrawBMP200(std::uint32_t src, std::uint32_t dst, std::int32_t sx, std::int32_t sy,
                std::int32_t sw, std::int32_t sh, std::int32_t dx, std::int32_t dy,
                std::int32_t dw, std::int32_t dh) {
  TheLayer().bitmaps.Copy(src, dst, sx, sy, sw, sh, dx, dy, dw, dh);
}
