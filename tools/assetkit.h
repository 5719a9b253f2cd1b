// Shared types of the asset tool: an RGB raster, a mono sample buffer, and their file encoders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetkit {

// 0xRRGGBB colours; every pixel is opaque.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> px;  // row-major, row 0 at the top

    Image(int w, int h, std::uint32_t fill) : width(w), height(h), px(std::size_t(w) * h, fill) {}
    std::uint32_t& at(int x, int y) { return px[std::size_t(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return px[std::size_t(y) * width + x]; }
};

// Signed 16-bit mono samples at Clip::rate.
struct Clip {
    static constexpr int rate = 22050;
    std::vector<std::int16_t> samples;
};

// Windows BMP, 40-byte info header, 24 bits per pixel, uncompressed, bottom-up rows.
std::vector<std::uint8_t> encodeBmp(const Image& img);
// RIFF WAVE, PCM, 16 bits, one channel.
std::vector<std::uint8_t> encodeWav(const Clip& clip);

// The three sheets, in the layouts the game cuts them by.
Image drawFaceSheet();
Image drawIconSheet();
Image drawNumberSheet();

// The eight cues, by the file stem the game loads ("Win", "Lose", ...).
struct NamedClip {
    std::string name;
    Clip clip;
};
std::vector<NamedClip> synthesiseClips();

}  // namespace assetkit
