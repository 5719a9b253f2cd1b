// Sound clips of the SDL layer on SDL2_mixer: one mixer channel per clip, silent on any failure.
#include <SDL_mixer.h>

#include <algorithm>
#include <cstring>

#include "platform/disp.h"
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

namespace {

// A clip without sound (missing, corrupt, or no mixer) has no chunk and plays nothing.
struct Clip {
  Mix_Chunk* chunk;
  int channel;
};

std::vector<Clip> g_clips;
int g_channels = 0;

enum class Mixer { kClosed, kOpen, kFailed };
Mixer g_mixer = Mixer::kClosed;

// The game's clips are short cues; a larger file is not one of them.
constexpr std::size_t kMaxWaveFileBytes = std::size_t{32} << 20;
// Nor is a longer clip. The mixer keeps every clip decoded at 44.1 kHz in 16-bit stereo, about
// 10 MB a minute: without this bound a small file at a very low sample rate asks for gigabytes
// (200 KB at 1 Hz took 2 GB and many seconds to load).
constexpr std::uint64_t kMaxClipSeconds = 60;

bool TryOpenMixer() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  // A small buffer keeps cues close to the click that caused them.
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 512) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

// Opens the mixer on first use. Without a usable audio device the mixer runs on SDL's
// "dummy" driver, so clips still load and "play" in silence; if even that fails every clip
// stays silent. Either way the game never learns of it. Nothing opens when the game has no
// window and is about to end.
bool MixerReady() {
  if (WindowRefused()) return false;
  if (g_mixer == Mixer::kClosed) {
    bool open = TryOpenMixer();
    if (!open) {
      SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
      open = TryOpenMixer();
      SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    g_mixer = open ? Mixer::kOpen : Mixer::kFailed;
  }
  return g_mixer == Mixer::kOpen;
}

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}
std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

// Whether a data chunk of `bytes` in the format whose chunk starts at fmt (16 bytes at least)
// plays for at most kMaxClipSeconds. Counts frames generously: by the smaller of the declared
// block and sample sizes, and for the ADPCM formats two samples a byte plus a block header's.
bool ShortEnough(const std::uint8_t* fmt, std::uint64_t bytes) {
  const std::uint32_t tag = Le16(fmt), channels = Le16(fmt + 2), rate = Le32(fmt + 4);
  const std::uint64_t align = Le16(fmt + 12), bits = Le16(fmt + 14);
  if (channels == 0 || rate == 0 || align == 0) return false;  // no sound in these
  std::uint64_t frames = 0;
  if (tag == 2 || tag == 0x11)
    frames = (bytes / align + 1) * (2 * align / channels + 2);
  else
    frames = bytes / std::min(align, channels * std::max<std::uint64_t>(bits / 8, 1));
  return frames <= kMaxClipSeconds * rate;
}

// True when the bytes are a RIFF WAVE file whose chunks all lie inside it, with a format
// chunk before the data chunk, and no longer than kMaxClipSeconds; SDL then never reads past
// what the file holds, nor allocates much more than a minute of sound.
bool WaveLooksSane(const std::vector<std::uint8_t>& file) {
  const std::size_t n = file.size();
  const std::uint8_t* d = file.data();
  if (n < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0) return false;
  const std::uint8_t* format = nullptr;
  for (std::size_t at = 12; at + 8 <= n;) {
    const std::uint64_t size = Le32(d + at + 4);
    if (at + 8 + size > n) return false;
    if (std::memcmp(d + at, "fmt ", 4) == 0) {
      if (size < 16) return false;
      format = d + at + 8;
    } else if (std::memcmp(d + at, "data", 4) == 0) {
      return format && ShortEnough(format, size);
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

}  // namespace

void ReleaseAudio() {
  if (g_mixer == Mixer::kOpen) {
    Mix_HaltChannel(-1);
    for (Clip& c : g_clips) Mix_FreeChunk(c.chunk);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  g_clips.clear();
  g_clips.shrink_to_fit();
  g_channels = 0;
  g_mixer = Mixer::kClosed;
}

// For the inspection functions.
bool ClipLoaded(std::uint32_t clip) {
  return clip - 1u < g_clips.size() && g_clips[clip - 1u].chunk != nullptr;
}

bool ClipPlaying(std::uint32_t clip) {
  return ClipLoaded(clip) && Mix_Playing(g_clips[clip - 1u].channel) != 0;
}

}  // namespace disp_sdl

using namespace disp_sdl;

std::uint32_t LoadAudio292(const char* path) {
  ShutDownAtExit();
  Clip clip{nullptr, -1};
  std::vector<std::uint8_t> file;
  if (MixerReady() && ReadFileCapped(path, kMaxWaveFileBytes, &file) && WaveLooksSane(file)) {
    SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    clip.chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (clip.chunk) {
      clip.channel = g_channels;
      if (Mix_AllocateChannels(g_channels + 1) == g_channels + 1) {
        ++g_channels;
      } else {
        Mix_FreeChunk(clip.chunk);
        clip.chunk = nullptr;
      }
    }
  }
  g_clips.push_back(clip);
  return static_cast<std::uint32_t>(g_clips.size());
}

void SetAudioPos305(std::uint32_t clip, std::int32_t) {
  // The game only ever asks for the start; playing a busy channel restarts it.
  if (ClipLoaded(clip)) Mix_PlayChannel(g_clips[clip - 1u].channel, g_clips[clip - 1u].chunk, 0);
}
