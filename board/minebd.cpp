// The fresh board: configuration clamps, the undealt layout and the neighbour order.
#include "board/minebd.h"

#include "platform/disp.h"

void MineBd::sound(std::uint32_t clip) { SetAudioPos305(clip, 0); }

void MineBd::initbd(std::int32_t w, std::int32_t h, std::int32_t e, std::int32_t r) {
    width = w;
    height = h;
    emptyrows = e;
    rowmines = r;
    initbd();
}

void MineBd::initbd() {
    state = StReady;
    score = 0;
    level = 1;
    if (width < 8) width = 8;
    if (width > 100) width = 100;
    if (height < 8) height = 8;
    if (height > 100) height = 100;
    if (rowmines > width - 1) rowmines = width - 1;
    if (rowmines < 1) rowmines = 1;
    // emptyrows keeps the configured value, so it comes back in full on a taller board.
    std::int32_t e = emptyrows;
    if (emptyrows >= height - 3) e = height - 4;
    if (e < 0) e = 0;
    tick = 0;
    top = e;
    for (i = 0; i < width; i++)
        for (j = 0; j < height; j++) {
            flag[i][j] = false;
            qstn[i][j] = false;
            open[i][j] = false;
            mine[i][j] = i < rowmines;
            idle[i][j] = j < e;
            num[i][j] = 0;
        }
    sound(sndnew);
}

void MineBd::count(std::int32_t x, std::int32_t y) {
    num[x][y] = 0;
    for (k = 0; k < 8; k++)
        if (isok(k, x, y, nx, ny) && mine[nx][ny]) num[x][y]++;
}
