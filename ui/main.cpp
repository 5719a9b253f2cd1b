// Dravel2's entry: the whole game is runGame.
#include "ui/game.h"

int main() { return runGame(); }
