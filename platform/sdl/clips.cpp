// The layer's sound clips: the WAVE check, decoding, the device and its mixing callback.
#include "platform/sdl/clips.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/desktop.h"

namespace disp_sdl {

namespace {

// Nor is a longer clip. A clip converted for a device at 48 kHz in 16-bit stereo takes about
// 11 MB a minute: without this bound a small file at a very low sample rate asks for gigabytes.
constexpr std::uint64_t kMaxClipSeconds = 60;
// The clips' own format, 16-bit mono at 22.05 kHz: they are decoded to it when loaded, and the
// device is asked for it, so that on most devices they need no conversion and take no more
// memory than their files; a device that wants another rate or channels gets it, and the clips
// are converted once when it opens. A callback fills 256 frames, about 12 ms: a cue follows
// its click at once.
constexpr int kClipRate = 22050;
constexpr Uint16 kDeviceFrames = 256;

SDL_AudioSpec ClipFormat() {
  SDL_AudioSpec s{};
  s.freq = kClipRate;
  s.format = AUDIO_S16SYS;
  s.channels = 1;
  return s;
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

int Peak(const std::vector<Uint8>& samples) {
  int peak = 0;
  for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
    Sint16 s;
    std::memcpy(&s, &samples[i], 2);
    peak = std::max(peak, std::abs(static_cast<int>(s)));
  }
  return peak;
}

}  // namespace

Clips::Clips() : format_(ClipFormat()) {}

void Clips::Mix(void* self, Uint8* stream, int len) { static_cast<Clips*>(self)->MixInto(stream, len); }

void Clips::MixInto(Uint8* stream, int len) {
  std::memset(stream, format_.silence, static_cast<std::size_t>(len));
  if (sounding_ == 0) {
    desktop::SoundsQuiet();
    return;
  }
  for (Clip& c : clips_) {
    if (!c.sounding) continue;
    const std::size_t n = std::min(static_cast<std::size_t>(len), c.samples.size() - c.pos);
    SDL_MixAudioFormat(stream, c.samples.data() + c.pos, format_.format, static_cast<Uint32>(n),
                       volume_);
    c.pos += n;
    if (c.pos == c.samples.size()) {
      c.sounding = false;
      --sounding_;
    }
  }
}

// The clip's sound in format_; empty when SDL cannot read or convert it.
std::vector<Uint8> Clips::Decode(const std::vector<std::uint8_t>& file) const {
  if (!WaveLooksSane(file)) return {};
  SDL_AudioSpec clip{};
  Uint8* raw = nullptr;
  Uint32 rawLen = 0;
  SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (!rw || !SDL_LoadWAV_RW(rw, 1, &clip, &raw, &rawLen)) return {};
  Clip c;
  c.samples.assign(raw, raw + rawLen);
  SDL_FreeWAV(raw);
  Convert(c, clip);
  return c.samples;
}

// Converts a clip's samples from `from` to format_, keeping whole frames only, so that a voice
// never ends inside a frame; a clip SDL cannot convert, or without samples, has no sound.
void Clips::Convert(Clip& c, const SDL_AudioSpec& from) const {
  SDL_AudioCVT cvt;
  if (c.samples.empty() || SDL_BuildAudioCVT(&cvt, from.format, from.channels, from.freq,
                                             format_.format, format_.channels, format_.freq) < 0) {
    c.samples.clear();
  } else if (cvt.needed) {
    const std::size_t len = c.samples.size();
    c.samples.resize(len * static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
    cvt.buf = c.samples.data();
    cvt.len = static_cast<int>(len);
    if (SDL_ConvertAudio(&cvt) == 0)
      c.samples.resize(static_cast<std::size_t>(cvt.len_cvt));
    else
      c.samples.clear();
  }
  const std::size_t frame = SDL_AUDIO_BITSIZE(format_.format) / 8 * format_.channels;
  c.samples.resize(c.samples.size() / frame * frame);
  c.peak = Peak(c.samples);
}

// The one volume at which every clip sounding at once stays inside 16 bits.
int Clips::VolumeForAll() const {
  long long peaks = 0;
  for (const Clip& c : clips_) peaks += c.peak;
  if (peaks <= 32767) return SDL_MIX_MAXVOLUME;
  return static_cast<int>(std::max<long long>(1, SDL_MIX_MAXVOLUME * 32767LL / peaks));
}

std::uint32_t Clips::Add() {
  if (device_ == Device::kOpen) SDL_LockAudioDevice(id_);
  clips_.emplace_back();
  if (device_ == Device::kOpen) SDL_UnlockAudioDevice(id_);
  return static_cast<std::uint32_t>(clips_.size());
}

void Clips::Set(std::uint32_t clip, const std::vector<std::uint8_t>& file) {
  if (clip - 1u >= clips_.size()) return;
  Clip c;
  if (device_ != Device::kNone) c.samples = Decode(file);
  c.peak = Peak(c.samples);
  if (device_ == Device::kOpen) SDL_LockAudioDevice(id_);
  Clip& was = clips_[clip - 1u];
  if (was.sounding) --sounding_;
  was = std::move(c);
  volume_ = VolumeForAll();
  if (device_ == Device::kOpen) SDL_UnlockAudioDevice(id_);
}

bool Clips::Open() {
  if (device_ != Device::kClosed) return device_ == Device::kOpen;
  SDL_AudioSpec want = ClipFormat(), have{};
  want.samples = kDeviceFrames;
  want.callback = Mix;
  want.userdata = this;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                              SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (id_ == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  if (id_ == 0) {
    device_ = Device::kNone;
    for (Clip& c : clips_) c = Clip{};
    volume_ = SDL_MIX_MAXVOLUME;
    return false;
  }
  // The callback is paused until the device is unpaused below: no lock needed yet.
  const SDL_AudioSpec was = format_;
  format_ = have;
  if (was.freq != have.freq || was.channels != have.channels || was.format != have.format) {
    for (Clip& c : clips_) Convert(c, was);
    volume_ = VolumeForAll();
  }
  device_ = Device::kOpen;
  SDL_PauseAudioDevice(id_, 0);
  return true;
}

void Clips::Play(std::uint32_t clip) {
  // The game only ever asks for the start; a clip that is sounding starts again.
  desktop::SoundStarted(clip);
  if (device_ != Device::kOpen || !Loaded(clip)) return;
  SDL_LockAudioDevice(id_);
  Clip& c = clips_[clip - 1u];
  if (!c.sounding) ++sounding_;
  c.sounding = true;
  c.pos = 0;
  SDL_UnlockAudioDevice(id_);
}

bool Clips::Loaded(std::uint32_t clip) const {
  return clip - 1u < clips_.size() && !clips_[clip - 1u].samples.empty();
}

void Clips::Release() {
  if (device_ == Device::kOpen) {
    SDL_CloseAudioDevice(id_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  id_ = 0;
  clips_.clear();
  clips_.shrink_to_fit();
  sounding_ = 0;
  volume_ = SDL_MIX_MAXVOLUME;
  device_ = Device::kClosed;
  format_ = ClipFormat();
}

}  // namespace disp_sdl
