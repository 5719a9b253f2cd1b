// The player's actions: open a cell, and the right-click dispatcher with its question mark,
// flagging and chord.
#include "board/minebd.h"
#include "platform/disp.h"

bool MineBd::checkerror(MineWatch& w, bool openedMine) {
    if (w.clean && !openedMine) return false;
    w.clean = true;  // whatever it finds, checkerror leaves no open mine behind
    return checkerror();
}

// A player's action stands alone: it knows nothing of open mines and scans the whole board.
void MineBd::clickleft(std::int32_t x, std::int32_t y) {
    MineWatch w;
    clickleft(x, y, w);
}

void MineBd::clickright(std::int32_t x, std::int32_t y, bool snd) {
    MineWatch w;
    clickright(x, y, snd, w);
}

bool MineBd::setblock(std::int32_t x, std::int32_t y, bool snd) {
    MineWatch w;
    return setblock(x, y, snd, w);
}

void MineBd::clickleft(std::int32_t x, std::int32_t y, MineWatch& w) {
    if (idle[x][y]) return;
    if (open[x][y] || flag[x][y]) {
        dirty = true;
        return;
    }
    open[x][y] = true;
    qstn[x][y] = false;  // a question mark does not protect a cell
    if (state == StPenalty || state == StBonus) state = StPlay;
    if (!checkerror(w, mine[x][y])) sound(sndleft);
    dirty = true;
}

void MineBd::clickright(std::int32_t x, std::int32_t y, bool snd, MineWatch& w) {
    if (idle[x][y]) return;
    if (!open[x][y]) {
        setqstn(x, y, snd);
    } else if (!setflag(x, y, snd) && !setblock(x, y, snd, w)) {
        // Flags the cells whose question marks the chord has just cleared.
        setflag(x, y, snd);
    }
    dirty = true;
}

void MineBd::setqstn(std::int32_t x, std::int32_t y, bool snd) {
    qstn[x][y] = !qstn[x][y];
    if (snd) sound(sndflag);
}

bool MineBd::setflag(std::int32_t x, std::int32_t y, bool snd) {
    std::int32_t unopened = 0;
    for (k = 0; k < 8; k++)
        if (isok(k, x, y, nx, ny) && !open[nx][ny]) unopened++;
    if (unopened != num[x][y]) return false;
    // Idle neighbours count above but are never flagged.
    bool reached = false;
    for (k = 0; k < 8; k++)
        if (isok(k, x, y, nx, ny) && !open[nx][ny] && !idle[nx][ny]) {
            flag[nx][ny] = true;
            reached = true;
        }
    if (reached && snd) sound(sndflag);
    return reached;
}

bool MineBd::setblock(std::int32_t x, std::int32_t y, bool snd, MineWatch& w) {
    std::int32_t flags = 0, marks = 0;
    for (k = 0; k < 8; k++)
        if (isok(k, x, y, nx, ny)) {
            if (flag[nx][ny]) flags++;
            if (qstn[nx][ny]) marks++;
        }
    bool opened = false, openedMine = false;
    if (flags == num[x][y] || flags + marks == num[x][y]) {
        // A chord never opens a question-marked cell: it takes the mark off instead.
        for (k = 0; k < 8; k++)
            if (isok(k, x, y, nx, ny) && !open[nx][ny] && !flag[nx][ny] && !idle[nx][ny]) {
                if (qstn[nx][ny]) {
                    qstn[nx][ny] = false;
                } else {
                    open[nx][ny] = true;
                    again = true;
                    opened = true;
                    openedMine = openedMine || mine[nx][ny];
                }
            }
    }
    if (opened && snd) sound(sndright);
    return checkerror(w, openedMine);
}
