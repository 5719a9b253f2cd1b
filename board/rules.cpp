// Rule deduction: every open number becomes a rule over its undecided neighbours, and each pair
// of touching rules is compared to prove cells mines or safe.
#include "board/minebd.h"

void MineBd::solve2() {
    again = false;
    rulenum = 0;
    if (state > StBonus) return;
    createrule();
    comparerule();
}

void MineBd::createrule() {
    for (std::int32_t x = 0; x < width; x++)
        for (std::int32_t y = 0; y < height; y++) {
            ruleid[x][y] = -1;
            if (!open[x][y]) continue;
            cur.x = x;
            cur.y = y;
            cur.mines = num[x][y];
            cur.cnt = 0;
            // Undecided: neither open nor flagged; question-marked and idle cells are undecided.
            for (k = 0; k < 8; k++)
                if (isok(k, x, y, nx, ny)) {
                    if (flag[nx][ny]) {
                        cur.mines--;
                    } else if (!open[nx][ny]) {
                        cur.ux[cur.cnt] = nx;
                        cur.uy[cur.cnt] = ny;
                        cur.cnt++;
                    }
                }
            if (cur.cnt > 0) {
                ruleid[x][y] = rulenum;
                rule[rulenum] = cur;
                rulenum++;
            }
        }
}

void MineBd::comparerule() {
    // The direction loop runs in the record's k: a click that flags (setflag) or adds a penalty
    // row leaves k at 8, and the rest of this rule's neighbours is skipped. The rule table is not
    // updated while the clicks change the board.
    MineWatch w;
    for (std::int32_t r = 0; r < rulenum; r++) {
        const std::int32_t x = rule[r].x, y = rule[r].y;
        for (k = 0; k < 8; k++)
            if (isok(k, x, y, nx, ny) && ruleid[nx][ny] >= 0) comparerule2(r, ruleid[nx][ny], w);
    }
}

void MineBd::comparerule2(std::int32_t a, std::int32_t b) {
    MineWatch w;
    comparerule2(a, b, w);
}

void MineBd::comparerule2(std::int32_t a, std::int32_t b, MineWatch& w) {
    Rule ra = rule[a], rb = rule[b];
    const std::int32_t ma = ra.mines, mb = rb.mines;
    std::int32_t ca = ra.cnt, cb = rb.cnt;
    // Cancel the common cells: ra keeps the cells only a has, rb those only b has.
    for (std::int32_t p = 0; p < ra.cnt; p++)
        for (std::int32_t q = 0; q < rb.cnt; q++)
            if (ra.ux[p] >= 0 && ra.uy[p] >= 0 && rb.ux[q] >= 0 && rb.uy[q] >= 0 &&
                ra.ux[p] == rb.ux[q] && ra.uy[p] == rb.uy[q]) {
                ra.ux[p] = ra.uy[p] = rb.ux[q] = rb.uy[q] = -1;
                ca--;
                cb--;
            }
    // a's own cells hold ma - mb more mines than b's own: if that is all of a's own cells, they
    // are mines and b's own cells are safe. Both tests use the values from before any click.
    const bool aMines = ma - mb == ca;
    const bool bMines = mb - ma == cb;
    if (aMines) {
        for (std::int32_t p = 0; p < ra.cnt; p++)
            if (ra.ux[p] >= 0) clickright(ra.ux[p], ra.uy[p], false, w);
        for (std::int32_t q = 0; q < rb.cnt; q++)
            if (rb.ux[q] >= 0) clickleft(rb.ux[q], rb.uy[q], w);
    }
    if (bMines) {
        for (std::int32_t q = 0; q < rb.cnt; q++)
            if (rb.ux[q] >= 0) clickright(rb.ux[q], rb.uy[q], false, w);
        for (std::int32_t p = 0; p < ra.cnt; p++)
            if (ra.ux[p] >= 0) clickleft(ra.ux[p], ra.uy[p], w);
    }
}
