// Dravel2's entry: the command line first, then the whole game (runGame).
#include "game/command_line.h"
#include "ui/game.h"

int main(int argc, char** argv) {
  const int status = ReadCommandLine(argc, argv);
  return status >= 0 ? status : runGame();
}
