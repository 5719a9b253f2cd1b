// How a game runs its course: the deal, rising rows, row removal with score, bonus and level,
// the mine penalty and pause.
#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "board/minebd.h"
#include "platform/disp.h"

namespace {
constexpr std::int32_t MaxScore = 9999;
constexpr std::int32_t BonusRows = 4;  // rows (and points) added when the board runs low
}

void MineBd::resetbd(std::int32_t x, std::int32_t y) {
    srand(static_cast<unsigned>(clock()));
    Delay28(1);
    // The draws come in this order: column by column, each column top to bottom.
    for (i = 0; i < width; i++)
        for (j = 0; j < height; j++) {
            sx = rand() % width;
            sy = j;
            tmp = mine[i][j];
            mine[i][j] = mine[sx][sy];
            mine[sx][sy] = tmp;
        }
    // The first cell opened is never a mine: its mine goes to the rightmost free cell of the row,
    // which exists because rowmines <= width - 1.
    if (mine[x][y]) {
        for (i = 0; i < width; i++)
            if (!mine[i][y]) sx = i;
        sy = y;
        mine[sx][sy] = true;
        mine[x][y] = false;
    }
    for (i = 0; i < width; i++)
        for (j = 0; j < height; j++) count(i, j);
    state = StPlay;
}

void MineBd::addline() {
    // No row above row 0 ever becomes active: with no idle row left the board is lost, whoever
    // asks (a second penalty row, a second opened mine in one scan, key 8 on a lost board).
    if (top <= 0) {
        state = StLost;
        return;
    }
    top--;
    for (i = 0; i < width; i++) idle[i][top] = false;
    for (i = 0; i < width; i++)
        for (j = top + 1; j >= top; j--)
            if (j < height) count(i, j);
    if (top == 0) {
        state = StLost;
        sound(sndlose);
    }
}

void MineBd::delline(std::int32_t y) {
    top++;
    for (i = 0; i < width; i++) {
        for (j = y; j >= 1; j--) {
            mine[i][j] = mine[i][j - 1];
            idle[i][j] = idle[i][j - 1];
            flag[i][j] = flag[i][j - 1];
            qstn[i][j] = qstn[i][j - 1];
            open[i][j] = open[i][j - 1];
            num[i][j] = num[i][j - 1];
        }
        idle[i][0] = true;
        flag[i][0] = false;
        qstn[i][0] = false;
        open[i][0] = false;
        mine[i][0] = i < rowmines;
        num[i][0] = 0;
    }
    srand(static_cast<unsigned>(clock()));
    Delay28(1);
    for (i = 0; i < width; i++) {
        sx = rand() % width;
        sy = 0;
        tmp = mine[i][0];
        mine[i][0] = mine[sx][sy];
        mine[sx][sy] = tmp;
    }
    // Rows 0 and 1 are counted when addline activates them.
    for (i = 0; i < width; i++) {
        if (y + 1 < height) count(i, y + 1);
        count(i, y);
    }
    if (score < MaxScore) score++;
    if (top >= height - 3) {
        // addline runs its loops in the scratch counters, so this loop needs its own.
        for (std::int32_t n = 0; n < BonusRows; n++) {
            if (score < MaxScore) score++;
            addline();
        }
        // A board not yet dealt stays ready, so that the first click still deals it (key 9
        // can bring the bonus before any click).
        if (state != StReady) state = StBonus;
        sound(sndnew);
    }
    // Squared in 64 bits: key 0 raises the level without limit.
    while (score >= (std::int64_t{level} + 1) * (std::int64_t{level} + 1)) {
        level++;
        sound(sndwin);
    }
}

void MineBd::checkline() {
    bool removed = false;
    std::int32_t y = height - 1;
    // top is read afresh at every test: a removal raises it and a bonus lowers it.
    while (y >= top) {
        std::int32_t flags = 0, covered = 0;
        for (i = 0; i < width; i++) {
            if (flag[i][y]) flags++;
            if (!open[i][y]) covered++;
        }
        if (flags == rowmines || covered == rowmines) {
            delline(y);
            removed = true;  // row y now holds the row that was above: test it again
        } else {
            y--;
        }
    }
    if (removed) sound(sndsolve);
    dirty = false;
}

bool MineBd::checkerror() {
    // Counters of its own: addline reuses the scratch ones.
    bool found = false;
    for (std::int32_t x = 0; x < width; x++)
        for (std::int32_t y = 0; y < height; y++)
            if (open[x][y] && mine[x][y]) {
                open[x][y] = false;
                flag[x][y] = true;
                qstn[x][y] = false;
                state = StPenalty;
                addline();
                addline();
                sound(snderror);
                found = true;
            }
    return found;
}

void MineBd::pause() {
    if (state == StPlay || state == StPenalty || state == StBonus)
        state = StPaused;
    else if (state == StPaused)
        state = StPlay;
}
