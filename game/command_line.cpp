// The program's options: the usage and keys of --help (or -h, or /?), --version, and --scale N
// for the layer.
#include "game/command_line.h"

#include <cstring>
#include <string>

#include "platform/sdl/console.h"
#include "platform/sdl/options.h"

#ifndef DRAVEL2_VERSION
#define DRAVEL2_VERSION "0"
#endif

namespace {

constexpr const char* kUsage = "usage: dravel2 [--scale N] [--help] [--version]\n";

constexpr const char* kHelp =
    "Mine-sweeping crossed with rising rows: clear full rows before the idle rows run out.\n"
    "\n"
    "options:\n"
    "  --scale N   show every pixel of the game as N x N pixels of the screen, N from 1 to 8\n"
    "              (default: DRAVEL2_SCALE, else the desktop's own scale); dragging the\n"
    "              window's frame changes it in whole steps\n"
    "  --help      show this help and exit (-h and /? too)\n"
    "  --version   show the version and exit\n"
    "\n"
    "keys:\n";
#include "keys_help.inc"  // kKeys

int Error(const char* what, const char* arg, bool withUsage) {
  const std::string line = std::string("dravel2: ") + what + " '" + arg + "'\n";
  disp_sdl::console::Show(withUsage ? line + kUsage : line, true);
  return 2;
}

}  // namespace

int ReadCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0 ||
        std::strcmp(arg, "/?") == 0) {
      disp_sdl::console::Show(std::string(kUsage) + kHelp + kKeys, false);
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      disp_sdl::console::Show("dravel2 " DRAVEL2_VERSION "\n", false);
      return 0;
    }
    const char* value = nullptr;
    if (std::strcmp(arg, "--scale") == 0) {
      if (i + 1 >= argc) return Error("--scale needs a whole number from 1 to 8 after", arg, false);
      value = argv[++i];
    } else if (std::strncmp(arg, "--scale=", 8) == 0) {
      value = arg + 8;
    } else {
      return Error(arg[0] == '-' ? "unknown option" : "unexpected argument", arg, true);
    }
    const int n = disp_sdl::ScaleValue(value);
    if (n == 0) return Error("--scale takes a whole number from 1 to 8, not", value, false);
    disp_sdl::ChooseScale(n);
  }
  return -1;
}
