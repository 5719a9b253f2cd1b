// Sound clips of the SDL layer on SDL's own audio: one voice a clip, mixed in the device's callback.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/disp.h"
#include "platform/disp_sdl_internal.h"

namespace disp_sdl {

namespace {

// A clip's sound, converted once at load to the device's format so that the callback only
// adds. A clip without sound (missing, corrupt, or no device) has no samples. Each clip has
// one voice: playing it again restarts it, and different clips overlap.
struct Clip {
  std::vector<Uint8> samples;
  std::size_t pos = 0;    // the voice's next byte; meaningful while sounding
  bool sounding = false;
  int peak = 0;           // largest sample magnitude, for the volume
};

// Handle h names g_clips[h - 1]. The callback reads the clips, so every change to them, the
// volume or g_sounding happens under the device's lock.
std::vector<Clip> g_clips;
int g_sounding = 0;                  // clips sounding now
int g_volume = SDL_MIX_MAXVOLUME;    // of every clip, so that all of them together never clip

enum class Device { kClosed, kOpen, kNone };
Device g_device = Device::kClosed;
SDL_AudioDeviceID g_id = 0;
SDL_AudioSpec g_have{};  // the format the open device takes

// The game's clips are short cues; a larger file is not one of them.
constexpr std::size_t kMaxWaveFileBytes = std::size_t{32} << 20;
// Nor is a longer clip. A clip converted for a device at 48 kHz in 16-bit stereo takes about
// 11 MB a minute: without this bound a small file at a very low sample rate asks for gigabytes.
constexpr std::uint64_t kMaxClipSeconds = 60;
// The device is asked for the clips' own format, 16-bit mono at 22.05 kHz, so that on most
// devices they need no conversion and take no more memory than their files; a device that
// wants another rate or channels gets it, and the clips are converted once at load. A
// callback fills 256 frames, about 12 ms: a cue follows its click at once.
constexpr int kClipRate = 22050;
constexpr Uint16 kDeviceFrames = 256;

void Mix(void*, Uint8* stream, int len) {
  std::memset(stream, g_have.silence, static_cast<std::size_t>(len));
  if (g_sounding == 0) return;
  for (Clip& c : g_clips) {
    if (!c.sounding) continue;
    const std::size_t n = std::min(static_cast<std::size_t>(len), c.samples.size() - c.pos);
    SDL_MixAudioFormat(stream, c.samples.data() + c.pos, g_have.format, static_cast<Uint32>(n),
                       g_volume);
    c.pos += n;
    if (c.pos == c.samples.size()) {
      c.sounding = false;
      --g_sounding;
    }
  }
}

// Keeps stderr shut while it lives: a sound library that finds no device complains there in
// many lines of its own, and the game says it once, in one.
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    saved_ = dup(2);
    std::FILE* null = std::fopen("/dev/null", "w");
    if (saved_ >= 0 && null) dup2(fileno(null), 2);
    if (null) std::fclose(null);
  }
  ~QuietStderr() {
    std::fflush(stderr);
    if (saved_ >= 0) {
      dup2(saved_, 2);
      close(saved_);
    }
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;
};

// Opens the device once, on first use, in 16-bit samples at whatever rate and channels it
// likes (clips are converted to them once, so the callback never converts). Without a device
// every clip is silent and the game says so once. Nothing opens when the game has no window
// and is about to end.
bool DeviceReady() {
  if (g_device != Device::kClosed) return g_device == Device::kOpen;
  if (WindowRefused()) return false;
  SDL_AudioSpec want{};
  want.freq = kClipRate;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = kDeviceFrames;
  want.callback = Mix;
  {
    QuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
      g_id = SDL_OpenAudioDevice(nullptr, 0, &want, &g_have,
                                 SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
      if (g_id == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
  }
  if (g_id == 0) {
    g_device = Device::kNone;
    std::fputs("dravel2: no sound device, playing without sound\n", stderr);
    return false;
  }
  g_device = Device::kOpen;
  SDL_PauseAudioDevice(g_id, 0);
  return true;
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

// The clip's sound in the device's format; empty when SDL cannot read or convert it.
std::vector<Uint8> Decode(const std::vector<std::uint8_t>& file) {
  std::vector<Uint8> out;
  SDL_AudioSpec clip{};
  Uint8* raw = nullptr;
  Uint32 rawLen = 0;
  SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (!rw || !SDL_LoadWAV_RW(rw, 1, &clip, &raw, &rawLen)) return out;
  SDL_AudioCVT cvt;
  // A clip without samples has no sound.
  if (rawLen > 0 && SDL_BuildAudioCVT(&cvt, clip.format, clip.channels, clip.freq, g_have.format,
                                      g_have.channels, g_have.freq) >= 0) {
    out.resize(static_cast<std::size_t>(rawLen) * static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(out.data(), raw, rawLen);
    cvt.buf = out.data();
    cvt.len = static_cast<int>(rawLen);
    if (!cvt.needed)
      out.resize(rawLen);
    else if (SDL_ConvertAudio(&cvt) == 0)
      out.resize(static_cast<std::size_t>(cvt.len_cvt));
    else
      out.clear();
  }
  SDL_FreeWAV(raw);
  // Whole frames only, so that a voice never ends inside a frame.
  const std::size_t frame = SDL_AUDIO_BITSIZE(g_have.format) / 8 * g_have.channels;
  out.resize(out.size() / frame * frame);
  return out;
}

int Peak(const std::vector<Uint8>& samples) {
  int peak = 0;
  for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
    Sint16 s;
    std::memcpy(&s, &samples[i], 2);
    peak = std::max(peak, std::abs(static_cast<int>(s)));
  }
  return peak;
}

// The one volume at which every clip sounding at once stays inside 16 bits.
int VolumeForAll() {
  long long peaks = 0;
  for (const Clip& c : g_clips) peaks += c.peak;
  if (peaks <= 32767) return SDL_MIX_MAXVOLUME;
  return static_cast<int>(std::max<long long>(1, SDL_MIX_MAXVOLUME * 32767LL / peaks));
}

}  // namespace

void ReleaseAudio() {
  if (g_device == Device::kOpen) {
    SDL_CloseAudioDevice(g_id);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  g_id = 0;
  g_clips.clear();
  g_clips.shrink_to_fit();
  g_sounding = 0;
  g_volume = SDL_MIX_MAXVOLUME;
  g_device = Device::kClosed;
}

bool ClipLoaded(std::uint32_t clip) {
  return clip - 1u < g_clips.size() && !g_clips[clip - 1u].samples.empty();
}

bool ClipPlaying(std::uint32_t clip) {
  if (!ClipLoaded(clip)) return false;
  SDL_LockAudioDevice(g_id);
  const bool sounding = g_clips[clip - 1u].sounding;
  SDL_UnlockAudioDevice(g_id);
  return sounding;
}

int MixForProbe(std::int16_t* out, int frames, int* rate) {
  if (g_device != Device::kOpen) return 0;
  SDL_PauseAudioDevice(g_id, 1);
  SDL_LockAudioDevice(g_id);
  Mix(nullptr, reinterpret_cast<Uint8*>(out), frames * g_have.channels * 2);
  SDL_UnlockAudioDevice(g_id);
  *rate = g_have.freq;
  return g_have.channels;
}

}  // namespace disp_sdl

using namespace disp_sdl;

std::uint32_t LoadAudio292(const char* path) {
  ShutDownAtExit();
  Clip clip;
  std::vector<std::uint8_t> file;
  if (DeviceReady() && ReadFileCapped(path, kMaxWaveFileBytes, &file) && WaveLooksSane(file)) {
    clip.samples = Decode(file);
    clip.peak = Peak(clip.samples);
  }
  if (g_device == Device::kOpen) SDL_LockAudioDevice(g_id);
  g_clips.push_back(std::move(clip));
  g_volume = VolumeForAll();
  if (g_device == Device::kOpen) SDL_UnlockAudioDevice(g_id);
  return static_cast<std::uint32_t>(g_clips.size());
}

void SetAudioPos305(std::uint32_t clip, std::int32_t) {
  // The game only ever asks for the start; a clip that is sounding starts again.
  if (!ClipLoaded(clip)) return;
  SDL_LockAudioDevice(g_id);
  Clip& c = g_clips[clip - 1u];
  if (!c.sounding) ++g_sounding;
  c.sounding = true;
  c.pos = 0;
  SDL_UnlockAudioDevice(g_id);
}
