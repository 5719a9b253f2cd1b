// The application icon: a flagged tile of the board with a mine over its corner, as pixel art
// on grids of 16, 24 and 32 pixels, each scaled by a whole number to the sides a desktop asks for.
#include "assetkit.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace assetkit {
namespace {

constexpr std::uint32_t kOutline = 0x000000;
constexpr std::uint32_t kLight = 0xFFFFFF;
constexpr std::uint32_t kBody = 0xC0C0C0;
constexpr std::uint32_t kShadow = 0x808080;

// The icon's map letters; '.' leaves the pixel underneath.
std::uint32_t iconColour(char c) {
    switch (c) {
    case 'k': return 0x000000;
    case 'w': return 0xFFFFFF;
    case 'r': return 0xFF0000;
    case 'R': return 0xA00000;  // the flag's shaded lower edge
    case 'g': return 0x606060;  // the mine's soft highlight beside its glint
    }
    throw std::logic_error(std::string("icon map uses unknown colour letter '") + c + "'");
}

template <std::size_t N>
void paint(Image& img, int ox, int oy, const char* const (&rows)[N]) {
    for (std::size_t r = 0; r < N; ++r)
        for (int c = 0; rows[r][c] != '\0'; ++c) {
            const int x = ox + c, y = oy + int(r);
            if (x < 0 || y < 0 || x >= img.width || y >= img.height)
                throw std::logic_error("icon map reaches outside the icon");
            if (rows[r][c] != '.') img.at(x, y) = iconColour(rows[r][c]);
        }
}

// The board's covered tile, side n at the top-left corner, in a one-pixel outline that keeps it
// apart from light and dark backgrounds alike; bevels `bevel` wide, as in the game.
void tile(Image& img, int n, int bevel) {
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            std::uint32_t c = kBody;
            const int ix = x - 1, iy = y - 1, in = n - 2;
            if (x == 0 || y == 0 || x == n - 1 || y == n - 1) c = kOutline;
            else if ((ix < bevel || iy < bevel) && ix + iy <= in - 2) c = kLight;
            else if (ix < bevel || iy < bevel || ix >= in - bevel || iy >= in - bevel) c = kShadow;
            img.at(x, y) = c;
        }
}

// ---------------------------------------------------------------------------------------------
// 32 x 32: scaled to 32, 64, 128 and 256.

const char* const kFlag32[] = {
    "..........rrkk",
    "........rrrrkk",
    "......rrrrrrkk",
    "....rrrrrrrrkk",
    "..rrrrrrrrrrkk",
    "....RRrrrrrrkk",
    "......RRrrrrkk",
    "........RRrrkk",
    "..........RRkk",
    "............kk",
    "............kk",
    "............kk",
    "..........kkkkkk",
    ".......kkkkkkkkkkkk",
    ".......kkkkkkkkkkkk",
};

const char* const kMine32[] = {
    "......k......",
    "......k......",
    "..k.kkkkk.k..",
    "...kkkkkkk...",
    "..kkwwkkkkk..",
    "..kkwgkkkkk..",
    "kkkkkkkkkkkkk",
    "..kkkkkkkkk..",
    "..kkkkkkkkk..",
    "...kkkkkkk...",
    "..k.kkkkk.k..",
    "......k......",
    "......k......",
};

// ---------------------------------------------------------------------------------------------
// 24 x 24: scaled to 48.

const char* const kFlag24[] = {
    ".......rrk",
    ".....rrrrk",
    "...rrrrrrk",
    ".rrrrrrrrk",
    "...RRrrrrk",
    ".....RRrrk",
    ".......RRk",
    ".........k",
    ".........k",
    ".......kkkkk",
    ".....kkkkkkkkk",
};

const char* const kMine24[] = {
    "....k....",
    ".k.kkk.k.",
    "..kkkkk..",
    ".kkwkkkk.",
    "kkkkkkkkk",
    ".kkkkkkk.",
    "..kkkkk..",
    ".k.kkk.k.",
    "....k....",
};

// ---------------------------------------------------------------------------------------------
// 16 x 16, as it is: the window's icon and the smallest menu entry.

const char* const kFlag16[] = {
    ".....rk",
    "...rrrk",
    ".rrrrrk",
    "...RRrk",
    ".....Rk",
    "......k",
    "....kkkk",
    "..kkkkkkkk",
};

const char* const kMine16[] = {
    "...k...",
    ".kkkkk.",
    ".kwkkk.",
    "kkkkkkk",
    ".kkkkk.",
    ".kkkkk.",
    "...k...",
};

// One grid's drawing: the tile (its side and bevel) at the top left, the flag on it and the
// mine over its lower-right corner, each map at its top-left position.
template <std::size_t F, std::size_t M>
Image art(int grid, int tileSide, int bevel, int fx, int fy, const char* const (&flag)[F], int mx,
          int my, const char* const (&mine)[M]) {
    Image img(grid, grid, kClear);
    tile(img, tileSide, bevel);
    paint(img, fx, fy, flag);
    paint(img, mx, my, mine);
    return img;
}

// Every pixel of `small` as an n x n block.
Image scaled(const Image& small, int n) {
    Image img(small.width * n, small.height * n, kClear);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) img.at(x, y) = small.at(x / n, y / n);
    return img;
}

}  // namespace

Image drawIcon(int side) {
    switch (side) {
    case 16: return art(16, 14, 1, 1, 2, kFlag16, 9, 9, kMine16);
    case 48: return scaled(art(24, 22, 2, 2, 3, kFlag24, 15, 15, kMine24), 2);
    case 32:
    case 64:
    case 128:
    case 256: return scaled(art(32, 29, 3, 2, 5, kFlag32, 19, 19, kMine32), side / 32);
    }
    throw std::logic_error("no icon drawn at " + std::to_string(side) + " pixels");
}

}  // namespace assetkit
