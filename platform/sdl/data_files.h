// The game's files: where a sheet or clip named by a relative path is found, reading it, and
// saying which file was refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace disp_sdl {

// What was read for a file the game asked for.
struct DataFile {
  // Its bytes; empty when nothing was read.
  std::vector<std::uint8_t> bytes;
  // The file that was found (read or not: it may be too large), as a message names it: its path
  // on the disk, or "built-in NAME" for a copy built into the game; empty when none was found.
  std::string file;
};

// The game's file `path`. A relative one is looked for beside the executable, then in
// ../share/dravel2 from it, then among the copies built into the game: a bmp\ in the folder the
// game is started from counts only when that is the executable's. An absolute one is read as it
// is. Only a regular file of at most cap bytes is read.
DataFile ReadDataFile(const char* path, std::size_t cap);

// The file `path` on the disk (the rules above; never in a browser's page, which has none):
// false when there is none, else sets d->file and reads d->bytes (disk_files*.cpp).
bool ReadFromDisk(const char* path, std::size_t cap, DataFile* d);

// One line on stderr, the first time for each file that `said` holds afterwards: the game
// refused `file`, and does `instead`.
void SayRefused(const std::string& file, const char* instead, std::set<std::string>* said);

}  // namespace disp_sdl
