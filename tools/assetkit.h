// Shared types of the asset tool: an RGB raster, a mono sample buffer, and their file encoders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetkit {

// 0xRRGGBB colours. The top byte is the pixel's transparency: 0 is opaque (every sheet is; the
// BMP encoder ignores the byte), kClear shows what lies behind (the icons' background).
constexpr std::uint32_t kClear = 0xFF000000;
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
// PNG with stored deflate blocks: indexed colour with a transparency table (at most 256
// colours; the smallest files), or 8-bit RGBA, the only kind Windows reads inside an icon file.
enum class PngKind { indexed, rgba };
std::vector<std::uint8_t> encodePng(const Image& img, PngKind kind);
// Windows icon file holding the given RGBA PNG images, each square, of the given sides.
std::vector<std::uint8_t> encodeIco(const std::vector<int>& sides,
                                    const std::vector<std::vector<std::uint8_t>>& pngs);
// C++ source defining kWindowIconSize and kWindowIconPixels[] (0xAARRGGBB, row by row).
std::string windowIconSource(const Image& img);

// The three sheets, in the layouts the game cuts them by.
Image drawFaceSheet();
Image drawIconSheet();
Image drawNumberSheet();

// The application icon at the sides a desktop asks for; drawIcon takes one of them.
constexpr int kIconSides[] = {16, 32, 48, 64, 128, 256};
Image drawIcon(int side);

// The eight cues, by the file stem the game loads ("Win", "Lose", ...).
struct NamedClip {
    std::string name;
    Clip clip;
};
std::vector<NamedClip> synthesiseClips();

}  // namespace assetkit
