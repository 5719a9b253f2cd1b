// The scale of the window: how many screen pixels show one pixel of the game, each way.
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

namespace {
int g_chosen = 0;  // from the command line; 0 when it named none
}  // namespace

void ChooseScale(int n) { g_chosen = n; }

}  // namespace disp_sdl
