// Entry point of the asset tool: draws the sprite sheets and synthesises the sound cues.
//
// Usage: makeassets OUTDIR  — writes OUTDIR/bmp/{face,icon,numb}.bmp and OUTDIR/wav/*.wav.
// The output depends on nothing but this source, so regenerating gives identical bytes.
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
        std::cerr << "usage: makeassets OUTDIR\n";
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path root = argv[1];
    for (const char* sub : {"bmp", "wav"}) {
        std::error_code ec;
        fs::create_directories(root / sub, ec);
        if (ec) {
            std::cerr << "makeassets: cannot create " << (root / sub).string() << ": "
                      << ec.message() << "\n";
            return 1;
        }
    }

    bool ok = true;
    try {
        ok &= writeFile(root / "bmp" / "face.bmp", assetkit::encodeBmp(assetkit::drawFaceSheet()));
        ok &= writeFile(root / "bmp" / "icon.bmp", assetkit::encodeBmp(assetkit::drawIconSheet()));
        ok &= writeFile(root / "bmp" / "numb.bmp", assetkit::encodeBmp(assetkit::drawNumberSheet()));
        for (const auto& named : assetkit::synthesiseClips())
            ok &= writeFile(root / "wav" / (named.name + ".wav"), assetkit::encodeWav(named.clip));
    } catch (const std::exception& e) {
        std::cerr << "makeassets: " << e.what() << "\n";
        return 1;
    }
    return ok ? 0 : 1;
}
