// Entry point of the asset tool: draws the sprite sheets and the icon, synthesises the cues.
//
// Usage: makeassets ROOT  — writes, below ROOT as below the source tree, assets/bmp/*.bmp,
// assets/wav/*.wav, assets/icons/dravel2-<side>.png and dravel2.ico, and the window icon's
// pixels as platform/sdl/window_icon.inc. The output depends on nothing but this source, so
// regenerating gives identical bytes.
#include "assetkit.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "makeassets: cannot write " << path.string() << "\n";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: makeassets ROOT\n";
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path root = argv[1];
    const fs::path assets = root / "assets";
    for (const fs::path& sub : {assets / "bmp", assets / "wav", assets / "icons", root / "platform" / "sdl"}) {
        std::error_code ec;
        fs::create_directories(sub, ec);
        if (ec) {
            std::cerr << "makeassets: cannot create " << sub.string() << ": "
                      << ec.message() << "\n";
            return 1;
        }
    }

    bool ok = true;
    try {
        const fs::path bmp = assets / "bmp", wav = assets / "wav", icons = assets / "icons";
        ok &= writeFile(bmp / "face.bmp", assetkit::encodeBmp(assetkit::drawFaceSheet()));
        ok &= writeFile(bmp / "icon.bmp", assetkit::encodeBmp(assetkit::drawIconSheet()));
        ok &= writeFile(bmp / "numb.bmp", assetkit::encodeBmp(assetkit::drawNumberSheet()));
        for (const auto& named : assetkit::synthesiseClips())
            ok &= writeFile(wav / (named.name + ".wav"), assetkit::encodeWav(named.clip));
        std::vector<int> sides;
        std::vector<std::vector<std::uint8_t>> rgba;
        for (int side : assetkit::kIconSides) {
            const assetkit::Image icon = assetkit::drawIcon(side);
            ok &= writeFile(icons / ("dravel2-" + std::to_string(side) + ".png"),
                            assetkit::encodePng(icon, assetkit::PngKind::indexed));
            sides.push_back(side);
            rgba.push_back(assetkit::encodePng(icon, assetkit::PngKind::rgba));
        }
        ok &= writeFile(icons / "dravel2.ico", assetkit::encodeIco(sides, rgba));
        const std::string source = assetkit::windowIconSource(assetkit::drawIcon(16));
        ok &= writeFile(root / "platform" / "sdl" / "window_icon.inc",
                        std::vector<std::uint8_t>(source.begin(), source.end()));
    } catch (const std::exception& e) {
        std::cerr << "makeassets: " << e.what() << "\n";
        return 1;
    }
    return ok ? 0 : 1;
}
