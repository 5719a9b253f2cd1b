// The three sprite sheets: smiley faces, board tiles and seven-segment counter digits.
#include "assetkit.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace assetkit {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBody = 0xC0C0C0;     // grey of buttons, covered and open cells
constexpr std::uint32_t kShadow = 0x808080;   // lower-right bevel and the open cells' grid line
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kShade = 0xE0C000;  // darker yellow along the smiley's lower right

// Pixel-map letters shared by every drawing below; '.' leaves the pixel underneath.
std::uint32_t paletteColour(char c) {
    switch (c) {
    case 'k': return kBlack;
    case 'w': return kWhite;
    case 'r': return kRed;
    case 'n': return 0x2040C0;  // sleepy blue of the pause face's z's
    }
    throw std::logic_error(std::string("pixel map uses unknown colour letter '") + c + "'");
}

// The pixel a map paints; a map that spills over the sheet is a drawing mistake, and would
// otherwise wrap into the next row unnoticed.
std::uint32_t& mapPixel(Image& img, int x, int y) {
    if (x < 0 || y < 0 || x >= img.width || y >= img.height)
        throw std::logic_error("pixel map reaches outside the sheet at (" + std::to_string(x) +
                               ", " + std::to_string(y) + ")");
    return img.at(x, y);
}

// Paints a pixel map with its top-left corner at (ox, oy).
template <std::size_t N>
void stamp(Image& img, int ox, int oy, const char* const (&rows)[N]) {
    for (std::size_t r = 0; r < N; ++r)
        for (int c = 0; rows[r][c] != '\0'; ++c)
            if (rows[r][c] != '.') mapPixel(img, ox + c, oy + int(r)) = paletteColour(rows[r][c]);
}

// Paints only the marked pixels of a map in one colour (the number glyphs share their shapes).
template <std::size_t N>
void stampIn(Image& img, int ox, int oy, const char* const (&rows)[N], std::uint32_t colour) {
    for (std::size_t r = 0; r < N; ++r)
        for (int c = 0; rows[r][c] != '\0'; ++c)
            if (rows[r][c] != '.') mapPixel(img, ox + c, oy + int(r)) = colour;
}

// A raised square of side n at (ox, oy): light upper-left bevel, dark lower-right bevel, each
// `bevel` pixels wide, split along the anti-diagonal at the two outer corners.
void raised(Image& img, int ox, int oy, int n, int bevel, std::uint32_t light, std::uint32_t body,
            std::uint32_t dark) {
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const bool nearTopLeft = x < bevel || y < bevel;
            const bool nearBottomRight = x >= n - bevel || y >= n - bevel;
            std::uint32_t c = body;
            if (nearTopLeft && x + y <= n - 2) c = light;
            else if (nearBottomRight || nearTopLeft) c = dark;
            img.at(ox + x, oy + y) = c;
        }
}

// An opened cell: flat, with the one-pixel shadow line on its top and left that draws the grid.
void sunken(Image& img, int ox, int oy, std::uint32_t body) {
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) img.at(ox + x, oy + y) = (x == 0 || y == 0) ? kShadow : body;
}

// ---------------------------------------------------------------------------------------------
// Board tiles, 16 x 16.

const char* const kFlag[] = {
    "................",
    "................",
    "......rrk.......",
    "....rrrrk.......",
    "..rrrrrrk.......",
    "..rrrrrrk.......",
    "....rrrrk.......",
    "......rrk.......",
    "........k.......",
    "........k.......",
    "........k.......",
    "......kkkkk.....",
    "....kkkkkkkkk...",
    "....kkkkkkkkk...",
};

const char* const kQuestion[] = {
    "................",
    "................",
    "................",
    "......kkkk......",
    ".....kk..kk.....",
    ".....kk..kk.....",
    ".........kk.....",
    "........kk......",
    ".......kk.......",
    ".......kk.......",
    "................",
    ".......kk.......",
    ".......kk.......",
};

// Centred on (8, 8), the middle of an opened cell's face.
const char* const kMine[] = {
    "................",
    "................",
    "........k.......",
    "........k.......",
    "....k.kkkkk.k...",
    ".....kkkkkkk....",
    "....kkwwkkkkk...",
    "....kkwwkkkkk...",
    "..kkkkkkkkkkkkk.",
    "....kkkkkkkkk...",
    "....kkkkkkkkk...",
    ".....kkkkkkk....",
    "....k.kkkkk.k...",
    "........k.......",
    "........k.......",
};

// The neighbour-count glyphs, 10 x 12, placed at (4, 3) on an opened cell.
const char* const kGlyph[9][12] = {
    {},
    {"....###...",
     "...####...",
     "..#####...",
     ".######...",
     "....###...",
     "....###...",
     "....###...",
     "....###...",
     "....###...",
     "....###...",
     ".########.",
     ".########."},
    {".########.",
     "##########",
     "###....###",
     ".......###",
     "......####",
     "....#####.",
     "..#####...",
     ".####.....",
     "###.......",
     "###.......",
     "##########",
     "##########"},
    {"#########.",
     "##########",
     ".......###",
     ".......###",
     ".......###",
     "..#######.",
     "..#######.",
     ".......###",
     ".......###",
     ".......###",
     "##########",
     "#########."},
    {"###....###",
     "###....###",
     "###....###",
     "###....###",
     "###....###",
     "##########",
     "##########",
     ".......###",
     ".......###",
     ".......###",
     ".......###",
     ".......###"},
    {"##########",
     "##########",
     "###.......",
     "###.......",
     "###.......",
     "#########.",
     "##########",
     ".......###",
     ".......###",
     ".......###",
     "##########",
     "#########."},
    {".#########",
     "##########",
     "###.......",
     "###.......",
     "###.......",
     "#########.",
     "##########",
     "###....###",
     "###....###",
     "###....###",
     "##########",
     ".########."},
    {"##########",
     "##########",
     ".......###",
     ".......###",
     "......###.",
     ".....###..",
     "....###...",
     "....###...",
     "...###....",
     "...###....",
     "...###....",
     "...###...."},
    {".########.",
     "##########",
     "###....###",
     "###....###",
     "###....###",
     ".########.",
     ".########.",
     "###....###",
     "###....###",
     "###....###",
     "##########",
     ".########."},
};

// Blue, green, red, dark blue, maroon, teal, black, grey: each count its own colour.
constexpr std::uint32_t kCountColour[9] = {0,        0x0000FF, 0x008000, 0xFF0000, 0x000080,
                                           0x800000, 0x008080, 0x000000, 0x808080};

void coveredTile(Image& img, int oy) { raised(img, 0, oy, 16, 2, kWhite, kBody, kShadow); }

// Idle cells fill the whole board while paused and trail in as the incoming row, so they must
// never pass for covered ones: darker, low-relief and hatched.
void idleTile(Image& img, int oy) {
    raised(img, 0, oy, 16, 1, 0xA8A8A8, 0x8C8C8C, 0x5C5C5C);
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x)
            if ((x + y) % 4 == 0) img.at(x, oy + y) = 0x7A7A7A;
}

void numberTile(Image& img, int oy, int count) {
    sunken(img, 0, oy, kBody);
    if (count > 0) stampIn(img, 4, oy + 3, kGlyph[count], kCountColour[count]);
}

// ---------------------------------------------------------------------------------------------
// Faces, 24 x 24: a yellow smiley on a raised button. Features are maps up to 14 x 12, placed
// at (5, 6) so that they sit symmetrically on the disc.

const char* const kSmile[] = {
    "..............",
    "..............",
    "...kk....kk...",
    "...kk....kk...",
    "..............",
    "..............",
    "..............",
    "..k........k..",
    "...k......k...",
    "....kkkkkk....",
};

const char* const kWorried[] = {
    "....k....k....",
    "..kk......kk..",
    "...kk....kk...",
    "...kk....kk...",
    "...kk....kk...",
    "..............",
    "......kk......",
    ".....k..k.....",
    ".....k..k.....",
    "......kk......",
};

const char* const kSunglasses[] = {
    "..............",
    "kkkkkkkkkkkkkk",
    ".kkwkkk.kkwkk.",
    ".kkkkkk.kkkkk.",
    "..kkkk...kkk..",
    "..............",
    "..............",
    ".kkkkkkkkkkkk.",
    "..kwwwwwwwwk..",
    "...kwwwwwwk...",
    "....kkkkkk....",
};

const char* const kCrossedOut[] = {
    "..............",
    "..k..k..k..k..",
    "...kk....kk...",
    "...kk....kk...",
    "..k..k..k..k..",
    "..............",
    "..............",
    "....kkkkkk....",
    "...k......k...",
    "..k........k..",
};

const char* const kAsleep[] = {
    "..............",
    "..............",
    "..............",
    "..k..k..k..k..",
    "...kk....kk...",
    "..............",
    "..............",
    "..............",
    ".....kkkk.....",
};

// A big Z in the button's top-right corner, clear of the disc, placed at (18, 2).
const char* const kSnoreBig[] = {
    "nnnn",
    "..n.",
    ".n..",
    "nnnn",
};

// A small z on the face above the right eye, placed at (14, 5).
const char* const kSnoreSmall[] = {
    "nnn",
    ".n.",
    "nnn",
};

// The button and a shaded yellow disc of radius 9 centred between pixels 11 and 12.
void blankFace(Image& img, int oy) {
    raised(img, 0, oy, 24, 2, kWhite, kBody, kShadow);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            // Doubled coordinates keep the half-pixel centre in integers.
            const int dx = 2 * x - 23, dy = 2 * y - 23;
            const int d2 = dx * dx + dy * dy;
            if (d2 > 18 * 18) continue;
            std::uint32_t c = kYellow;
            if (d2 > 16 * 16) c = kBlack;
            else if (d2 > 13 * 13 && dx + dy > 6) c = kShade;
            img.at(x, oy + y) = c;
        }
}

// ---------------------------------------------------------------------------------------------
// Counter sprites, 13 x 23: seven red segments on black.

namespace seg {
enum : unsigned { a = 1, b = 2, c = 4, d = 8, e = 16, f = 32, g = 64 };
}

// Which segments each digit lights.
constexpr unsigned kDigitSegments[10] = {
    seg::a | seg::b | seg::c | seg::d | seg::e | seg::f,          // 0
    seg::b | seg::c,                                              // 1
    seg::a | seg::b | seg::g | seg::e | seg::d,                   // 2
    seg::a | seg::b | seg::g | seg::c | seg::d,                   // 3
    seg::f | seg::g | seg::b | seg::c,                            // 4
    seg::a | seg::f | seg::g | seg::c | seg::d,                   // 5
    seg::a | seg::f | seg::g | seg::e | seg::c | seg::d,          // 6
    seg::a | seg::b | seg::c,                                     // 7
    seg::a | seg::b | seg::c | seg::d | seg::e | seg::f | seg::g, // 8
    seg::a | seg::b | seg::c | seg::d | seg::f | seg::g,          // 9
};

// Where each segment lies: tapered bars with a one-pixel diagonal gap at every joint, so the
// segments read as separate lamps even when all of them are lit.
const char* const kSegmentMap[] = {
    ".............",
    "..aaaaaaaaa..",
    ".f.aaaaaaa.b.",
    ".ff.aaaaa.bb.",
    ".fff.....bbb.",
    ".fff.....bbb.",
    ".fff.....bbb.",
    ".fff.....bbb.",
    ".fff.....bbb.",
    ".ff.......bb.",
    ".f.ggggggg.b.",
    "..ggggggggg..",
    ".e.ggggggg.c.",
    ".ee.......cc.",
    ".eee.....ccc.",
    ".eee.....ccc.",
    ".eee.....ccc.",
    ".eee.....ccc.",
    ".eee.....ccc.",
    ".ee.ddddd.cc.",
    ".e.ddddddd.c.",
    "..ddddddddd..",
    ".............",
};

constexpr std::uint32_t kLit = 0xFF0000;
constexpr std::uint32_t kUnlit = 0x400000;  // dark lamps stay faintly visible

void sevenSegment(Image& img, int oy, unsigned lit) {
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 13; ++x) {
            const char c = kSegmentMap[y][x];
            if (c == '.') continue;
            const unsigned bit = 1u << (c - 'a');
            img.at(x, oy + y) = (lit & bit) ? kLit : kUnlit;
        }
}

}  // namespace

Image drawFaceSheet() {
    Image img(24, 120, kBody);
    for (int i = 0; i < 5; ++i) blankFace(img, 24 * i);
    // Order down the sheet: paused, bonus, lost, penalty, ready/play.
    stamp(img, 5, 0 + 6, kAsleep);
    stamp(img, 18, 0 + 2, kSnoreBig);
    stamp(img, 14, 0 + 5, kSnoreSmall);
    stamp(img, 5, 24 + 6, kSunglasses);
    stamp(img, 5, 48 + 6, kCrossedOut);
    stamp(img, 5, 72 + 6, kWorried);
    stamp(img, 5, 96 + 6, kSmile);
    return img;
}

Image drawIconSheet() {
    Image img(16, 256, kBody);
    coveredTile(img, 0);
    coveredTile(img, 16);
    stamp(img, 0, 16, kFlag);
    coveredTile(img, 32);
    stamp(img, 0, 32, kQuestion);
    sunken(img, 0, 48, kRed);
    stamp(img, 0, 48, kMine);
    idleTile(img, 64);
    sunken(img, 0, 80, kBody);
    stamp(img, 0, 80, kMine);
    coveredTile(img, 96);  // never read by the game; a plain covered cell if it ever shows
    for (int count = 8; count >= 0; --count) numberTile(img, 112 + 16 * (8 - count), count);
    return img;
}

Image drawNumberSheet() {
    Image img(13, 276, kBlack);
    sevenSegment(img, 0, seg::g);  // minus
    sevenSegment(img, 23, 0);      // blank
    for (int digit = 9; digit >= 0; --digit)
        sevenSegment(img, 46 + 23 * (9 - digit), kDigitSegments[digit]);
    return img;
}

}  // namespace assetkit
