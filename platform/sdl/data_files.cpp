// The game's files: a sheet or clip named by a relative path, from the disk (disk_files*.cpp)
// or the copies built into the game, and saying which file was refused.
#include "platform/sdl/data_files.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sdl/builtin_files.h"

namespace disp_sdl {

namespace {

// The built-in copy a relative name asks for: "./bmp/face.bmp" and "bmp//face.bmp" ask for
// "bmp/face.bmp" ('\\' separates steps too); a name with a ".." step asks for none.
const BuiltinFile* FindBuiltin(const char* asked) {
  if (*asked == '/' || *asked == '\\' || (*asked && asked[1] == ':')) return nullptr;
  std::string name, step;
  for (const char* c = asked;; ++c) {
    if (*c && *c != '/' && *c != '\\') {
      step += *c;
      continue;
    }
    if (step == "..") return nullptr;
    if (!step.empty() && step != ".") name += (name.empty() ? "" : "/") + step;
    step.clear();
    if (!*c) break;
  }
  for (const BuiltinFile* f = kBuiltinFiles; f->name; ++f)
    if (name == f->name) return f;
  return nullptr;
}

}  // namespace

DataFile ReadDataFile(const char* path, std::size_t cap) {
  DataFile d;
  if (!path || !*path) return d;
  if (ReadFromDisk(path, cap, &d)) return d;
  if (const BuiltinFile* b = FindBuiltin(path)) {
    d.bytes.assign(b->bytes, b->bytes + b->size);
    d.file = std::string("built-in ") + b->name;
  }
  return d;
}

void SayRefused(const std::string& file, const char* instead, std::set<std::string>* said) {
  if (!said->insert(file).second) return;
  std::fprintf(stderr, "dravel2: cannot use %s; %s\n", file.c_str(), instead);
}

}  // namespace disp_sdl
