// What the command line may tell the SDL layer before the window opens.
#pragma once

#include "platform/sdl/scale.h"  // ScaleValue: a scale written out

namespace disp_sdl {

// The scale the player asked for on the command line (1 to 8); it wins over the environment
// and the desktop's setting.
void ChooseScale(int n);

}  // namespace disp_sdl
