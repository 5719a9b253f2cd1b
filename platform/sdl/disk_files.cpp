// The game's files on the disk, on Linux and Windows: where a relative name is found (beside
// the executable, then in ../share/dravel2 from it), and reading one whole, bounded.
#include <SDL.h>

#include <filesystem>

#include "platform/sdl/data_files.h"

namespace disp_sdl {

namespace {

namespace fs = std::filesystem;

bool IsRegularFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// The folder that holds the executable; empty where it is unknown.
const fs::path& ExecutableFolder() {
  static const fs::path folder = [] {
    char* base = SDL_GetBasePath();
    fs::path p = base ? fs::u8path(base) : fs::path();
    SDL_free(base);
    return p;
  }();
  return folder;
}

// The file on the disk for `asked`, or an empty path.
fs::path FindOnDisk(const fs::path& asked) {
  if (asked.is_absolute()) return IsRegularFile(asked) ? asked : fs::path();
  const fs::path& exe = ExecutableFolder();
  // Without the executable's folder, the working directory stands in for it.
  const fs::path base = exe.empty() ? fs::path(".") : exe;
  // Beside the executable (the build tree, an unzipped folder), then an installed tree's
  // share/dravel2, wherever its prefix.
  for (const fs::path& candidate : {base / asked, base / ".." / "share" / "dravel2" / asked})
    if (IsRegularFile(candidate)) return candidate.lexically_normal();
  return {};
}

bool ReadCapped(const fs::path& file, std::size_t cap, std::vector<std::uint8_t>* out) {
  // Opening a named pipe would wait for a writer for ever, and a device may never end.
  if (!IsRegularFile(file)) return false;
  SDL_RWops* f = SDL_RWFromFile(file.u8string().c_str(), "rb");
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

}  // namespace

bool ReadFromDisk(const char* path, std::size_t cap, DataFile* d) {
  const fs::path file = FindOnDisk(fs::u8path(path));
  if (file.empty()) return false;
  d->file = file.u8string();
  ReadCapped(file, cap, &d->bytes);
  return true;
}

}  // namespace disp_sdl
