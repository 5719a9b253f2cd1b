// The clip display operations: cues loaded from the game's files, and sounded.
#include "platform/disp.h"
#include "platform/sdl/data_files.h"
#include "platform/sdl/layer.h"

using namespace disp_sdl;

std::uint32_t LoadAudio292(const char* path) {
  ShutDownAtExit();
  Layer& l = TheLayer();
  const DataFile d = ReadDataFile(path, Clips::kMaxFileBytes);
  const std::uint32_t clip = l.clips.Add(d.bytes);
  if (!d.file.empty() && !l.clips.Loaded(clip) && !l.clips.Missing())
    SayRefused(d.file, "that sound stays silent", &l.refusedFiles);
  return clip;
}

void SetAudioPos305(std::uint32_t clip, std::int32_t) { TheLayer().clips.Play(clip); }
