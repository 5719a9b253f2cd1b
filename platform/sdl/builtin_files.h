// The sheets and clips built into the game at build time from assets/ (the browser's page has
// its clips coded smaller): what it uses when no file of the name is found (builtin_files.cmake
// writes them).
#pragma once
#include <cstddef>

namespace disp_sdl {

struct BuiltinFile {
  const char* name;  // relative to assets/, with '/': "bmp/face.bmp"
  const unsigned char* bytes;
  std::size_t size;
};

// Every built-in file, then an entry whose name is null.
extern const BuiltinFile kBuiltinFiles[];

}  // namespace disp_sdl
