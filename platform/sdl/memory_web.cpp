// The C library's memset, memcpy and memmove in the browser, as the wasm's bulk memory
// instructions (memory.fill, memory.copy), which the browser runs at its own speed. Emscripten's
// own fill and copy in wasm a word at a time, and call out to JavaScript for every large copy.
// Compiled with -mbulk-memory and without link-time optimisation (platform/sdl/CMakeLists.txt),
// so that each compiles to the one instruction and never to a call of itself.
#include <cstddef>

extern "C" {

void* memset(void* to, int byte, std::size_t n) {
  __builtin_memset(to, byte, n);
  return to;
}

void* memcpy(void* __restrict to, const void* __restrict from, std::size_t n) {
  __builtin_memcpy(to, from, n);
  return to;
}

void* memmove(void* to, const void* from, std::size_t n) {
  __builtin_memmove(to, from, n);
  return to;
}

}  // extern "C"
