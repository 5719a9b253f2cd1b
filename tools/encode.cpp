// Byte-exact BMP and WAV encoders; every multi-byte field is written little-endian by hand.
#include "assetkit.h"

namespace assetkit {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v & 0xFF));
    out.push_back(std::uint8_t((v >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(tag[i]));
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const Image& img) {
    const std::uint32_t rowBytes = (std::uint32_t(img.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * std::uint32_t(img.height);
    const std::uint32_t headerBytes = 14 + 40;

    std::vector<std::uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    // File header.
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + pixelBytes);
    put32(out, 0);  // reserved
    put32(out, headerBytes);
    // Info header; a positive height means the rows are stored bottom-up.
    put32(out, 40);
    put32(out, std::uint32_t(img.width));
    put32(out, std::uint32_t(img.height));
    put16(out, 1);   // planes
    put16(out, 24);  // bits per pixel
    put32(out, 0);   // no compression
    put32(out, pixelBytes);
    put32(out, 2835);  // 72 dpi, both ways
    put32(out, 2835);
    put32(out, 0);  // no palette
    put32(out, 0);

    for (int y = img.height - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < img.width; ++x) {
            const std::uint32_t c = img.at(x, y);
            out.push_back(std::uint8_t(c & 0xFF));          // blue
            out.push_back(std::uint8_t((c >> 8) & 0xFF));   // green
            out.push_back(std::uint8_t((c >> 16) & 0xFF));  // red
            written += 3;
        }
        for (; written < rowBytes; ++written) out.push_back(0);
    }
    return out;
}

std::vector<std::uint8_t> encodeWav(const Clip& clip) {
    const std::uint32_t dataBytes = std::uint32_t(clip.samples.size()) * 2;
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, Clip::rate);
    put32(out, Clip::rate * 2);  // bytes per second
    put16(out, 2);               // bytes per frame
    put16(out, 16);              // bits per sample
    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t s : clip.samples) put16(out, std::uint16_t(s));
    return out;
}

}  // namespace assetkit
