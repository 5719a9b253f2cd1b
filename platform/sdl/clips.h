// The layer's sound clips on SDL's own audio: decoded when loaded, one voice a clip, mixed in
// the device's callback once the device is open.
#pragma once
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace disp_sdl {

class Clips {
 public:
  Clips();
  // The game's clips are short cues; a larger file is not one of them.
  static constexpr std::size_t kMaxFileBytes = std::size_t{32} << 20;

  // A new clip, silent until Set gives it sound. Handles start at 1 and stay valid until
  // Release.
  std::uint32_t Add();
  // Gives a clip the sound of the bytes of a WAVE file, decoded at once; silent when they are
  // not a sane one, or when the device was found missing. Nothing for a handle that names no
  // clip.
  void Set(std::uint32_t clip, const std::vector<std::uint8_t>& file);
  // Opens the device the first time it is called, and converts the clips loaded so far to its
  // format; every later call returns at once. Returns whether the device is open: without one
  // every clip is silent.
  bool Open();
  // Whether Open was called since the last Release.
  bool Opened() const { return device_ != Device::kClosed; }
  // Whether Open found no device: clips are no longer decoded.
  bool Missing() const { return device_ == Device::kNone; }
  // Sounds a clip from its start, restarting it if it is sounding; nothing while the device is
  // not open (a cue before it is dropped).
  void Play(std::uint32_t clip);
  // Whether a clip handle has sound.
  bool Loaded(std::uint32_t clip) const;
  // Closes the device and frees every clip; their handles become invalid.
  void Release();

 private:
  // The tests' probe (platform/probe/disp_probe.cpp) looks at the device and mixes by hand.
  friend struct ClipsProbe;

  struct Clip {
    std::vector<Uint8> samples;  // in format_
    std::size_t pos = 0;         // the voice's next byte; meaningful while sounding
    bool sounding = false;
    int peak = 0;                // largest sample magnitude, for the volume
  };
  enum class Device { kClosed, kOpen, kNone };

  static void Mix(void* self, Uint8* stream, int len);
  void MixInto(Uint8* stream, int len);
  std::vector<Uint8> Decode(const std::vector<std::uint8_t>& file) const;
  void Convert(Clip& c, const SDL_AudioSpec& from) const;
  int VolumeForAll() const;

  // The callback reads the clips, so every change to them, the volume or sounding_ while the
  // device is open happens under its lock.
  std::vector<Clip> clips_;  // handle h names clips_[h - 1]
  int sounding_ = 0;         // clips sounding now
  int volume_ = SDL_MIX_MAXVOLUME;  // of every clip, so that all of them together never clip
  Device device_ = Device::kClosed;
  SDL_AudioDeviceID id_ = 0;
  SDL_AudioSpec format_{};  // of the samples: the clips' own until the device takes another
};

}  // namespace disp_sdl
