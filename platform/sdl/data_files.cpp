// The game's files: where a sheet or clip named by a relative path is found, reading it, and
// saying which file was refused.
#include "platform/sdl/data_files.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/sdl/builtin_files.h"

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

const BuiltinFile* FindBuiltin(const fs::path& asked) {
  if (asked.is_absolute()) return nullptr;
  const std::string name = asked.lexically_normal().generic_u8string();
  for (const BuiltinFile* f = kBuiltinFiles; f->name; ++f)
    if (name == f->name) return f;
  return nullptr;
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

DataFile ReadDataFile(const char* path, std::size_t cap) {
  DataFile d;
  if (!path || !*path) return d;
  const fs::path asked = fs::u8path(path);
  const fs::path file = FindOnDisk(asked);
  if (!file.empty()) {
    d.file = file.u8string();
    ReadCapped(file, cap, &d.bytes);
  } else if (const BuiltinFile* b = FindBuiltin(asked)) {
    d.bytes.assign(b->bytes, b->bytes + b->size);
  }
  return d;
}

void SayRefused(const std::string& file, const char* instead, std::set<std::string>* said) {
  if (!said->insert(file).second) return;
  std::fprintf(stderr, "dravel2: cannot use %s; %s\n", file.c_str(), instead);
}

}  // namespace disp_sdl
