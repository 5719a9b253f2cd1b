// The browser's calloc for the game's one large record (about 1 MB): a block of the program's
// static memory instead of the heap's. A wasm memory starts zeroed, so the block needs no
// clearing the first time, and its pages are first touched only as the game uses them; clearing
// the record on the heap took a slow phone about 25 ms before the first board, most of it the
// memory's first touch. Everything else, and a second such block while the first is taken, comes
// from the heap as before. Compiled like memory_web.cpp, ahead of the C library's weak names.
#include <cstddef>
#include <cstdint>

extern "C" {
void* emmalloc_malloc(std::size_t size);
void* emmalloc_calloc(std::size_t count, std::size_t size);
void* emmalloc_realloc(void* block, std::size_t size);
void emmalloc_free(void* block);
std::size_t emmalloc_usable_size(void* block);
}

namespace {

// Calls for at least kLeast bytes, and at most the block's size, take the block while it is free.
constexpr std::size_t kLeast = std::size_t{256} << 10;
alignas(16) unsigned char block[std::size_t{2} << 20];
bool taken = false;
bool used = false;  // handed out before: not all zero any more

}  // namespace

extern "C" {

void* calloc(std::size_t count, std::size_t size) {
  if (size != 0 && count > SIZE_MAX / size) return nullptr;
  const std::size_t bytes = count * size;
  if (taken || bytes < kLeast || bytes > sizeof block) return emmalloc_calloc(count, size);
  taken = true;
  if (used) __builtin_memset(block, 0, bytes);
  used = true;
  return block;
}

void free(void* p) {
  if (p != block) return emmalloc_free(p);
  taken = false;
}

// The block keeps its bytes for any size it holds; a larger one moves to the heap.
void* realloc(void* p, std::size_t size) {
  if (p != block) return emmalloc_realloc(p, size);
  if (size <= sizeof block && size != 0) return block;
  void* moved = size != 0 ? emmalloc_malloc(size) : nullptr;
  if (moved) __builtin_memcpy(moved, block, sizeof block);
  if (moved || size == 0) taken = false;
  return moved;
}

std::size_t malloc_usable_size(void* p) {
  return p == block ? sizeof block : emmalloc_usable_size(p);
}

}  // extern "C"
