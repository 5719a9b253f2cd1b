// The bitmap display operations: sheets loaded from the game's files, new bitmaps, copies.
#include "platform/disp.h"
#include "platform/sdl/data_files.h"
#include "platform/sdl/layer.h"

using namespace disp_sdl;

std::uint32_t LoadBMP197(const char* path) {
  ShutDownAtExit();
  Layer& l = TheLayer();
  const DataFile d = ReadDataFile(path, Bitmaps::kMaxFileBytes);
  const std::uint32_t bmp = l.bitmaps.Load(d.bytes);
  const Bitmap* b = l.bitmaps.Find(bmp);
  if (!d.file.empty() && (!b || !b->surface))
    SayRefused(d.file, "a placeholder shows instead", &l.refusedFiles);
  return bmp;
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
