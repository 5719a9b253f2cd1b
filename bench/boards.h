// Boards for the benchmarks and the search: laid straight into the record's planes, dealt
// (state 1), with counts made right. Each layout names what it makes the game do.
#pragma once
#include <cstdint>

#include "board/minebd.h"
#include "board/invariants.h"

namespace bench {

// A dealt board of w x h cells in state 1 with nothing on it: no mine, nothing open, the first
// `idleRows` rows idle. The cells beyond the board are cleared too.
inline void layEmpty(MineBd& b, int w, int h, int idleRows = 0) {
    b.width = w;
    b.height = h;
    b.top = idleRows;
    b.tick = 0;
    b.state = StPlay;
    b.score = 0;
    b.level = 1;
    b.again = b.dirty = false;
    for (int x = 0; x < 100; x++)
        for (int y = 0; y < 100; y++) {
            b.flag[x][y] = b.qstn[x][y] = b.mine[x][y] = b.open[x][y] = false;
            b.idle[x][y] = y < idleRows;
            b.num[x][y] = 0;
        }
}

// Counts every cell's mines among its neighbours, as the deal does.
inline void recount(MineBd& b) {
    for (int x = 0; x < b.width; x++)
        for (int y = 0; y < b.height; y++) b.num[x][y] = minesAround(b, x, y);
}

// rowmines from the first row, as the rules expect every row to hold that many.
inline void setRowmines(MineBd& b) {
    int n = 0;
    for (int x = 0; x < b.width; x++) n += b.mine[x][0];
    b.rowmines = n > 0 ? n : 1;
}

// Small deterministic generator, the same on every platform.
struct Lcg {
    std::uint32_t s;
    std::uint32_t next() { return s = s * 1664525u + 1013904223u, s >> 8; }
};

// A played-looking board for painting: 8 idle rows and half the incoming row previewed, then
// rows with 15 % mines, the lower half open with its numbers, flags on a third of the mines in
// the upper half and a few question marks. Every tile kind but the lost ones shows.
inline void layPainted(MineBd& b, int w, int h) {
    layEmpty(b, w, h, 8);
    b.tick = w / 2;
    Lcg r{7};
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) b.mine[x][y] = r.next() % 100 < 15;
    recount(b);
    for (int x = 0; x < w; x++)
        for (int y = 8; y < h; y++) {
            if (y >= (h + 8) / 2 && !b.mine[x][y]) b.open[x][y] = true;
            else if (b.mine[x][y] && r.next() % 3 == 0) b.flag[x][y] = true;
            else if (!b.mine[x][y] && r.next() % 10 == 0) b.qstn[x][y] = true;
        }
    setRowmines(b);
}

// The open field a first click floods: one mine a row, in column 0, 8 idle rows. Clicking on
// the right floods every active cell but the mines' column and its numbers.
inline void layOpenField(MineBd& b, int w, int h) {
    layEmpty(b, w, h, 8);
    for (int y = 0; y < h; y++) b.mine[0][y] = true;
    recount(b);
    b.rowmines = 1;
}

// The same field, with column 1 of row `h - 1` open and its mine flagged: a right click on it
// chords and floods the field from the bottom-left corner.
inline void layChordField(MineBd& b, int w, int h) {
    layOpenField(b, w, h);
    b.open[1][h - 1] = true;
    b.flag[0][h - 1] = b.flag[0][h - 2] = true;
}

// The flood that needs the most passes: a corridor of zeros, one cell wide, that climbs two
// rows for every column, walled by numbers and the mines beyond them. Its steps alternate
// between straight up, which only the backward sweep follows, and diagonally up and right,
// which only the forward sweep follows, so each pass takes the flood two cells further and a
// corridor of n cells costs about n / 2 passes. Parallel corridors `spacing` columns apart (5
// is the closest that keeps their walls apart) fill the board, joined alternately along the top row and the bottom row (the ones climbed down
// alternate the same way: straight down for the forward sweep, down and left for the backward
// one). The click goes on the corridor's start, the bottom-left corner.
inline void layCorridors(MineBd& b, int w, int h, int spacing) {
    layEmpty(b, w, h, 0);
    static bool corridor[100][100];
    for (int x = 0; x < 100; x++)
        for (int y = 0; y < 100; y++) corridor[x][y] = false;
    const int rise = (h - 1) / 2;
    int lastTop = -1, lastBottom = -1;
    for (int x0 = 0, line = 0; x0 + rise < w; x0 += spacing, line++) {
        for (int y = 0; y < h; y++) corridor[x0 + (h - 1 - y) / 2][y] = true;
        // Joined to the line before: at the top after a line climbed, at the bottom after one
        // climbed down.
        if (line % 2 == 1)
            for (int x = lastTop; x <= x0 + rise; x++) corridor[x][0] = true;
        else if (line > 0)
            for (int x = lastBottom; x <= x0; x++) corridor[x][h - 1] = true;
        lastTop = x0 + rise;
        lastBottom = x0;
    }
    // Mines on every cell two steps from the corridor, so every cell one step from it is a
    // number and every corridor cell a zero.
    for (int x = 0; x < w; x++)
        for (int y = 0; y < h; y++) {
            int d = 3;
            for (int dx = -2; dx <= 2; dx++)
                for (int dy = -2; dy <= 2; dy++) {
                    const int px = x + dx, py = y + dy;
                    if (px < 0 || py < 0 || px >= w || py >= h || !corridor[px][py]) continue;
                    const int c = dx < 0 ? -dx : dx, r = dy < 0 ? -dy : dy;
                    if ((c > r ? c : r) < d) d = c > r ? c : r;
                }
            b.mine[x][y] = d == 2;
        }
    recount(b);
    setRowmines(b);
}
inline void laySerpent(MineBd& b, int w, int h) { layCorridors(b, w, h, 5); }

// Key D's worst case found: the serpent with every mine flagged and only its first cell open.
// solve1 chords every open cell whose flags meet its number, numbers and zeros alike, so the
// opening crawls along the corridor and its walls as the flood does, a pass at a time. The
// corridors lie 6 columns apart: at 5 the chords of the flagged walls cross from one corridor
// to the next and take short cuts.
inline void laySerpentFlagged(MineBd& b, int w, int h) {
    layCorridors(b, w, h, 6);
    for (int x = 0; x < w; x++)
        for (int y = 0; y < h; y++) b.flag[x][y] = b.mine[x][y];
    b.open[0][h - 1] = true;
}

// Key F's worst case: every active cell is a zero without a mine except one column of mines
// and its numbers; the hint opens them all, one clickleft each.
inline void layBlankField(MineBd& b, int w, int h) { layOpenField(b, w, h); }

// Key S's worst case: a well-opened random board, 12 % mines, everything open but the mines and
// a covered band in every fourth column, so that most open numbers hold a rule that touches
// others, and many pairs prove cells safe.
inline void layRules(MineBd& b, int w, int h) {
    layEmpty(b, w, h, 0);
    Lcg r{11};
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) b.mine[x][y] = r.next() % 100 < 12;
    recount(b);
    for (int x = 0; x < w; x++)
        for (int y = 0; y < h; y++) b.open[x][y] = !b.mine[x][y] && x % 4 != 2;
    setRowmines(b);
}

// Key D's worst case: the same mix opened only at the left, so that each pass flags and chords
// its way a little further right, and the repetition runs many passes over many open cells.
inline void layDeduction(MineBd& b, int w, int h) {
    layEmpty(b, w, h, 0);
    Lcg r{5};
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) b.mine[x][y] = x > 0 && r.next() % 100 < 10;
    recount(b);
    for (int y = 0; y < h; y++) b.open[0][y] = true;
    setRowmines(b);
}

// The row clock on a full board: two idle rows left above a board open but for its mines
// (one a row, in column 0), whose zeros reach up to the idle rows. The new row is the last but
// one, so the game goes on; the flood then opens the new row's cells that touch open zeros.
inline void layFullBoard(MineBd& b, int w, int h) {
    layEmpty(b, w, h, 2);
    for (int y = 0; y < h; y++) b.mine[0][y] = true;
    recount(b);
    for (int x = 0; x < w; x++)
        for (int y = 2; y < h; y++) b.open[x][y] = !b.mine[x][y];
    b.rowmines = 1;
}

}  // namespace bench
