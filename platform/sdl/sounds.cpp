// The clip display operations: cues loaded from the game's files, and sounded.
#include "platform/disp.h"
#include "platform/sdl/data_files.h"
#include "platform/sdl/layer.h"

using namespace disp_sdl;

std::uint32_t LoadAudio292(const char* path) {
  ShutDownAtExit();
  std::vector<std::uint8_t> file;
  ReadFileCapped(path, Clips::kMaxFileBytes, &file);
  return TheLayer().clips.Add(file);
}

void SetAudioPos305(std::uint32_t clip, std::int32_t) { TheLayer().clips.Play(clip); }
