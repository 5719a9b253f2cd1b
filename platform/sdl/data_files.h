// The game's files: where a sheet or clip named by a relative path is found, and reading it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace disp_sdl {

// Where the game's file `path` is: a relative path as it stands when the working directory
// has it, else beside the executable, else in ../share/dravel2 from it; else path unchanged.
std::string FindDataFile(const char* path);
// Reads the whole regular file of at most cap bytes that FindDataFile finds for path; false
// (and out empty) otherwise.
bool ReadFileCapped(const char* path, std::size_t cap, std::vector<std::uint8_t>* out);

}  // namespace disp_sdl
