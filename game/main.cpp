// Dravel2's entry: the command line first, then the whole game (runGame).
#include "game/command_line.h"
#include "platform/sdl/console.h"
#include "ui/game.h"

int main(int argc, char** argv) {
  disp_sdl::console::Start();
  const int status = ReadCommandLine(argc, argv);
  return status >= 0 ? status : runGame();
}
