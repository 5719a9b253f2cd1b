// The icon's file encoders: PNG, the Windows icon file around PNGs, and the window icon's source.
#include "assetkit.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace assetkit {
namespace {

void putBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

void putLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

std::uint32_t crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

std::uint32_t adler32(const std::vector<std::uint8_t>& data) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// A chunk: length, type, data, and the CRC of type and data.
void putChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
    putBe32(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(type[i]));
    out.insert(out.end(), data.begin(), data.end());
    putBe32(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks: the icons are small, and this keeps
// the encoder short and its output fixed.
std::vector<std::uint8_t> zlibStored(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        out.push_back(pos + n == raw.size() ? 1 : 0);  // BFINAL on the last block, BTYPE 00
        putLe(out, std::uint32_t(n), 2);
        putLe(out, std::uint32_t(~n & 0xFFFF), 2);
        out.insert(out.end(), raw.begin() + long(pos), raw.begin() + long(pos + n));
        pos += n;
    } while (pos < raw.size());
    putBe32(out, adler32(raw));
    return out;
}

// Every fully clear pixel is one colour, whatever its RGB bits.
std::uint32_t canonical(std::uint32_t c) { return (c >> 24) == 0xFF ? kClear : c; }

}  // namespace

std::vector<std::uint8_t> encodePng(const Image& img, PngKind kind) {
    // The palette in order of first appearance, so the bytes depend on the picture alone.
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> index(img.px.size());
    for (std::size_t i = 0; kind == PngKind::indexed && i < img.px.size(); ++i) {
        const std::uint32_t c = canonical(img.px[i]);
        std::size_t k = 0;
        while (k < palette.size() && palette[k] != c) ++k;
        if (k == palette.size()) palette.push_back(c);
        if (k > 255) throw std::logic_error("an indexed PNG image with more than 256 colours");
        index[i] = std::uint8_t(k);
    }
    const int depth = kind == PngKind::rgba    ? 8
                      : palette.size() <= 2    ? 1
                      : palette.size() <= 4    ? 2
                      : palette.size() <= 16   ? 4
                                               : 8;
    const int bitsPerPixel = kind == PngKind::rgba ? 32 : depth;

    std::vector<std::uint8_t> header;
    putBe32(header, std::uint32_t(img.width));
    putBe32(header, std::uint32_t(img.height));
    const std::uint8_t colourType = kind == PngKind::rgba ? 6 : 3;
    header.insert(header.end(), {std::uint8_t(depth), colourType, 0, 0, 0});  // no interlace
    std::vector<std::uint8_t> plte, trns;
    for (std::uint32_t c : palette) {
        plte.insert(plte.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
        trns.push_back(std::uint8_t(255 - (c >> 24)));
    }
    // Each row: filter type 0, then the pixels: RGBA bytes, or indices packed from the high bits.
    const std::size_t rowBytes = (std::size_t(img.width) * bitsPerPixel + 7) / 8;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * img.height);
    for (int y = 0; y < img.height; ++y) {
        raw.push_back(0);
        const std::size_t start = raw.size();
        raw.resize(start + rowBytes, 0);
        for (int x = 0; x < img.width; ++x) {
            const std::size_t i = std::size_t(y) * img.width + x;
            if (kind == PngKind::rgba) {
                const std::uint32_t c = canonical(img.px[i]);
                const std::uint8_t rgba[4] = {std::uint8_t(c >> 16), std::uint8_t(c >> 8),
                                              std::uint8_t(c), std::uint8_t(255 - (c >> 24))};
                std::copy(rgba, rgba + 4, raw.begin() + long(start + 4 * std::size_t(x)));
            } else {
                const int bit = x * depth;
                raw[start + bit / 8] |= std::uint8_t(index[i] << (8 - depth - bit % 8));
            }
        }
    }

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    if (kind == PngKind::indexed) {
        putChunk(out, "PLTE", plte);
        putChunk(out, "tRNS", trns);
    }
    putChunk(out, "IDAT", zlibStored(raw));
    putChunk(out, "IEND", {});
    return out;
}

std::vector<std::uint8_t> encodeIco(const std::vector<int>& sides,
                                    const std::vector<std::vector<std::uint8_t>>& pngs) {
    std::vector<std::uint8_t> out;
    putLe(out, 0, 2);  // reserved
    putLe(out, 1, 2);  // an icon, not a cursor
    putLe(out, std::uint32_t(pngs.size()), 2);
    std::uint32_t offset = 6 + 16 * std::uint32_t(pngs.size());
    for (std::size_t i = 0; i < pngs.size(); ++i) {
        out.push_back(std::uint8_t(sides[i] & 0xFF));  // 0 stands for 256
        out.push_back(std::uint8_t(sides[i] & 0xFF));
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        putLe(out, 1, 2);   // planes
        putLe(out, 32, 2);  // bits per pixel once decoded
        putLe(out, std::uint32_t(pngs[i].size()), 4);
        putLe(out, offset, 4);
        offset += std::uint32_t(pngs[i].size());
    }
    for (const auto& png : pngs) out.insert(out.end(), png.begin(), png.end());
    return out;
}

std::string windowIconSource(const Image& img) {
    std::string s =
        "// Written by tools/makeassets (icons.cpp); regenerate, do not edit: the window's icon,\n"
        "// 0xAARRGGBB, row by row from the top.\n";
    s += "constexpr int kWindowIconSize = " + std::to_string(img.width) + ";\n";
    s += "constexpr std::uint32_t kWindowIconPixels[kWindowIconSize * kWindowIconSize] = {\n";
    char word[16];
    for (std::size_t i = 0; i < img.px.size(); ++i) {
        const std::uint32_t c = canonical(img.px[i]);
        std::snprintf(word, sizeof word, "0x%08X,", unsigned(c ^ 0xFF000000u));
        s += (i % 8 == 0 ? "    " : " ");
        s += word;
        if (i % 8 == 7 || i + 1 == img.px.size()) s += "\n";
    }
    s += "};\n";
    return s;
}

}  // namespace assetkit
