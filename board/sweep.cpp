// The sweep passes: flood opening, the local pass and the blank hint. Each visits every cell
// twice, forward (columns from the left, each top to bottom) then backward (columns from the
// right, each bottom to top), and sees the board as its earlier visits left it.
#include "board/minebd.h"
#include "platform/disp.h"

// The loop counters are locals: the actions called from a visit use the record's scratch
// counters and must not disturb the sweep. The visits share one MineWatch, so the pass scans
// the board for open mines only when an opening could have made one.
template <class Visit>
void MineBd::sweep(Visit visit) {
    for (std::int32_t x = 0; x < width; x++)
        for (std::int32_t y = 0; y < height; y++) visit(x, y);
    for (std::int32_t x = width - 1; x >= 0; x--)
        for (std::int32_t y = height - 1; y >= 0; y--) visit(x, y);
}

namespace {

// True when every on-board neighbour of (x, y) is open.
bool neighboursOpen(const MineBd& b, std::int32_t x, std::int32_t y) {
    const std::int32_t x0 = x > 0 ? x - 1 : x, x1 = x < b.width - 1 ? x + 1 : x;
    const std::int32_t y0 = y > 0 ? y - 1 : y, y1 = y < b.height - 1 ? y + 1 : y;
    for (std::int32_t i = x0; i <= x1; i++)
        for (std::int32_t j = y0; j <= y1; j++)
            if (!b.open[i][j] && (i != x || j != y)) return false;
    return true;
}

// clickright(x, y, false) on an open cell whose neighbours are all open, when the pass's watch
// is clean, as it always ends: setflag finds no unopened neighbour to flag, setblock none to
// open, its checkerror would find nothing, and the second setflag fails like the first. What
// is left is what their neighbour loops leave in the scratch fields, and dirty. Most cells of a
// flooded board are such cells, and a pass visits each of them twice.
void settledRightClick(MineBd& b, std::int32_t x, std::int32_t y) {
    b.k = 8;
    b.nx = x + 1;  // isok writes direction 7's neighbour last, on the board or not
    b.ny = y + 1;
    b.dirty = true;
}

}  // namespace

void MineBd::solve0() {
    again = false;  // cleared before the state test, so a lost or paused board ends the caller's loop
    if (state > StBonus) return;
    MineWatch w;
    sweep([this, &w](std::int32_t x, std::int32_t y) {
        if (!open[x][y] || num[x][y] != 0) return;
        if (w.clean && !idle[x][y] && neighboursOpen(*this, x, y))
            settledRightClick(*this, x, y);
        else
            clickright(x, y, false, w);
    });
}

void MineBd::solve1() {
    again = false;
    if (state > StBonus) return;
    MineWatch w;
    sweep([this, &w](std::int32_t x, std::int32_t y) {
        if (!open[x][y]) return;
        if (w.clean && !idle[x][y] && neighboursOpen(*this, x, y))
            settledRightClick(*this, x, y);
        else
            clickright(x, y, false, w);
    });
    sound(sndsolve);
}

void MineBd::solveblank() {
    again = false;
    if (state > StBonus) return;
    // Reads the mine plane: a hint with knowledge the player does not have.
    MineWatch w;
    sweep([this, &w](std::int32_t x, std::int32_t y) {
        if (!idle[x][y] && !mine[x][y] && num[x][y] == 0) clickleft(x, y, w);
    });
}
