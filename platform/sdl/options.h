// What the command line may tell the SDL layer before the window opens.
#pragma once

namespace disp_sdl {

// A scale written out: a whole number from 1 to 8 in digits alone; 0 for anything else.
int ScaleValue(const char* text);
// The scale the player asked for on the command line (1 to 8); it wins over the environment
// and the desktop's setting.
void ChooseScale(int n);

}  // namespace disp_sdl
