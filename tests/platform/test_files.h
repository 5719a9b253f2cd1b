// Scratch files for the SDL layer's tests: a private temp directory, .bmp and .wav writers.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace disptest {

// The layer's tests never open a real window or sound device, whatever the environment says.
inline const bool kDummyDrivers =
    setenv("SDL_VIDEODRIVER", "dummy", 1) == 0 && setenv("SDL_AUDIODRIVER", "dummy", 1) == 0;

using Bytes = std::vector<std::uint8_t>;

// A directory of its own for one test, removed with everything in it when the test ends.
class ScratchDir {
 public:
  ScratchDir() {
    static int count = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("dravel2-platform-" + std::to_string(getpid()) + "-" + std::to_string(++count));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // Writes bytes to a file of that name in the directory and returns its full path.
  std::string Write(const std::string& name, const Bytes& bytes) const {
    const std::string file = (path_ / name).string();
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file;
  }
  std::string Path(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void Put16(Bytes* b, std::size_t at, std::uint32_t v) {
  (*b)[at] = v & 0xFF;
  (*b)[at + 1] = (v >> 8) & 0xFF;
}
inline void Put32(Bytes* b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = (v >> (8 * i)) & 0xFF;
}

// Offsets of the fields that the hostile-file tests corrupt (40-byte info header).
constexpr std::size_t kBmpPixelOffset = 10, kBmpHeaderSize = 14, kBmpWidth = 18, kBmpHeight = 22,
                      kBmpPlanes = 26, kBmpBits = 28, kBmpCompression = 30, kBmpColoursUsed = 46;

// A Windows bitmap with a 40-byte info header. bits is 24 or 32 (colour(x, y) = 0xRRGGBB
// stored directly) or 8 (the palette is given; colour(x, y) returns the palette index).
// Rows are stored bottom-up unless topDown.
inline Bytes BmpFile(int w, int h, int bits, const std::function<std::uint32_t(int, int)>& colour,
                     bool topDown = false, const std::vector<std::uint32_t>& palette = {}) {
  const std::size_t rowBytes = (static_cast<std::size_t>(w) * bits + 31) / 32 * 4;
  const std::size_t paletteBytes = palette.size() * 4;
  const std::size_t offset = 14 + 40 + paletteBytes;
  Bytes b(offset + rowBytes * h, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(&b, 2, static_cast<std::uint32_t>(b.size()));
  Put32(&b, kBmpPixelOffset, static_cast<std::uint32_t>(offset));
  Put32(&b, kBmpHeaderSize, 40);
  Put32(&b, kBmpWidth, static_cast<std::uint32_t>(w));
  Put32(&b, kBmpHeight, static_cast<std::uint32_t>(topDown ? -h : h));
  Put16(&b, kBmpPlanes, 1);
  Put16(&b, kBmpBits, static_cast<std::uint32_t>(bits));
  Put32(&b, 34, static_cast<std::uint32_t>(rowBytes * h));
  Put32(&b, kBmpColoursUsed, static_cast<std::uint32_t>(palette.size()));
  for (std::size_t i = 0; i < palette.size(); ++i) Put32(&b, 54 + 4 * i, palette[i]);
  for (int y = 0; y < h; ++y) {
    const std::size_t row = offset + rowBytes * static_cast<std::size_t>(topDown ? y : h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t c = colour(x, y);
      if (bits == 8) {
        b[row + x] = c & 0xFF;
      } else {
        std::uint8_t* p = &b[row + static_cast<std::size_t>(x) * (bits / 8)];
        p[0] = c & 0xFF;  // blue first
        p[1] = (c >> 8) & 0xFF;
        p[2] = (c >> 16) & 0xFF;
      }
    }
  }
  return b;
}

// A colour that tells where in a sheet a pixel came from: red = x, green/blue = y.
inline std::uint32_t WhereColour(int x, int y) {
  return (static_cast<std::uint32_t>(x & 0xFF) << 16) | static_cast<std::uint32_t>(y & 0xFFFF);
}

// A RIFF WAVE file of 8-bit mono PCM at 8000 Hz, a square wave of the given length.
inline Bytes WavFile(int milliseconds) {
  const std::uint32_t samples = 8 * static_cast<std::uint32_t>(milliseconds);
  Bytes b(44 + samples, 0);
  std::memcpy(&b[0], "RIFF", 4);
  Put32(&b, 4, 36 + samples);
  std::memcpy(&b[8], "WAVEfmt ", 8);
  Put32(&b, 16, 16);
  Put16(&b, 20, 1);     // PCM
  Put16(&b, 22, 1);     // mono
  Put32(&b, 24, 8000);  // samples a second
  Put32(&b, 28, 8000);  // bytes a second
  Put16(&b, 32, 1);     // block size
  Put16(&b, 34, 8);     // bits a sample
  std::memcpy(&b[36], "data", 4);
  Put32(&b, 40, samples);
  for (std::uint32_t i = 0; i < samples; ++i) b[44 + i] = (i / 10) % 2 ? 160 : 96;
  return b;
}

}  // namespace disptest
