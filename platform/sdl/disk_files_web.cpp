// The game's files on the disk, in a browser's page: it has no file system, and the game's
// sheets and clips are the copies built into it.
#include "platform/sdl/data_files.h"

namespace disp_sdl {

bool ReadFromDisk(const char*, std::size_t, DataFile*) { return false; }

}  // namespace disp_sdl
