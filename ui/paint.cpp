// Sprites and painting: the sheets cut into faces, tiles and digits, and the whole frame drawn
// from the board record.
#include <cstdint>

#include "platform/disp.h"
#include "ui/mainwindow.h"

namespace {

constexpr std::int32_t FacePx = 24;
constexpr std::int32_t DigitW = 13, DigitH = 23, DigitBoxH = 24;

// Tiles cut from the icon sheet besides the numbers, in the order they are cut. The flag lies
// above the question mark on the sheet, below it in the sprite table.
struct Cut {
    int sprite;
    std::int32_t sheetY;
};
constexpr Cut IconTiles[] = {{TileCover, 0},     {TileFlag, 16}, {TileQstn, 32},
                             {TileOpenMine, 48}, {TileIdle, 64}, {TileMine, 80}};
constexpr Cut NumbSigns[] = {{DigitMinus, 0}, {DigitBlank, 23}};

// The face for each state, 0..5.
constexpr int Faces[] = {FacePlay, FacePlay, FacePenalty, FaceBonus, FaceLost, FacePaused};

std::uint32_t cut(std::uint32_t sheet, std::int32_t sy, std::int32_t w, std::int32_t h) {
    const std::uint32_t sprite = CreateBMP192(w, h);
    DrawBMP200(sheet, sprite, 0, sy, w, h, 0, 0, w, h);
    return sprite;
}

// The four decimal digits of |v| below 10000, most significant first, and the count of leading
// zeros (at most 3: the units always show).
struct Digits {
    int d[4];
    int lead;
};
Digits digits(std::int32_t v) {
    const std::int64_t m = v < 0 ? -std::int64_t{v} : v;
    Digits r{{int(m / 1000 % 10), int(m / 100 % 10), int(m / 10 % 10), int(m % 10)}, 0};
    while (r.lead < 3 && r.d[r.lead] == 0) r.lead++;
    return r;
}

}  // namespace

void MainWindow::initBMP() {
    bmpface = LoadBMP197("./bmp/face.bmp");
    for (int i = 0; i < 5; i++) bmp[i] = cut(bmpface, FacePx * i, FacePx, FacePx);
    bmp[SheetIcon] = LoadBMP197("./bmp/icon.bmp");
    for (int n = 0; n <= 8; n++) bmp[Tile0 + n] = cut(bmp[SheetIcon], 240 - CellPx * n, CellPx, CellPx);
    for (const Cut& c : IconTiles) bmp[c.sprite] = cut(bmp[SheetIcon], c.sheetY, CellPx, CellPx);
    bmp[SheetNumb] = LoadBMP197("./bmp/numb.bmp");
    for (int d = 0; d <= 9; d++) bmp[Digit0 + d] = cut(bmp[SheetNumb], 253 - DigitH * d, DigitW, DigitH);
    for (const Cut& c : NumbSigns) bmp[c.sprite] = cut(bmp[SheetNumb], c.sheetY, DigitW, DigitH);
}

void MainWindow::paintEvent() {
    Clear164();
    if (state >= 0 && state <= StPaused)
        DrawBMP214(bmp[Faces[state]], width * 8 - 12, 0, FacePx, FacePx);

    for (std::int32_t x = 0; x < width; x++)
        for (std::int32_t y = 0; y < height; y++) {
            int t;
            if (state == StPaused)
                t = TileIdle;
            else if (idle[x][y] && !(x < tick && y >= top - 1))
                continue;  // idle rows stay background, but for the incoming row's preview
            else if (open[x][y] && mine[x][y])
                t = TileOpenMine;
            else if (open[x][y])
                t = Tile0 + num[x][y];
            else if (flag[x][y])
                t = TileFlag;
            else if (qstn[x][y])
                t = TileQstn;
            else if (state == StLost && mine[x][y])
                t = TileMine;
            else if (idle[x][y])
                t = TileIdle;
            else
                t = TileCover;
            DrawBMP214(bmp[t], x * CellPx, StripPx + y * CellPx, CellPx, CellPx);
        }

    // Score at the left: blanks, then the digits, a minus over the last blank.
    const Digits s = digits(score);
    for (int p = 0; p < s.lead; p++) DrawBMP214(bmp[DigitBlank], DigitW * p, 0, DigitW, DigitBoxH);
    for (int p = s.lead; p < 4; p++) DrawBMP214(bmp[Digit0 + s.d[p]], DigitW * p, 0, DigitW, DigitBoxH);
    if (score < 0 && s.lead > 0)
        DrawBMP214(bmp[DigitMinus], DigitW * (s.lead - 1), 0, DigitW, DigitBoxH);

    // Level at the right edge: the digits, and one blank before a single digit.
    const Digits l = digits(level);
    const std::int32_t left = width * CellPx - 4 * DigitW;
    if (l.lead == 3) DrawBMP214(bmp[DigitBlank], left + DigitW * 2, 0, DigitW, DigitBoxH);
    for (int p = l.lead; p < 4; p++)
        DrawBMP214(bmp[Digit0 + l.d[p]], left + DigitW * p, 0, DigitW, DigitBoxH);

    FreshWin45();
}
