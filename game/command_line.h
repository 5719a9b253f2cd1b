// The program's options: --help, --version and --scale N, read before the window opens.
#pragma once

// Reads argv. Returns -1 when the game is to start (a --scale it names then holds for the
// window), or the exit status after it printed the help (0), the version (0) or an error (2).
int ReadCommandLine(int argc, char** argv);
