// What the Windows desktop tells the layer: its scale; there is always a window manager.
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

void PrepareVideo() {}

int DesktopScale() { return 1; }

bool NoWindowManager() { return false; }

}  // namespace disp_sdl
