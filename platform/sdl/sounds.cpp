// The clip display operations: cues loaded from the game's files (read once the audio device
// opens), and sounded.
#include "platform/disp.h"
#include "platform/sdl/data_files.h"
#include "platform/sdl/layer.h"

namespace disp_sdl {

void ReadClips() {
  Layer& l = TheLayer();
  for (const auto& [clip, path] : l.unreadClips) {
    const DataFile d = ReadDataFile(path.c_str(), Clips::kMaxFileBytes);
    l.clips.Set(clip, d.bytes);
    if (!d.file.empty() && !l.clips.Loaded(clip) && !l.clips.Missing())
      SayRefused(d.file, "that sound stays silent", &l.refusedFiles);
  }
  l.unreadClips.clear();
}

}  // namespace disp_sdl

using namespace disp_sdl;

// The handle at once; the sound once the device opens (or at once, when it is already open).
std::uint32_t LoadAudio292(const char* path) {
  ShutDownAtExit();
  Layer& l = TheLayer();
  const std::uint32_t clip = l.clips.Add();
  if (path && *path) l.unreadClips.emplace_back(clip, path);
  if (l.clips.Opened()) ReadClips();
  return clip;
}

void SetAudioPos305(std::uint32_t clip, std::int32_t) { TheLayer().clips.Play(clip); }
