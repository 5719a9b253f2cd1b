// Where the program's own words go on Linux and in the browser: stdout and stderr, as they are.
#include <cstdio>

#include "platform/sdl/console.h"

namespace disp_sdl::console {

// stderr is unbuffered here from the start.
void Start() {}

void Show(const std::string& text, bool error) {
  std::FILE* stream = error ? stderr : stdout;
  std::fputs(text.c_str(), stream);
  std::fflush(stream);
}

}  // namespace disp_sdl::console
