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

void MineBd::solve0() {
    again = false;  // cleared before the state test, so a lost or paused board ends the caller's loop
    if (state > StBonus) return;
    MineWatch w;
    sweep([this, &w](std::int32_t x, std::int32_t y) {
        if (open[x][y] && num[x][y] == 0) clickright(x, y, false, w);
    });
}

void MineBd::solve1() {
    again = false;
    if (state > StBonus) return;
    MineWatch w;
    sweep([this, &w](std::int32_t x, std::int32_t y) {
        if (open[x][y]) clickright(x, y, false, w);
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
