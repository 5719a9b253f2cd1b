// The game's files: where a sheet or clip named by a relative path is found, and reading it.
#include <SDL.h>

#include <filesystem>
#include <string>

#include "platform/sdl/data_files.h"

namespace disp_sdl {

namespace {

namespace fs = std::filesystem;

bool IsRegularFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// The folder that holds the executable, with its trailing separator; "" where it is unknown.
const std::string& ExecutableFolder() {
  static const std::string folder = [] {
    char* base = SDL_GetBasePath();
    std::string s = base ? base : "";
    SDL_free(base);
    return s;
  }();
  return folder;
}

}  // namespace

std::string FindDataFile(const char* path) {
  const fs::path asked = fs::u8path(path);
  if (asked.is_absolute() || IsRegularFile(asked) || ExecutableFolder().empty()) return path;
  // Beside the executable (the build tree, an unzipped folder), then an installed tree's
  // share/dravel2, wherever its prefix.
  const fs::path exe = fs::u8path(ExecutableFolder());
  for (const fs::path& candidate : {exe / asked, exe / ".." / "share" / "dravel2" / asked})
    if (IsRegularFile(candidate)) return candidate.u8string();
  return path;
}

bool ReadFileCapped(const char* path, std::size_t cap, std::vector<std::uint8_t>* out) {
  out->clear();
  if (!path) return false;
  const std::string found = FindDataFile(path);
  // Opening a named pipe would wait for a writer for ever, and a device may never end.
  if (!IsRegularFile(fs::u8path(found))) return false;
  SDL_RWops* f = SDL_RWFromFile(found.c_str(), "rb");
  if (!f) return false;
  constexpr std::size_t kChunk = 64 * 1024;
  bool ok = true;
  for (;;) {
    const std::size_t have = out->size();
    if (have > cap) { ok = false; break; }
    out->resize(have + kChunk);
    const std::size_t got = SDL_RWread(f, out->data() + have, 1, kChunk);
    out->resize(have + got);
    if (got == 0) break;
  }
  SDL_RWclose(f);
  if (!ok) out->clear();
  return ok;
}

}  // namespace disp_sdl
